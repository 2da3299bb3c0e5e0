#include "GuiFixture.h"

#include "app/gui/Look.h"

#include <clocale>

namespace oruk::test {

QApplication& App() {
    static int argc = 1;
    static char arg0[] = "gui_tests";
    static char* argv[] = {arg0, nullptr};
    static QApplication* app = [] {
        auto* a = new QApplication(argc, argv);
        std::setlocale(LC_NUMERIC, "C");
        gui::ApplyWorkstationLook(*a);
        return a;
    }();
    return *app;
}

bool WaitFor(const std::function<bool()>& cond, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!cond()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

void WorkDirTest::SetUp() {
    App();
    std::random_device rd;
    dir = std::filesystem::temp_directory_path() /
          ("oruk-gui-" + std::to_string(rd()) + "-" + std::to_string(rd()));
    std::filesystem::create_directories(dir);
}

void WorkDirTest::TearDown() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

void WorkDirTest::InstallBase() {
    CreateTemplateFile(dir / dbfiles::Template);
    {
        DbSession t(dir / dbfiles::Texts, DbMode::Create);
        CreateTextTables(t);
    }
    DbSession p(dir / dbfiles::Programs, DbMode::Create);
    CreateReferenceProgramTables(p);
}

void WorkDirTest::AddMeridianRow(int mkey, const std::string& emptyColumn) {
    DbSession t(dir / dbfiles::Texts, DbMode::ReadWrite);
    QString cols = QStringLiteral("MKEY");
    QString marks = QStringLiteral("?");
    QVariantList values{mkey};
    for (const char* c :
         {"DtEA1", "DtEA2", "DtEA3", "DtEA4", "DtEA5", "DtPot1", "DtPot2", "DtPot3", "DtMA1", "DtMA3",
          "DtMH1", "DtMH2", "DtMH3", "DtMH4", "DtMH5", "DtML1",  "DtML2",  "DtML3",  "DtML4", "DtML5"}) {
        cols += QStringLiteral(", ") + QLatin1String(c);
        marks += QStringLiteral(", ?");
        const std::string text =
            c == emptyColumn ? std::string() : std::string(c) + " of " + std::to_string(mkey);
        values << QString::fromStdString(EncipherText(text, CipherKey::Texts));
    }
    t.Exec(QStringLiteral("INSERT INTO MEMTDB (%1) VALUES (%2)").arg(cols, marks), values);
}

std::unique_ptr<gui::Workstation> WorkDirTest::Start(gui::DeviceKind kind, long long usageCount) {
    gui::WorkstationOptions o;
    o.workDir = dir;
    o.device = kind;
    o.simulation.UsageCount = usageCount;
    o.simulation.LatencyMs = 1;
    return std::make_unique<gui::Workstation>(o);
}

bool WorkDirTest::RunFirstActivation(gui::Workstation& ws, int timeoutMs) {
    bool finished = false;
    QObject::connect(&ws.MainWindow(), &gui::TMeForm::firstActivationFinished, &ws.MainWindow(),
                     [&finished](bool) { finished = true; });
    ws.MainWindow().show();
    return WaitFor([&] { return finished; }, timeoutMs);
}

} // namespace oruk::test
