#include "device/SimulatedDevice.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace oruk {

namespace {

constexpr std::size_t kMaxLog = 1000000;

bool IsHex(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
    });
}

int Hex(const std::string& text) {
    return static_cast<int>(std::stol(text, nullptr, 16));
}

std::string Hex3(int value) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%03X", std::clamp(value, 0, 0xFFF));
    return buf;
}

} // namespace

SimulatedDevice::SimulatedDevice(Clock& clock, SimulatedDeviceConfig config)
    : clock_(clock), config_(std::move(config)), rng_(config_.Seed) {
    config_.LatencyMs = std::max(config_.LatencyMs, 1);
    for (int i = 0; i < 6; ++i)
        registers_[i] = config_.Serial[i];
    registers_[6] = static_cast<int>((config_.UsageCount >> 16) & 0xFF);
    registers_[7] = static_cast<int>((config_.UsageCount >> 8) & 0xFF);
    registers_[8] = static_cast<int>(config_.UsageCount & 0xFF);
    registers_[9] = (config_.SdvH >> 8) & 0xFF;
    registers_[10] = config_.SdvH & 0xFF;
    registers_[11] = (config_.SdvL >> 8) & 0xFF;
    registers_[12] = config_.SdvL & 0xFF;
    registers_[13] = config_.Gains.CrgH;
    registers_[14] = config_.Gains.CrgL;
    registers_[15] = config_.Gains.MrgH;
    registers_[16] = config_.Gains.MrgL;
}

void SimulatedDevice::SetInputHandler(InputHandler handler) {
    std::lock_guard lock(mutex_);
    input_ = std::move(handler);
}

void SimulatedDevice::SetChangeHandler(ChangeHandler handler) {
    std::lock_guard lock(mutex_);
    change_ = std::move(handler);
}

bool SimulatedDevice::Open(std::uint16_t vendorId, std::uint16_t productId) {
    std::lock_guard lock(mutex_);
    if (!plugged_ || vendorId != kDeviceVendorId || productId != kDeviceProductId)
        return false;
    open_ = true;
    return true;
}

bool SimulatedDevice::IsOpen() const {
    std::lock_guard lock(mutex_);
    return open_;
}

bool SimulatedDevice::IsPluggedIn() {
    std::lock_guard lock(mutex_);
    return plugged_;
}

void SimulatedDevice::Close() {
    std::lock_guard lock(mutex_);
    open_ = false;
}

int SimulatedDevice::OutputReportLength() {
    std::lock_guard lock(mutex_);
    return config_.OutputReportLength;
}

std::string SimulatedDevice::HardwareVersionLocked() const {
    if (!config_.HardwareVersion.empty())
        return config_.HardwareVersion;
    return config_.StoresCalibration ? kStoredCalibrationVersion : kPlainHardwareVersion;
}

std::string SimulatedDevice::StringDescriptor(int index) {
    std::lock_guard lock(mutex_);
    if (index != 3 || !plugged_)
        return {};
    return HardwareVersionLocked();
}

void SimulatedDevice::Flush() {} // replies are handed over inside Write; nothing waits in a queue

bool SimulatedDevice::Write(const std::vector<std::uint8_t>& report) {
    InputHandler handler;
    std::vector<std::uint8_t> data;
    bool unplug = false;
    int latency = 0;
    {
        std::lock_guard lock(mutex_);
        ++writeCount_;
        lastReport_ = report;
        if (!open_ || !plugged_ || report.empty())
            return false;
        PendingFault fault{Fault::Reply, {}};
        bool faulted = false;
        if (!faults_.empty()) {
            fault = faults_.front();
            faults_.pop_front();
            faulted = true;
        }
        if (faulted && fault.kind == Fault::WriteFailure)
            return false;
        std::string command(report.begin() + 1, report.end());
        while (!command.empty() && static_cast<unsigned char>(command.back()) <= 32)
            command.pop_back();
        // A simulation left running for hours keeps the latest half million commands.
        if (log_.size() >= kMaxLog)
            log_.erase(log_.begin(), log_.begin() + static_cast<std::ptrdiff_t>(kMaxLog / 2));
        log_.push_back({clock_.NowMs(), command});
        std::string reply;
        if (!faulted)
            reply = Answer(command);
        else if (fault.kind == Fault::Reply)
            reply = fault.reply;
        else if (fault.kind == Fault::UnplugInWait)
            unplug = true;
        latency = config_.LatencyMs;
        if (!reply.empty() && !unplug) {
            handler = input_;
            // Input reports are as long as the output reports, the unused bytes zero.
            data.assign(reply.begin(), reply.end());
            data.resize(
                std::max<std::size_t>(data.size(), static_cast<std::size_t>(config_.OutputReportLength - 1)),
                0);
        }
    }
    clock_.SleepMs(latency);
    if (unplug) {
        Unplug();
        return true;
    }
    if (handler)
        handler(data.data(), data.size());
    return true;
}

std::string SimulatedDevice::Answer(const std::string& command) {
    if (command.size() != 5)
        return "Z0000";
    const char letter = command[0];
    const std::string arg = command.substr(1);
    if (!IsHex(arg))
        return "Z0000";
    switch (letter) {
    case 'X':
        high_ = false;
        return command;
    case 'L':
        high_ = false;
        return command;
    case 'H':
        high_ = true;
        return command;
    case 'K':
    case 'I':
    case 'N':
    case 'C':
    case 'F':
    case 'A':
    case 'B':
    case 'S':
        return command;
    case 'D':
        if (arg != "0000")
            return "Z0000";
        if (probeFault_)
            return "Z0001";
        return "D0" + Hex3(ProbeCountLocked());
    case 'R': {
        const int reg = Hex(arg.substr(0, 2));
        if (reg > 0x10 || arg.substr(2) != "00")
            return "Z0000";
        return "R" + FormatHex2(reg) + FormatHex2(registers_[reg]);
    }
    case 'W': {
        const int reg = Hex(arg.substr(0, 2));
        if (reg > 0x10)
            return "Z0000";
        registers_[reg] = Hex(arg.substr(2));
        return command;
    }
    case 'G':
        if (arg.substr(0, 2) != "00")
            return "Z0000";
        // The device keeps the trimmed gain of the potential in its CRG register.
        (high_ ? gainH_ : gainL_) = Hex(arg.substr(2));
        registers_[high_ ? 0x0D : 0x0E] = Hex(arg.substr(2));
        return command;
    default:
        return "Z0000";
    }
}

int SimulatedDevice::ProbeCountLocked() {
    const std::int64_t now = clock_.NowMs();
    if (contact_ != Contact::None && touchEnd_ >= 0 && now >= touchEnd_)
        contact_ = Contact::None;
    if (contact_ == Contact::None || now < touchStart_)
        return 0;
    double count = 0;
    if (contact_ == Contact::Grip) {
        if (config_.StoresCalibration)
            count = high_ ? config_.GripCountH + config_.CountsPerGainH * (gainH_ - 20)
                          : config_.GripCountL + config_.CountsPerGainL * (gainL_ - 20);
        else
            count = high_ ? config_.GripCountH : config_.GripCountL;
        if (config_.GripNoiseCounts > 0)
            count += std::normal_distribution<double>(0, config_.GripNoiseCounts)(rng_);
    } else {
        // The device's own reference: its registers, or what a calibration at the grip measures.
        const double reference = config_.StoresCalibration
                                     ? (high_ ? config_.SdvH : config_.SdvL)
                                     : (high_ ? config_.GripCountH : config_.GripCountL);
        double current = subject_.Currents[pointIndex_];
        if (subject_.NoiseUa > 0)
            current += std::normal_distribution<double>(0, subject_.NoiseUa)(rng_);
        count = current / 200.0 * reference;
    }
    return std::clamp(static_cast<int>(std::lround(count)), 0, 0xFFF);
}

int SimulatedDevice::ProbeCount() {
    std::lock_guard lock(mutex_);
    return ProbeCountLocked();
}

void SimulatedDevice::QueueReply(const std::string& reply, int times) {
    std::lock_guard lock(mutex_);
    for (int i = 0; i < times; ++i)
        faults_.push_back({Fault::Reply, reply});
}

void SimulatedDevice::QueueNoReply(int times) {
    std::lock_guard lock(mutex_);
    for (int i = 0; i < times; ++i)
        faults_.push_back({Fault::NoReply, {}});
}

void SimulatedDevice::QueueWriteFailure(int times) {
    std::lock_guard lock(mutex_);
    for (int i = 0; i < times; ++i)
        faults_.push_back({Fault::WriteFailure, {}});
}

void SimulatedDevice::UnplugDuringNextWait() {
    std::lock_guard lock(mutex_);
    faults_.push_back({Fault::UnplugInWait, {}});
}

void SimulatedDevice::Unplug() {
    ChangeHandler handler;
    {
        std::lock_guard lock(mutex_);
        plugged_ = false;
        handler = change_;
    }
    if (handler)
        handler();
}

void SimulatedDevice::PlugIn() {
    ChangeHandler handler;
    {
        std::lock_guard lock(mutex_);
        plugged_ = true;
        handler = change_;
    }
    if (handler)
        handler();
}

void SimulatedDevice::SetProbeFault(bool fault) {
    std::lock_guard lock(mutex_);
    probeFault_ = fault;
}

void SimulatedDevice::SetLatency(int ms) {
    std::lock_guard lock(mutex_);
    config_.LatencyMs = std::max(ms, 1);
}

void SimulatedDevice::SetHardwareVersion(const std::string& text) {
    std::lock_guard lock(mutex_);
    config_.HardwareVersion = text;
}

std::vector<ReceivedCommand> SimulatedDevice::Log() const {
    std::lock_guard lock(mutex_);
    return log_;
}

std::vector<std::string> SimulatedDevice::Commands() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    out.reserve(log_.size());
    for (const auto& c : log_)
        out.push_back(c.Command);
    return out;
}

void SimulatedDevice::ClearLog() {
    std::lock_guard lock(mutex_);
    log_.clear();
    writeCount_ = 0;
}

int SimulatedDevice::WriteCount() const {
    std::lock_guard lock(mutex_);
    return writeCount_;
}

std::vector<std::uint8_t> SimulatedDevice::LastReport() const {
    std::lock_guard lock(mutex_);
    return lastReport_;
}

int SimulatedDevice::Register(int reg) const {
    std::lock_guard lock(mutex_);
    return registers_.at(static_cast<std::size_t>(reg));
}

void SimulatedDevice::SetRegister(int reg, int value) {
    std::lock_guard lock(mutex_);
    registers_.at(static_cast<std::size_t>(reg)) = value & 0xFF;
}

int SimulatedDevice::Gain(bool high) const {
    std::lock_guard lock(mutex_);
    return high ? gainH_ : gainL_;
}

bool SimulatedDevice::HighPotential() const {
    std::lock_guard lock(mutex_);
    return high_;
}

void SimulatedDevice::SetSubject(const VirtualSubject& subject) {
    std::lock_guard lock(mutex_);
    subject_ = subject;
}

void SimulatedDevice::TouchPoint(int pointIndex) {
    std::lock_guard lock(mutex_);
    contact_ = Contact::Point;
    pointIndex_ = std::clamp(pointIndex, 1, kPointCount);
    touchStart_ = clock_.NowMs() + subject_.PauseMs;
    touchEnd_ = touchStart_ + subject_.HoldMs;
    if (auto it = breaks_.find(pointIndex_); it != breaks_.end()) {
        touchEnd_ = touchStart_ + it->second;
        breaks_.erase(it);
    }
}

void SimulatedDevice::BreakContactOnce(int pointIndex, int afterMs) {
    std::lock_guard lock(mutex_);
    breaks_[pointIndex] = afterMs;
}

void SimulatedDevice::TouchGrip(int holdMs) {
    std::lock_guard lock(mutex_);
    contact_ = Contact::Grip;
    touchStart_ = clock_.NowMs();
    touchEnd_ = holdMs < 0 ? -1 : touchStart_ + holdMs;
}

void SimulatedDevice::Lift() {
    std::lock_guard lock(mutex_);
    contact_ = Contact::None;
}

void SimulatedDevice::SetHoldMs(int ms) {
    std::lock_guard lock(mutex_);
    subject_.HoldMs = ms;
}

} // namespace oruk
