#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace oruk {

// The application's text cipher: upper-case hex, a random seed byte first, so the same text
// enciphers differently each time. Selector 1: reference texts; 5: settings file; 7: branding texts.
enum class CipherKey { Texts = 1, Settings = 5, Branding = 7 };

std::string EncipherText(std::string_view text, CipherKey key);

// nullopt when the text is not cipher text (a pair that is not hexadecimal).
std::optional<std::string> DecipherText(std::string_view text, CipherKey key);

} // namespace oruk
