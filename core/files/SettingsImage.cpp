#include "SettingsImage.h"

#include "comm/ResultCodes.h"
#include "model/DqChecks.h"

#include <cstdio>

namespace lumetra {

std::string SettingsImage::text(std::size_t offset, std::size_t width) const
{
    std::string s;
    for (std::size_t i = offset; i < offset + width && i < kSize; ++i)
        s += static_cast<char>(bytes[i]);
    return s;
}

void SettingsImage::put(std::size_t offset, const std::string& text)
{
    for (std::size_t i = 0; i < text.size() && offset + i < kSize; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(text[i]);
}

namespace {

constexpr std::size_t kModeOffset = 31;

char classCharacter(char fileClass, int value)
{
    char text[8];
    std::snprintf(text, sizeof text, fileClass == 'H' ? "%X" : "%d", value);
    return text[0];
}

// A single-character field read as a hexadecimal digit; -1 when it is not one.
int hexDigit(std::uint8_t c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The cells of a display as the file keeps them.
std::string valueCharacters(const ValueDisplay& d, ValueForm form)
{
    switch (form) {
    case ValueForm::V6: return d.digits();
    case ValueForm::V7: return d.valueText();
    case ValueForm::P6: return d.valueText().substr(1); // cell 0 is not stored
    }
    return {};
}

int valueWidth(ValueForm form) { return form == ValueForm::V7 ? 7 : 6; }

// Puts the characters back into cells 0..5; the extra cell stays as the
// selections read before placed it.
void readValue(const SettingsImage& image, int offset, ValueForm form, ValueDisplay& d)
{
    const std::string chars = image.text(static_cast<std::size_t>(offset), static_cast<std::size_t>(valueWidth(form)));
    std::vector<int> cells;
    if (form == ValueForm::V6) {
        cells = {0, 1, 2, 3, 4, 5};
    } else if (form == ValueForm::P6) {
        cells = {1, 2, ValueDisplay::kExtraCell, 3, 4, 5};
    } else {
        cells = d.screenOrder();
    }
    for (std::size_t i = 0; i < cells.size() && i < chars.size(); ++i)
        if (cells[i] != ValueDisplay::kExtraCell)
            d.setCell(cells[i], chars[i]);
}

void writeHeader(SettingsImage& image, MachineType type)
{
    image.bytes.fill('0');
    char code[8];
    std::snprintf(code, sizeof code, "%04X", machineTypeCode(type));
    image.put(0, "0100");
    image.put(4, code);
}

template <class Record>
void writeFields(SettingsImage& image, const Record& s, bool (*wanted)(const Record&, int block))
{
    for (const auto& f : Record::listFields())
        if (f.offset >= 0 && wanted(s, f.block))
            image.bytes[static_cast<std::size_t>(f.offset)] = static_cast<std::uint8_t>(classCharacter(f.fileClass, s.*f.member));
    for (const auto& f : Record::valueFields())
        if (wanted(s, f.block))
            image.put(static_cast<std::size_t>(f.offset), valueCharacters(s.*f.member, f.form));
}

// Applies the list fields and then the values of the wanted blocks; false
// at the first character or index the record refuses.
template <class Record, class Apply>
bool readFields(const SettingsImage& image, Record& s, bool (*wanted)(const Record&, int block), Apply apply)
{
    for (const auto& f : Record::listFields()) {
        if (f.offset < 0 || !wanted(s, f.block))
            continue;
        const int value = hexDigit(image.bytes[static_cast<std::size_t>(f.offset)]);
        if (value < 0 || !apply(s, f, value))
            return false;
    }
    for (const auto& f : Record::valueFields())
        if (wanted(s, f.block))
            readValue(image, f.offset, f.form, s.*f.member);
    return true;
}

bool dqBlockWanted(const DqSettings& s, int block) { return s.blockActive(block); }
bool tqSide(const TqCqSettings&, int block) { return TqCqBlock::isTimerSide(block); }
bool cqSide(const TqCqSettings&, int block) { return !TqCqBlock::isTimerSide(block); }

} // namespace

int WriteSettingsImage(const DqSettings& s, SettingsImage& image)
{
    // The checks a download runs on the same blocks come first.
    if (const int rc = checkDqSelection(s))
        return rc;
    writeDqLayout(s, image);
    return Result::Ok;
}

void writeDqLayout(const DqSettings& s, SettingsImage& image)
{
    writeHeader(image, MachineType::DQ);
    image.put(21, std::to_string(s.functionGroup));
    if (s.functionGroup == 0)
        image.put(51, std::to_string(s.channelBFunction));
    else
        image.put(130, std::to_string(s.singleFunction));
    if (s.functionGroup == 1 && s.singleFunction == 1)
        image.bytes[171] = static_cast<std::uint8_t>(classCharacter('H', s.dualCounterKind));
    writeFields<DqSettings>(image, s, dqBlockWanted);
}

int WriteSettingsImage(const TqCqSettings& s, SettingsImage& image)
{
    if (s.functionMode < 0 || s.functionMode > 8)
        return Result::SaveFailed;
    writeHeader(image, s.machineType);
    image.put(kModeOffset, std::to_string(s.functionMode));
    writeFields<TqCqSettings>(image, s, TqCqSettings::isTimerMode(s.functionMode) ? tqSide : cqSide);
    return Result::Ok;
}

int readImageHeader(const SettingsImage& image, MachineType& type, LayoutFamily& family)
{
    // The version is read as a hexadecimal number, as a short text would be.
    unsigned version = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const int d = hexDigit(image.bytes[i]);
        if (d < 0)
            return Result::WrongVersion;
        version = version * 16 + static_cast<unsigned>(d);
    }
    if (version != 0x100)
        return Result::WrongVersion;
    const std::string number = image.text(4, 2);
    if (number.size() != 2 || number[0] != '0' || !machineTypeFromNumber(number[1] - '0', type))
        return Result::OpenFailed;
    switch (type) {
    case MachineType::DQ: family = LayoutFamily::DQ; return Result::Ok;
    case MachineType::TQ: family = LayoutFamily::TQ; return Result::Ok;
    case MachineType::CQ: family = LayoutFamily::CQ; return Result::Ok;
    case MachineType::XQ: break;
    }
    const int mode = image.bytes[kModeOffset] - '0';
    if (mode < 0 || mode > 8)
        return Result::OpenFailed;
    family = mode <= 2 ? LayoutFamily::TQ : LayoutFamily::CQ;
    return Result::Ok;
}

int ReadSettingsImage(const SettingsImage& image, DqSettings& s, int failureCode)
{
    const auto digit = [&](std::size_t offset) { return hexDigit(image.bytes[offset]); };
    int mode = -1;
    if (digit(21) == 0) {
        const int channelB = digit(51);
        mode = channelB == 0 || channelB == 1 ? channelB : -1;
    } else if (digit(21) == 1) {
        const int single = digit(130);
        const int kind = digit(171);
        if (single == 0)
            mode = 5;
        else if (single == 1 && kind >= 0 && kind <= 2)
            mode = 2 + kind;
        else if (single == 2)
            mode = 6;
    }
    if (mode < 0)
        return failureCode;
    s.selectFunctionMode(mode);
    const auto apply = [](DqSettings& r, const ListField<DqSettings>& f, int value) { return r.setStored(f, value); };
    return readFields<DqSettings>(image, s, dqBlockWanted, apply) ? Result::Ok : failureCode;
}

int ReadSettingsImage(const SettingsImage& image, LayoutFamily family, TqCqSettings& s, int failureCode)
{
    const int mode = hexDigit(image.bytes[kModeOffset]);
    const bool timer = family == LayoutFamily::TQ;
    if ((timer && !TqCqSettings::isTimerMode(mode)) || (!timer && !TqCqSettings::isCounterMode(mode))
        || !s.selectFunctionMode(mode))
        return failureCode;
    const auto apply = [](TqCqSettings& r, const ListField<TqCqSettings>& f, int value) { return r.setList(f, value); };
    return readFields<TqCqSettings>(image, s, timer ? tqSide : cqSide, apply) ? Result::Ok : failureCode;
}

} // namespace lumetra
