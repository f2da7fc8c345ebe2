#include "comm/Crc16.h"
#include "comm/Frames.h"
#include "comm/RtuReply.h"

#include <gtest/gtest.h>

using namespace lumetra;

namespace {
std::string asciiReply(const Bytes& body) { return rtuReplyToText(body); }
} // namespace

TEST(AsciiFrame, RequestsAreUpperCaseHexWithLrcAndCrLf)
{
    EXPECT_EQ(BuildAsciiFrame(toHexText(buildReadRequest(1, 0x0404, 1))), ":010304040001F3\r\n");
    EXPECT_EQ(BuildAsciiFrame(toHexText(buildReadRequest(1, 0x0000, 1))), ":010300000001FB\r\n");
    EXPECT_EQ(toHexText(buildWriteRequest(0x0A, 0x04FE, 0x00AB)), "0A0604FE00AB");
    EXPECT_EQ(toHexText(buildFinishRequest(0xFF)), "FFDD00000000");
}

TEST(AsciiFrame, LrcOfAMultipleOf256IsZeroNotHundred)
{
    // 0x80 + 0x80 = 0x100
    EXPECT_EQ(BuildAsciiFrame("8080"), ":808000\r\n");
    EXPECT_EQ(lrcOf({0x01, 0xFF}), 0x00);
}

TEST(Crc16, TablesAndWorkedExamples)
{
    const auto& t = crcTables();
    EXPECT_EQ(t.highTable()[0], 0x00);
    EXPECT_EQ(t.highTable()[1], 0xC1);
    EXPECT_EQ(t.highTable()[2], 0x81);
    EXPECT_EQ(t.highTable()[3], 0x40);
    EXPECT_EQ(t.lowTable()[1], 0xC0);
    EXPECT_EQ(t.lowTable()[2], 0xC1);
    EXPECT_EQ(t.lowTable()[3], 0x01);
    EXPECT_EQ(buildRtuFrame(buildReadRequest(1, 0x0000, 1)), (Bytes{1, 3, 0, 0, 0, 1, 0x84, 0x0A}));
    EXPECT_EQ(buildRtuFrame(buildReadRequest(1, 0x0404, 1)), (Bytes{1, 3, 4, 4, 0, 1, 0xC4, 0xFB}));
    EXPECT_EQ(buildRtuFrame(buildWriteRequest(1, 0x0010, 5)), (Bytes{1, 6, 0, 0x10, 0, 5, 0x48, 0x0C}));
}

TEST(AsciiJudgement, ExceptionsAndAcceptance)
{
    EXPECT_EQ(judgeAsciiReply(asciiReply({0x01, 0x83, 0x02})), 29);
    EXPECT_EQ(judgeAsciiReply(asciiReply({0x01, 0x86, 0x01})), 28);
    EXPECT_EQ(judgeAsciiReply(asciiReply({0x01, 0x86, 0x04})), 23);
    // Another slave's reply with a right LRC is accepted: IDs are not compared.
    EXPECT_EQ(judgeAsciiReply(asciiReply({0x07, 0x03, 0x02, 0x01, 0x0A})), 0);
    // Exceptions of function codes not in use are ordinary replies.
    EXPECT_EQ(judgeAsciiReply(asciiReply({0x01, 0x84, 0x02})), 0);
}

TEST(AsciiJudgement, BadChecksumShortAndNonHexTexts)
{
    std::string reply = asciiReply({0x01, 0x03, 0x02, 0x01, 0x0A});
    EXPECT_EQ(CheckLrc(reply), 0);
    reply[reply.size() - 3] = reply[reply.size() - 3] == '0' ? '1' : '0';
    EXPECT_EQ(CheckLrc(reply), 1);
    EXPECT_EQ(judgeAsciiReply(reply), 12);
    EXPECT_EQ(judgeAsciiReply(":\n"), 3);
    EXPECT_EQ(judgeAsciiReply(":01G3\r\n"), 3);
}

TEST(AsciiJudgement, BytesBeforeTheColonShiftEveryPosition)
{
    const std::string reply = asciiReply({0x01, 0x03, 0x02, 0x01, 0x0A});
    // The colon now sits inside a pair the LRC check reads.
    EXPECT_EQ(judgeAsciiReply("0" + reply), 3);
    EXPECT_EQ(judgeAsciiReply("\x7F" + reply), 3);
    // A noise digit before a colon the line garbled: all pairs shift by one.
    EXPECT_EQ(judgeAsciiReply("1F" + reply.substr(1)), 12);
}

TEST(ReplyText, RegistersAtFixedCharacterPositions)
{
    const std::string text = rtuReplyToText({0x01, 0x03, 0x04, 0x02, 0x0A, 0x00, 0x25});
    EXPECT_EQ(text, ":010304020A0025C7\r\n");
    std::uint16_t v = 0;
    ASSERT_TRUE(registerFromReply(text, 0, v));
    EXPECT_EQ(v, 0x020A);
    ASSERT_TRUE(registerFromReply(text, 1, v));
    EXPECT_EQ(v, 0x0025);
    EXPECT_FALSE(registerFromReply(text, 3, v));
    EXPECT_EQ(judgeAsciiReply(text), 0);
}

TEST(RtuJudgement, WaitsForTheExpectedLength)
{
    const Bytes reply = buildRtuFrame({0x01, 0x03, 0x06, 0, 1, 0, 2, 0, 3});
    ASSERT_EQ(reply.size(), rtuReadReplyLength(3));
    RtuReplyCollector c(rtuReadReplyLength(3));
    EXPECT_FALSE(c.feed(reply.data(), 10));
    EXPECT_EQ(c.feed(reply.data() + 10, 1), 0);
    EXPECT_EQ(c.replyText(), ":010306000100020003F0\r\n");
}

TEST(RtuJudgement, ExceptionIsJudgedAfterFiveBytes)
{
    const Bytes reply = buildRtuFrame({0x01, 0x83, 0x02});
    RtuReplyCollector c(rtuReadReplyLength(3));
    EXPECT_FALSE(c.feed(reply.data(), 2));
    EXPECT_EQ(c.expectedLength(), 5u);
    EXPECT_EQ(c.feed(reply.data() + 2, 3), 29);
    RtuReplyCollector w(kRtuWriteReplyLength);
    const Bytes other = buildRtuFrame({0x01, 0x86, 0x09});
    EXPECT_EQ(w.feed(other.data(), other.size()), 23);
}

TEST(RtuJudgement, WrongCrcAndTooManyBytes)
{
    Bytes reply = buildRtuFrame(buildWriteRequest(1, 0x10, 5));
    reply.back() ^= 1;
    RtuReplyCollector c(kRtuWriteReplyLength);
    EXPECT_EQ(c.feed(reply.data(), reply.size()), 12);
    Bytes longer = buildRtuFrame(buildWriteRequest(1, 0x10, 5));
    longer.push_back(0);
    RtuReplyCollector d(kRtuWriteReplyLength);
    EXPECT_EQ(d.feed(longer.data(), longer.size()), 3);
}
