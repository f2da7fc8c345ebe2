#pragma once

#include "Text.h"

#include <array>
#include <string>
#include <string_view>

namespace lumetra {

// Language ids of the string tables.
enum class LanguageId : int {
    TraditionalChinese = 1028,
    English = 1033,
    Neutral = 2048,
    SimplifiedChinese = 2052,
};

struct StringEntry {
    int id;
    const char* english;
    const char* traditionalChinese;
    const char* simplifiedChinese;
};

inline constexpr std::size_t kStringCount = 240;
inline constexpr int kFirstStringId = 101;
inline constexpr int kLastStringId = 354;

const std::array<StringEntry, kStringCount>& stringEntries();

// Looks texts up by number in one language, falling back to the neutral
// (English) table for a language that has no table of its own. A number
// without an entry gives an empty text, as a missing resource does.
class StringTable {
public:
    explicit StringTable(LanguageId language = LanguageId::English);

    LanguageId language() const { return m_language; }
    void setLanguage(LanguageId language) { m_language = language; }

    std::string text(Text id) const { return byNumber(static_cast<int>(id)); }
    // For texts whose number comes from data (a table row, a file).
    std::string byNumber(int id) const;
    bool has(int id) const;

private:
    LanguageId m_language;
};

// Language from a POSIX locale name ("zh_TW.UTF-8", "zh_CN", "de_DE@euro"):
// zh_TW and zh_HK read Traditional Chinese, zh_CN and zh_SG Simplified
// Chinese, everything else English.
LanguageId languageFromLocale(std::string_view locale);

// Language from the environment (LC_ALL, LC_MESSAGES, LANG in that order).
LanguageId languageFromEnvironment();

// Parses a --lang argument: a language id ("1028"), a locale ("zh_TW"), or
// "en"/"english". Returns false for anything else.
bool parseLanguage(std::string_view text, LanguageId& out);

// Help file by the system's default language id: 1028 "Help_B", 2052
// "Help_C", any other "Help_E" (with the given extension).
std::string helpFileBaseName(int defaultLanguageId);

} // namespace lumetra
