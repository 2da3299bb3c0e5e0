#include "GuiFixture.h"
#include "app/SettingsFile.h"
#include "app/gui/AboutBox.h"
#include "app/gui/MeCust.h"
#include "app/gui/MeMsag.h"
#include "app/gui/MeStatu.h"
#include "reference/gui/Meadv.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <fstream>

using namespace oruk;
using namespace oruk::gui;
using oruk::test::OnNextModal;
using oruk::test::WaitFor;

namespace {

// What the status window showed at its end, read while it was still open.
struct StatusSeen {
    QString model, serial, hardware, status;
    bool exitShown = false;
};

std::shared_ptr<StatusSeen> WatchStatusWindow(bool clickExit) {
    auto seen = std::make_shared<StatusSeen>();
    OnNextModal<TMeStatu>([seen, clickExit](TMeStatu* w) {
        // The check is done when the progress is full and either the exit button or the database
        // start-up (which closes the window) follows.
        auto* poll = new QTimer(w);
        poll->setInterval(5);
        QObject::connect(poll, &QTimer::timeout, w, [w, seen, clickExit, poll] {
            if (w->ProgressBar1->value() < 100 && !w->ExitButton->isVisible())
                return;
            seen->model = w->ModelValue->text();
            seen->serial = w->SerialValue->text();
            seen->hardware = w->HardwareValue->text();
            seen->status = w->StatusBar1->text();
            seen->exitShown = w->ExitButton->isVisible();
            if (seen->exitShown) {
                poll->stop();
                if (clickExit)
                    w->ExitButton->click();
            }
        });
        poll->start();
    });
    return seen;
}

std::vector<std::string> Commands(Workstation& ws) {
    return ws.Simulation()->Commands();
}

} // namespace

class WorkstationTest : public oruk::test::WorkDirTest {};

TEST_F(WorkstationTest, StartShowsTheDeviceThenOpensTheToolbar) {
    InstallBase();
    auto ws = Start(DeviceKind::Simulated);
    TMeForm& form = ws->MainWindow();
    // Before the first activation everything is closed and the menus are hidden.
    EXPECT_FALSE(form.Button(9)->isEnabled());
    EXPECT_FALSE(form.MenuItem("gq1")->isVisible());
    EXPECT_TRUE(form.MenuItem("N2")->isVisible());

    auto seen = WatchStatusWindow(false);
    ASSERT_TRUE(RunFirstActivation(*ws));
    EXPECT_EQ(seen->model, QStringLiteral("Kv-50"));
    EXPECT_EQ(seen->serial, QStringLiteral("0A1B2C3D4E5F"));
    EXPECT_EQ(seen->hardware, QString::fromLatin1(kPlainHardwareVersion));
    EXPECT_FALSE(seen->exitShown);
    EXPECT_TRUE(ws->State().DeviceOnline);
    EXPECT_FALSE(QApplication::activeModalWidget()); // the status window has closed

    // Tool bar open, except the windows of later subsystems; the menus are back.
    for (int n : {4, 9, 11, 12, 13})
        EXPECT_TRUE(form.Button(n)->isEnabled()) << n;
    for (int n : {1, 3, 5, 7, 8})
        EXPECT_FALSE(form.Button(n)->isEnabled()) << n;
    for (const char* m : {"gq1", "g1", "tw1", "i1"})
        EXPECT_TRUE(form.MenuItem(m)->isVisible()) << m;
    EXPECT_TRUE(std::filesystem::exists(dir / "oruk6.mdb")); // the database start-up ran

    // The output sequence reached the device in order, each group once.
    const std::vector<std::string> expected{"C007F", "F00FF", "A00FF", "A0000", "B00FF", "A00FF", "X0000"};
    std::vector<std::string> outputs;
    for (const auto& c : Commands(*ws))
        if (std::find(expected.begin(), expected.end(), c) != expected.end())
            outputs.push_back(c);
    EXPECT_EQ(outputs, expected);
}

TEST_F(WorkstationTest, NoDeviceShowsWhyAndEndsWithoutAsking) {
    InstallBase();
    auto ws = Start(DeviceKind::None);
    auto seen = WatchStatusWindow(true);
    auto asked = OnNextModal<TMeMsag>([](TMeMsag* m) { m->reject(); }, 6000);
    ASSERT_TRUE(RunFirstActivation(*ws));
    EXPECT_EQ(seen->model, QStringLiteral("None!"));
    EXPECT_EQ(seen->serial, QStringLiteral("None!"));
    EXPECT_EQ(seen->hardware, QStringLiteral("None!"));
    EXPECT_EQ(seen->status, QString::fromUtf8(kNoDeviceMessage));
    EXPECT_TRUE(seen->exitShown);
    EXPECT_TRUE(WaitFor([&] { return !ws->MainWindow().isVisible(); }, 3000));
    EXPECT_FALSE(*asked);
    EXPECT_TRUE(Commands(*ws).empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "oruk6.mdb")); // no database start-up
}

TEST_F(WorkstationTest, FailedDatabaseStartUpEndsTheProgram) {
    // Nothing installed: the template is missing.
    auto ws = Start(DeviceKind::Simulated);
    // Every notice of the failed start is answered; a dialog is marked once answered because
    // it stays visible while it fades out.
    QStringList messages;
    QTimer answer;
    answer.setInterval(10);
    QObject::connect(&answer, &QTimer::timeout, [&messages] {
        auto* m = qobject_cast<TMeMsag*>(QApplication::activeModalWidget());
        if (m && m->isVisible() && !m->property("answered").toBool()) {
            m->setProperty("answered", true);
            messages << m->Memo1->toPlainText();
            m->Button3->click();
        }
    });
    answer.start();
    ASSERT_TRUE(RunFirstActivation(*ws));
    answer.stop();
    EXPECT_EQ(messages,
              (QStringList{QString::fromUtf8(kMsgNotInstalled), QString::fromUtf8(kMsgStartError)}));
    EXPECT_FALSE(ws->State().DeviceOnline);
    EXPECT_TRUE(WaitFor([&] { return !ws->MainWindow().isVisible(); }, 3000));
}

TEST_F(WorkstationTest, ClosingAsksOnlyWhenOnlineNoKeepsRunningYesSendsIdle) {
    InstallBase();
    auto ws = Start(DeviceKind::Simulated);
    ASSERT_TRUE(RunFirstActivation(*ws));
    TMeForm& form = ws->MainWindow();
    ws->Simulation()->ClearLog();

    QString question;
    auto no = OnNextModal<TMeMsag>([&question](TMeMsag* m) {
        question = m->Memo1->toPlainText();
        m->Button2->click();
    });
    form.Button(9)->click();
    EXPECT_TRUE(*no);
    EXPECT_EQ(question, QStringLiteral("您確定要結束本系統嗎?"));
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.Button(9)->isEnabled());
    EXPECT_TRUE(form.Button(4)->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return Commands(*ws).size() >= 2; }));
    EXPECT_EQ(Commands(*ws), (std::vector<std::string>{"S885E", "S8862"})); // sound 2, nothing else

    auto yes = OnNextModal<TMeMsag>([](TMeMsag* m) { m->Button1->click(); });
    form.close();
    EXPECT_TRUE(*yes);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(Commands(*ws).back(), "X0000");
    EXPECT_FALSE(form.Button(9)->isEnabled());
}

TEST_F(WorkstationTest, UserFunctionButtonsFollowTheSettings) {
    InstallBase();
    struct Case {
        const char* visible;
        bool shown[6];
    };
    const Case cases[] = {{"110000", {true, true, false, false, false, false}},
                          {"000000", {false, false, false, false, false, false}},
                          {"0x1 20", {false, true, true, true, true, false}},
                          {"01", {false, true, true, true, true, true}}};
    for (const auto& c : cases) {
        Settings s;
        s.UserFuncVisible = c.visible;
        s.UserFuncHint[2] = "第二個功能";
        WriteSettingsFile(dir / kSettingsFileName, s);
        auto ws = Start(DeviceKind::Simulated);
        for (int k = 1; k <= 6; ++k) {
            QAction* a =
                ws->MainWindow().findChild<QAction*>(QStringLiteral("ToolButton%1Action").arg(10 + k));
            EXPECT_EQ(a->isVisible(), c.shown[k - 1]) << c.visible << " button " << k;
        }
        EXPECT_EQ(ws->MainWindow().Button(12)->toolTip(), QStringLiteral("第二個功能"));
        EXPECT_EQ(ws->MainWindow().Button(11)->text(), QStringLiteral("功能1"));
        EXPECT_EQ(ws->MainWindow().Button(12)->text(), QStringLiteral("功能 2"));
    }
}

TEST_F(WorkstationTest, UserSettingsSaveRewritesTheFileAndTheButtons) {
    InstallBase();
    auto ws = Start(DeviceKind::Simulated);
    ASSERT_TRUE(RunFirstActivation(*ws));
    TMeForm& form = ws->MainWindow();
    ASSERT_TRUE(form.Button(11)->isVisible());
    auto seen = OnNextModal<TMeCust>([](TMeCust* d) {
        d->CheckBox[1]->setChecked(false);
        d->Edit[1]->setText(QString());
        d->SaveButton->click();
    });
    form.MenuItem("w1")->trigger();
    EXPECT_TRUE(*seen);
    EXPECT_TRUE(WaitFor([&] { return !form.Button(11)->isVisible(); }));
    EXPECT_EQ(form.statusBar()->findChild<QLabel*>("SystemTitle")->text(), QString());
    auto stored = ReadSettingsFile(dir / kSettingsFileName);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->UserFuncVisible.substr(0, 1), "0");
    EXPECT_TRUE(form.Button(4)->isEnabled()); // the tool bar is back after the dialog
}

TEST_F(WorkstationTest, AboutBoxReadsTheCounterWithoutSteppingIt) {
    InstallBase();
    auto ws = Start(DeviceKind::Simulated, 1234567);
    ASSERT_TRUE(RunFirstActivation(*ws));
    QString counter, serial;
    auto seen = OnNextModal<TAboutBox>([&](TAboutBox* box) {
        WaitFor([&] { return box->CounterValue->text().contains(QLatin1Char('4')); });
        counter = box->CounterValue->text();
        serial = box->SerialValue->text();
        box->OKButton->click();
    });
    ws->MainWindow().MenuItem("i1")->trigger();
    EXPECT_TRUE(*seen);
    EXPECT_EQ(counter, FormatUsageCounter(1234567, QLocale()));
    EXPECT_TRUE(counter.contains(QLocale().groupSeparator()) || QLocale().groupSeparator().isEmpty());
    EXPECT_EQ(serial, QStringLiteral("0A1B2C3D4E5F"));
    const auto cmds = Commands(*ws);
    EXPECT_EQ(
        std::count_if(cmds.begin(), cmds.end(), [](const std::string& c) { return c.rfind("W0", 0) == 0; }),
        0);
    EXPECT_EQ(ws->Simulation()->Register(6) * 65536 + ws->Simulation()->Register(7) * 256 +
                  ws->Simulation()->Register(8),
              1234567);
}

TEST_F(WorkstationTest, OfflineGuardAndTrayNoticesFollowTheDevice) {
    InstallBase();
    auto ws = Start(DeviceKind::Simulated);
    ASSERT_TRUE(RunFirstActivation(*ws));
    TMeForm& form = ws->MainWindow();

    ws->Simulation()->Unplug();
    ASSERT_TRUE(WaitFor([&] { return !ws->State().DeviceOnline; }));
    // No tray on the offscreen desktop: the removal notice goes to the status bar.
    ASSERT_TRUE(WaitFor([&] { return !form.statusBar()->currentMessage().isEmpty(); }));
    EXPECT_TRUE(form.statusBar()->currentMessage().contains(QStringLiteral("已中斷連線！")));
    EXPECT_EQ(form.TrayIcon()->toolTip(),
              QString::fromUtf8(branding::kMakerLatinName) + QStringLiteral("\r\nO.R.U.K. is off-line !!"));

    QString text;
    auto guard = OnNextModal<TMeMsag>([&text](TMeMsag* m) {
        text = m->Memo1->toPlainText();
        m->Button3->click();
    });
    form.Button(4)->click();
    EXPECT_TRUE(*guard);
    EXPECT_EQ(text, QStringLiteral("O.R.U.K.已經離線！請重新連接裝置"));
    EXPECT_FALSE(QApplication::activeModalWidget()); // no explanation window opened

    ws->Simulation()->PlugIn();
    ASSERT_TRUE(WaitFor([&] { return ws->State().DeviceOnline; }));
    ASSERT_TRUE(
        WaitFor([&] { return form.statusBar()->currentMessage().contains(QStringLiteral("已連線")); }));

    // Off line, leaving asks nothing and sends nothing.
    ws->Simulation()->Unplug();
    ASSERT_TRUE(WaitFor([&] { return !ws->State().DeviceOnline; }));
    ws->Simulation()->ClearLog();
    auto asked = OnNextModal<TMeMsag>([](TMeMsag* m) { m->reject(); }, 1000);
    form.close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(*asked);
    EXPECT_TRUE(Commands(*ws).empty());
}

TEST_F(WorkstationTest, FirstStartGivesTheUserFunctionsTheDesktopsPrograms) {
    // A PATH holding only a media player: function 2 gets it, function 3 finds no word processor.
    const auto bin = dir / "bin";
    std::filesystem::create_directories(bin);
    const auto player = bin / "vlc";
    { std::ofstream(player) << "#!/bin/sh\n"; }
    std::filesystem::permissions(player, std::filesystem::perms::owner_all);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(bin.string()));
    const Settings first = LoadWorkstationSettings(dir);
    qputenv("PATH", oldPath);
    EXPECT_EQ(first.UserFuncProgram[2], "vlc");
    EXPECT_EQ(first.UserFuncProgram[3], "");
    auto stored = ReadSettingsFile(dir / kSettingsFileName);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->UserFuncProgram[2], "vlc");

    // An existing file is taken as it is, even when it names the Windows programs.
    Settings windows;
    WriteSettingsFile(dir / kSettingsFileName, windows);
    EXPECT_EQ(LoadWorkstationSettings(dir).UserFuncProgram[2], "wmplayer.exe");
}
