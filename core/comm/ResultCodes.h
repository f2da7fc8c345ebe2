#pragma once

#include "text/Text.h"

#include <string>

namespace lumetra {

class StringTable;

// Result codes of communication, transfer, conversion and file routines.
namespace Result {
inline constexpr int Ok = 0;
inline constexpr int CommError = 1;
inline constexpr int PortAlreadyOpen = 2;
inline constexpr int Timeout = 3;
inline constexpr int MemoryAddressError = 4;
inline constexpr int WriteFailed = 5;
inline constexpr int BadTimerValue = 6;
inline constexpr int BadOutputTime = 7;
inline constexpr int BadCounterValue = 8;
inline constexpr int BadPrescale = 9;
inline constexpr int BadTachoValue = 10;
inline constexpr int BadStartupTime = 11;
inline constexpr int ChecksumError = 12;
inline constexpr int TimerOrder = 13;
inline constexpr int DownloadFailed = 14;
inline constexpr int SaveFailed = 15;
inline constexpr int InvalidFileName = 16;
inline constexpr int FileMissing = 17;
inline constexpr int OpenFailed = 18;
inline constexpr int WrongVersion = 19;
inline constexpr int WrongMachineType = 20;
inline constexpr int UploadFailed = 21;
inline constexpr int WrongDeviceId = 22;
inline constexpr int DataError = 23;
inline constexpr int CompareFailed = 24;
inline constexpr int CompareSame = 25;
inline constexpr int CommSettingsError = 26;
inline constexpr int TimeoutSettingError = 27;
inline constexpr int IllegalFunction = 28;
inline constexpr int IllegalDataAddress = 29;
inline constexpr int WriteInhibit = 30;
inline constexpr int DelaySettingError = 31;
inline constexpr int ScanTimeError = 32;
} // namespace Result

enum class MessageIcon { None, Exclamation, Question, Information };

// What ShowCommError shows for a code: text, title and icon. Texts come
// from the string table; an unknown code gives "UnKnow Error !".
struct ResultMessage {
    Text stringId; // Text::None for an unknown code
    std::string text;
    std::string title;
    MessageIcon icon;
};

ResultMessage resultMessage(int code, const StringTable& strings);

// String id of a known code, Text::None for any other.
Text resultStringId(int code);

} // namespace lumetra
