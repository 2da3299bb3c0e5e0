#pragma once

#include "device/DeviceTransport.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct hid_device_;

namespace oruk {

// One device found on the system.
struct HidDeviceEntry {
    std::string Path;
    std::string Serial;          // USB serial number string
    std::string HardwareVersion; // string descriptor 3
    int OutputReportLength = 0;  // from the report descriptor; 0 when unreadable
};

// Every attached measuring device (vendor 0xC925, product 0xA13F).
std::vector<HidDeviceEntry> ListDevices();

// Output report length (report id byte included) of the largest output report a HID report
// descriptor declares; 0 when it declares none.
int OutputReportLengthFromDescriptor(const std::vector<std::uint8_t>& descriptor);

// The real device through hidapi's hidraw backend. Input reports are read on a thread of their
// own; arrival and removal come from a libudev monitor on another thread (or, without udev, from
// comparing the device list once a second).
class HidapiTransport final : public DeviceTransport {
public:
    HidapiTransport();
    ~HidapiTransport() override;

    void SetInputHandler(InputHandler handler) override;
    void SetChangeHandler(ChangeHandler handler) override;
    bool Open(std::uint16_t vendorId, std::uint16_t productId) override;
    bool IsOpen() const override;
    bool IsPluggedIn() override;
    void Close() override;
    int OutputReportLength() override;
    bool Write(const std::vector<std::uint8_t>& report) override;
    void Flush() override;
    std::string StringDescriptor(int index) override;

private:
    void ReaderLoop();
    void MonitorLoop();
    void PollLoop();
    void StopReader();

    mutable std::mutex mutex_;
    // Held while a handler runs, so that once a handler is replaced no call of the old one is
    // still under way (the link that owned it may be gone).
    // A handler therefore must not block on the thread that replaces it (no blocking queued call
    // into a GUI thread that is clearing the handler).
    std::mutex inputMutex_;
    std::mutex changeMutex_;
    hid_device_* device_ = nullptr;
    std::string path_;
    int outputLength_ = 0;
    InputHandler input_;
    ChangeHandler change_;
    std::thread reader_;
    std::atomic<bool> readerStop_{false};
    std::atomic<bool> flushRequested_{false};
    std::thread monitor_;
    std::atomic<bool> monitorStop_{false};
    int wakePipe_[2] = {-1, -1};
};

} // namespace oruk
