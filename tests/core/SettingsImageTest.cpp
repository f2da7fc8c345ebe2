#include "files/SettingsFile.h"
#include "files/SettingsImage.h"

#include "comm/ResultCodes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

using namespace lumetra;

namespace {

SettingsImage imageOf(const std::string& text)
{
    SettingsImage image;
    image.bytes.fill(0xFF);
    image.put(0, text);
    return image;
}

// Fills every field a mode's layout stores with pseudo-random but valid
// contents (values a DQ save accepts).
template <class Record>
void randomize(Record& s, std::mt19937& rng, bool (*wanted)(const Record&, int))
{
    for (const auto& f : Record::listFields()) {
        if (f.offset < 0 || !wanted(s, f.block))
            continue;
        const int size = f.fileClass == 'F' ? 2 : static_cast<int>(choiceList(s.listOf(f)).size());
        ASSERT_TRUE(s.setList(f, static_cast<int>(rng() % static_cast<unsigned>(size)))) << f.name;
    }
    for (const auto& f : Record::valueFields()) {
        if (!wanted(s, f.block))
            continue;
        std::string digits;
        for (int i = 0; i < 6; ++i)
            digits += static_cast<char>('0' + rng() % 10);
        digits[0] = '0'; // prescale values keep at most two integer digits
        digits[5] = static_cast<char>('1' + rng() % 9);
        (s.*f.member).setDigits(digits);
    }
}

bool dqWanted(const DqSettings& s, int block) { return s.blockActive(block); }
bool tqWanted(const TqCqSettings& s, int block) { return TqCqBlock::isTimerSide(block) == TqCqSettings::isTimerMode(s.functionMode); }

template <class Record>
void expectSameStoredFields(const Record& a, const Record& b, bool (*wanted)(const Record&, int))
{
    for (const auto& f : Record::listFields()) {
        if (f.offset >= 0 && wanted(a, f.block)) {
            EXPECT_EQ(a.*f.member, b.*f.member) << f.name;
        }
    }
    for (const auto& f : Record::valueFields()) {
        if (!wanted(a, f.block))
            continue;
        EXPECT_EQ((a.*f.member).valueText(), (b.*f.member).valueText()) << f.name;
    }
}

} // namespace

TEST(SettingsImage, NewTimerFileHasHeaderZerosAndDefaults)
{
    TqCqSettings s(MachineType::TQ);
    s.selectFunctionMode(0);
    SettingsImage image;
    ASSERT_EQ(WriteSettingsImage(s, image), 0);
    const std::string all = image.text(0, 256);
    EXPECT_EQ(all.substr(0, 8), "0100020A");
    EXPECT_EQ(all.substr(8), std::string(248, '0'));
    s.lblSV2_C_TQ.setDigits("123456");
    s.cboOutputMode_A_TQ = 9;
    ASSERT_EQ(WriteSettingsImage(s, image), 0);
    EXPECT_EQ(image.text(130, 6), "123456"); // the unselected 2-stage timer is stored too
    EXPECT_EQ(image.text(34, 1), "9");
    EXPECT_EQ(WriteSettingsImage(TqCqSettings(MachineType::CQ), image), Result::SaveFailed); // no mode yet
}

TEST(SettingsImage, DqFileHoldsOnlyTheSelectedFunction)
{
    DqSettings s;
    s.selectFunctionMode(1);
    s.lblTimerSettingA.setDigits("000100");
    s.lblCounterSettingB_F.setDigits("000100");
    s.lblHoldCounterB_F.setDigits("000100");
    s.lblMagnificationB_F.setDigits("001000");
    s.lblCounterSettingB.setDigits("999999"); // channel B counter: not selected
    SettingsImage image;
    ASSERT_EQ(WriteSettingsImage(s, image), 0);
    EXPECT_EQ(image.text(52, 25), std::string(25, '0'));
    EXPECT_EQ(image.text(130, 118), std::string(118, '0'));
    EXPECT_EQ(image.text(51, 1), "1");
    EXPECT_EQ(image.text(29, 7), "0001.00");
    EXPECT_EQ(image.text(95, 6), "01.000");
    s.selectFunctionMode(0);
    s.lblCounterSettingB.setDigits("012345");
    s.lblMagnificationB.setDigits("001000");
    ASSERT_TRUE(s.setList(*DqSettings::findList("cboDotAdjB"), 2));
    ASSERT_EQ(WriteSettingsImage(s, image), 0);
    EXPECT_EQ(image.text(63, 7), "0123.45");
    ASSERT_TRUE(s.setList(*DqSettings::findList("cboDotAdjB"), 0));
    ASSERT_EQ(WriteSettingsImage(s, image), 0);
    EXPECT_EQ(image.text(63, 7), "0012345");
    s.lblTimerSettingA.setDigits("000000");
    EXPECT_EQ(WriteSettingsImage(s, image), Result::BadTimerValue);
}

TEST(SettingsImage, HeaderChecksInOrder)
{
    MachineType type{};
    LayoutFamily family{};
    EXPECT_EQ(readImageHeader(imageOf("0101010A"), type, family), Result::WrongVersion);
    EXPECT_EQ(readImageHeader(imageOf("0101990A"), type, family), Result::WrongVersion);
    EXPECT_EQ(readImageHeader(imageOf("0100050A"), type, family), Result::OpenFailed);
    SettingsImage xq = imageOf("0100040A");
    xq.put(31, "5");
    ASSERT_EQ(readImageHeader(xq, type, family), 0);
    EXPECT_EQ(type, MachineType::XQ);
    EXPECT_EQ(family, LayoutFamily::CQ);
    xq.put(31, "1");
    ASSERT_EQ(readImageHeader(xq, type, family), 0);
    EXPECT_EQ(family, LayoutFamily::TQ);
    xq.put(31, "9");
    EXPECT_EQ(readImageHeader(xq, type, family), Result::OpenFailed);
    EXPECT_EQ(readImageHeader(imageOf(""), type, family), Result::WrongVersion);
}

TEST(SettingsImage, ReadersRefuseBadSelectorsFlagsAndIndexes)
{
    // A 10-byte CQ file: the mode byte is 0xFF.
    TqCqSettings cq(MachineType::CQ);
    EXPECT_EQ(ReadSettingsImage(imageOf("0100030A00"), LayoutFamily::CQ, cq, Result::OpenFailed), Result::OpenFailed);
    EXPECT_EQ(cq.functionMode, -1);

    DqSettings dq;
    dq.selectFunctionMode(0);
    dq.lblTimerSettingA.setDigits("000001");
    dq.lblCounterSettingB.setDigits("000001");
    dq.lblMagnificationB.setDigits("001000");
    SettingsImage good;
    ASSERT_EQ(WriteSettingsImage(dq, good), 0);

    SettingsImage badFlag = good;
    badFlag.put(8, "2");
    DqSettings target;
    target.lblHoldTimeA.setDigits("777777");
    EXPECT_EQ(ReadSettingsImage(badFlag, target, Result::UploadFailed), Result::UploadFailed);
    SettingsImage badSelector = good;
    badSelector.put(21, "2");
    EXPECT_EQ(ReadSettingsImage(badSelector, target, Result::OpenFailed), Result::OpenFailed);
    SettingsImage badIndex = good;
    badIndex.put(53, "4"); // decimal point positions are 0..3
    EXPECT_EQ(ReadSettingsImage(badIndex, target, Result::OpenFailed), Result::OpenFailed);
    // Fields before the refused one stay applied; those after keep their values.
    EXPECT_EQ(target.cboCountInputModeB, 0);
    EXPECT_EQ(target.lblHoldTimeA.digits(), "777777");
    EXPECT_EQ(ReadSettingsImage(good, target, Result::OpenFailed), 0);
    EXPECT_EQ(target.lblHoldTimeA.digits(), "000000");
}

TEST(SettingsImage, EveryDqModeRoundTrips)
{
    std::mt19937 rng(7);
    for (int mode = 0; mode < DqSettings::kFunctionModes; ++mode) {
        for (int round = 0; round < 20; ++round) {
            DqSettings s;
            s.selectFunctionMode(mode);
            randomize<DqSettings>(s, rng, dqWanted);
            s.lblTimerSetting_T_Dual_1.setDigits("999999");
            SettingsImage first;
            ASSERT_EQ(WriteSettingsImage(s, first), 0) << "mode " << mode;
            DqSettings back;
            ASSERT_EQ(ReadSettingsImage(first, back, Result::OpenFailed), 0) << "mode " << mode;
            EXPECT_EQ(back.functionMode(), mode);
            expectSameStoredFields<DqSettings>(s, back, dqWanted);
            SettingsImage second;
            ASSERT_EQ(WriteSettingsImage(back, second), 0);
            EXPECT_EQ(first.bytes, second.bytes) << "mode " << mode;
        }
    }
}

TEST(SettingsImage, EveryTqCqModeRoundTripsForEachMachineType)
{
    std::mt19937 rng(11);
    for (MachineType type : {MachineType::TQ, MachineType::CQ, MachineType::XQ}) {
        for (int mode = 0; mode <= 8; ++mode) {
            TqCqSettings s(type);
            if (!s.selectFunctionMode(mode))
                continue;
            randomize<TqCqSettings>(s, rng, tqWanted);
            s.lblCounterSetting_1st_CQ.setCell(0, '-');
            SettingsImage first;
            ASSERT_EQ(WriteSettingsImage(s, first), 0);
            MachineType readType{};
            LayoutFamily family{};
            ASSERT_EQ(readImageHeader(first, readType, family), 0);
            EXPECT_EQ(readType, type);
            TqCqSettings back(readType);
            ASSERT_EQ(ReadSettingsImage(first, family, back, Result::OpenFailed), 0) << machineTypeName(type) << mode;
            EXPECT_EQ(back.functionMode, mode);
            expectSameStoredFields<TqCqSettings>(s, back, tqWanted);
            SettingsImage second;
            ASSERT_EQ(WriteSettingsImage(back, second), 0);
            EXPECT_EQ(first.bytes, second.bytes) << machineTypeName(type) << " mode " << mode;
        }
    }
}

TEST(SettingsFile, SavesAtomicallyAndLoadsShortAndLongFiles)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("lumetra-files-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string path = (dir / "unit.zqs").string();
    { std::ofstream(path) << std::string(300, 'x'); }
    SettingsImage image = imageOf("0100010A");
    ASSERT_EQ(SaveImageToFile(path, image), 0);
    EXPECT_EQ(fs::file_size(path), 256u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1); // no temporary left

    SettingsImage loaded;
    ASSERT_EQ(LoadImageFromFile(path, loaded), 0);
    EXPECT_EQ(loaded.bytes, image.bytes);
    { std::ofstream(path, std::ios::trunc) << "0100"; }
    ASSERT_EQ(LoadImageFromFile(path, loaded), 0);
    EXPECT_EQ(loaded.text(0, 4), "0100");
    EXPECT_EQ(loaded.bytes[4], 0xFF);
    { std::ofstream(path, std::ios::trunc) << std::string(300, 'z'); }
    ASSERT_EQ(LoadImageFromFile(path, loaded), 0);
    EXPECT_EQ(loaded.bytes[255], 'z');

    EXPECT_EQ(LoadImageFromFile((dir / "none.zqs").string(), loaded), Result::FileMissing);
    EXPECT_EQ(LoadImageFromFile(dir.string(), loaded), Result::OpenFailed);
    std::string reason;
    EXPECT_EQ(SaveImageToFile((dir / "no" / "such" / "folder.zqs").string(), image, &reason), Result::SaveFailed);
    EXPECT_FALSE(reason.empty());
    fs::remove_all(dir);
}

TEST(SettingsFile, FileNameCheck)
{
    for (const char* good : {"Unknown01", "my unit", "a.b", "unit-3_x"})
        EXPECT_TRUE(CheckFileName(good)) << good;
    for (const char* bad : {"", "   ", ".hidden", "unit.", "a/b", "a:b", "x*", "q?", "a<b", "p|q", "s;t", "{x}", "[x]",
                            "~x", "x!", "a@b", "#1", "50%", "a^b", "(x)", "a=b", "a+b", " .x"})
        EXPECT_FALSE(CheckFileName(bad)) << bad;
    EXPECT_EQ(fileTitleStem("Unknown01.zqs"), "Unknown01");
    EXPECT_EQ(fileTitleStem(".zq"), "");
}
