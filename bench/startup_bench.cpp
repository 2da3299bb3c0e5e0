// Start-up of the workstation to the idle main window on the simulated device, without the
// status check's fixed 1.5 s: main window creation (settings, tables, device search), first
// activation with the database start-up, tool bar open.
#include "app/gui/Look.h"
#include "app/gui/Workstation.h"
#include "records/DbSession.h"
#include "records/Schema.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <clocale>
#include <filesystem>

using namespace oruk;
using namespace oruk::gui;

namespace {

QApplication& App() {
    static int argc = 1;
    static char arg0[] = "startup_bench";
    static char* argv[] = {arg0, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        auto* a = new QApplication(argc, argv);
        std::setlocale(LC_NUMERIC, "C");
        ApplyWorkstationLook(*a);
        return a;
    }();
    return *app;
}

void Install(const std::filesystem::path& dir) {
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

// One start: returns whether the tool bar opened.
bool StartOnce(const std::filesystem::path& dir) {
    WorkstationOptions o;
    o.workDir = dir;
    o.device = DeviceKind::Simulated;
    o.runStatusWindow = false;
    Workstation ws(o);
    bool done = false, online = false;
    QObject::connect(&ws.MainWindow(), &TMeForm::firstActivationFinished, [&](bool on) {
        done = true;
        online = on;
    });
    ws.MainWindow().showMaximized();
    QElapsedTimer t;
    t.start();
    while (!done && t.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    ws.State().DeviceOnline = false; // leave without the closing question
    return online;
}

// The daily start: the working directory exists with its settings and databases.
void BM_StartupToIdleMainWindow(benchmark::State& state) {
    App();
    QTemporaryDir tmp;
    const std::filesystem::path dir = tmp.path().toStdString();
    Install(dir);
    if (!StartOnce(dir)) { // first start writes settings and the main database
        state.SkipWithError("the start did not reach the idle main window");
        return;
    }
    for (auto _ : state)
        if (!StartOnce(dir))
            state.SkipWithError("the start did not reach the idle main window");
}
BENCHMARK(BM_StartupToIdleMainWindow)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The first start on an empty working directory (provisioning, settings written, database made).
void BM_FirstStartToIdleMainWindow(benchmark::State& state) {
    App();
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir tmp;
        const std::filesystem::path dir = tmp.path().toStdString();
        Install(dir);
        state.ResumeTiming();
        if (!StartOnce(dir))
            state.SkipWithError("the start did not reach the idle main window");
    }
}
BENCHMARK(BM_FirstStartToIdleMainWindow)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

BENCHMARK_MAIN();
