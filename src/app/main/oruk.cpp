// The workstation program: oruk [--workdir DIR] [--simulate[=stored]]
#include "app/WorkDir.h"
#include "app/gui/Look.h"
#include "app/gui/MeMsag.h"
#include "app/gui/Workstation.h"
#include "device/HidapiTransport.h"

#include <QApplication>
#include <clocale>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

namespace {

int Usage(const std::string& problem) {
    std::cerr << "oruk: " << problem << "\n"
              << "usage: oruk [--workdir DIR] [--simulate[=stored]]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    // Arguments first: a mistake is reported without opening a window.
    std::optional<std::filesystem::path> workDir;
    oruk::gui::DeviceKind device = oruk::gui::DeviceKind::Usb;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--workdir") {
            if (i + 1 >= argc || std::strlen(argv[i + 1]) == 0)
                return Usage("--workdir needs a directory");
            workDir = argv[++i];
        } else if (arg.rfind("--workdir=", 0) == 0) {
            if (arg.size() == 10)
                return Usage("--workdir needs a directory");
            workDir = arg.substr(10);
        } else if (arg == "--simulate") {
            device = oruk::gui::DeviceKind::Simulated;
        } else if (arg == "--simulate=stored") {
            device = oruk::gui::DeviceKind::SimulatedStored;
        } else if (arg == "-h" || arg == "--help") {
            std::cout << "usage: oruk [--workdir DIR] [--simulate[=stored]]\n";
            return 0;
        } else if (arg.rfind("-", 0) == 0 && arg.rfind("-platform", 0) != 0 && arg.rfind("-style", 0) != 0) {
            return Usage("unknown option " + arg);
        }
    }

    QApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QApplication app(argc, argv);
    // Stored numbers always use a decimal point, whatever the desktop's locale says.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Sorvan Kv-50"));
    QApplication::setApplicationDisplayName(QStringLiteral("Sorvan Kv-50"));
    oruk::gui::ApplyWorkstationLook(app);

    oruk::gui::WorkstationOptions options;
    options.workDir = oruk::ResolveWorkDir(workDir);
    options.device = device;
    options.usbTransport = [] { return std::make_unique<oruk::HidapiTransport>(); };
    if (auto error = oruk::gui::PrepareWorkDir(options.workDir)) {
        oruk::gui::ShowMsg(nullptr, 6,
                           QStringLiteral("無法建立工作目錄：") +
                               QString::fromStdString(options.workDir.string()) + QStringLiteral("\n") +
                               QString::fromStdString(*error));
        return 1;
    }

    oruk::gui::Workstation workstation(options);
    workstation.MainWindow().showMaximized();
    return app.exec();
}
