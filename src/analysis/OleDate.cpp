#include "analysis/OleDate.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace oruk {

namespace {

using namespace std::chrono;

constexpr sys_days kEpoch = sys_days{year{1899} / December / 30};

// A field of digits only: from_chars alone would take a minus sign.
int ParseInt(std::string_view s, bool& ok) {
    for (const char c : s)
        ok = ok && c >= '0' && c <= '9';
    int v = 0;
    const auto res = std::from_chars(s.data(), s.data() + s.size(), v);
    ok = ok && res.ec == std::errc() && res.ptr == s.data() + s.size() && !s.empty();
    return v;
}

} // namespace

double ToOleDate(const CivilDateTime& t) {
    const sys_days d{year{t.year} / month{static_cast<unsigned>(t.month)} /
                     day{static_cast<unsigned>(t.day)}};
    const double days = static_cast<double>((d - kEpoch).count());
    const double fraction = (t.hour * 3600.0 + t.minute * 60.0 + t.second) / 86400.0;
    // Before the epoch the fraction counts away from it, as the stored format has it.
    return days >= 0 ? days + fraction : days - fraction;
}

CivilDateTime FromOleDate(double value) {
    const double whole = std::trunc(value);
    double fraction = std::fabs(value - whole);
    long long seconds = std::llround(fraction * 86400.0);
    long long dayCount = static_cast<long long>(whole);
    if (seconds >= 86400) { // rounding up to the next midnight
        seconds -= 86400;
        dayCount += value >= 0 ? 1 : -1;
    }
    const year_month_day ymd{kEpoch + days{dayCount}};
    CivilDateTime t;
    t.year = static_cast<int>(ymd.year());
    t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    t.hour = static_cast<int>(seconds / 3600);
    t.minute = static_cast<int>((seconds / 60) % 60);
    t.second = static_cast<double>(seconds % 60);
    return t;
}

double OleNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return ToOleDate({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                      static_cast<double>(local.tm_sec)});
}

std::optional<double> ParseIsoDate(std::string_view s) {
    if (s.size() < 10 || s[4] != '-' || s[7] != '-')
        return std::nullopt;
    bool ok = true;
    CivilDateTime t;
    t.year = ParseInt(s.substr(0, 4), ok);
    t.month = ParseInt(s.substr(5, 2), ok);
    t.day = ParseInt(s.substr(8, 2), ok);
    if (s.size() > 10) {
        if ((s[10] != 'T' && s[10] != ' ') || (s.size() != 16 && s.size() != 19) || s[13] != ':')
            return std::nullopt;
        t.hour = ParseInt(s.substr(11, 2), ok);
        t.minute = ParseInt(s.substr(14, 2), ok);
        if (s.size() == 19) {
            if (s[16] != ':')
                return std::nullopt;
            t.second = ParseInt(s.substr(17, 2), ok);
        }
    }
    if (!ok || t.hour > 23 || t.minute > 59 || t.second > 59)
        return std::nullopt;
    const year_month_day ymd{year{t.year}, month{static_cast<unsigned>(t.month)},
                             day{static_cast<unsigned>(t.day)}};
    if (!ymd.ok())
        return std::nullopt;
    return ToOleDate(t);
}

std::string FormatIsoDate(double days) {
    const CivilDateTime t = FromOleDate(days);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", t.year, t.month, t.day);
    return buf;
}

std::string FormatIsoDateTime(double days) {
    const CivilDateTime t = FromOleDate(days);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  static_cast<int>(t.second));
    return buf;
}

} // namespace oruk
