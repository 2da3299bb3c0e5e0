#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace oruk {

inline constexpr std::uint16_t kDeviceVendorId = 0xC925;  // 51493
inline constexpr std::uint16_t kDeviceProductId = 0xA13F; // 41279

// The USB HID access the device link needs. Implementations: the real device through hidapi
// (HidapiTransport) and the in-process simulated device (SimulatedDevice).
class DeviceTransport {
public:
    // Data bytes of one input report, without the report id. Called on the transport's reader
    // thread (real device) or inside Write (simulated device).
    using InputHandler = std::function<void(const std::uint8_t* data, std::size_t size)>;
    // Some HID device arrived or left; the owner runs the link's DeviceChanged (on its own thread).
    using ChangeHandler = std::function<void()>;

    virtual ~DeviceTransport() = default;

    virtual void SetInputHandler(InputHandler handler) = 0;
    virtual void SetChangeHandler(ChangeHandler handler) = 0;

    // Take the first free device with these ids; false when none is there.
    virtual bool Open(std::uint16_t vendorId, std::uint16_t productId) = 0;
    virtual bool IsOpen() const = 0;
    // The held device is still attached.
    virtual bool IsPluggedIn() = 0;
    // Free the held device.
    virtual void Close() = 0;

    // Length of an output report including the report id byte, as the device declares it.
    virtual int OutputReportLength() = 0;
    virtual bool Write(const std::vector<std::uint8_t>& report) = 0;
    // Drop input reports that have not been handed over yet.
    virtual void Flush() = 0;
    virtual std::string StringDescriptor(int index) = 0;
};

} // namespace oruk
