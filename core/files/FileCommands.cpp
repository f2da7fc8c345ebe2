#include "FileCommands.h"

#include "SettingsFile.h"

#include "comm/ResultCodes.h"
#include "text/StringTable.h"

#include <filesystem>
#include <cstdlib>
#include <unistd.h>

namespace fs = std::filesystem;

namespace lumetra {

namespace {
// A folder we can create files in (a probe, since root passes every access check).
bool canWriteIn(const std::string& folder)
{
    std::string probe = folder + "/.lumetra-probe-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

bool systemInstall(const std::string& folder) { return folder.rfind("/usr/", 0) == 0 || folder.rfind("/opt/", 0) == 0; }
} // namespace

AppFolders AppFolders::locate(const std::string& programFolder, const std::string& userDataFolder)
{
    // A program run from where it was unpacked or built keeps its files beside
    // it; an installed one keeps them in the user's data folder.
    if (!programFolder.empty() && !systemInstall(programFolder) && canWriteIn(programFolder))
        return {programFolder};
    return {userDataFolder};
}

std::string FileState::caption() const
{
    return fileKnown ? fs::path(currentPath).filename().string() : std::string("Unknown01.zqs");
}

FileCommands::FileCommands(Host& host, const StringTable& strings, FileDialogs& dialogs, AppFolders folders)
    : m_host(host), m_strings(strings), m_dialogs(dialogs), m_folders(std::move(folders))
{
}

void FileCommands::status(Text stringId) { m_host.setStatusPanel(StatusPanel::Transfer, m_strings.text(stringId)); }

void FileCommands::box(Text stringId, const char* title, const std::string& detail)
{
    Message m;
    m.text = m_strings.text(stringId);
    m.title = title;
    m.detail = detail;
    m_host.showMessage(m);
}

int FileCommands::open(SettingsDocument& document, FileState& state, const std::optional<std::string>& commandLineFile)
{
    status(Text::StatusOpen);
    std::optional<std::string> path = commandLineFile;
    if (!path) {
        std::error_code ec;
        const std::string folder = fs::is_directory(m_folders.settingsFolder(), ec) ? m_folders.settingsFolder() : m_folders.appFolder;
        path = m_dialogs.chooseOpen({folder, "Open", "zqs(*.zqs)|*.zqs", ""});
    }
    if (!path) {
        status(Text::MsgFailedToOpenFile);
        return Result::OpenFailed;
    }
    SettingsImage image;
    std::string reason;
    int rc = LoadImageFromFile(*path, image, &reason);
    SettingsDocument opened = document; // the editor keeps what it had if the file is refused
    if (rc == 0)
        rc = opened.read(image, Result::OpenFailed);
    if (rc != 0) {
        Message m;
        const ResultMessage rm = resultMessage(rc, m_strings);
        m.text = rm.text;
        m.title = rm.title;
        m.icon = rm.icon;
        m.detail = reason;
        m_host.showMessage(m);
        status(Text::MsgFailedToOpenFile);
        return rc;
    }
    document = opened;
    state.currentPath = *path;
    state.fileKnown = true;
    state.settingsChanged = false;
    status(Text::MsgFileOpened);
    return Result::Ok;
}

std::optional<std::string> FileCommands::chooseSavePath(const DialogSpec& spec, FileState& state, int& result)
{
    result = Result::Ok;
    std::error_code ec;
    fs::create_directories(spec.initialFolder, ec);
    const std::optional<std::string> path = m_dialogs.chooseSave(spec);
    if (!path) {
        state.saveCancelled = true;
        return std::nullopt;
    }
    if (!CheckFileName(fileTitleStem(fs::path(*path).filename().string()))) {
        result = Result::InvalidFileName;
        return std::nullopt;
    }
    state.saveCancelled = false;
    if (fs::exists(*path, ec)) {
        Message m;
        m.text = m_strings.text(Text::MsgFileExistsReplace);
        m.title = "Save";
        m.icon = MessageIcon::Question;
        m.buttons = MessageButtons::OkCancel;
        if (m_host.showMessage(m) != MessageAnswer::Ok) {
            state.saveCancelled = true;
            return std::nullopt;
        }
    }
    return path;
}

int FileCommands::SaveSettingsAs(const SettingsImage& image, FileState& state)
{
    int rc = 0;
    const std::optional<std::string> path = chooseSavePath({m_folders.settingsFolder(), "Save As", "zqs(*.zqs)|*.zqs", ""}, state, rc);
    if (!path)
        return rc;
    if ((rc = SaveImageToFile(*path, image, &m_saveReason)) != 0)
        return rc;
    state.currentPath = *path;
    state.fileKnown = true;
    return Result::Ok;
}

std::optional<std::string> FileCommands::ChooseLogFile(FileState& state, int& result)
{
    return chooseSavePath({m_folders.logFolder(), "Save As", "log file(*.txt)|*.txt", "logfile"}, state, result);
}

int FileCommands::save(const SettingsDocument& document, FileState& state, bool saveAs)
{
    SettingsImage image;
    if (const int rc = document.write(image)) {
        m_host.showMessage([&] {
            const ResultMessage rm = resultMessage(rc, m_strings);
            return Message{rm.text, rm.title, rm.icon, MessageButtons::Ok, {}};
        }());
        status(Text::MsgFailedToSaveFile);
        return rc;
    }
    int rc = 0;
    m_saveReason.clear();
    if (state.fileKnown && !saveAs) {
        rc = SaveImageToFile(state.currentPath, image, &m_saveReason);
    } else {
        state.saveCancelled = false;
        rc = SaveSettingsAs(image, state);
        if (rc == 0 && state.saveCancelled)
            return Result::Ok;
    }
    if (rc != 0) {
        box(Text::MsgFailedToSaveFile, "Save", m_saveReason); // why, e.g. a read-only file
        status(Text::MsgFailedToSaveFile);
        return rc;
    }
    box(Text::MsgFileSaved, "Save");
    state.settingsChanged = false;
    status(Text::MsgFileSaved);
    return Result::Ok;
}

bool FileCommands::closeQuestion(const SettingsDocument& document, FileState& state)
{
    if (!state.settingsChanged)
        return true;
    Message m;
    m.text = m_strings.text(Text::MsgSettingsChangedSave);
    m.title = "Save";
    m.icon = MessageIcon::Question;
    m.buttons = MessageButtons::YesNoCancel;
    switch (m_host.showMessage(m)) {
    case MessageAnswer::Cancel: return false;
    case MessageAnswer::No: return true;
    default: break;
    }
    state.saveCancelled = false;
    const int rc = save(document, state, false);
    return rc == 0 && !state.saveCancelled;
}

} // namespace lumetra
