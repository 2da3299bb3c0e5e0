#include "app/gui/Workstation.h"

#include "app/Launcher.h"
#include "app/SettingsFile.h"
#include "app/WorkDir.h"
#include "app/gui/Branding.h"
#include "app/gui/MeStatu.h"
#include "records/Provisioning.h"
#include "records/ReferenceTexts.h"
#include "reference/gui/Meadv.h"

#include <QApplication>
#include <system_error>

namespace oruk::gui {

namespace fs = std::filesystem;

std::optional<std::string> PrepareWorkDir(const fs::path& workDir) {
    try {
        ProvisionWorkDir(workDir, InstalledDataDir());
    } catch (const std::exception& e) {
        return std::string(e.what());
    }
    return std::nullopt;
}

Settings LoadWorkstationSettings(const fs::path& workDir) {
    std::error_code ec;
    const bool existed = fs::exists(workDir / kSettingsFileName, ec);
    Settings s = LoadOrCreateSettings(workDir);
    if (existed)
        return s;
    // The Windows defaults name programs a Linux desktop does not have; keep their roles.
    bool changed = false;
    auto replace = [&](int k, const char* windowsName, const std::string& desktop) {
        if (s.UserFuncProgram[k] == windowsName) {
            s.UserFuncProgram[k] = desktop;
            changed = true;
        }
    };
    replace(2, "wmplayer.exe", DesktopMediaPlayer());
    replace(3, "winword.exe", DesktopWordProcessor());
    if (changed)
        WriteSettingsFile(workDir / kSettingsFileName, s);
    return s;
}

Workstation::Workstation(WorkstationOptions options) : options_(std::move(options)) {
    state_.WorkDir = options_.workDir;

    TrayTexts texts;
    texts.MakerLatinName = Branding::MakerLatin().toStdString();
    texts.Acronym = Branding::Acronym().toStdString();
    texts.Title = Branding::ProductTitle().toStdString();
    auto clock = std::make_unique<SteadyClock>();
    std::unique_ptr<DeviceTransport> transport;
    switch (options_.device) {
    case DeviceKind::Usb:
        if (options_.usbTransport)
            transport = options_.usbTransport();
        if (transport)
            break;
        [[fallthrough]]; // no USB access at all: the program meets a device that is not there
    case DeviceKind::Simulated:
    case DeviceKind::SimulatedStored:
    case DeviceKind::None: {
        SimulatedDeviceConfig config = options_.simulation;
        if (options_.device == DeviceKind::SimulatedStored)
            config.StoresCalibration = true;
        auto sim = std::make_unique<SimulatedDevice>(*clock, config);
        if (options_.device == DeviceKind::None || options_.device == DeviceKind::Usb)
            sim->Unplug(); // a device that is not there, for tests of the missing-device path
        if (options_.device != DeviceKind::Usb)
            simulation_ = sim.get();
        transport = std::move(sim);
        break;
    }
    }
    device_ = std::make_unique<DeviceControl>(std::move(transport), std::move(clock), texts);

    MainWindowHooks hooks;
    hooks.loadSettings = &LoadWorkstationSettings;
    hooks.saveSettings = [](const fs::path& dir, const Settings& s) {
        WriteSettingsFile(dir / kSettingsFileName, s);
    };
    if (options_.runStatusWindow) {
        hooks.runStatusWindow = [this](QWidget* parent) {
            TMeStatu status(
                device_.get(), [this](StartupObserver& o) { return StartDatabases(o); }, parent);
            status.exec();
        };
    } else {
        // The start-up without the status check's 1.5 s: the device search, then the databases.
        hooks.runStatusWindow = [this](QWidget*) {
            device_->WaitIdle();
            StartupObserver quiet;
            if (!device_->Info().online || !StartDatabases(quiet))
                device_->SetOffline();
        };
    }
    hooks.disconnectDatabases = [this] {
        for (auto* db : {connections_.main.get(), connections_.texts.get(), connections_.programs.get()})
            if (db)
                db->Close();
    };
    form_ = std::make_unique<TMeForm>(state_, device_.get(), std::move(hooks));
    form_->SetWindowFactory(SubWindow::Explanation, [this](QWidget* parent) -> QDialog* {
        DbSession* texts = connections_.texts.get();
        return new TMeadv(
            [texts](int mkey) -> std::optional<ReferenceTopic> {
                if (!texts || !texts->IsOpen())
                    return std::nullopt;
                try {
                    return ReadReferenceTopic(*texts, mkey);
                } catch (const DbError&) {
                    return std::nullopt;
                }
            },
            QString::fromStdString((options_.workDir / "Data" / "MeLegend.png").string()), parent);
    });
}

Workstation::~Workstation() {
    form_.reset();
    device_.reset();
}

bool Workstation::StartDatabases(StartupObserver& observer) {
    StartupResult result = RunDatabaseStartup(options_.workDir, observer);
    if (result.ok)
        connections_ = std::move(result.connections);
    return result.ok;
}

} // namespace oruk::gui
