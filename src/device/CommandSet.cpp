// The device's command vocabulary, built on DeviceLink::SendCommand.
#include "device/DeviceLink.h"

#include <algorithm>
#include <cstdio>

namespace oruk {

namespace {

std::string Trimmed(std::string text) {
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32)
        text.pop_back();
    std::size_t b = 0;
    while (b < text.size() && static_cast<unsigned char>(text[b]) <= 32)
        ++b;
    return text.substr(b);
}

} // namespace

// The reply to one command, empty when none came. Without a device SendCommand leaves the previous
// reply in place; reading that as the answer would show another command's value.
std::string DeviceLink::Exchange(std::string_view command) {
    return SendCommand(command) ? ReplyText() : std::string();
}

std::string DeviceLink::RegisterFragment(int reg) {
    return Trimmed(ReplyChars(Exchange("R" + FormatHex2(reg) + "00"), 4, 5));
}

int DeviceLink::ReadProbeSample() {
    const std::string reply = Exchange("D0000");
    DeviceLinkObserver* observer = Observer();
    if (reply == "Z0001") {
        bool show = false;
        {
            std::lock_guard lock(mutex_);
            show = !state_.ProbeAlarmShown;
            state_.ProbeAlarmShown = true;
        }
        // Shown once; it stays until a sample comes without the fault.
        if (show && observer)
            observer->ProbeFaultBalloon(Balloon{texts_.Title + " Information",
                                                texts_.Acronym + " 檢測棒異常！請檢查..", BalloonIcon::Error,
                                                10000});
    } else {
        bool hide = false;
        {
            std::lock_guard lock(mutex_);
            hide = state_.ProbeAlarmShown;
            state_.ProbeAlarmShown = false;
        }
        if (hide && observer)
            observer->HideBalloon();
    }
    return static_cast<int>(ParseHexOr(Trimmed(ReplyChars(reply, 3, 5)), 0));
}

void DeviceLink::PlayDeviceSound(int n) {
    static const char* const kSounds[][2] = {
        {"S8863", nullptr}, {"S885E", "S8862"}, {"S5662", "S8960"}, {"SB660", nullptr}, {"S6862", nullptr},
        {"S6864", "S4F62"}, {"SD05D", nullptr}, {"SA060", nullptr}, {"SD05D", nullptr}, {"SAB5D", nullptr},
        {"S905D", nullptr}, {"S685D", nullptr}, {"SC040", nullptr},
    };
    if (n < 1 || n > 13)
        return;
    for (const char* command : kSounds[n - 1])
        if (command)
            SendCommand(command);
}

void DeviceLink::ReadDeviceInfo() {
    std::string serial;
    for (int reg = 0; reg <= 5; ++reg)
        serial += RegisterFragment(reg);
    int sdvL = kDefaultSdv, sdvH = kDefaultSdv;
    bool stores = false;
    {
        std::lock_guard lock(mutex_);
        state_.DeviceSerialNo = serial;
        stores = state_.DeviceStoresCalibration;
    }
    if (stores) {
        // Sequenced one by one: the device must see the reads in this order.
        std::string l = RegisterFragment(0x0B);
        l += RegisterFragment(0x0C);
        sdvL = static_cast<int>(ParseHexOr(l, kDefaultSdv));
        std::string h = RegisterFragment(0x09);
        h += RegisterFragment(0x0A);
        sdvH = static_cast<int>(ParseHexOr(h, kDefaultSdv));
    }
    std::lock_guard lock(mutex_);
    state_.DeviceSdvL = sdvL;
    state_.DeviceSdvH = sdvH;
}

long long DeviceLink::ReadUsageCounter(bool step) {
    std::string text = RegisterFragment(6);
    text += RegisterFragment(7);
    text += RegisterFragment(8);
    long long count = ParseHexOr(text, 0);
    if (step) {
        count = std::min(count + 1, kUsageCounterMax);
        char digits[16];
        std::snprintf(digits, sizeof digits, "%06llX", count);
        const std::string d = digits;
        SendCommand("W06" + d.substr(0, 2));
        SendCommand("W07" + d.substr(2, 2));
        SendCommand("W08" + d.substr(4, 2));
    }
    std::lock_guard lock(mutex_);
    state_.DeviceUsageCount = count;
    return count;
}

GainRegisters DeviceLink::ReadGainRegisters() {
    GainRegisters g;
    g.CrgH = static_cast<int>(ParseHexOr(RegisterFragment(0x0D), 30));
    g.CrgL = static_cast<int>(ParseHexOr(RegisterFragment(0x0E), 29));
    g.MrgH = static_cast<int>(ParseHexOr(RegisterFragment(0x0F), 30));
    g.MrgL = static_cast<int>(ParseHexOr(RegisterFragment(0x10), 29));
    return g;
}

void DeviceLink::WriteGainRegisters(const GainRegisters& g) {
    SendCommand("W0D" + FormatHex2(g.CrgH));
    SendCommand("W0E" + FormatHex2(g.CrgL));
    SendCommand("W0F" + FormatHex2(g.MrgH));
    SendCommand("W10" + FormatHex2(g.MrgL));
}

} // namespace oruk
