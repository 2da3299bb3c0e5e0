// Opens every window of the workstation on the simulated device and saves a PNG of each, so the
// windows can be looked at on a machine without a display.
// Usage: oruk-screenshots OUTDIR [--size WxH]
#include "app/SettingsFile.h"
#include "app/gui/AboutBox.h"
#include "app/gui/Look.h"
#include "app/gui/MeCust.h"
#include "app/gui/MeMsag.h"
#include "app/gui/MeStatu.h"
#include "app/gui/Workstation.h"
#include "records/DbSession.h"
#include "records/ReferenceTexts.h"
#include "records/Schema.h"
#include "reference/gui/Meadv.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <functional>
#include <iostream>

using namespace oruk;
using namespace oruk::gui;

namespace {

QString g_out;
int g_saved = 0;

bool WaitFor(const std::function<bool()>& cond, int timeoutMs = 8000) {
    QElapsedTimer t;
    t.start();
    while (!cond()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

void Settle() {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 150)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void Save(QWidget* w, const QString& name) {
    Settle();
    const QString file = QDir(g_out).filePath(name + QStringLiteral(".png"));
    if (w->grab().save(file)) {
        std::cout << file.toStdString() << "\n";
        ++g_saved;
    } else {
        std::cerr << "could not write " << file.toStdString() << "\n";
    }
}

// Template and reference databases: the installed ones, or empty ones of the right layout.
void Provision(const std::filesystem::path& dir) {
    PrepareWorkDir(dir);
    if (!std::filesystem::exists(dir / dbfiles::Template))
        CreateTemplateFile(dir / dbfiles::Template);
    if (!std::filesystem::exists(dir / dbfiles::Texts)) {
        DbSession t(dir / dbfiles::Texts, DbMode::Create);
        CreateTextTables(t);
    }
    if (!std::filesystem::exists(dir / dbfiles::Programs)) {
        DbSession p(dir / dbfiles::Programs, DbMode::Create);
        CreateReferenceProgramTables(p);
    }
}

// The status window of a start, caught while it checks and when it is done.
void StatusWindows(Workstation& ws, bool online) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    bool midway = false;
    QObject::connect(timer, &QTimer::timeout, timer, [&, timer, online] {
        auto* w = qobject_cast<TMeStatu*>(QApplication::activeModalWidget());
        if (!w)
            return;
        if (!midway && w->ProgressBar1->value() >= 55) {
            midway = true;
            Save(w, online ? QStringLiteral("02-status-checking") : QStringLiteral("03-status-no-device"));
        }
        if (!online && w->ExitButton->isVisible()) {
            timer->stop();
            Save(w, QStringLiteral("03-status-no-device"));
            w->ExitButton->click();
        }
    });
    timer->start();
    bool done = false;
    QObject::connect(&ws.MainWindow(), &TMeForm::firstActivationFinished, [&done](bool) { done = true; });
    ws.MainWindow().show();
    WaitFor([&] { return done; }, 15000);
    timer->stop();
    timer->deleteLater();
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    ApplyWorkstationLook(app);
    if (argc < 2) {
        std::cerr << "usage: oruk-screenshots OUTDIR [--size WxH]\n";
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);
    QSize mainSize(1366, 768);
    if (argc >= 4 && QString::fromLatin1(argv[2]) == QLatin1String("--size")) {
        const QStringList wh = QString::fromLatin1(argv[3]).split(QLatin1Char('x'));
        if (wh.size() == 2)
            mainSize = QSize(wh[0].toInt(), wh[1].toInt());
    }
    QDir().mkpath(g_out);
    QTemporaryDir tmp;
    const std::filesystem::path dir = tmp.path().toStdString();
    Provision(dir);

    // A start on the simulated device: status window, then the idle main window.
    WorkstationOptions options;
    options.workDir = dir;
    options.device = DeviceKind::Simulated;
    options.simulation.UsageCount = 1234567;
    auto ws = std::make_unique<Workstation>(options);
    ws->MainWindow().resize(mainSize);
    StatusWindows(*ws, true);
    ws->MainWindow().resize(mainSize);
    Save(&ws->MainWindow(), QStringLiteral("01-main-window"));

    // Message dialogs, one asking and one informing.
    {
        TMeMsag ask(2, TMeForm::CloseQuestion(), &ws->MainWindow());
        ask.show();
        Save(&ask, QStringLiteral("04-message-question"));
        ask.hide();
        TMeMsag info(6, TMeForm::OfflineMessage(), &ws->MainWindow());
        info.show();
        Save(&info, QStringLiteral("05-message-information"));
        info.hide();
    }
    // About box with the counter read from the device.
    {
        TAboutBox box(&ws->MainWindow());
        box.SetDeviceInfo(ws->Device().Info().serialNo, ws->Device().Info().hardwareVersion);
        QObject::connect(&ws->Device(), &DeviceControl::usageCounterRead, &box,
                         [&box](long long c) { box.SetUsageCounter(c); });
        ws->Device().ReadUsageCounter();
        box.show();
        WaitFor([&] {
            return !box.CounterValue->text().contains(QLatin1Char('.')) ||
                   box.CounterValue->text().contains(QLatin1Char(','));
        });
        Save(&box, QStringLiteral("06-about"));
        box.hide();
    }
    // User settings, both pages.
    {
        TMeCust cust(ws->State(), &ws->MainWindow());
        cust.show();
        Save(&cust, QStringLiteral("07-user-settings-titles"));
        cust.PageControl1->setCurrentIndex(1);
        Save(&cust, QStringLiteral("08-user-settings-functions"));
        cust.hide();
    }
    // Meridian explanations: diagram and text pages.
    {
        DbSession* texts = ws->Connections().texts.get();
        TMeadv adv(
            [texts](int mkey) -> std::optional<ReferenceTopic> {
                if (!texts)
                    return std::nullopt;
                return ReadReferenceTopic(*texts, mkey);
            },
            QString::fromStdString((dir / "Data" / "MeLegend.png").string()), &ws->MainWindow());
        adv.show();
        adv.ListBox1->setCurrentRow(7);
        Save(&adv, QStringLiteral("09-explanation-diagram"));
        const char* names[] = {"10-explanation-data", "11-explanation-ryodoraku",
                               "12-explanation-prescriptions", "13-explanation-health-care"};
        for (int page = 1; page <= 4; ++page) {
            adv.PageControl1->setCurrentIndex(page);
            Save(&adv, QString::fromLatin1(names[page - 1]));
        }
        adv.hide();
    }
    // The device pulled out: the notice where the tray is missing.
    ws->Simulation()->Unplug();
    WaitFor([&] { return !ws->MainWindow().statusBar()->currentMessage().isEmpty(); }, 3000);
    Save(&ws->MainWindow(), QStringLiteral("14-main-window-device-removed"));
    ws->Simulation()->PlugIn();
    WaitFor([&] { return ws->State().DeviceOnline; }, 3000);
    // Leaving without a question from the tool.
    ws->State().DeviceOnline = false;
    ws->MainWindow().close();
    ws.reset();

    // A start without a device.
    options.device = DeviceKind::None;
    auto none = std::make_unique<Workstation>(options);
    StatusWindows(*none, false);
    none.reset();

    std::cout << g_saved << " pictures in " << g_out.toStdString() << "\n";
    return g_saved > 0 ? 0 : 1;
}
