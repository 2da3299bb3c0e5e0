#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

namespace oruk {

// Time for the device engines. The real clock sleeps and waits; the simulated clock jumps, so a whole
// measuring run on the simulated device takes milliseconds of real time and is exactly repeatable.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t NowMs() = 0;
    virtual void SleepMs(std::int64_t ms) = 0;
    // Waits on cv (lock held by the caller) until ready() or deadlineMs; returns ready().
    virtual bool WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                           std::int64_t deadlineMs, const std::function<bool()>& ready) = 0;
    // The calendar date-time now, days since 1899-12-30.
    virtual double OleNow() = 0;
};

class SteadyClock final : public Clock {
public:
    std::int64_t NowMs() override;
    void SleepMs(std::int64_t ms) override;
    bool WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, std::int64_t deadlineMs,
                   const std::function<bool()>& ready) override;
    double OleNow() override;
};

// Time moves only when someone sleeps or waits. Replies of the simulated device arrive inside the
// write, so a wait that is not satisfied at once can only end at its deadline.
class SimClock final : public Clock {
public:
    explicit SimClock(double startDate = 46000.5) : startDate_(startDate) {}
    std::int64_t NowMs() override { return now_.load(); }
    void SleepMs(std::int64_t ms) override { Advance(ms); }
    bool WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, std::int64_t deadlineMs,
                   const std::function<bool()>& ready) override;
    double OleNow() override { return startDate_ + static_cast<double>(now_.load()) / 86400000.0; }
    void Advance(std::int64_t ms);
    // Runs action on the advancing thread once the time reaches atMs (a test's operator at work).
    void At(std::int64_t atMs, std::function<void()> action);

private:
    double startDate_;
    std::atomic<std::int64_t> now_{0};
    std::mutex actionsMutex_;
    std::vector<std::pair<std::int64_t, std::function<void()>>> actions_;
};

} // namespace oruk
