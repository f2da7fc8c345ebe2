#include "SettingsCommands.h"

#include "comm/ResultCodes.h"
#include "files/SettingsFile.h"
#include "text/StringTable.h"

#include <cstdio>
#include <filesystem>

namespace lumetra::cli {

namespace {

int fail(int code, const std::string& detail, const StringTable& strings, std::ostream& err)
{
    err << resultMessage(code, strings).text << "\n";
    if (!detail.empty())
        err << "  " << detail << "\n";
    return code;
}

// Opens a settings file as the application's Open does.
int load(const std::string& path, SettingsDocument& doc, const StringTable& strings, std::ostream& err)
{
    SettingsImage image;
    std::string reason;
    if (const int rc = LoadImageFromFile(path, image, &reason))
        return fail(rc, reason, strings, err);
    if (const int rc = doc.read(image, Result::OpenFailed))
        return fail(rc, path, strings, err);
    return 0;
}

std::string typeCode(MachineType type)
{
    char code[8];
    std::snprintf(code, sizeof code, "%04X", machineTypeCode(type));
    return code;
}

} // namespace

int showSettings(const std::string& path, bool json, const StringTable& strings, std::ostream& out, std::ostream& err)
{
    SettingsDocument doc;
    if (const int rc = load(path, doc, strings, err))
        return rc;
    const std::vector<SettingLine> lines = doc.describe(strings);
    if (json) {
        out << "{\"machineType\":" << jsonString(machineTypeName(doc.machineType()))
            << ",\"machineTypeCode\":" << jsonString(typeCode(doc.machineType())) << ",\"functionMode\":" << doc.functionMode()
            << ",\"functionModeName\":" << jsonString(doc.functionModeName(strings)) << ",\"settings\":[";
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const SettingLine& l = lines[i];
            out << (i ? "," : "") << "{\"name\":" << jsonString(l.name) << ",\"label\":" << jsonString(l.label);
            if (l.index >= 0)
                out << ",\"index\":" << l.index;
            out << ",\"text\":" << jsonString(l.text) << ",\"active\":" << (l.active ? "true" : "false") << "}";
        }
        out << "]}\n";
        return 0;
    }
    out << "Machine type   " << machineTypeName(doc.machineType()) << " (" << typeCode(doc.machineType()) << ")\n";
    out << "Function mode  " << doc.functionMode() << " : " << doc.functionModeName(strings) << "\n";
    for (const SettingLine& l : lines) {
        if (!l.active)
            continue;
        char row[256];
        std::snprintf(row, sizeof row, "  %-30s %-28s ", l.name.c_str(), l.label.c_str());
        out << row << l.text << "\n";
    }
    return 0;
}

int newSettings(const std::string& typeText, int mode, const std::string& path, bool force, std::ostream& err)
{
    MachineType type{};
    if (!parseMachineType(typeText, type)) {
        err << "lumetra-cli: unknown machine type '" << typeText << "' (DQ, TQ, CQ or XQ)\n";
        return 2;
    }
    SettingsDocument doc(type);
    if (!doc.selectFunctionMode(mode)) {
        err << "lumetra-cli: " << machineTypeName(type) << " has no function mode " << mode
            << " (DQ 0..6, TQ 0..2, CQ 3..8, XQ 0..8)\n";
        return 2;
    }
    if (!force && std::filesystem::exists(path)) {
        err << "lumetra-cli: " << path << " exists; use --force to replace it\n";
        return 2;
    }
    SettingsImage image;
    doc.writeUnchecked(image);
    std::string reason;
    if (const int rc = SaveImageToFile(path, image, &reason))
        return fail(rc, reason, StringTable(), err);
    return 0;
}

int setSettings(const std::string& path, const std::vector<std::string>& assignments, const StringTable& strings,
                std::ostream& err)
{
    SettingsDocument doc;
    if (const int rc = load(path, doc, strings, err))
        return rc;
    for (const std::string& a : assignments) {
        const auto eq = a.find('=');
        if (eq == std::string::npos || eq == 0) {
            err << "lumetra-cli: expected NAME=VALUE, got '" << a << "'\n";
            return 2;
        }
        const std::string problem = doc.set(a.substr(0, eq), a.substr(eq + 1));
        if (!problem.empty()) {
            err << "lumetra-cli: " << problem << "; " << path << " is unchanged\n";
            return 2;
        }
    }
    SettingsImage image;
    if (const int rc = doc.write(image))
        return fail(rc, path + " is unchanged", strings, err);
    std::string reason;
    if (const int rc = SaveImageToFile(path, image, &reason))
        return fail(rc, reason, strings, err);
    return 0;
}

} // namespace lumetra::cli
