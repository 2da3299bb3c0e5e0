#include "app/cli/CliArgs.h"
#include "app/cli/Commands.h"

#include <QGuiApplication>
#include <cerrno>
#include <clocale>
#include <cstring>
#include <iostream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct CommandEntry {
    const char* name;
    int (*run)(const oruk::cli::CommandArgs&, std::ostream&, std::ostream&);
    const char* summary;
};

constexpr CommandEntry kCommands[] = {
    {"analyze", oruk::cli::RunAnalyze, "analyse 24 values or a stored measurement"},
    {"settings", oruk::cli::RunSettings, "show or change the settings file"},
    {"device", oruk::cli::RunDevice, "list devices or run the status check"},
    {"measure", oruk::cli::RunMeasure, "take a 24-point measurement"},
    {"calibrate", oruk::cli::RunCalibrate, "calibrate the device"},
    {"init", oruk::cli::RunInit, "provision the working directory"},
    {"subjects", oruk::cli::RunSubjects, "list subjects"},
    {"subject", oruk::cli::RunSubject, "add, change or delete a subject"},
    {"measurements", oruk::cli::RunMeasurements, "list a subject's measurements"},
    {"save", oruk::cli::RunSave, "save a measurement"},
    {"export", oruk::cli::RunExport, "export records to a transfer file"},
    {"import", oruk::cli::RunImport, "import records from a transfer file"},
    {"chart", oruk::cli::RunChart, "draw an analysis chart"},
    {"report", oruk::cli::RunReport, "print the analysis report to PDF"},
    {"compare", oruk::cli::RunCompare, "compare two measurements"},
};

void PrintUsage(std::ostream& out) {
    out << "usage: oruk-cli COMMAND [OPTIONS]\n\ncommands:\n";
    for (const auto& c : kCommands)
        out << "  " << c.name << std::string(14 - std::strlen(c.name), ' ') << c.summary << "\n";
}

} // namespace

int main(int argc, char** argv) {
    // Charts and reports need fonts but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a session (cron, CI, ssh) Qt complains about the missing runtime directory on
    // every run; give it a private one so stderr carries only our own messages.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const std::string dir = "/tmp/oruk-runtime-" + std::to_string(getuid());
        if (mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST)
            qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(dir));
    }
    QGuiApplication app(argc, argv);
    // Stored numbers always use a decimal point, whatever the desktop's locale says.
    std::setlocale(LC_NUMERIC, "C");

    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "help") == 0) {
        PrintUsage(argc < 2 ? std::cerr : std::cout);
        return argc < 2 ? oruk::cli::kExitBadInput : oruk::cli::kExitOk;
    }
    const oruk::cli::CommandArgs args(argv + 2, argv + argc);
    for (const auto& c : kCommands) {
        if (std::strcmp(argv[1], c.name) != 0)
            continue;
        try {
            return c.run(args, std::cout, std::cerr);
        } catch (const oruk::cli::CliError& e) {
            std::cerr << "oruk-cli " << c.name << ": " << e.what() << "\n";
            return oruk::cli::kExitBadInput;
        } catch (const std::exception& e) {
            std::cerr << "oruk-cli " << c.name << ": " << e.what() << "\n";
            return oruk::cli::kExitFailure;
        }
    }
    std::cerr << "oruk-cli: unknown command '" << argv[1] << "'\n";
    PrintUsage(std::cerr);
    return oruk::cli::kExitBadInput;
}
