#pragma once

#include "app/SharedState.h"
#include "app/gui/DeviceControl.h"
#include "app/gui/MeForm.h"
#include "device/SimulatedDevice.h"
#include "records/DatabaseStartup.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

namespace oruk::gui {

enum class DeviceKind { Usb, Simulated, SimulatedStored, None };

struct WorkstationOptions {
    std::filesystem::path workDir;
    DeviceKind device = DeviceKind::Usb;
    SimulatedDeviceConfig simulation; // for the simulated kinds
    bool runStatusWindow = true;      // false: the benchmark measures the rest of the start-up
    // The real device's transport (the program passes the USB one; tests never need it).
    std::function<std::unique_ptr<DeviceTransport>()> usbTransport;
};

// The whole program in one object: shared state, device on its thread, databases, main window.
// Construction runs the main window's creation; showing it runs the first activation.
class Workstation {
public:
    explicit Workstation(WorkstationOptions options);
    ~Workstation();

    TMeForm& MainWindow() { return *form_; }
    DeviceControl& Device() { return *device_; }
    SimulatedDevice* Simulation() { return simulation_; } // null for the USB device
    SharedState& State() { return state_; }
    DatabaseConnections& Connections() { return connections_; }

    // The database start-up as the status window runs it.
    bool StartDatabases(StartupObserver& observer);

private:
    WorkstationOptions options_;
    SharedState state_;
    std::unique_ptr<DeviceControl> device_;
    SimulatedDevice* simulation_ = nullptr;
    DatabaseConnections connections_;
    std::unique_ptr<TMeForm> form_;
};

// First start: provision the working directory from the installed data. Returns an error text
// when that fails (nothing to show then but the text).
std::optional<std::string> PrepareWorkDir(const std::filesystem::path& workDir);

// The settings of a working directory; a first start gets the desktop's own media player and
// word processor for the user functions that name the Windows programs.
Settings LoadWorkstationSettings(const std::filesystem::path& workDir);

} // namespace oruk::gui
