#pragma once

#include "device/Clock.h"
#include "device/DeviceTransport.h"

#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace oruk {

// Passes everything through to another transport and notes every command written successfully,
// with the clock's time: "<ms> <command>" lines for oruk-cli --trace.
class TracingTransport final : public DeviceTransport {
public:
    TracingTransport(DeviceTransport& inner, Clock& clock)
        : inner_(inner), clock_(clock), start_(clock.NowMs()) {}

    void SetInputHandler(InputHandler h) override { inner_.SetInputHandler(std::move(h)); }
    void SetChangeHandler(ChangeHandler h) override { inner_.SetChangeHandler(std::move(h)); }
    bool Open(std::uint16_t v, std::uint16_t p) override { return inner_.Open(v, p); }
    bool IsOpen() const override { return inner_.IsOpen(); }
    bool IsPluggedIn() override { return inner_.IsPluggedIn(); }
    void Close() override { inner_.Close(); }
    int OutputReportLength() override { return inner_.OutputReportLength(); }
    bool Write(const std::vector<std::uint8_t>& report) override;
    void Flush() override { inner_.Flush(); }
    std::string StringDescriptor(int index) override { return inner_.StringDescriptor(index); }

    void WriteTrace(std::ostream& out) const;
    // Forget what was written so far and count the time from now.
    void Restart();

private:
    DeviceTransport& inner_;
    Clock& clock_;
    std::int64_t start_;
    mutable std::mutex mutex_;
    std::vector<std::pair<std::int64_t, std::string>> lines_;
};

} // namespace oruk
