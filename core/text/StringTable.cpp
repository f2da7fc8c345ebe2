#include "StringTable.h"

#include <algorithm>
#include <cstdlib>

namespace lumetra {

namespace {
const StringEntry* findEntry(int id)
{
    const auto& entries = stringEntries();
    const auto it = std::lower_bound(entries.begin(), entries.end(), id,
                                     [](const StringEntry& e, int key) { return e.id < key; });
    return it != entries.end() && it->id == id ? &*it : nullptr;
}

std::string lowerAscii(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}
} // namespace

StringTable::StringTable(LanguageId language) : m_language(language) {}

bool StringTable::has(int id) const { return findEntry(id) != nullptr; }

std::string StringTable::byNumber(int id) const
{
    const StringEntry* e = findEntry(id);
    if (!e)
        return {};
    switch (m_language) {
    case LanguageId::TraditionalChinese: return e->traditionalChinese;
    case LanguageId::SimplifiedChinese: return e->simplifiedChinese;
    case LanguageId::English:
    case LanguageId::Neutral: break;
    }
    return e->english;
}

LanguageId languageFromLocale(std::string_view locale)
{
    const std::string l = lowerAscii(locale.substr(0, locale.find_first_of(".@")));
    if (l == "zh_tw" || l == "zh_hk" || l == "zh_mo" || l == "zh_hant")
        return LanguageId::TraditionalChinese;
    if (l == "zh_cn" || l == "zh_sg" || l == "zh" || l == "zh_hans")
        return LanguageId::SimplifiedChinese;
    return LanguageId::English;
}

LanguageId languageFromEnvironment()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return languageFromLocale(value);
    }
    return LanguageId::English;
}

bool parseLanguage(std::string_view text, LanguageId& out)
{
    const std::string l = lowerAscii(text);
    if (l == "1028") { out = LanguageId::TraditionalChinese; return true; }
    if (l == "2052") { out = LanguageId::SimplifiedChinese; return true; }
    if (l == "1033" || l == "2048" || l == "en" || l == "english" || l.rfind("en_", 0) == 0) {
        out = LanguageId::English;
        return true;
    }
    if (l.rfind("zh", 0) == 0) {
        out = languageFromLocale(l);
        return true;
    }
    return false;
}

std::string helpFileBaseName(int defaultLanguageId)
{
    switch (defaultLanguageId) {
    case 1028: return "Help_B";
    case 2052: return "Help_C";
    default: return "Help_E";
    }
}

} // namespace lumetra
