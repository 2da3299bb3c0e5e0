#pragma once

#include <QObject>
#include <QString>

namespace oruk::gui {

// What the tray icon shows after a device event: icon index 15 on-line, 16 off-line.
struct TrayNotice {
    enum class Balloon { None, Information, Error, Hide };
    int iconIndex = 0;      // 0 = leave the icon as it is
    QString hint;           // empty = leave the hint as it is
    Balloon balloon = Balloon::None;
    QString balloonTitle;
    QString balloonText;
    int balloonMs = 10000;
};

// The device as the windows see it.
struct DeviceInfo {
    bool held = false;   // a device is attached and taken
    bool online = false; // DeviceOnline
    QString serialNo;
    QString hardwareVersion;
};

// One step of the start-up status check as the status window shows it.
struct StatusStep {
    int progress = 0;     // 0..100
    int lampsOn = 1;      // step lamps 1..n lit
    bool showValues = false;
};

struct StatusOutcome {
    bool online = false;
    bool deviceHeld = false;
    QString model, serial, hardwareVersion; // "None!" when no device
    QString errorMessage;                   // empty when on-line
};

// The GUI side of the device link. Every exchange runs on the device's own thread; the calls
// here return at once (except SendCommandAndWait) and results come back as queued signals, so
// the windows stay responsive while the device talks.
class DeviceControl : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~DeviceControl() override = default;

    virtual DeviceInfo Info() const = 0;

    // Runs the device-change handling once (the first search at start-up).
    virtual void Search() = 0;
    // Balloons are not shown while the main window's first activation is pending.
    virtual void SetFirstActivation(bool pending) = 0;
    // The status check: statusStep signals, then statusCheckFinished.
    virtual void StartStatusCheck() = 0;
    virtual void ReadUsageCounter() = 0; // without stepping; usageCounterRead follows
    virtual void PlayDeviceSound(int n) = 0;
    // Waits (processing events) until the exchange is over; used when leaving.
    virtual void SendCommandAndWait(const QString& command) = 0;
    // The status window's exit button and a failed database start-up take the device off-line.
    virtual void SetOffline() = 0;

signals:
    void infoChanged(const oruk::gui::DeviceInfo& info);
    void trayNotice(const oruk::gui::TrayNotice& notice);
    void statusStep(const oruk::gui::StatusStep& step);
    void statusCheckFinished(const oruk::gui::StatusOutcome& outcome);
    void usageCounterRead(long long count);
};

} // namespace oruk::gui

Q_DECLARE_METATYPE(oruk::gui::TrayNotice)
Q_DECLARE_METATYPE(oruk::gui::DeviceInfo)
Q_DECLARE_METATYPE(oruk::gui::StatusStep)
Q_DECLARE_METATYPE(oruk::gui::StatusOutcome)
