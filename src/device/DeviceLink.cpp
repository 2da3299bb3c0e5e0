#include "device/DeviceLink.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace oruk {

namespace {

std::string TrimControls(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 32)
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32)
        --e;
    return std::string(text.substr(b, e - b));
}

} // namespace

std::string FormatHex2(long long value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(value) & 0xFFFFFFFFull);
    std::string text = buf;
    if (text.size() == 1)
        text.insert(text.begin(), '0');
    return text.substr(0, 2);
}

long long ParseHexOr(std::string_view text, long long fallback) {
    if (text.empty() || text.size() > 15)
        return fallback;
    long long value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (ec != std::errc() || ptr != text.data() + text.size() || text.front() == '-' || text.front() == '+')
        return fallback;
    return value;
}

std::string ReplyTextFromReport(const std::uint8_t* data, std::size_t size) {
    return TrimControls(std::string_view(reinterpret_cast<const char*>(data), size));
}

std::vector<std::uint8_t> BuildOutputReport(std::string_view command, int length) {
    std::vector<std::uint8_t> report(static_cast<std::size_t>(std::max(length, 1)), 0x20);
    report[0] = 0;
    const std::size_t n = std::min(command.size(), report.size() - 1);
    std::copy_n(command.begin(), n, report.begin() + 1);
    return report;
}

std::string ReplyChars(const std::string& reply, std::size_t first, std::size_t last) {
    if (first < 1 || first > reply.size() || last < first)
        return {};
    return reply.substr(first - 1, last - first + 1);
}

DeviceLink::DeviceLink(DeviceTransport& transport, Clock& clock, TrayTexts texts)
    : transport_(transport), clock_(clock), texts_(std::move(texts)) {
    transport_.SetInputHandler([this](const std::uint8_t* data, std::size_t size) { OnInput(data, size); });
}

DeviceLink::~DeviceLink() {
    transport_.SetInputHandler(nullptr);
}

void DeviceLink::SetObserver(DeviceLinkObserver* observer) {
    std::lock_guard lock(mutex_);
    observer_ = observer;
}

DeviceLinkObserver* DeviceLink::Observer() const {
    std::lock_guard lock(mutex_);
    return observer_;
}

void DeviceLink::OnInput(const std::uint8_t* data, std::size_t size) {
    {
        std::lock_guard lock(mutex_);
        replyText_ = ReplyTextFromReport(data, size);
        replyReady_ = true;
    }
    replyArrived_.notify_all();
}

bool DeviceLink::SendCommand(std::string_view command) {
    std::lock_guard exchange(exchangeMutex_);
    std::unique_lock lock(mutex_);
    if (!state_.DeviceHeld)
        return false;
    replyReady_ = false;
    replyText_.clear();
    lock.unlock();

    const auto report = BuildOutputReport(command, transport_.OutputReportLength());
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const bool written = transport_.Write(report);
        if (!written)
            transport_.Flush();
        lock.lock();
        const std::int64_t deadline = clock_.NowMs() + kReplyWaitMs;
        if (written) {
            clock_.WaitUntil(lock, replyArrived_, deadline,
                             [&] { return replyReady_ || !state_.DeviceHeld; });
            if (replyReady_) {
                if (replyText_ != "Z0000")
                    break;
                replyReady_ = false;
                replyText_.clear();
            }
        } else {
            clock_.WaitUntil(lock, replyArrived_, deadline, [&] { return !state_.DeviceHeld; });
        }
        if (!state_.DeviceHeld)
            break;
        lock.unlock();
    }
    if (!lock.owns_lock())
        lock.lock();
    return replyReady_;
}

std::string DeviceLink::ReplyText() const {
    std::lock_guard lock(mutex_);
    return replyText_;
}

bool DeviceLink::ReplyReady() const {
    std::lock_guard lock(mutex_);
    return replyReady_;
}

LinkState DeviceLink::State() const {
    std::lock_guard lock(mutex_);
    return state_;
}

bool DeviceLink::Held() const {
    std::lock_guard lock(mutex_);
    return state_.DeviceHeld;
}

bool DeviceLink::Online() const {
    std::lock_guard lock(mutex_);
    return state_.DeviceOnline;
}

void DeviceLink::SetOnline(bool online) {
    {
        std::lock_guard lock(mutex_);
        if (state_.DeviceOnline == online)
            return;
        state_.DeviceOnline = online;
    }
    if (auto* o = Observer())
        o->OnlineChanged(online);
}

std::string DeviceLink::ReadHardwareVersion() {
    if (!Held())
        return {};
    return TrimControls(transport_.StringDescriptor(3));
}

void DeviceLink::DeviceChanged(bool firstActivation) {
    if (!Held()) {
        if (!transport_.IsOpen() && !transport_.Open(kDeviceVendorId, kDeviceProductId))
            return;
        {
            std::lock_guard lock(mutex_);
            state_.DeviceHeld = true;
        }
        TrayNotice notice;
        notice.IconIndex = 15;
        notice.Hint = texts_.MakerLatinName + "\r\n" + texts_.Acronym + " is on-line.";
        if (!firstActivation)
            notice.ShowBalloon = Balloon{texts_.Title + " Information", texts_.Title + " 已連線",
                                         BalloonIcon::Information, 10000};
        if (auto* o = Observer())
            o->TrayChanged(notice);
        SetOnline(true);
        const std::string version = TrimControls(transport_.StringDescriptor(3));
        {
            std::lock_guard lock(mutex_);
            state_.DeviceHardwareVersion = version;
            state_.DeviceStoresCalibration = version == kStoredCalibrationVersion;
        }
        ReadDeviceInfo();
        return;
    }
    if (transport_.IsPluggedIn())
        return; // some other HID device came or went
    transport_.Flush();
    transport_.Close();
    {
        std::lock_guard lock(mutex_);
        state_.DeviceHeld = false;
    }
    replyArrived_.notify_all(); // an exchange waiting for its reply ends now
    TrayNotice notice;
    notice.IconIndex = 16;
    notice.Hint = texts_.MakerLatinName + "\r\n" + texts_.Acronym + " is off-line !!";
    notice.ShowBalloon =
        Balloon{texts_.Title + " Information", texts_.Title + " 已中斷連線！", BalloonIcon::Error, 10000};
    if (auto* o = Observer())
        o->TrayChanged(notice);
    SetOnline(false);
}

} // namespace oruk
