// What reaches a terminal or a JSON reader from a file's bytes.

#include "text/PrintableText.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace lumetra;

TEST(PrintableText, EscapesWhatATerminalWouldObeyAndKeepsPrintableText)
{
    EXPECT_EQ(printableText("0012.30"), "0012.30");
    EXPECT_EQ(printableText("信號寬度"), "信號寬度"); // the string table's Chinese passes unchanged
    EXPECT_EQ(printableText("\x1b]0;owned\x07"), "\\x1B]0;owned\\x07");
    EXPECT_EQ(printableText("a\r\nb\tc\x7f"), "a\\x0D\\x0Ab\\x09c\\x7F");
    EXPECT_EQ(printableText("\xc2\x9b" "2J"), "\\xC2\\x9B2J"); // CSI in its C1 form
    EXPECT_EQ(printableText("\xe2\x80\xae" "cba"), "\\xE2\\x80\\xAEcba"); // right-to-left override
    EXPECT_EQ(printableText("\xff\xfe" "0"), "\\xFF\\xFE0");
    EXPECT_EQ(printableText("\xe4\xbf"), "\\xE4\\xBF"); // a sequence cut short
    EXPECT_EQ(printableText("\xc0\xaf"), "\\xC0\\xAF"); // an overlong '/'
    EXPECT_EQ(printableText("\xed\xa0\x80"), "\\xED\\xA0\\x80"); // a surrogate
    EXPECT_EQ(printableText("a\\x41"), "a\\\\x41"); // a backslash cannot pass for an escape
    EXPECT_EQ(printableText(std::string("0\0" "1", 3)), "0\\x001");
}

TEST(PrintableText, Utf8CheckFollowsTheStandard)
{
    for (const char* good : {"", "ascii", "信號", "\xf0\x9f\x98\x80", "\xf4\x8f\xbf\xbf", "\xc2\x80"})
        EXPECT_TRUE(isValidUtf8(good)) << good;
    for (const char* bad : {"\x80", "\xc1\xbf", "\xe0\x80\x80", "\xed\xbf\xbf", "\xf4\x90\x80\x80", "\xf5\x80\x80\x80", "\xe4\xbf",
                            "\xff"})
        EXPECT_FALSE(isValidUtf8(bad)) << bad;
}

TEST(PrintableText, JsonStringsAreValidForAnyBytes)
{
    EXPECT_EQ(jsonString("Set \"Value\""), "\"Set \\\"Value\\\"\"");
    EXPECT_EQ(jsonString("\xff" "12.30"), "\"\\\\xFF12.30\"");
    std::string every;
    for (int b = 0; b < 256; ++b)
        every += static_cast<char>(b);
    for (const std::string& text : {every, std::string("信號\x1b[2J\xc3"), std::string("\\\"\\")}) {
        const std::string json = jsonString(text);
        EXPECT_TRUE(isValidUtf8(json));
        ASSERT_TRUE(nlohmann::json::accept(json)) << json;
        EXPECT_EQ(nlohmann::json::parse(json).get<std::string>(), printableText(text)); // the text listing's characters
    }
}
