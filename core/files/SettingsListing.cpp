#include "SettingsListing.h"

#include "text/PrintableText.h"

#include <cstdio>

namespace lumetra {

namespace {
std::string typeCode(MachineType type)
{
    char code[8];
    std::snprintf(code, sizeof code, "%04X", machineTypeCode(type));
    return code;
}
} // namespace

std::string settingsListingText(const SettingsDocument& doc, const StringTable& strings)
{
    std::string out = "Machine type   " + std::string(machineTypeName(doc.machineType())) + " (" + typeCode(doc.machineType()) + ")\n";
    out += "Function mode  " + std::to_string(doc.functionMode()) + " : " + printableText(doc.functionModeName(strings)) + "\n";
    for (const SettingLine& l : doc.describe(strings)) {
        if (!l.active)
            continue;
        char row[256];
        std::snprintf(row, sizeof row, "  %-30s %-28s ", l.name.c_str(), printableText(l.label).c_str());
        out += row + printableText(l.text) + "\n";
    }
    return out;
}

std::string settingsListingJson(const SettingsDocument& doc, const StringTable& strings)
{
    std::string out = "{\"machineType\":" + jsonString(machineTypeName(doc.machineType()))
        + ",\"machineTypeCode\":" + jsonString(typeCode(doc.machineType())) + ",\"functionMode\":" + std::to_string(doc.functionMode())
        + ",\"functionModeName\":" + jsonString(doc.functionModeName(strings)) + ",\"settings\":[";
    bool first = true;
    for (const SettingLine& l : doc.describe(strings)) {
        out += (first ? "{" : ",{");
        first = false;
        out += "\"name\":" + jsonString(l.name) + ",\"label\":" + jsonString(l.label);
        if (l.index >= 0)
            out += ",\"index\":" + std::to_string(l.index);
        out += ",\"text\":" + jsonString(l.text) + ",\"active\":" + (l.active ? "true" : "false") + "}";
    }
    return out + "]}\n";
}

} // namespace lumetra
