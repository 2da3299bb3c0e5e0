#include "app/gui/MeForm.h"

#include "app/Launcher.h"
#include "app/gui/AboutBox.h"
#include "app/gui/Branding.h"
#include "app/gui/Look.h"
#include "app/gui/MeCust.h"
#include "app/gui/MeMsag.h"
#include "measurement/SharedResults.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace oruk::gui {

namespace {

struct ButtonSpec {
    int number;
    const char* caption;
    const char* hint;
    const char* icon;
};

// Left to right; 0 = separator.
const ButtonSpec kButtons[] = {
    {1, "經絡測量", "經絡能量測量", "measure"},
    {4, "經絡解說", "各經絡相關資料圖例解說", "explain"},
    {5, "專家療程", "自訂專家療程系統", "programs"},
    {7, "數位校準", "儀器自動數位校準系統", "calibrate"},
    {0, nullptr, nullptr, nullptr},
    {3, "資料處理", "讀取或修改資料", "records"},
    {8, "檔案處理", "資料匯入及匯出", "files"},
    {0, nullptr, nullptr, nullptr},
    {11, "功能1", "", "userfunc"},
    {12, "功能 2", "", "userfunc"},
    {13, "功能 3", "", "userfunc"},
    {0, nullptr, nullptr, nullptr},
    {14, "功能 4", "", "userfunc"},
    {15, "功能 5", "", "userfunc"},
    {16, "功能 6", "", "userfunc"},
    {0, nullptr, nullptr, nullptr},
    {9, "離開系統", "退出O.R.U.K.系統執行", "exit"},
};

const int kActionButtons[] = {1, 3, 4, 5, 7, 8, 9, 11, 12, 13, 14, 15, 16};

std::optional<SubWindow> WindowOfButton(int number) {
    switch (number) {
    case 1:
        return SubWindow::Measurement;
    case 4:
        return SubWindow::Explanation;
    case 5:
        return SubWindow::Programs;
    case 7:
        return SubWindow::Calibration;
    case 3:
        return SubWindow::Records;
    case 8:
        return SubWindow::Files;
    default:
        return std::nullopt;
    }
}

} // namespace

TMeForm::TMeForm(SharedState& state, DeviceControl* device, MainWindowHooks hooks, QWidget* parent)
    : QMainWindow(parent), state_(state), device_(device), hooks_(std::move(hooks)) {
    setObjectName(QStringLiteral("MeForm"));
    if (!hooks_.launch)
        hooks_.launch = [](const std::string& p, const std::string& a) { LaunchProgram(p, a); };

    // 1. Caption and texts from the branding.
    setWindowTitle(Branding::WindowCaption());
    setWindowIcon(WorkstationIcon(QStringLiteral("app")));
    BuildToolbar();
    BuildMenu();
    BuildCentre();

    tray_ = new QSystemTrayIcon(this);
    tray_->setObjectName(QStringLiteral("RzTrayIcon1"));
    tray_->setIcon(WorkstationIcon(QStringLiteral("tray-offline")));
    tray_->setToolTip(Branding::MakerLatin());
    if (QSystemTrayIcon::isSystemTrayAvailable())
        tray_->show();

    // 2., 5., 6. State and the closed tool bar until the status check has run.
    state_.ProbeAlarmShown = false;
    state_.DeviceOnline = false;
    state_.FirstActivation = true;
    state_.SortColumn = 1;
    for (int k = 1; k <= 7; ++k)
        state_.AnalysisChartFlags[k] = 1;
    state_.current.MKey = 0;
    state_.current.HighVoltage = false;
    EnableToolbar(false);
    SetMenusVisible(false);

    // 7. The device: follow its state, show its notices, search once.
    if (device_) {
        connect(device_, &DeviceControl::infoChanged, this,
                [this](const DeviceInfo& info) { CopyLinkState(info.link, state_); });
        connect(device_, &DeviceControl::trayChanged, this, &TMeForm::ShowTrayNotice);
        connect(device_, &DeviceControl::balloon, this, &TMeForm::ShowBalloon);
        connect(device_, &DeviceControl::hideBalloon, this, &TMeForm::HideBalloon);
        device_->SetFirstActivation(true);
        device_->Search();
    }

    // 9., 10., 11. Settings, status bar, an empty current record.
    if (hooks_.loadSettings)
        state_.settings = hooks_.loadSettings(state_.WorkDir);
    state_.RebuildTables();
    statusBar()
        ->findChild<QLabel*>(QStringLiteral("SystemTitle"))
        ->setText(QString::fromStdString(state_.settings.SystemTitle));
    state_.ClearCurrentRecord();
    ApplyUserFunctions();
}

TMeForm::~TMeForm() = default;

QAction* TMeForm::AddButton(int number, const QString& caption, const QString& hint, const QString& icon) {
    auto* action = new QAction(WorkstationIcon(icon), caption, this);
    action->setObjectName(QStringLiteral("ToolButton%1Action").arg(number));
    action->setIconText(caption); // as written, blanks included
    action->setToolTip(hint);
    toolBar_->addAction(action);
    if (auto* w = toolBar_->widgetForAction(action)) {
        w->setObjectName(QStringLiteral("ToolButton%1").arg(number));
        w->setFocusPolicy(Qt::TabFocus);
    }
    buttons_[number] = action;
    return action;
}

void TMeForm::BuildToolbar() {
    toolBar_ = new QToolBar(QStringLiteral("ToolBar1"), this);
    toolBar_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar_->setIconSize(QSize(40, 40));
    toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, toolBar_);

    for (const auto& b : kButtons) {
        if (b.number == 0) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* a = AddButton(b.number, QString::fromUtf8(b.caption), QString::fromUtf8(b.hint),
                               QString::fromLatin1(b.icon));
        const int number = b.number;
        if (auto which = WindowOfButton(number)) {
            const SubWindow w = *which;
            connect(a, &QAction::triggered, this, [this, w] { OpenSubWindow(w); });
        } else if (number == 9) {
            connect(a, &QAction::triggered, this, [this] {
                EnableToolbar(false);
                close();
            });
        } else {
            connect(a, &QAction::triggered, this, [this, number] { RunUserFunction(number - 10); });
        }
    }
    // Keys for the daily actions, shown in the hints.
    const std::pair<int, QKeySequence> keys[] = {
        {1, QKeySequence(Qt::Key_F2)}, {4, QKeySequence(Qt::Key_F3)}, {3, QKeySequence(Qt::Key_F4)},
        {8, QKeySequence(Qt::Key_F5)}, {5, QKeySequence(Qt::Key_F6)}, {7, QKeySequence(Qt::Key_F7)}};
    for (const auto& [n, key] : keys) {
        buttons_[n]->setShortcut(key);
        buttons_[n]->setToolTip(buttons_[n]->toolTip() + QStringLiteral(" (") +
                                key.toString(QKeySequence::NativeText) + QStringLiteral(")"));
    }
}

void TMeForm::BuildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto item = [this](QAction* a, const QString& name, const QString& hint) {
        a->setObjectName(name);
        a->setToolTip(hint);
        a->setStatusTip(QString());
        menuItems_[name] = a;
        return a;
    };
    auto same = [this](QAction* a, int button) {
        connect(a, &QAction::triggered, buttons_[button], &QAction::trigger);
    };
    same(item(bar->addAction(QStringLiteral("經絡測量")), QStringLiteral("gq1"),
              QStringLiteral("經絡能量測量")),
         1);
    same(item(bar->addAction(QStringLiteral("經絡解說")), QStringLiteral("g1"),
              QStringLiteral("各經絡相關資料圖例解說")),
         4);
    same(item(bar->addAction(QStringLiteral("資料處理")), QStringLiteral("N2"),
              QStringLiteral("讀取或修改資料")),
         3);

    QMenu* support = bar->addMenu(QStringLiteral("系統支援"));
    support->setObjectName(QStringLiteral("tw1Menu"));
    support->setToolTipsVisible(true);
    item(support->menuAction(), QStringLiteral("tw1"), QStringLiteral("系統支援與服務"));
    same(item(support->addAction(WorkstationIcon(QStringLiteral("programs")), QStringLiteral("專家療程設定")),
              QStringLiteral("w2"), QStringLiteral("自訂專家療程系統")),
         5);
    connect(item(support->addAction(WorkstationIcon(QStringLiteral("usersettings")),
                                    QStringLiteral("用戶資料設定")),
                 QStringLiteral("w1"), QStringLiteral("用戶連結與資料設定")),
            &QAction::triggered, this, &TMeForm::OpenUserSettings);
    same(
        item(support->addAction(WorkstationIcon(QStringLiteral("calibrate")), QStringLiteral("數位校準系統")),
             QStringLiteral("N1"), QStringLiteral("自動數位校準系統")),
        7);
    support->addSeparator();
    same(item(support->addAction(WorkstationIcon(QStringLiteral("files")), QStringLiteral("檔案匯入/匯出")),
              QStringLiteral("N5"), QStringLiteral("客戶及檢測資料處理")),
         8);
    support->addSeparator();
    connect(item(support->addAction(WorkstationIcon(QStringLiteral("exit")), QStringLiteral("離開系統")),
                 QStringLiteral("t1"), QStringLiteral("退出O.R.U.K.系統執行")),
            &QAction::triggered, this, [this] {
                EnableToolbar(false);
                close();
            });
    connect(item(bar->addAction(QStringLiteral("關於版本")), QStringLiteral("i1"), QString()),
            &QAction::triggered, this, &TMeForm::OpenAbout);
    EnableToolbar(false);
}

void TMeForm::BuildCentre() {
    auto* centre = new QWidget(this);
    centre->setObjectName(QStringLiteral("Panel1"));
    centre->setAutoFillBackground(true);
    QPalette pal = centre->palette();
    QLinearGradient g(0, 0, 0, 900);
    g.setColorAt(0, QColor(0xF4, 0xF8, 0xFB));
    g.setColorAt(1, QColor(0xD9, 0xE6, 0xEF));
    pal.setBrush(QPalette::Window, g);
    centre->setPalette(pal);

    auto* version = new QLabel(Branding::VersionText(), centre);
    version->setObjectName(QStringLiteral("VersionLabel"));
    QFont vf = version->font();
    vf.setBold(true);
    vf.setPointSizeF(vf.pointSizeF() * 1.15);
    version->setFont(vf);
    auto* rights = new QLabel(Branding::RightsNotice(), centre);
    rights->setObjectName(QStringLiteral("RightsLabel"));
    webText_ = new QLabel(centre);
    webText_->setObjectName(QStringLiteral("WebLabel"));
    webText_->setText(
        QStringLiteral("URL: <a href=\"%1\">%1</a>").arg(Branding::WebAddress().toHtmlEscaped()));
    webText_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(webText_, &QLabel::linkActivated, this,
            [this] { hooks_.launch(std::string(), Branding::WebAddress().toStdString()); });

    auto* logo = new QLabel(centre);
    logo->setObjectName(QStringLiteral("Logo"));
    logo->setPixmap(WorkstationPicture(QStringLiteral("logo"), QSize(220, 220), this));
    logo->setAlignment(Qt::AlignCenter);
    auto* title = new QLabel(
        Branding::ProductTitle() + QStringLiteral(" Kv-50\n") + Branding::ProductSubtitle(), centre);
    title->setObjectName(QStringLiteral("TitleLabel"));
    title->setAlignment(Qt::AlignCenter);
    QFont tf = title->font();
    tf.setPointSizeF(tf.pointSizeF() * 2.2);
    tf.setBold(true);
    title->setFont(tf);
    title->setStyleSheet(QStringLiteral("color: #1F4E79;"));

    auto* layout = new QVBoxLayout(centre);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->setSpacing(6);
    layout->addWidget(version);
    layout->addWidget(rights);
    layout->addWidget(webText_);
    layout->addStretch(1);
    layout->addWidget(logo, 0, Qt::AlignHCenter);
    layout->addSpacing(12);
    layout->addWidget(title, 0, Qt::AlignHCenter);
    layout->addStretch(2);
    setCentralWidget(centre);

    auto* systemTitle = new QLabel(statusBar());
    systemTitle->setObjectName(QStringLiteral("SystemTitle"));
    systemTitle->setContentsMargins(6, 0, 6, 0);
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(systemTitle, 1);
}

void TMeForm::SetWindowFactory(SubWindow which, WindowFactory factory) {
    factories_[which] = std::move(factory);
    EnableToolbar(toolbarOn_);
}

QToolButton* TMeForm::Button(int number) const {
    return findChild<QToolButton*>(QStringLiteral("ToolButton%1").arg(number));
}

QAction* TMeForm::MenuItem(const QString& name) const {
    auto it = menuItems_.find(name);
    return it == menuItems_.end() ? nullptr : it->second;
}

void TMeForm::EnableToolbar(bool on) {
    toolbarOn_ = on;
    for (int n : kActionButtons) {
        auto which = WindowOfButton(n);
        const bool provided = !which || factories_.count(*which) > 0;
        buttons_[n]->setEnabled(on && provided);
    }
    // Menu items follow only whether their window exists.
    const std::pair<const char*, SubWindow> items[] = {
        {"gq1", SubWindow::Measurement}, {"g1", SubWindow::Explanation}, {"N2", SubWindow::Records},
        {"w2", SubWindow::Programs},     {"N1", SubWindow::Calibration}, {"N5", SubWindow::Files}};
    for (const auto& [name, w] : items)
        if (QAction* a = MenuItem(QString::fromLatin1(name)))
            a->setEnabled(factories_.count(w) > 0);
}

void TMeForm::SetMenusVisible(bool on) {
    for (const char* name : {"gq1", "g1", "tw1", "i1"})
        if (QAction* a = MenuItem(QString::fromLatin1(name)))
            a->setVisible(on);
}

void TMeForm::ApplyUserFunctions() {
    const std::string& visible = state_.settings.UserFuncVisible;
    for (int k = 1; k <= 6; ++k) {
        // Any character other than "0" shows the button; a short text shows the rest.
        const bool shown = !(static_cast<std::size_t>(k - 1) < visible.size() && visible[k - 1] == '0');
        buttons_[10 + k]->setVisible(shown);
        buttons_[10 + k]->setToolTip(QString::fromStdString(state_.settings.UserFuncHint[k]));
    }
}

bool TMeForm::WithOfflineGuard(const std::function<void()>& open) {
    if (!state_.DeviceOnline) {
        ShowMsg(this, 6, OfflineMessage());
        return false;
    }
    EnableToolbar(false);
    open();
    EnableToolbar(true);
    return true;
}

void TMeForm::OpenSubWindow(SubWindow which) {
    auto it = factories_.find(which);
    if (it == factories_.end())
        return;
    WithOfflineGuard([&] {
        if (which == SubWindow::Records)
            state_.BrowseFromMain = true;
        std::unique_ptr<QDialog> dlg(it->second(this));
        if (dlg)
            dlg->exec();
    });
}

void TMeForm::OpenUserSettings() {
    WithOfflineGuard([&] {
        TMeCust dlg(state_, this);
        dlg.SetLauncher(hooks_.launch);
        connect(&dlg, &TMeCust::saved, this, [this] {
            if (hooks_.saveSettings)
                hooks_.saveSettings(state_.WorkDir, state_.settings);
            state_.RebuildTables();
            statusBar()
                ->findChild<QLabel*>(QStringLiteral("SystemTitle"))
                ->setText(QString::fromStdString(state_.settings.SystemTitle));
        });
        dlg.exec();
    });
    ApplyUserFunctions();
}

void TMeForm::OpenAbout() {
    WithOfflineGuard([&] {
        TAboutBox box(this);
        box.SetDeviceInfo(QString::fromStdString(state_.DeviceSerialNo),
                          QString::fromStdString(state_.DeviceHardwareVersion));
        if (device_) {
            connect(device_, &DeviceControl::usageCounterRead, &box, [this, &box](long long count) {
                state_.DeviceUsageCount = count;
                box.SetUsageCounter(count);
            });
            device_->ReadUsageCounter();
        }
        box.exec();
    });
}

void TMeForm::RunUserFunction(int k) {
    if (k < 1 || k > 6)
        return;
    WithOfflineGuard(
        [&] { hooks_.launch(state_.settings.UserFuncProgram[k], state_.settings.UserFuncParams[k]); });
}

void TMeForm::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (state_.FirstActivation)
        QTimer::singleShot(0, this, &TMeForm::FirstActivation);
}

void TMeForm::FirstActivation() {
    if (!state_.FirstActivation)
        return;
    state_.FirstActivation = false;
    if (device_)
        device_->SetFirstActivation(false);
    if (hooks_.runStatusWindow)
        hooks_.runStatusWindow(this);
    if (device_) // the device thread's last word, even if its signal is still queued
        state_.DeviceOnline = device_->Info().online;
    if (state_.DeviceOnline) {
        EnableToolbar(true);
        SetMenusVisible(true);
    } else {
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        QApplication::restoreOverrideCursor();
    }
    emit firstActivationFinished(state_.DeviceOnline);
}

void TMeForm::ShowTrayNotice(const TrayNotice& n) {
    if (n.IconIndex == 15)
        tray_->setIcon(WorkstationIcon(QStringLiteral("tray-online")));
    else if (n.IconIndex == 16)
        tray_->setIcon(WorkstationIcon(QStringLiteral("tray-offline")));
    tray_->setToolTip(QString::fromStdString(n.Hint));
    if (n.ShowBalloon)
        ShowBalloon(*n.ShowBalloon);
}

bool TMeForm::TrayShown() const {
    return tray_->isVisible() && QSystemTrayIcon::supportsMessages();
}

void TMeForm::ShowBalloon(const Balloon& b) {
    const QString title = QString::fromStdString(b.Title);
    const QString text = QString::fromStdString(b.Text);
    lastNotice_ = title + QStringLiteral("：") + text;
    if (TrayShown()) {
        tray_->showMessage(title, text,
                           b.Icon == BalloonIcon::Error ? QSystemTrayIcon::Critical
                                                        : QSystemTrayIcon::Information,
                           b.DurationMs);
    } else {
        // Without a tray the same notice goes to the status bar for the same time.
        statusBar()->showMessage(lastNotice_, b.DurationMs);
    }
}

void TMeForm::HideBalloon() {
    if (TrayShown())
        tray_->showMessage(QString(), QString(), QSystemTrayIcon::NoIcon, 1);
    else
        statusBar()->clearMessage();
}

void TMeForm::closeEvent(QCloseEvent* e) {
    if (state_.DeviceOnline) {
        if (device_)
            device_->PlayDeviceSound(2);
        if (!ShowMsg(this, 2, CloseQuestion())) {
            EnableToolbar(true);
            e->ignore();
            return;
        }
        if (device_) {
            device_->SendCommand(QStringLiteral("X0000"));
            device_->WaitIdle();
        }
    }
    if (hooks_.disconnectDatabases)
        hooks_.disconnectDatabases();
    EnableToolbar(false);
    tray_->hide();
    e->accept();
}

} // namespace oruk::gui
