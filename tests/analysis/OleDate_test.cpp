#include "analysis/OleDate.h"

#include <gtest/gtest.h>

using namespace oruk;

TEST(OleDate, KnownDays) {
    EXPECT_DOUBLE_EQ(ToOleDate({1899, 12, 30}), 0.0);
    EXPECT_DOUBLE_EQ(ToOleDate({1900, 1, 1}), 2.0);
    EXPECT_DOUBLE_EQ(ToOleDate({2000, 1, 1, 12, 0, 0}), 36526.5);
    EXPECT_DOUBLE_EQ(*ParseIsoDate("2000-01-01T18:00"), 36526.75);
}

TEST(OleDate, RoundTripsThroughText) {
    const double d = *ParseIsoDate("2024-02-29T23:59:59");
    EXPECT_EQ(FormatIsoDateTime(d), "2024-02-29T23:59:59");
    EXPECT_EQ(FormatIsoDate(d), "2024-02-29");
}

TEST(OleDate, RejectsBadDates) {
    for (const char* bad :
         {"2023-02-29", "2024-13-01", "24-01-01", "2024-01-01T25:00", "2024-01-01X", "abcd-ef-gh",
          // Signs are not digits: these would otherwise name an hour before midnight or year -20.
          "-020-01-01", "2024-01-01T-1:00", "2024-01-01T10:-5", "2024-01-01T10:05:-1"})
        EXPECT_FALSE(ParseIsoDate(bad).has_value()) << bad;
}
