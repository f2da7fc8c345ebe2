#include "ResultCodes.h"

#include "text/StringTable.h"

#include <array>

namespace lumetra {

namespace {
// String id of codes 1..32; several codes share a text.
constexpr std::array<Text, 33> kStringIds{
    Text::None,
    Text::ErrCommunication,
    Text::ErrPortAlreadyOpen,
    Text::ErrTimeout,
    Text::ErrMemoryAddress,
    Text::ErrWriteFailed,
    Text::ErrSetValue,
    Text::ErrOutputTime,
    Text::ErrSetValue,
    Text::ErrPrescaleValue,
    Text::ErrSetValue,
    Text::ErrStartupTime,
    Text::ErrNoResponse,
    Text::ErrTimer1NotAboveTimer0,
    Text::MsgDownloadFailed,
    Text::MsgFailedToSaveFile,
    Text::ErrInvalidFileName,
    Text::ErrFileMissing,
    Text::ErrFileOpen,
    Text::ErrWrongVersion,
    Text::ErrWrongMachineType,
    Text::MsgUploadFailed,
    Text::ErrWrongDeviceId,
    Text::ErrDataError,
    Text::ErrCompareFailed,
    Text::MsgProgramsSame,
    Text::ErrCommSettings,
    Text::ErrTimeoutSetting,
    Text::ErrIllegalFunction,
    Text::ErrIllegalDataAddress,
    Text::ErrWriteInhibit,
    Text::ErrDelayTime,
    Text::ErrScanTime,
};
} // namespace

Text resultStringId(int code)
{
    return code >= 1 && code < static_cast<int>(kStringIds.size()) ? kStringIds[static_cast<std::size_t>(code)] : Text::None;
}

ResultMessage resultMessage(int code, const StringTable& strings)
{
    const Text id = resultStringId(code);
    ResultMessage m;
    m.stringId = id;
    m.text = id != Text::None ? strings.text(id) : "UnKnow Error !";
    m.title = code == Result::CompareSame ? "Compare" : "Error";
    m.icon = (id == Text::None || code <= 24) ? MessageIcon::Exclamation : MessageIcon::None;
    return m;
}

} // namespace lumetra
