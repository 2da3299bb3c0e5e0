#include "device/HidapiTransport.h"

#include <gtest/gtest.h>

namespace oruk {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ReportDescriptor, OutputReportLengthIncludesTheReportIdByte) {
    // Vendor page, 8-byte input and output reports without report ids.
    const Bytes plain = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08,
                         0x95, 0x08, 0x09, 0x01, 0x81, 0x02, 0x95, 0x08, 0x09, 0x01, 0x91, 0x02, 0xC0};
    // Two numbered output reports (16 and 4 bytes) and a 64-byte input report: the longest output counts.
    const Bytes numbered = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x85, 0x01, 0x95, 0x40,
                            0x81, 0x02, 0x95, 0x10, 0x91, 0x02, 0x85, 0x02, 0x95, 0x04, 0x91, 0x02, 0xC0};
    // Push/pop of the globals: the output after the pop uses the 8-bit size again (2 x 8 bits + 3 x 1 bit).
    const Bytes pushed = {0x75, 0x08, 0x95, 0x02, 0xA4, 0x75, 0x01, 0x95, 0x03, 0x91, 0x02, 0xB4, 0x91, 0x02};
    // A long item is skipped whole; its data must not be read as items.
    const Bytes longItem = {0xFE, 0x02, 0x00, 0x91, 0x02, 0x75, 0x08, 0x95, 0x05, 0x91, 0x02};
    // Input only; truncated in the middle of an item.
    const Bytes inputOnly = {0x75, 0x08, 0x95, 0x08, 0x81, 0x02};
    const Bytes truncated = {0x75, 0x08, 0x95, 0x08, 0x91, 0x02, 0x26, 0xFF};

    struct {
        const char* name;
        Bytes descriptor;
        int length;
    } cases[] = {{"plain", plain, 9},
                 {"numbered", numbered, 17},
                 {"pushed", pushed, 4},
                 {"long item", longItem, 6},
                 {"input only", inputOnly, 0},
                 {"truncated", truncated, 9},
                 {"empty", {}, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(OutputReportLengthFromDescriptor(c.descriptor), c.length) << c.name;
}

} // namespace
} // namespace oruk
