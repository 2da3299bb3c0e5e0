#pragma once

#include "device/Clock.h"
#include "device/DeviceLink.h"

#include <string>

namespace oruk {

inline constexpr const char* kNoDeviceMessage = "O.R.U.K.並未啟動！請檢查電源是否開啟，USB連線是否正常。";
inline constexpr const char* kUsbFaultMessage = "USB介面異常！請檢查O.R.U.K.的USB連線";

enum class StatusLampColour { Red, Green, Yellow };

// Everything the status window shows, sent whenever it changes.
struct StatusCheckView {
    std::string Model, Serial, HardwareVersion; // the three value texts
    bool ValuesShown = false;                   // the value texts are visible
    StatusLampColour Lamp = StatusLampColour::Red;
    int Progress = 0;    // 0-100
    int StepLampsOn = 0; // lamps 1..StepLampsOn are lit
    std::string StatusText = "Environment Setup. Please Wait....";
    bool ExitButtonVisible = false;
};

class StatusCheckObserver {
public:
    virtual ~StatusCheckObserver() = default;
    virtual void Update(const StatusCheckView&) {}
};

struct StatusCheckOutcome {
    bool DeviceHeld = false;
    bool Online = false;   // go on with the database start-up
    std::string ErrorText; // empty when on line
    StatusCheckView View;  // the final view
};

// The start-up check: 1.5 s of progress with the device's output sequence, each group once.
// Runs on the caller's thread; the link's DeviceOnline is cleared on failure.
StatusCheckOutcome RunStatusCheck(DeviceLink& link, Clock& clock, StatusCheckObserver* observer = nullptr);

} // namespace oruk
