#include "analysis/MeasurementRecord.h"

#include <algorithm>
#include <charconv>

namespace oruk {

bool MeasurementRecord::IsComplete() const {
    return std::all_of(Values.begin(), Values.end(), [](double v) { return v > 0; });
}

void MeasurementRecord::Compensate(const DisplayTables& tables) {
    for (int i = 1; i <= kPointCount; ++i)
        Compensated[i] = Values[i] * tables.MeridianCoefficient[MeridianOfPoint(i)];
}

std::string FormatStd(const PointValues& scores) {
    std::string out;
    out.reserve(5 * kPointCount);
    for (double s : scores) {
        // A wide field would shift every later slice; scores outside the 5-character range
        // are held at its edges (any score at or below 0 shows as 0.0 anyway).
        s = std::clamp(s, -99.9, 999.9);
        char digits[16];
        const auto res = std::to_chars(digits, digits + sizeof digits, s, std::chars_format::fixed, 1);
        const std::string_view field(digits, static_cast<std::size_t>(res.ptr - digits));
        out.append(field.size() < 5 ? 5 - field.size() : 0, ' ');
        out += field;
    }
    return out;
}

PointValues ParseStd(std::string_view text) {
    PointValues scores{};
    for (int i = 1; i <= kPointCount; ++i) {
        const std::size_t start = 5 * static_cast<std::size_t>(i - 1);
        if (start >= text.size())
            break;
        std::string_view slice = text.substr(start, 5);
        while (!slice.empty() && slice.front() == ' ')
            slice.remove_prefix(1);
        while (!slice.empty() && slice.back() == ' ')
            slice.remove_suffix(1);
        double v = 0;
        // Locale-independent: the column is written with a decimal point whatever the desktop uses.
        const auto res = std::from_chars(slice.data(), slice.data() + slice.size(), v);
        const bool clean = !slice.empty() && res.ec == std::errc() && res.ptr == slice.data() + slice.size();
        scores[i] = clean ? v : 0.0;
    }
    return scores;
}

std::string JoinMemo(const std::vector<std::string>& lines) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i)
            out += "\r\n";
        out += lines[i];
    }
    return out;
}

std::vector<std::string> SplitMemo(std::string_view text) {
    std::vector<std::string> lines;
    if (text.empty())
        return lines;
    std::string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            current += c;
        }
    }
    lines.push_back(current);
    return lines;
}

} // namespace oruk
