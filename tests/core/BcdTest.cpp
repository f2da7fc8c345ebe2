#include "model/Bcd.h"

#include "comm/Frames.h"

#include <gtest/gtest.h>

using namespace lumetra;

namespace {
BcdBytes bytes(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) { return {a, b, c, d}; }
} // namespace

TEST(Bcd, TimesInTheirLayouts)
{
    // time range 0, digits 001230
    EXPECT_EQ(eightDigitsToBytes(FormatValue(1, "0012.30", 2)), bytes(0x30, 0x00, 0x12, 0x00));
    // time range 1, digits 999999: plain layout
    EXPECT_EQ(eightDigitsToBytes(FormatValue(0, "999999", 2)), bytes(0x99, 0x99, 0x99, 0x00));
    EXPECT_EQ(FormatValue(1, "0012.", 2), "00120000");
    EXPECT_EQ(FormatValue(1, " 12.3 ", 2), "00120030");
    EXPECT_EQ(FormatValue(0, "12.5", 2), "00000013");
    EXPECT_EQ(FormatValue(1, "12", 2), "00120000");
}

TEST(Bcd, PrescaleValues)
{
    EXPECT_EQ(eightDigitsToBytes(FormatValue(1, "1", 3)), bytes(0x00, 0x00, 0x01, 0x00));
    EXPECT_EQ(FormatValue(1, "012.345", 3), "00120345");
    EXPECT_EQ(FormatValue(1, "1.23", 3), "00010230");
    EXPECT_EQ(FormatValue(1, "1.2", 3), "00010200");
}

TEST(Bcd, CounterSetValuesByDecimalPointPosition)
{
    EXPECT_EQ(eightDigitsToBytes(EncodeCounterSetValue(1, "12345.6")), bytes(0x56, 0x00, 0x34, 0x12));
    EXPECT_EQ(EncodeCounterSetValue(0, "0123456"), "12340056"); // the extra cell "0" leads
    EXPECT_EQ(EncodeCounterSetValue(3, "123.4"), "12340000");
    EXPECT_EQ(EncodeCounterSetValue(2, "42"), "00420000");
    EXPECT_EQ(EncodeCounterSetValue(4, "1"), "");
    EXPECT_EQ(SixDigitLayout("654321"), "65430021");
    EXPECT_EQ(plainLayout(7), "00000007");
}

TEST(Bcd, CounterSetValuePlacement)
{
    for (int mode : {0, 1, 2, 6})
        EXPECT_EQ(counterSetValueAddress(0, mode), 0x0556);
    for (int mode : {3, 4, 5, 7})
        EXPECT_EQ(counterSetValueAddress(2, mode), 0x055A);
    EXPECT_EQ(counterSetValueAddress(1, 5), 0x0556);
    EXPECT_EQ(counterSetValueAddress(0, 8), 0);
    EXPECT_EQ(counterSetValueAddress(3, 0), 0);
}

TEST(Bcd, UploadDecoderKinds)
{
    // registers 0x0030 (first) and 0x0012 (second) as a read reply text
    const std::string reply = rtuReplyToText({0x01, 0x03, 0x04, 0x00, 0x30, 0x00, 0x12});
    EXPECT_EQ(decodeValueText(reply, 0), "0012.30");
    EXPECT_EQ(decodeValueText(reply, 3), "001230");
    const std::string plain = rtuReplyToText({0x01, 0x03, 0x04, 0x99, 0x99, 0x00, 0x99});
    EXPECT_EQ(decodeValueText(plain, 1), "0999999");
    const std::string prescale = rtuReplyToText({0x01, 0x03, 0x04, 0x03, 0x45, 0x00, 0x12});
    EXPECT_EQ(decodeValueText(prescale, 2), "12.345");
    EXPECT_EQ(decodeValueText(reply, 4), "");
    EXPECT_EQ(decodeValueText(":0103", 0), "");
}
