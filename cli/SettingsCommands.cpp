#include "SettingsCommands.h"

#include "ExitStatus.h"

#include "comm/ResultCodes.h"
#include "files/SettingsFile.h"
#include "files/SettingsListing.h"
#include "text/StringTable.h"

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

} // namespace

int showSettings(const std::string& path, bool json, const StringTable& strings, std::ostream& out, std::ostream& err)
{
    SettingsDocument doc;
    if (const int rc = load(path, doc, strings, err))
        return rc;
    out << (json ? settingsListingJson(doc, strings) : settingsListingText(doc, strings));
    return 0;
}

int newSettings(const std::string& typeText, int mode, const std::string& path, bool force, std::ostream& err)
{
    MachineType type{};
    if (!parseMachineType(typeText, type)) {
        return usageError(err, "--type: unknown machine type '" + typeText + "' (DQ, TQ, CQ or XQ)");
    }
    SettingsDocument doc(type);
    if (!doc.selectFunctionMode(mode)) {
        return usageError(err, "--mode: " + machineTypeName(type) + " has no function mode " + std::to_string(mode)
                                   + " (DQ 0..6, TQ 0..2, CQ 3..8, XQ 0..8)");
    }
    if (!force && std::filesystem::exists(path)) {
        return usageError(err, "--output: " + path + " exists; use --force to replace it");
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
        const std::string problem = doc.assign(a);
        if (!problem.empty()) {
            return usageError(err, "NAME=VALUE: " + problem + "; " + path + " is unchanged");
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
