#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra {

using Bytes = std::vector<std::uint8_t>;

enum class Protocol : int { Ascii = 0, Rtu = 1 };

// The longest ASCII reply there can be: a read of 255 registers, that is
// ":", slave ID, function code, byte count, 510 data bytes and the LRC in
// hexadecimal, then CR LF.
inline constexpr std::size_t kLongestAsciiReply = 1 + 2 * (3 + 2 * 255 + 1) + 2;

namespace FunctionCode {
inline constexpr std::uint8_t ReadHolding = 0x03;
inline constexpr std::uint8_t WriteSingle = 0x06;
inline constexpr std::uint8_t Finish = 0xDD;
}

// Request bytes, without framing. Every request is six bytes.
Bytes buildReadRequest(std::uint8_t slaveId, std::uint16_t address, std::uint8_t count);
Bytes buildWriteRequest(std::uint8_t slaveId, std::uint16_t address, std::uint16_t value);
Bytes buildFinishRequest(std::uint8_t slaveId);

// Upper-case hex, two digits a byte, no separators.
std::string toHexText(const Bytes& bytes);
std::uint8_t lrcOf(const Bytes& bytes);

// ":" + hex text + LRC + CR LF. The LRC is taken over the bytes the text spells.
std::string BuildAsciiFrame(std::string_view requestHexText);

// RTU: the request bytes followed by the CRC, hi first.
Bytes buildRtuFrame(const Bytes& request);

// Parses one hex digit pair; false if either character is not hexadecimal.
bool parseHexByte(std::string_view text, std::size_t pos, std::uint8_t& out);

// 0 when the LRC of a complete reply text is right, 1 when it is not.
// Throws nothing: a text it cannot read counts as "cannot judge" via judgeAsciiReply.
int CheckLrc(std::string_view replyText);

// Judgement of a complete ASCII reply text (ending in LF): 0, 12, 23, 28, 29,
// or 3 when the text cannot be read (shorter than four characters, or a pair
// that is not hexadecimal).
int judgeAsciiReply(std::string_view replyText);

// Result code of an exception code carried by a reply.
int exceptionResult(std::uint8_t exceptionCode);

// Builds the ASCII-style reply text (":" + hex + LRC + CR LF) from RTU reply
// bytes without their CRC, so that every reader takes register values from
// the same character positions in both modes.
std::string rtuReplyToText(const Bytes& replyBytes);

// Register k (from 0) of a read reply text: high byte at characters 8+4k,9+4k
// and low byte at 10+4k,11+4k (counted from 1). Returns false when the text is
// too short or not hexadecimal there.
bool registerFromReply(std::string_view replyText, int k, std::uint16_t& value);

} // namespace lumetra
