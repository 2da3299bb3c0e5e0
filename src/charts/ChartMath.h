#pragma once

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <string>

namespace oruk {

// Rounding to the nearest integer with halves to even, as every chart coordinate is rounded.
inline int RoundEven(double v) {
    double r = std::nearbyint(v); // the default rounding mode rounds halves to even
    if (std::fabs(r - v) == 0.5 && std::fmod(r, 2.0) != 0.0)
        r -= (r > v ? 1.0 : -1.0); // guard against a changed rounding mode
    return static_cast<int>(r);
}

// printf-style formatting of one number into a display text (decimal point, never the locale's).
inline std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
inline std::string Format(const char* fmt, ...) {
    char buf[128];
    va_list ap;
    va_start(ap, fmt);
    int n = std::vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    return n < 0 ? std::string()
                 : std::string(buf, static_cast<std::size_t>(n) < sizeof buf ? n : sizeof buf - 1);
}

} // namespace oruk
