#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace oruk {

// Dates are stored as days since 1899-12-30 with the time of day as the fraction,
// the same numbers the database columns hold.
struct CivilDateTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0;
    double second = 0;
};

double ToOleDate(const CivilDateTime& t);
CivilDateTime FromOleDate(double days);
double OleNow(); // local time

// "YYYY-MM-DD" or "YYYY-MM-DDTHH:MM[:SS]"; nullopt when not a valid date.
std::optional<double> ParseIsoDate(std::string_view text);
std::string FormatIsoDate(double days);     // "YYYY-MM-DD"
std::string FormatIsoDateTime(double days); // "YYYY-MM-DDTHH:MM:SS"

} // namespace oruk
