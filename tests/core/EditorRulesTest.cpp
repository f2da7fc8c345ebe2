// What the editors decide without a window: what a mode shows and hides,
// what a switch reloads and whether that is a change, where the focus goes,
// how settings are captioned, which picture places stay empty.

#include "TestDocuments.h"

#include "files/SettingsDocument.h"
#include "model/EditorCaptions.h"
#include "model/OutputPictures.h"
#include "text/StringTable.h"

#include <gtest/gtest.h>

#include <map>

using namespace lumetra;

namespace {
const SettingLine* lineOf(const std::vector<SettingLine>& lines, const std::string& name)
{
    for (const SettingLine& l : lines)
        if (l.name == name)
            return &l;
    return nullptr;
}
} // namespace

TEST(EditorRules, ShowListsAsActiveWhatTheModeShows)
{
    const StringTable strings;
    SettingsDocument cq(MachineType::XQ);
    for (int mode = 0; mode <= 8; ++mode) {
        ASSERT_TRUE(cq.selectFunctionMode(mode));
        for (const SettingLine& l : cq.describe(strings)) {
            if (l.name == "mKP")
                continue; // the flag is a menu command of both sides
            EXPECT_EQ(l.active, cq.look(l.name).shown) << mode << " " << l.name;
        }
    }
    // The tachometer has no input signal width; the dual counter counts no batches.
    cq.selectFunctionMode(8);
    EXPECT_FALSE(lineOf(cq.describe(strings), "cboSGWidth_Comm_CQ")->active);
    EXPECT_TRUE(lineOf(cq.describe(strings), "cboMaxFreq_Comm_CQ")->active);
    cq.selectFunctionMode(7);
    EXPECT_TRUE(lineOf(cq.describe(strings), "cboSGWidth_Comm_CQ")->active);
    EXPECT_FALSE(lineOf(cq.describe(strings), "lblCounterSetting_batch_2_CQ")->active);
    EXPECT_TRUE(lineOf(cq.describe(strings), "lblCounterSetting_batch_1_CQ")->active);
    cq.selectFunctionMode(6);
    EXPECT_TRUE(lineOf(cq.describe(strings), "lblCounterSetting_batch_2_CQ")->active);
}

TEST(EditorRules, TheFirstOfTwoCountersHasItsListsInModeFourOnlyAndInNoFile)
{
    const StringTable strings;
    SettingsDocument doc(MachineType::DQ);
    for (int mode : {2, 3}) {
        doc.selectFunctionMode(mode);
        EXPECT_FALSE(doc.look("cboCountInputMode_C_Dual_0").shown) << mode;
        EXPECT_FALSE(doc.look("cboMaxFreq_C_Dual_0").shown) << mode;
        EXPECT_EQ(lineOf(doc.describe(strings), "cboCountInputMode_C_Dual_0"), nullptr) << mode;
        EXPECT_TRUE(doc.look("cboOutputMode_C_Dual_0").shown);
    }
    doc.selectFunctionMode(4);
    const auto lines = doc.describe(strings);
    const SettingLine* input = lineOf(lines, "cboCountInputMode_C_Dual_0");
    const SettingLine* speed = lineOf(lines, "cboMaxFreq_C_Dual_0");
    ASSERT_TRUE(input && speed);
    EXPECT_EQ(input->text, "1 : Individual (Up)");
    EXPECT_EQ(input->label, "Input Mode");
    EXPECT_TRUE(input->active);
    EXPECT_EQ(speed->text, "30 Hz");
    EXPECT_EQ(speed->label, "Counting Speed");
    EXPECT_LT(input - lines.data(), lineOf(lines, "cboOutputMode_C_Dual_0") - lines.data()); // in the panel's order

    // The unit keeps neither selection: the file does not change, and set refuses them.
    const SettingsImage before = test::imageOf(doc);
    ASSERT_TRUE(doc.dq().setList(*DqSettings::findList("cboMaxFreq_C_Dual_0"), 3));
    EXPECT_EQ(test::imageOf(doc).bytes, before.bytes);
    EXPECT_FALSE(doc.dq().setList(*DqSettings::findList("cboCountInputMode_C_Dual_0"), 1)); // a single entry
    EXPECT_EQ(doc.set("cboMaxFreq_C_Dual_0", "1"), "cboMaxFreq_C_Dual_0 is not kept in settings files");
}

TEST(EditorRules, TheSecondCounterSpeedStartsAgainOnEveryInputModeChange)
{
    SettingsDocument doc(MachineType::DQ);
    doc.selectFunctionMode(2);
    DqSettings& s = doc.dq();
    const auto& input = *DqSettings::findList("cboCountInputMode_C_Dual_1");
    const auto& speed = *DqSettings::findList("cboMaxFreq_C_Dual_1");
    ASSERT_TRUE(s.setList(speed, 2)); // "1K Hz"
    ASSERT_TRUE(s.setList(input, 1));  // 0 -> 1: the same four speeds, rebuilt all the same
    EXPECT_EQ(s.listIndex(speed), 0);
    ASSERT_TRUE(s.setList(speed, 3));
    ASSERT_TRUE(s.setList(input, 1)); // the same entry again rebuilds nothing
    EXPECT_EQ(s.listIndex(speed), 3);
    ASSERT_TRUE(s.setList(input, 5));
    EXPECT_EQ(choiceList(s.listOf(speed)).size(), 1u); // "30 Hz" alone
    EXPECT_EQ(s.listIndex(speed), 0);

    // A file's own counting speed is kept: the reader meets the input mode first.
    ASSERT_TRUE(s.setList(input, 0));
    ASSERT_TRUE(s.setList(speed, 2));
    SettingsDocument read;
    ASSERT_EQ(read.read(test::imageOf(doc), 18), 0);
    EXPECT_EQ(read.dq().cboMaxFreq_C_Dual_1, 2);
}

TEST(EditorRules, ASwitchIsAChangeWhenTheModeOrAReloadedListChanges)
{
    SettingsDocument dq(MachineType::DQ);
    bool changed = true;
    EXPECT_TRUE(dq.selectFunctionMode(0, &changed));
    EXPECT_FALSE(changed); // a new DQ setting starts in mode 0
    dq.selectFunctionMode(2, &changed);
    EXPECT_TRUE(changed);
    dq.selectFunctionMode(2, &changed);
    EXPECT_FALSE(changed);
    EXPECT_FALSE(dq.selectFunctionMode(7, &changed));
    EXPECT_FALSE(changed);

    SettingsDocument cq(MachineType::CQ);
    cq.selectFunctionMode(6, &changed);
    EXPECT_TRUE(changed); // from no mode at all
    cq.selectFunctionMode(6, &changed);
    EXPECT_FALSE(changed); // its lists were at index 0 already
    cq.tqcq().cboOutputMode_batch_CQ = 5;
    cq.selectFunctionMode(6, &changed);
    EXPECT_TRUE(changed); // the reload took the output mode back to 0
    EXPECT_EQ(cq.tqcq().cboOutputMode_batch_CQ, 0);
}

TEST(EditorRules, TheFocusGoesToTheFirstListOfTheModesOwnPanels)
{
    const std::map<int, std::string> dq{{0, "cboCountModeA"}, {1, "cboCountModeA"}, {2, "cboOutputMode_C_Dual_0"},
                                        {3, "cboOutputMode_C_Dual_0"}, {4, "cboCountInputMode_C_Dual_0"},
                                        {5, "cboOutputMode_T_Dual_0"}, {6, "cboOutputModeA_Dual_F"}};
    SettingsDocument d(MachineType::DQ);
    for (const auto& [mode, list] : dq) {
        d.selectFunctionMode(mode);
        EXPECT_EQ(d.firstListOfMode(), list) << mode;
    }
    const std::map<int, std::string> xq{{0, "cboTimerRange_A_TQ"},       {1, "cboTimerRangeOFF_B_TQ"},      {2, "cboSettingMode_C_TQ"},
                                        {3, "cboCountInputMode_1st_CQ"}, {4, "cboCountInputMode_2nd_CQ"},   {5, "cboCountInputMode_1st_CQ"},
                                        {6, "cboCountInputMode_batch_CQ"}, {7, "cboCountInputMode_batch_CQ"}, {8, "cboOutputMode_freq_CQ"}};
    SettingsDocument x(MachineType::XQ);
    EXPECT_EQ(x.firstListOfMode(), ""); // no mode yet
    for (const auto& [mode, list] : xq) {
        x.selectFunctionMode(mode);
        EXPECT_EQ(x.firstListOfMode(), list) << mode;
    }
}

TEST(EditorRules, CaptionsAreTheEditorsOwnStrings)
{
    const StringTable en;
    EXPECT_EQ(en.text(editorCaptionId(Text::NameNpnPnpInputMode)), "NPN/PNP Input Mode :");
    EXPECT_EQ(StringTable(LanguageId::TraditionalChinese).text(editorCaptionId(Text::NameNpnPnpInputMode)), "NPN/PNP 輸入模式 :");
    // Every setting of a panel has a caption string; only the menu commands have none.
    const auto captioned = [](Text labelId) { return editorCaptionId(labelId) != labelId; };
    for (const auto& f : DqSettings::listFields())
        EXPECT_EQ(captioned(f.labelId), f.member && f.fileClass != 'F') << f.name;
    for (const auto& f : TqCqSettings::listFields())
        EXPECT_EQ(captioned(f.labelId), f.member && f.fileClass != 'F') << f.name;
    for (const auto& f : DqSettings::valueFields())
        EXPECT_TRUE(captioned(f.labelId)) << f.name;
    for (const auto& f : TqCqSettings::valueFields())
        EXPECT_TRUE(captioned(f.labelId)) << f.name;

    // Flicker mode makes the set value a cycle time, steppable duty ratio and no output time.
    SettingsDocument tq(MachineType::TQ);
    tq.selectFunctionMode(0);
    EXPECT_FALSE(tq.look("lblDutyRatio_A_TQ").enabled);
    ASSERT_EQ(tq.set("cboOutputMode_A_TQ", "9"), "");
    EXPECT_EQ(en.text(editorCaptionId(tq.look("lblTimerSetting_A_TQ").labelId)), "Cycle time :");
    EXPECT_EQ(lineOf(tq.describe(en), "lblTimerSetting_A_TQ")->label, "Cycle Time");
    EXPECT_TRUE(tq.look("lblDutyRatio_A_TQ").enabled);
    EXPECT_FALSE(tq.look("lblHoldTime_A_TQ").enabled);
}

TEST(EditorRules, APanelServingTwoFunctionsTakesTheTitleOfTheOneShown)
{
    TqCqSettings cq(MachineType::CQ);
    const std::map<int, std::pair<int, Text>> titles{{3, {TqCqBlock::OneStage, Text::Title1StageCounterCq}},
                                                     {5, {TqCqBlock::OneStage, Text::TitleTotalCounter}},
                                                     {6, {TqCqBlock::BatchDual, Text::TitleBatchCounter}},
                                                     {7, {TqCqBlock::BatchDual, Text::TitleDualCounter}}};
    for (const auto& [mode, panel] : titles) {
        cq.selectFunctionMode(mode);
        EXPECT_EQ(cq.panelTitleId(panel.first), panel.second) << mode;
        EXPECT_EQ(cq.panelTitleId(TqCqBlock::CounterCommon), Text::Settings);
    }
    EXPECT_EQ(DqSettings::channelTitleIds(4), (std::array<Text, 2>{Text::FunctionName1StageCounter, Text::FunctionName1StageCounter}));
}

TEST(EditorRules, AModeWithOnePictureClearsTheOtherPlace)
{
    for (MachineType type : {MachineType::DQ, MachineType::XQ}) {
        SettingsDocument doc(type);
        for (int mode = 0; mode <= (type == MachineType::DQ ? 6 : 8); ++mode) {
            doc.selectFunctionMode(mode);
            const auto pictures = outputPictures(doc);
            ASSERT_EQ(pictures.size(), 2u);
            EXPECT_EQ(pictures[0].control, "Image_Output_A");
            EXPECT_EQ(pictures[1].control, "Image_Output_B");
            EXPECT_FALSE(pictures[0].file.empty());
            const bool two = type == MachineType::DQ && (mode == 0 || mode == 1 || mode == 4);
            EXPECT_EQ(pictures[1].file.empty(), !two) << machineTypeName(type) << " " << mode;
        }
    }
}
