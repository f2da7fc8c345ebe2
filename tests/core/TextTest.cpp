#include "comm/ResultCodes.h"
#include "text/StringTable.h"

#include <gtest/gtest.h>

#include <set>

using namespace lumetra;

TEST(StringTable, HoldsTheNumberedEntriesInThreeLanguages)
{
    const auto& entries = stringEntries();
    std::set<int> ids;
    for (const auto& e : entries) {
        EXPECT_TRUE(ids.insert(e.id).second) << e.id;
        EXPECT_GT(std::string(e.english).size(), 0u) << e.id;
        EXPECT_GT(std::string(e.traditionalChinese).size(), 0u) << e.id;
        EXPECT_GT(std::string(e.simplifiedChinese).size(), 0u) << e.id;
    }
    EXPECT_EQ(ids.size(), 240u);
    EXPECT_EQ(*ids.begin(), 101);
    EXPECT_EQ(*ids.rbegin(), 354);
    for (int gap : {112, 115, 150, 154, 175, 189, 190, 191, 193, 194, 271, 272, 273, 279})
        EXPECT_FALSE(ids.count(gap)) << gap;
    EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.id < b.id; }));
}

TEST(StringTable, KeepsTheSystemsOwnWordingAndFallsBackToEnglish)
{
    StringTable en;
    EXPECT_EQ(en.byNumber(246), "Are you sure to exit  ?");
    EXPECT_EQ(en.byNumber(269), "Memory address error ! ");
    EXPECT_EQ(en.byNumber(280), "Invaild file name!");
    EXPECT_EQ(en.byNumber(121), "Type        :");
    EXPECT_EQ(en.byNumber(247), "Open\u2026");
    EXPECT_EQ(en.byNumber(112), "");
    StringTable zhTw(LanguageId::TraditionalChinese);
    StringTable zhCn(LanguageId::SimplifiedChinese);
    EXPECT_EQ(zhTw.byNumber(268), "逾時 !");
    EXPECT_EQ(zhCn.byNumber(268), "超时 !");
    EXPECT_EQ(StringTable(LanguageId::Neutral).byNumber(268), "Time out !");
    // The names stand for the same entries as the numbers.
    EXPECT_EQ(en.text(Text::MsgSureToExit), en.byNumber(246));
    EXPECT_EQ(zhTw.text(Text::ErrTimeout), "逾時 !");
    EXPECT_EQ(en.text(Text::None), "");
}

TEST(Language, ChosenFromTheLocaleAndOverridable)
{
    EXPECT_EQ(languageFromLocale("zh_TW.UTF-8"), LanguageId::TraditionalChinese);
    EXPECT_EQ(languageFromLocale("zh_HK"), LanguageId::TraditionalChinese);
    EXPECT_EQ(languageFromLocale("zh_CN.UTF-8"), LanguageId::SimplifiedChinese);
    EXPECT_EQ(languageFromLocale("zh_SG"), LanguageId::SimplifiedChinese);
    EXPECT_EQ(languageFromLocale("ja_JP.UTF-8"), LanguageId::English);
    EXPECT_EQ(languageFromLocale("C"), LanguageId::English);
    LanguageId l{};
    EXPECT_TRUE(parseLanguage("1028", l));
    EXPECT_EQ(l, LanguageId::TraditionalChinese);
    EXPECT_TRUE(parseLanguage("zh_CN", l));
    EXPECT_EQ(l, LanguageId::SimplifiedChinese);
    EXPECT_TRUE(parseLanguage("en", l));
    EXPECT_EQ(l, LanguageId::English);
    EXPECT_FALSE(parseLanguage("klingon", l));
}

TEST(Language, HelpFileByDefaultLanguage)
{
    EXPECT_EQ(helpFileBaseName(1028), "Help_B");
    EXPECT_EQ(helpFileBaseName(2052), "Help_C");
    EXPECT_EQ(helpFileBaseName(1033), "Help_E");
    EXPECT_EQ(helpFileBaseName(1041), "Help_E");
}

TEST(ResultCodes, TextTitleAndIconOfEveryCode)
{
    StringTable en;
    const char* texts[33] = {nullptr,
        "Communication error!", "COM port has been opened.", "Time out !", "Memory address error ! ",
        "Failed to write !", "Wrong set value !", "Output time error !", "Wrong set value !",
        "Wrong prescale value !", "Wrong set value !", "Wrong startup time !", "Failed to response !",
        "The set value of Timer_1 must be more than  the set value of Timer_0.",
        "Failed to download the settings!", "Failed to save the file!", "Invaild file name!",
        "The file doesn't exist!", "Falied to open the file.", "Wrong version !", "Wrong machine type !",
        "Failed to upload the settings!", "Wrong Device ID !", "Data error !", "Failed to compare!",
        "Compare completed ! The programs are the same.", "Communication settings error!",
        "Time out setting error!", "ILLEGAL FUNCTION!", "ILLEGAL DATA ADDRESS!",
        "Communication writing inhibit !", "Communication Delay time error !", "Scan time error !"};
    for (int code = 1; code <= 32; ++code) {
        const ResultMessage m = resultMessage(code, en);
        EXPECT_EQ(m.text, texts[code]) << code;
        EXPECT_EQ(m.title, code == 25 ? "Compare" : "Error") << code;
        EXPECT_EQ(m.icon, code <= 24 ? MessageIcon::Exclamation : MessageIcon::None) << code;
    }
    for (int code : {0, 33, -1, 1000}) {
        const ResultMessage m = resultMessage(code, en);
        EXPECT_EQ(m.text, "UnKnow Error !");
        EXPECT_EQ(m.title, "Error");
        EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    }
    EXPECT_EQ(resultMessage(3, StringTable(LanguageId::SimplifiedChinese)).text, "超时 !");
}
