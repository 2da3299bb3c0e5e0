#pragma once

#include "app/SharedState.h"

#include <QDialog>
#include <array>
#include <functional>
#include <string>

class QCheckBox;
class QLineEdit;
class QTabWidget;
class QToolButton;

namespace oruk::gui {

// The user settings dialog: titles for screen and reports, and the six user functions.
class TMeCust : public QDialog {
    Q_OBJECT
public:
    TMeCust(SharedState& state, QWidget* parent = nullptr);

    using Launcher = std::function<void(const std::string& program, const std::string& params)>;
    void SetLauncher(Launcher launch) { launch_ = std::move(launch); }

    // The browse dialogs' settings (so they can be checked without opening them).
    static QString ProgramFilter();
    static QString ParameterFilter();

    QTabWidget* PageControl1 = nullptr;
    QLineEdit* Edit[23] = {};          // Edit[1] .. Edit[22]
    QCheckBox* CheckBox[7] = {};       // CheckBox[1] .. CheckBox[6]
    QToolButton* SpeedButton[19] = {}; // SpeedButton[1] .. SpeedButton[18]
    QToolButton* SaveButton = nullptr;
    QToolButton* LeaveButton = nullptr;

public slots:
    void Save();
    void TestRow(int k);
    void BrowseProgram(int k);
    void BrowseParameter(int k);

signals:
    void saved(); // the settings were changed; the owner writes the file

protected:
    void showEvent(QShowEvent* e) override;

private:
    void Fill();
    SharedState& state_;
    Launcher launch_;
};

} // namespace oruk::gui
