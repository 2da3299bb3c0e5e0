#include "app/TextCipher.h"

#include <random>

namespace oruk {

namespace {

std::string_view KeyText(CipherKey key) {
    switch (key) {
    case CipherKey::Texts:
        return "Kv5#oRuK!m7Tq"; // 13 characters
    case CipherKey::Settings:
        return "S0rv@n-MeDef;6c.R"; // 17 characters
    case CipherKey::Branding:
        return "Br4nd*ORUK_Kv50/Tw&zQ"; // 21 characters
    }
    return "Kv5#oRuK!m7Tq";
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

void AppendHex(std::string& out, int value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out += kDigits[(value >> 4) & 0xF];
    out += kDigits[value & 0xF];
}

int RandomSeed() {
    thread_local std::mt19937 generator{std::random_device{}()};
    return std::uniform_int_distribution<int>(0, 255)(generator);
}

} // namespace

std::string EncipherText(std::string_view text, CipherKey key) {
    if (text.empty())
        return {};
    const std::string_view k = KeyText(key);
    std::string out;
    out.reserve(2 * (text.size() + 1));
    int s = RandomSeed();
    AppendHex(out, s);
    std::size_t j = 0;
    for (const char ch : text) {
        const int b = static_cast<unsigned char>(ch);
        s = ((s + b) % 255) ^ static_cast<unsigned char>(k[j]);
        AppendHex(out, s);
        j = (j + 1) % k.size();
    }
    return out;
}

std::optional<std::string> DecipherText(std::string_view text, CipherKey key) {
    if (text.empty())
        return std::string{};
    if (text.size() < 2)
        return std::nullopt;
    const std::string_view k = KeyText(key);
    const int hi = HexValue(text[0]), lo = HexValue(text[1]);
    if (hi < 0 || lo < 0)
        return std::nullopt;
    int p = hi * 16 + lo;
    std::string out;
    out.reserve(text.size() / 2);
    std::size_t j = 0;
    // A pair is taken while it starts before the last character; an odd last digit is ignored.
    for (std::size_t pos = 2; pos + 1 < text.size(); pos += 2) {
        const int h = HexValue(text[pos]), l = HexValue(text[pos + 1]);
        if (h < 0 || l < 0)
            return std::nullopt;
        const int c = h * 16 + l;
        const int t = static_cast<unsigned char>(k[j]) ^ c;
        const int b = p < t ? t - p : t + 255 - p;
        out += static_cast<char>(static_cast<unsigned char>(b));
        p = c;
        j = (j + 1) % k.size();
    }
    return out;
}

} // namespace oruk
