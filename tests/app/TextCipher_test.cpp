#include "app/TextCipher.h"

#include <gtest/gtest.h>

using namespace oruk;

TEST(TextCipher, RoundTripsEveryKey) {
    for (CipherKey key : {CipherKey::Texts, CipherKey::Settings, CipherKey::Branding}) {
        for (const std::string text :
             {"1", "4000", "ORUK經絡能量分析系統", "a longer text that wraps over the key twice ..."}) {
            const std::string cipher = EncipherText(text, key);
            EXPECT_EQ(cipher.size(), 2 * (text.size() + 1));
            EXPECT_EQ(cipher.find_first_not_of("0123456789ABCDEF"), std::string::npos);
            EXPECT_EQ(DecipherText(cipher, key), text);
        }
    }
}

TEST(TextCipher, EmptyStaysEmptyAndSeedsDiffer) {
    EXPECT_EQ(EncipherText("", CipherKey::Settings), "");
    EXPECT_EQ(DecipherText("", CipherKey::Settings), "");
    bool differed = false;
    for (int i = 0; i < 20 && !differed; ++i)
        differed = EncipherText("4000", CipherKey::Settings) != EncipherText("4000", CipherKey::Settings);
    EXPECT_TRUE(differed);
}

TEST(TextCipher, FollowsTheStreamRule) {
    // Seed 0x10, key selector 5 starts with 'S' (0x53): s = ((0x10 + 'A') mod 255) xor 0x53.
    const int s = ((0x10 + 'A') % 255) ^ 'S';
    char hex[8];
    std::snprintf(hex, sizeof hex, "10%02X", s);
    EXPECT_EQ(DecipherText(hex, CipherKey::Settings), "A");
}

TEST(TextCipher, InvalidCipherTextIsReported) {
    EXPECT_FALSE(DecipherText("ZZ01", CipherKey::Settings).has_value());
    EXPECT_FALSE(DecipherText("10G1", CipherKey::Settings).has_value());
    EXPECT_FALSE(DecipherText("1", CipherKey::Settings).has_value());
    EXPECT_EQ(DecipherText("10", CipherKey::Settings), ""); // a seed alone holds no bytes
}
