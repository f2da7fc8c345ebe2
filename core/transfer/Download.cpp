#include "Download.h"

#include "UnitCheck.h"

#include "comm/CommSession.h"
#include "model/DqChecks.h"
#include "model/SummaryBytes.h"

namespace lumetra {

namespace {

constexpr std::uint16_t kSummaryAddress = 0x06F4;

// Stops a sequence at the first non-zero code.
#define LUMETRA_TRY(expr)                                                                                                  \
    do {                                                                                                                   \
        if (const int rc_ = (expr))                                                                                        \
            return rc_;                                                                                                    \
    } while (0)

int writeWords(CommSession& session, const RegisterImage& image, std::uint16_t from, std::uint16_t to)
{
    for (const auto& [address, word] : image.flaggedWords(from, to))
        LUMETRA_TRY(session.WriteRegister(address, word));
    return Result::Ok;
}

// Shows the message of a check or identification failure, closes the port
// if it is open, and returns the code.
int refuse(CommSession& session, int code)
{
    session.closePort();
    session.ShowCommError(code);
    return code;
}

// Opens the port, switches quiet mode off and makes sure the unit is one of
// the edited machine type.
int openAndIdentify(CommSession& session, int expectedTypeNumber)
{
    LUMETRA_TRY(session.OpenCommPort());
    session.state().quietMode = false;
    const int id = checkIdentification(session);
    if (id == Result::MemoryAddressError)
        return refuse(session, id);
    LUMETRA_TRY(id);
    int typeNumber = 0;
    std::string digits;
    LUMETRA_TRY(readMachineType(session, typeNumber, digits));
    if (typeNumber != expectedTypeNumber)
        return refuse(session, Result::WrongMachineType);
    return Result::Ok;
}

int timerAWriter(CommSession& session, const DqImages& images)
{
    LUMETRA_TRY(session.WriteRegister(0x0606, 0));
    return writeWords(session, images.timerA, 0x045A, 0x049A);
}

int channelBWriter(CommSession& session, const DqImages& images, int functionGroup, int channelBFunction)
{
    LUMETRA_TRY(session.WriteRegister(0x0606, static_cast<std::uint16_t>(functionGroup)));
    LUMETRA_TRY(session.WriteRegister(0x0610, static_cast<std::uint16_t>(channelBFunction)));
    if (channelBFunction == 0)
        return writeWords(session, images.counterB, 0x054C, 0x0564);
    LUMETRA_TRY(writeWords(session, images.tachoExtra, 0x0612, 0x0628));
    return writeWords(session, images.tachoB, 0x054C, 0x0564);
}

int summaryBytes(CommSession& session, const DqSettings& s, SummaryPart part)
{
    SummaryBytes read{};
    for (std::size_t i = 0; i < read.size(); ++i) {
        std::uint16_t value = 0;
        LUMETRA_TRY(readRegister(session, static_cast<std::uint16_t>(kSummaryAddress + i), value));
        read[i] = static_cast<std::uint8_t>(value & 0xFF);
    }
    SummaryBytes out{};
    LUMETRA_TRY(updateSummaryBytes(part, s, read, out));
    for (std::size_t i = 0; i < out.size(); i += 2)
        LUMETRA_TRY(session.WriteRegister(static_cast<std::uint16_t>(kSummaryAddress + i),
                                          static_cast<std::uint16_t>(out[i + 1] << 8 | out[i])));
    return Result::Ok;
}

// The restart and its waits: the unit needs them before it takes more. A
// line that goes away meanwhile ends the download at once.
int restartPauses(CommSession& session, TransferProgress& progress)
{
    progress.startTimer();
    LUMETRA_TRY(session.PauseMs(4000));
    session.SendFinishCommand(session.state().DeviceId, session.state().protocol);
    return session.PauseMs(2000);
}

struct DqRoutine {
    int (*check)(const DqSettings&);
    SummaryPart part;
};

DqRoutine routineFor(const DqSettings& s, TransferTarget target)
{
    switch (target) {
    case TransferTarget::DqChannelA: return {checkTimerA, SummaryPart::ChannelA};
    case TransferTarget::DqChannelB: return {checkChannelB, SummaryPart::ChannelB};
    default: break;
    }
    if (s.functionGroup == 0)
        return {checkDqSelection, SummaryPart::All};
    switch (s.singleFunction) {
    case 0: return {checkTwoStageTimer, SummaryPart::All};
    case 1: return {checkDualCounter, SummaryPart::All};
    default: return {checkTachoFunction, SummaryPart::All};
    }
}

int writeImages(CommSession& session, const DqSettings& s, TransferTarget target, const DqImages& images)
{
    if (target == TransferTarget::DqChannelA)
        return timerAWriter(session, images);
    if (target == TransferTarget::DqChannelB)
        return channelBWriter(session, images, 0, s.channelBFunction);
    if (s.functionGroup == 0) {
        LUMETRA_TRY(timerAWriter(session, images));
        return channelBWriter(session, images, 0, s.channelBFunction);
    }
    switch (s.singleFunction) {
    case 0:
        LUMETRA_TRY(session.WriteRegister(0x0606, 1));
        return writeWords(session, images.twoStageTimer, 0x0630, 0x0644);
    case 1:
        LUMETRA_TRY(session.WriteRegister(0x0606, 1));
        LUMETRA_TRY(session.WriteRegister(0x0630, 1));
        LUMETRA_TRY(writeWords(session, images.counterA, 0x0670, 0x067A));
        LUMETRA_TRY(session.WriteRegister(0x0610, 0));
        return writeWords(session, images.counterB, 0x054C, 0x0564);
    default:
        LUMETRA_TRY(session.WriteRegister(0x0630, 2));
        LUMETRA_TRY(writeWords(session, images.tachoA, 0x0690, 0x0694));
        return channelBWriter(session, images, 1, 1);
    }
}

void convert(const DqSettings& s, TransferTarget target, DqImages& images)
{
    const bool groupZero = target != TransferTarget::DqAll || s.functionGroup == 0;
    if (groupZero) {
        if (target != TransferTarget::DqChannelB)
            images.convertTimerA(s);
        if (target != TransferTarget::DqChannelA) {
            images.convertCounterB(s);
            images.convertTachoB(s);
        }
        return;
    }
    switch (s.singleFunction) {
    case 0: images.convertTwoStageTimer(s); break;
    case 1: images.convertDualCounter(s); break;
    default: images.convertTachoFunction(s); break;
    }
}

} // namespace

int downloadDq(CommSession& session, const DqSettings& s, TransferTarget target, DqImages& images, TransferProgress& progress)
{
    const DqRoutine routine = routineFor(s, target);
    if (const int rc = routine.check(s)) {
        session.ShowCommError(rc); // nothing is sent, the port is not opened
        return rc;
    }
    convert(s, target, images);
    LUMETRA_TRY(openAndIdentify(session, typeNumber(MachineType::DQ)));
    LUMETRA_TRY(session.WriteRegister(0x04E0, 0));
    LUMETRA_TRY(writeImages(session, s, target, images));
    progress.advance();
    LUMETRA_TRY(session.WriteRegister(0x049A, s.cboSGWidth_All));
    LUMETRA_TRY(session.WriteRegister(0x054E, s.cboInputMethod_All));
    LUMETRA_TRY(session.WriteRegister(0x0696, s.powerSaving));
    LUMETRA_TRY(summaryBytes(session, s, routine.part));
    LUMETRA_TRY(session.WriteRegister(0x0500, 1));
    LUMETRA_TRY(restartPauses(session, progress));
    LUMETRA_TRY(session.WriteRegister(0x04FE, s.keyProtection));
    session.closePort();
    return Result::Ok;
}

int downloadTqCq(CommSession& session, const TqCqSettings& s, TransferProgress& progress)
{
    const bool timer = TqCqSettings::isTimerMode(s.functionMode);
    TqImage tq;
    CqImages cq;
    if (timer)
        tq.convert(s);
    else
        cq.convert(s);
    LUMETRA_TRY(openAndIdentify(session, typeNumber(s.machineType)));
    std::uint16_t permission = 0;
    LUMETRA_TRY(readRegister(session, 0x043E, permission));
    if ((permission & 0xFF) != 1)
        return refuse(session, Result::WriteInhibit);
    LUMETRA_TRY(session.WriteRegister(0x04D2, 0));
    if (timer) {
        for (const AddressRun& run : kTqRuns)
            LUMETRA_TRY(writeWords(session, tq.image, run.from, run.to));
    } else {
        LUMETRA_TRY(writeWords(session, cq.common, kCqCommonRun.from, kCqCommonRun.to));
        LUMETRA_TRY(writeWords(session, cq.function, kCqFunctionRun.from, kCqFunctionRun.to));
    }
    progress.advance();
    LUMETRA_TRY(session.WriteRegister(0x0578, 1));
    LUMETRA_TRY(restartPauses(session, progress));
    session.closePort();
    return Result::Ok;
}

} // namespace lumetra
