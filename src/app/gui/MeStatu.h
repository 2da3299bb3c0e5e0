#pragma once

#include "app/gui/DeviceControl.h"
#include "records/DatabaseStartup.h"

#include <QDialog>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace oruk::gui {

class TALed;

// The system status window of the first activation: the device check on the device thread,
// then (device on line) the database start-up, which reports here.
class TMeStatu : public QDialog, public StartupObserver {
    Q_OBJECT
public:
    // Runs the database start-up on the GUI thread (its connections are used there); true when
    // the databases are ready.
    using DatabaseStartup = std::function<bool(StartupObserver& observer)>;

    TMeStatu(DeviceControl* device, DatabaseStartup databaseStartup, QWidget* parent = nullptr);

    static constexpr int kFadeMs = 400;

    QLabel* SegmentDisplay = nullptr; // "Kv-50"
    TALed* ALed1 = nullptr;
    TALed* hhALed[8] = {}; // hhALed[1] .. hhALed[7]
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* UsbLabel = nullptr;
    QLabel* ModelValue = nullptr;
    QLabel* SerialValue = nullptr;
    QLabel* HardwareValue = nullptr;
    QLabel* StatusBar1 = nullptr;
    QPushButton* ExitButton = nullptr;

    // StartupObserver: the database start-up's lamps, progress and texts.
    void Lamp(int lamp, LampState state) override;
    void Progress(int percent) override;
    void StatusText(const std::string& text) override;
    void LabelText(const std::string& text) override;
    void Message(int type, const std::string& text) override;
    void ProcessEvents() override;

protected:
    void showEvent(QShowEvent* e) override;
    void done(int r) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void ShowView(const StatusCheckView& v);
    void CheckFinished(const StatusCheckOutcome& out);

    DeviceControl* device_;
    DatabaseStartup databaseStartup_;
    bool firstActivation_ = true;
    bool online_ = false;
    bool closing_ = false;
};

} // namespace oruk::gui
