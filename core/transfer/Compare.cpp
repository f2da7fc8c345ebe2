#include "Compare.h"

#include "UnitCheck.h"

#include "comm/CommSession.h"
#include "model/DqImages.h"
#include "model/TqCqImages.h"

#include <cstdio>

namespace lumetra {

namespace {

// Reads the unit byte by byte; stops at the first difference or failure.
class Comparer {
public:
    explicit Comparer(CommSession& session) : m_session(session) {}

    bool done() const { return m_failed || m_difference != 0; }
    bool failed() const { return m_failed; }
    std::uint16_t difference() const { return m_difference; }

    // Register a (count 1): its low byte against the value.
    void reg(std::uint16_t address, int value)
    {
        if (done())
            return;
        std::uint16_t read = 0;
        if (readRegister(m_session, address, read) != 0)
            m_failed = true;
        else if ((read & 0xFF) != (value & 0xFF))
            m_difference = address;
    }

    // Every flagged byte of an image, odd addresses included.
    void image(const RegisterImage& image)
    {
        for (std::uint16_t a : image.flaggedAddresses())
            reg(a, image.value(a));
    }

    // Every byte of a range, whatever its flag.
    void bytes(const RegisterImage& image, std::uint16_t from, std::uint16_t to, std::uint16_t skipFrom = 1, std::uint16_t skipTo = 0)
    {
        for (unsigned a = from; a <= to; ++a)
            if (a < skipFrom || a > skipTo)
                reg(static_cast<std::uint16_t>(a), image.value(static_cast<std::uint16_t>(a)));
    }

private:
    CommSession& m_session;
    bool m_failed = false;
    std::uint16_t m_difference = 0;
};

void compareDq(Comparer& c, const DqSettings& s)
{
    DqImages images;
    c.reg(0x0606, s.functionGroup);
    if (s.functionGroup == 1) {
        c.reg(0x0630, s.singleFunction);
        if (s.singleFunction == 2) {
            images.convertTachoFunction(s);
            c.image(images.tachoA);
            c.image(images.tachoExtra);
            c.image(images.tachoB);
        } else if (s.singleFunction == 1) {
            images.convertDualCounter(s);
            c.image(images.counterA);
            c.image(images.counterB);
        } else {
            images.convertTwoStageTimer(s);
            c.image(images.twoStageTimer);
        }
    } else {
        images.convertTimerA(s);
        images.convertCounterB(s);
        images.convertTachoB(s);
        c.reg(0x0610, s.channelBFunction);
        if (s.channelBFunction == 1) {
            c.image(images.tachoExtra);
            c.image(images.tachoB);
        } else {
            c.image(images.counterB);
        }
        c.image(images.timerA);
    }
    c.reg(0x049A, s.cboSGWidth_All);
    c.reg(0x054E, s.cboInputMethod_All);
    c.reg(0x0696, s.powerSaving);
}

void compareTq(Comparer& c, const TqCqSettings& s)
{
    c.reg(0x0432, s.functionMode);
    TqImage tq;
    tq.convert(s);
    const RegisterImage& image = tq.image;
    switch (s.functionMode) {
    case 2: c.bytes(image, 0x0480, 0x048D); break;
    case 1: c.bytes(image, 0x0460, 0x046F); break;
    default: {
        const bool skipOutputTime = s.cboOutputMode_A_TQ >= 6;
        c.bytes(image, 0x0440, s.cboOutputMode_A_TQ == 9 ? 0x044F : 0x044D, skipOutputTime ? 0x0446 : 1, skipOutputTime ? 0x0449 : 0);
        break;
    }
    }
    c.reg(0x0434, s.cboSGWidth_All_TQ);
    c.reg(0x0436, s.cboInputMethod_All_TQ);
    c.reg(0x0438, s.cboKP_All_TQ);
}

// The set value display whose sign register 0x06C6 reports.
const ValueDisplay& firstSetValue(const TqCqSettings& s)
{
    switch (s.functionMode) {
    case 4: return s.lblCounterSetting_2nd_1_CQ;
    case 6:
    case 7: return s.lblCounterSetting_batch_1_CQ;
    default: return s.lblCounterSetting_1st_CQ;
    }
}

void compareCq(Comparer& c, const TqCqSettings& s)
{
    c.reg(0x0432, s.functionMode);
    CqImages cq;
    cq.convert(s);
    c.bytes(cq.common, 0x0432, 0x0439);
    c.reg(0x06A6, cq.function.value(0x06A6));
    c.reg(0x06A4, cq.function.value(0x06A4));
    c.bytes(cq.function, 0x06A8, 0x06AB);
    if (s.functionMode == 8) {
        c.bytes(cq.function, 0x06BE, 0x06C5);
        c.bytes(cq.function, 0x06AC, 0x06B3);
        return;
    }
    c.bytes(cq.function, 0x06A0, 0x06A3);
    c.bytes(cq.function, 0x06B4, 0x06B7);
    c.bytes(cq.function, 0x06AC, 0x06AF);
    c.reg(0x06C6, firstSetValue(s).cell(0) == '-' ? 1 : 0);
    if (s.functionMode == 4 || s.functionMode == 6) {
        c.bytes(cq.function, 0x06B0, 0x06B3);
        c.reg(0x06C8, cq.function.value(0x06C8));
    }
    if (s.functionMode == 4)
        c.bytes(cq.function, 0x06B8, 0x06BB);
    if (s.functionMode == 7)
        c.bytes(cq.function, 0x06BC, 0x06BD);
}

struct NamedRange {
    std::uint16_t from;
    std::uint16_t to;
    Text stringId;
    Text secondId; // joined with "/" when set
};

// Setting names of the DQ addresses, by the images' layout.
constexpr NamedRange kDqNames[] = {
    {0x0402, 0x0402, Text::NameCheckNumber, Text::None}, {0x0608, 0x0608, Text::NameDeviceId, Text::None}, {0x0696, 0x0697, Text::PowerSaving, Text::None},
    {0x045A, 0x045B, Text::NameTimeRange, Text::NameTimeMode}, {0x045C, 0x0493, Text::NameSetValue, Text::None}, {0x0494, 0x0497, Text::NameOutputTime, Text::None}, {0x0498, 0x0499, Text::NameOutputMode, Text::None},
    {0x049A, 0x049B, Text::NameInputSignalWidth, Text::None}, {0x054C, 0x054D, Text::NameCountingSpeed, Text::None}, {0x054E, 0x054F, Text::NameNpnPnpInputMode, Text::None}, {0x0550, 0x0553, Text::NamePrescaleValue, Text::None},
    {0x0554, 0x0555, Text::NameDecimalPointPosition, Text::None}, {0x0556, 0x055D, Text::NameSetValue, Text::None}, {0x055E, 0x055F, Text::NameInputMode, Text::None}, {0x0560, 0x0561, Text::NameOutputMode, Text::None},
    {0x0562, 0x0565, Text::NameOutputTime, Text::None}, {0x0606, 0x0607, Text::NameFunctionSelection, Text::None}, {0x0610, 0x0611, Text::NameFunctionSelection, Text::None}, {0x0612, 0x0613, Text::NameOutputMode, Text::None},
    {0x0614, 0x0615, Text::NameAverageProcessing, Text::None}, {0x0626, 0x0629, Text::NameStartupTime, Text::None}, {0x0630, 0x0631, Text::NameFunctionSelection, Text::None}, {0x0632, 0x0639, Text::NameSetValue, Text::None},
    {0x063A, 0x063D, Text::NameOutputMode, Text::None}, {0x063E, 0x0645, Text::NameOutputTime, Text::None}, {0x0670, 0x0671, Text::NameFunctionSelection, Text::None}, {0x0672, 0x0675, Text::NameSetValue, Text::None},
    {0x0676, 0x0679, Text::NameOutputTime, Text::None}, {0x067A, 0x067B, Text::NameOutputMode, Text::None}, {0x0690, 0x0693, Text::NameSetValue, Text::None}, {0x0694, 0x0695, Text::NameOutputMode, Text::None},
};

constexpr NamedRange kTqCqNames[] = {
    {0x0432, 0x0433, Text::NameFunctionSelection, Text::None}, {0x0434, 0x0435, Text::NameInputSignalWidth, Text::None}, {0x0436, 0x0437, Text::NameNpnPnpInputMode, Text::None}, {0x0438, 0x0439, Text::NameKeyProtectLevel, Text::None},
    {0x043C, 0x043D, Text::KeyProtection, Text::None}, {0x0440, 0x0441, Text::NameTimeRange, Text::None}, {0x0460, 0x0463, Text::NameTimeRange, Text::None}, {0x0482, 0x0483, Text::NameTimeRange, Text::None},
    {0x0442, 0x0443, Text::NameTimeMode, Text::None}, {0x0464, 0x0465, Text::NameTimeMode, Text::None}, {0x0444, 0x0445, Text::NameOutputMode, Text::None}, {0x0484, 0x0485, Text::NameOutputMode, Text::None},
    {0x06A2, 0x06A3, Text::NameOutputMode, Text::None}, {0x06BE, 0x06BF, Text::NameOutputMode, Text::None}, {0x0446, 0x0449, Text::NameOutputTime, Text::None}, {0x06B4, 0x06BB, Text::NameOutputTime, Text::None},
    {0x044A, 0x044D, Text::NameSetValue, Text::NameCycleTime}, {0x044E, 0x044F, Text::NameOnDutyRatio, Text::None}, {0x0466, 0x0467, Text::NameOnOffStartMode, Text::None}, {0x0468, 0x046F, Text::NameSetValue, Text::None},
    {0x0486, 0x048D, Text::NameSetValue, Text::None}, {0x06AC, 0x06B3, Text::NameSetValue, Text::None}, {0x0480, 0x0481, Text::NameSettingMethod, Text::None}, {0x06A0, 0x06A1, Text::NameInputMode, Text::None},
    {0x06BC, 0x06BD, Text::NameInputMode, Text::None}, {0x06A4, 0x06A5, Text::NameCountingSpeed, Text::None}, {0x06A6, 0x06A7, Text::NameDecimalPointPosition, Text::None}, {0x06A8, 0x06AB, Text::NamePrescaleValue, Text::None},
    {0x06C0, 0x06C1, Text::NameAverageProcessing, Text::None}, {0x06C2, 0x06C3, Text::NameAutoZeroTime, Text::None}, {0x06C4, 0x06C5, Text::NameStartupTime, Text::None},
};

template <std::size_t N>
std::string nameOf(const NamedRange (&table)[N], std::uint16_t address, const StringTable& strings)
{
    for (const NamedRange& r : table) {
        if (address < r.from || address > r.to)
            continue;
        std::string name = strings.text(r.stringId);
        if (r.secondId != Text::None) {
            name += '/';
            name += strings.text(r.secondId);
        }
        return name;
    }
    char text[32];
    std::snprintf(text, sizeof text, "ADD:%X  Unknow", address);
    return text;
}

} // namespace

std::string compareReport(MachineType type, std::uint16_t address, const StringTable& strings)
{
    return strings.text(Text::ProgramDifferent) + (type == MachineType::DQ ? nameOf(kDqNames, address, strings) : nameOf(kTqCqNames, address, strings));
}

int Compare_All(CommSession& session, const SettingsDocument& doc, std::uint16_t& differingAddress, TransferProgress& progress)
{
    differingAddress = 0;
    if (session.OpenCommPort() != 0)
        return Result::CompareFailed;
    session.state().quietMode = false;
    progress.startTimer();
    const auto fail = [&](bool show) {
        session.closePort();
        if (show)
            session.ShowCommError(Result::CompareFailed);
        return Result::CompareFailed;
    };
    const int id = checkIdentification(session);
    if (id == Result::MemoryAddressError) {
        session.closePort();
        session.ShowCommError(id);
        return Result::CompareFailed;
    }
    if (id != 0)
        return Result::CompareFailed;
    int typeNumber = 0;
    std::string digits;
    if (readMachineType(session, typeNumber, digits) != 0)
        return Result::CompareFailed;
    const MachineType type = doc.machineType();
    if (typeNumber != lumetra::typeNumber(type))
        return fail(true);

    Comparer c(session);
    if (type == MachineType::DQ) {
        compareDq(c, doc.dq());
    } else {
        bool timer = type == MachineType::TQ;
        if (type == MachineType::XQ) {
            std::uint16_t subType = 0;
            if (readRegister(session, 0x0432, subType) != 0)
                return Result::CompareFailed;
            if ((subType & 0xFF) != doc.tqcq().functionMode)
                return fail(false);
            timer = (subType & 0xFF) < 3;
        }
        if (timer)
            compareTq(c, doc.tqcq());
        else
            compareCq(c, doc.tqcq());
    }
    if (c.failed())
        return Result::CompareFailed;
    session.closePort();
    differingAddress = c.difference();
    if (differingAddress == 0) {
        session.ShowCommError(Result::CompareSame);
    } else {
        Message m;
        m.text = compareReport(type, differingAddress, session.strings());
        m.title = "Compare";
        m.icon = MessageIcon::Exclamation;
        session.host().showMessage(m);
    }
    return Result::Ok;
}

} // namespace lumetra
