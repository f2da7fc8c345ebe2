#include "Upload.h"

#include "UnitCheck.h"

#include "comm/CommSession.h"
#include "model/Bcd.h"
#include "model/DqImages.h"

#include <cstdio>

namespace lumetra {

namespace {

// Reads into the image field by field; the first failure stops everything.
class UploadReader {
public:
    UploadReader(CommSession& session, SettingsImage& image) : m_session(session), m_image(image) {}

    bool ok() const { return m_ok; }

    // A code register: its last hexadecimal digit at the offset. Returns the register.
    int code(std::uint16_t address, std::size_t offset)
    {
        const int value = raw(address);
        if (m_ok) {
            char digit[4];
            std::snprintf(digit, sizeof digit, "%X", value & 0x0F);
            m_image.put(offset, digit);
        }
        return value;
    }

    // A register's value without storing it.
    int raw(std::uint16_t address)
    {
        std::uint16_t value = 0;
        if (m_ok && readRegister(m_session, address, value) != 0)
            m_ok = false;
        return value;
    }

    // A two-register value decoded by kind, as the text comes.
    std::string value(std::uint16_t address, int kind)
    {
        std::string text;
        if (m_ok) {
            text = ReadValueText(m_session, address, kind);
            m_ok = !text.empty();
        }
        return text;
    }

    void put(std::size_t offset, const std::string& text)
    {
        if (m_ok)
            m_image.put(offset, text);
    }

    // Kind 3 six digits with the decimal point of position p (0: a leading "0").
    void counterValue(std::uint16_t address, int p, std::size_t offset)
    {
        const std::string digits = value(address, 3);
        if (p < 0 || p > 3)
            m_ok = false; // a decimal point position the unit cannot have
        if (!m_ok)
            return;
        put(offset, p == 0 ? "0" + digits : digits.substr(0, 6 - static_cast<std::size_t>(p)) + "." + digits.substr(6 - static_cast<std::size_t>(p)));
    }

    // TQ/CQ values are kept whole: the six digits of the plain layout.
    void plainValue(std::uint16_t address, std::size_t offset)
    {
        const std::string text = value(address, 1);
        put(offset, text.size() == 7 ? text.substr(1) : text);
    }

    void fail() { m_ok = false; }

private:
    CommSession& m_session;
    SettingsImage& m_image;
    bool m_ok = true;
};

bool countsDown(int inputMode) { return inputMode == 3 || inputMode == 4 || inputMode == 5 || inputMode == 7; }

void uploadDq(UploadReader& r)
{
    r.code(0x04FE, 8);
    r.code(0x0696, 9);
    const int group = r.code(0x0606, 21);
    if (group == 1) {
        const int single = r.code(0x0630, 130);
        if (single == 0) {
            r.code(0x063A, 131);
            r.counterValue(0x0632, 0, 132);
            r.put(139, r.value(0x063E, 0));
            r.code(0x063C, 151);
            r.counterValue(0x0636, 0, 152);
            r.put(159, r.value(0x0642, 0));
        } else if (single == 1) {
            r.code(0x0670, 171);
            r.code(0x067A, 172);
            r.counterValue(0x0672, 0, 173);
            r.put(180, r.value(0x0676, 0));
            const int input = r.code(0x055E, 191);
            r.code(0x054C, 192);
            r.code(0x0560, 193);
            r.counterValue(countsDown(input & 0xFF) ? 0x055A : 0x0556, 0, 195);
            r.put(202, r.value(0x0562, 0));
        } else if (single == 2) {
            r.code(0x0694, 221);
            r.counterValue(0x0690, 0, 222);
            r.code(0x0614, 231);
            r.code(0x054C, 232);
            r.code(0x0612, 233);
            r.counterValue(0x0556, 0, 234);
            r.put(241, r.value(0x0626, 0));
        }
    } else if (group == 0) {
        const int timeCode = r.raw(0x045A) & 0xFF;
        if (timeCode > 7) {
            r.fail();
            return;
        }
        r.put(25, std::to_string(timeCode / 2));
        r.put(26, std::to_string(timeCode % 2));
        r.put(29, r.value(timerASlot(timeCode).value, timeCode <= 1 ? 0 : 1));
        r.code(0x0498, 28);
        r.put(36, r.value(0x0494, 0));
        const int function = r.code(0x0610, 51);
        if (function == 1) {
            r.code(0x0614, 91);
            const int p = r.code(0x0554, 92) & 0xFF;
            r.code(0x054C, 93);
            r.code(0x0612, 94);
            r.put(95, r.value(0x0550, 2));
            r.counterValue(0x0556, p, 101);
            r.put(108, r.value(0x0626, 0));
        } else if (function == 0) {
            const int input = r.code(0x055E, 52);
            const int p = r.code(0x0554, 53) & 0xFF;
            r.code(0x054C, 54);
            r.code(0x0560, 55);
            r.put(57, r.value(0x0550, 2));
            r.counterValue(countsDown(input & 0xFF) ? 0x055A : 0x0556, p, 63);
            r.put(70, r.value(0x0562, 0));
        }
    }
    r.code(0x049A, 251);
    r.code(0x054E, 252);
}

void uploadTq(UploadReader& r)
{
    r.code(0x0438, 10);
    r.code(0x0434, 11);
    r.code(0x0436, 12);
    r.code(0x043C, 13);
    const int function = r.code(0x0432, 31) & 0xFF;
    if (function == 0) {
        r.code(0x0440, 32);
        r.code(0x0442, 33);
        r.code(0x0444, 34);
        r.plainValue(0x044A, 35);
        r.plainValue(0x0446, 41);
        // The duty ratio: its last two digits at 0x044E, the first one above them.
        const int duty = r.raw(0x044E);
        char digits[8];
        std::snprintf(digits, sizeof digits, "%X%02X000", (duty >> 8) & 0x0F, duty & 0xFF);
        r.put(47, digits);
    } else if (function == 1) {
        r.code(0x0460, 81);
        r.code(0x0462, 82);
        r.code(0x0464, 83);
        r.code(0x0466, 84);
        r.plainValue(0x0468, 85);
        r.plainValue(0x046C, 91);
    } else if (function == 2) {
        r.code(0x0480, 121);
        r.code(0x0482, 122);
        r.code(0x0484, 123);
        r.plainValue(0x0486, 124);
        r.plainValue(0x048A, 130);
    }
}

// A counter set value with its sign register.
void signedValue(UploadReader& r, std::uint16_t address, std::uint16_t signRegister, std::size_t offset)
{
    r.plainValue(address, offset);
    if ((r.raw(signRegister) & 0xFF) == 1)
        r.put(offset, "-");
}

// Two BCD bytes of a short time: cells 2, 3 from the odd address, 4, 5 from the even one.
void shortTime(UploadReader& r, std::uint16_t address, std::size_t offset)
{
    char digits[8];
    std::snprintf(digits, sizeof digits, "00%04X", r.raw(address));
    r.put(offset, digits);
}

void uploadCq(UploadReader& r)
{
    r.code(0x0438, 10);
    r.code(0x06A6, 11);
    r.code(0x0436, 12);
    r.plainValue(0x06A8, 13);
    r.code(0x06A4, 19);
    r.code(0x0434, 20);
    r.code(0x043C, 21);
    const int function = r.code(0x0432, 31) & 0xFF;
    switch (function) {
    case 3:
    case 5:
        r.code(0x06A0, 32);
        r.code(0x06A2, 33);
        r.plainValue(0x06B4, 36);
        signedValue(r, 0x06AC, 0x06C6, 42);
        break;
    case 4:
        r.code(0x06A0, 81);
        r.code(0x06A2, 82);
        r.plainValue(0x06B4, 85);
        r.plainValue(0x06B8, 91);
        signedValue(r, 0x06AC, 0x06C6, 97);
        signedValue(r, 0x06B0, 0x06C8, 103);
        break;
    case 6:
        r.code(0x06A0, 131);
        r.code(0x06A2, 132);
        r.plainValue(0x06B4, 135);
        signedValue(r, 0x06AC, 0x06C6, 141);
        signedValue(r, 0x06B0, 0x06C8, 147);
        break;
    case 7:
        r.code(0x06BC, 131);
        r.code(0x06A2, 132);
        r.plainValue(0x06B4, 135);
        signedValue(r, 0x06AC, 0x06C6, 141);
        break;
    case 8:
        r.code(0x06BE, 181);
        r.code(0x06C0, 183);
        shortTime(r, 0x06C2, 184);
        shortTime(r, 0x06C4, 190);
        signedValue(r, 0x06AC, 0x06C6, 196);
        r.plainValue(0x06B0, 202);
        break;
    default:
        r.fail();
        break;
    }
}

} // namespace

int Upload(CommSession& session, SettingsImage& image)
{
    if (session.OpenCommPort() != 0)
        return Result::UploadFailed;
    image.bytes.fill('0');
    session.state().quietMode = false;
    const int id = checkIdentification(session);
    if (id != 0) {
        if (id == Result::MemoryAddressError) {
            session.closePort();
            session.ShowCommError(id);
        }
        return Result::UploadFailed;
    }
    image.put(0, "0100");
    int typeNumber = 0;
    std::string digits;
    if (readMachineType(session, typeNumber, digits) != 0)
        return Result::UploadFailed;
    image.put(4, digits);
    UploadReader reader(session, image);
    const int subType = reader.raw(0x0432) & 0xFF;
    const std::string type = digits.substr(0, 2);
    if (type == "01")
        uploadDq(reader);
    else if (type == "02" || (type == "04" && subType < 3))
        uploadTq(reader);
    else if (type == "03" || type == "04")
        uploadCq(reader);
    else
        reader.fail();
    session.closePort();
    return reader.ok() ? Result::Ok : Result::UploadFailed;
}

} // namespace lumetra
