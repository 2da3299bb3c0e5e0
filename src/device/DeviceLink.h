#pragma once

#include "device/Clock.h"
#include "device/DeviceTransport.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace oruk {

// Hardware version text of a device that keeps its reference counts in its registers.
inline constexpr const char* kStoredCalibrationVersion = "ORUK6-20051706-A02";
inline constexpr int kDefaultSdv = 4060;
inline constexpr long long kUsageCounterMax = 0xFFFFFF;

// Branding texts the tray hint and balloons are made of.
struct TrayTexts {
    std::string MakerLatinName = "Sorvan";
    std::string Acronym = "O.R.U.K.";
    std::string Title = "ORUK";
};

enum class BalloonIcon { Information, Error };

struct Balloon {
    std::string Title;
    std::string Text;
    BalloonIcon Icon = BalloonIcon::Information;
    int DurationMs = 10000;
    friend bool operator==(const Balloon&, const Balloon&) = default;
};

// Device attached (icon 15) or removed (icon 16). Showing a balloon first hides any balloon shown.
struct TrayNotice {
    int IconIndex = 16;
    std::string Hint;
    std::optional<Balloon> ShowBalloon;
};

// What the application shows of the link: tray icon, hint and balloons. Called on the thread that
// runs DeviceChanged or the command (the GUI queues them to its own thread).
class DeviceLinkObserver {
public:
    virtual ~DeviceLinkObserver() = default;
    virtual void TrayChanged(const TrayNotice&) {}
    virtual void ProbeFaultBalloon(const Balloon&) {} // shown on a probe fault reply
    virtual void HideBalloon() {}                     // the probe fault is over
    virtual void OnlineChanged(bool /*online*/) {}
};

// The link values the shared state reads.
struct LinkState {
    bool DeviceHeld = false; // a device is taken (HidDevice)
    bool DeviceOnline = false;
    bool DeviceStoresCalibration = false;
    bool ProbeAlarmShown = false;
    std::string DeviceSerialNo; // 12 hex digits, or shorter when registers did not answer
    std::string DeviceHardwareVersion;
    long long DeviceUsageCount = 0;
    int DeviceSdvL = kDefaultSdv;
    int DeviceSdvH = kDefaultSdv;
};

struct GainRegisters {
    int CrgH = 30, CrgL = 29, MrgH = 30, MrgL = 29;
    friend bool operator==(const GainRegisters&, const GainRegisters&) = default;
};

// Upper-case hex, one-digit values padded with "0", cut to the first two characters.
std::string FormatHex2(long long value);
// A register text as one hex number ("$" + text); empty or unparsable text gives fallback.
long long ParseHexOr(std::string_view text, long long fallback);
// Reply bytes as text with codes up to 32 removed at both ends.
std::string ReplyTextFromReport(const std::uint8_t* data, std::size_t size);
// Report id 0, the command, blanks up to length - 1; a longer command is cut.
std::vector<std::uint8_t> BuildOutputReport(std::string_view command, int length);
// Characters first..last (1-based, inclusive) of a reply; shorter when the reply is shorter.
std::string ReplyChars(const std::string& reply, std::size_t first, std::size_t last);

// The link to the measuring device: the held device, every exchange (SendCommand), the reply the
// input handler stores, the device-change handling and the command set. Thread-safe: the engines
// call it from a worker thread while the transport delivers replies from its reader thread.
class DeviceLink {
public:
    DeviceLink(DeviceTransport& transport, Clock& clock, TrayTexts texts = {});
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    void SetObserver(DeviceLinkObserver* observer);
    Clock& GetClock() { return clock_; }
    DeviceTransport& Transport() { return transport_; }

    // Device arrival or removal (and once at start). firstActivation suppresses the attach balloon.
    void DeviceChanged(bool firstActivation = false);

    // One exchange: up to three writes, each waiting at most 100 ms for the reply.
    bool SendCommand(std::string_view command);
    std::string ReplyText() const;
    bool ReplyReady() const;

    LinkState State() const;
    bool Held() const;
    bool Online() const;
    // The status check's failure path and exit button take the device off line.
    void SetOnline(bool online);
    // String descriptor 3, trimmed; empty without a device.
    std::string ReadHardwareVersion();

    // Command set.
    int ReadProbeSample();
    void PlayDeviceSound(int n);
    void ReadDeviceInfo();
    // Past FFFFFF the counter stays at FFFFFF: the three registers cannot hold more, and a counter
    // that wrapped to 0 would read as a new device.
    long long ReadUsageCounter(bool step);
    GainRegisters ReadGainRegisters();
    void WriteGainRegisters(const GainRegisters& gains);

    static constexpr int kReplyWaitMs = 100;
    static constexpr int kAttempts = 3;

private:
    void OnInput(const std::uint8_t* data, std::size_t size);
    std::string Exchange(std::string_view command);
    std::string RegisterFragment(int reg); // characters 4-5 of the reply to "R" + reg + "00"
    DeviceLinkObserver* Observer() const;

    DeviceTransport& transport_;
    Clock& clock_;
    TrayTexts texts_;
    mutable std::mutex mutex_;
    std::condition_variable replyArrived_;
    std::recursive_mutex exchangeMutex_; // one exchange at a time
    LinkState state_;
    std::string replyText_;
    bool replyReady_ = false;
    DeviceLinkObserver* observer_ = nullptr;
};

} // namespace oruk
