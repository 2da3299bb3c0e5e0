#include "app/cli/Json.h"

#include <QString>
#include <charconv>
#include <cstdio>

namespace oruk::cli {

std::string JsonNumber(double value) {
    char buffer[32]; // the shortest form of any double needs at most 24
    const auto res = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, res.ptr);
}

std::string JsonString(std::string_view text) {
    const QByteArray utf8 = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toUtf8();
    std::string out = "\"";
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                out += buffer;
            } else {
                out += ch;
            }
        }
    }
    out += '"';
    return out;
}

std::string JsonArray(const std::vector<std::string>& elements) {
    std::string out = "[";
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (i)
            out += ",";
        out += elements[i];
    }
    out += "]";
    return out;
}

} // namespace oruk::cli
