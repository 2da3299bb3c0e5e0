#include "device/Clock.h"

#include "analysis/OleDate.h"

#include <chrono>
#include <thread>

namespace oruk {

namespace {
using Steady = std::chrono::steady_clock;
}

std::int64_t SteadyClock::NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now().time_since_epoch()).count();
}

void SteadyClock::SleepMs(std::int64_t ms) {
    if (ms <= 0)
        return;
    // The kernel wakes a sleeper a fraction of a millisecond late, a large share of the short
    // device exchange times; the last stretch before the deadline is therefore yielded away.
    const auto deadline = Steady::now() + std::chrono::milliseconds(ms);
    std::this_thread::sleep_until(deadline - std::chrono::microseconds(300));
    while (Steady::now() < deadline)
        std::this_thread::yield();
}

bool SteadyClock::WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                            std::int64_t deadlineMs, const std::function<bool()>& ready) {
    const auto deadline = Steady::time_point(std::chrono::milliseconds(deadlineMs));
    return cv.wait_until(lock, deadline, ready);
}

double SteadyClock::OleNow() {
    return oruk::OleNow();
}

void SimClock::Advance(std::int64_t ms) {
    if (ms <= 0)
        return;
    const std::int64_t now = now_ += ms;
    std::vector<std::function<void()>> due;
    {
        std::lock_guard lock(actionsMutex_);
        for (auto it = actions_.begin(); it != actions_.end();) {
            if (it->first <= now) {
                due.push_back(std::move(it->second));
                it = actions_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& action : due)
        action();
}

void SimClock::At(std::int64_t atMs, std::function<void()> action) {
    std::lock_guard lock(actionsMutex_);
    actions_.emplace_back(atMs, std::move(action));
}

bool SimClock::WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable&,
                         std::int64_t deadlineMs, const std::function<bool()>& ready) {
    if (ready())
        return true;
    // Nothing can arrive while simulated time stands still: the wait ends at its deadline. The lock
    // is let go meanwhile, as a real wait would: an action due now (an unplug) may need it.
    lock.unlock();
    Advance(deadlineMs - now_.load());
    lock.lock();
    return ready();
}

} // namespace oruk
