#include "device/TracingTransport.h"

namespace oruk {

bool TracingTransport::Write(const std::vector<std::uint8_t>& report) {
    const std::int64_t at = clock_.NowMs() - start_;
    if (!inner_.Write(report))
        return false;
    std::string command(report.begin() + (report.empty() ? 0 : 1), report.end());
    while (!command.empty() && static_cast<unsigned char>(command.back()) <= 32)
        command.pop_back();
    std::lock_guard lock(mutex_);
    lines_.emplace_back(at, std::move(command));
    return true;
}

void TracingTransport::WriteTrace(std::ostream& out) const {
    std::lock_guard lock(mutex_);
    for (const auto& [ms, command] : lines_)
        out << ms << ' ' << command << '\n';
}

} // namespace oruk

namespace oruk {

void TracingTransport::Restart() {
    std::lock_guard lock(mutex_);
    lines_.clear();
    start_ = clock_.NowMs();
}

} // namespace oruk
