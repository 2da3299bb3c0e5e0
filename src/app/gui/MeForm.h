#pragma once

#include "app/SharedState.h"
#include "app/gui/DeviceControl.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <map>

class QAction;
class QLabel;
class QMenu;
class QSystemTrayIcon;
class QToolBar;
class QToolButton;

namespace oruk::gui {

class TAboutBox;

// The windows the main window opens; each is provided by its subsystem. A window nobody
// provides keeps its button and menu item disabled.
enum class SubWindow { Measurement, Explanation, Programs, Calibration, Records, Files };

using WindowFactory = std::function<QDialog*(QWidget* parent)>;

// Start-up hooks of the main window, so the program, tests and the benchmark choose what runs.
struct MainWindowHooks {
    // Loads the settings (writing the defaults when the file is missing).
    std::function<Settings(const std::filesystem::path& workDir)> loadSettings;
    // Writes the settings file (user settings dialog).
    std::function<void(const std::filesystem::path& workDir, const Settings&)> saveSettings;
    // The status window of the first activation; returns when it has closed.
    std::function<void(QWidget* parent)> runStatusWindow;
    // Closes the database connections.
    std::function<void()> disconnectDatabases;
    // Starts a user function (LaunchProgram by default).
    std::function<void(const std::string& program, const std::string& params)> launch;
};

class TMeForm : public QMainWindow {
    Q_OBJECT
public:
    TMeForm(SharedState& state, DeviceControl* device, MainWindowHooks hooks, QWidget* parent = nullptr);
    ~TMeForm() override;

    void SetWindowFactory(SubWindow which, WindowFactory factory);

    // The 13 action buttons together; buttons of windows nobody provides stay disabled.
    void EnableToolbar(bool on);
    // Visibility and hints of the six user-function buttons from the settings.
    void ApplyUserFunctions();

    SharedState& State() { return state_; }
    QToolButton* Button(int number) const; // ToolButton<number>
    QAction* MenuItem(const QString& name) const;
    bool FirstActivationDone() const { return !state_.FirstActivation; }
    QString LastNotice() const { return lastNotice_; } // the last balloon's title and text
    QSystemTrayIcon* TrayIcon() const { return tray_; }

    // Runs `open` with the off-line guard: off-line -> the message; otherwise the tool bar is
    // disabled around it. Returns whether it ran.
    bool WithOfflineGuard(const std::function<void()>& open);
    void OpenSubWindow(SubWindow which);
    void OpenUserSettings();
    void OpenAbout();
    void RunUserFunction(int k);

    static QString OfflineMessage() { return QStringLiteral("O.R.U.K.已經離線！請重新連接裝置"); }
    static QString CloseQuestion() { return QStringLiteral("您確定要結束本系統嗎?"); }

signals:
    void firstActivationFinished(bool online);

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void BuildToolbar();
    void BuildMenu();
    void BuildCentre();
    void FirstActivation();
    void ShowTrayNotice(const oruk::TrayNotice& notice);
    void ShowBalloon(const oruk::Balloon& balloon);
    void HideBalloon();
    bool TrayShown() const;
    void SetMenusVisible(bool on);
    QAction* AddButton(int number, const QString& caption, const QString& hint, const QString& icon);

    SharedState& state_;
    DeviceControl* device_;
    MainWindowHooks hooks_;
    std::map<SubWindow, WindowFactory> factories_;
    std::map<int, QAction*> buttons_; // by ToolButton number
    std::map<QString, QAction*> menuItems_;
    QToolBar* toolBar_ = nullptr;
    QSystemTrayIcon* tray_ = nullptr;
    QLabel* webText_ = nullptr;
    bool toolbarOn_ = false;
    QString lastNotice_;
};

} // namespace oruk::gui
