#pragma once

#include "SettingsDocument.h"

#include "comm/Host.h"

#include <optional>
#include <string>

namespace lumetra {

class StringTable;

// Where settings and logs go: "Sample" and "Log" below the application's
// folder, which is the program's own folder when it can be written, else a
// folder of the user's (an installed, read-only program).
struct AppFolders {
    std::string appFolder;
    std::string settingsFolder() const { return appFolder + "/Sample"; }
    std::string logFolder() const { return appFolder + "/Log"; }

    static AppFolders locate(const std::string& programFolder, const std::string& userDataFolder);
};

// What a file dialog is opened with.
struct DialogSpec {
    std::string initialFolder;
    std::string title;
    std::string filter; // "zqs(*.zqs)|*.zqs"
    std::string initialName;
};

// The common file dialog; empty when the user cancels.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<std::string> chooseOpen(const DialogSpec& spec) = 0;
    virtual std::optional<std::string> chooseSave(const DialogSpec& spec) = 0;
};

// The flags and path of the open editor's settings.
struct FileState {
    bool fileKnown = false;
    bool settingsChanged = false;
    bool saveCancelled = false;
    std::string currentPath;
    // The caption the editor shows: the file name, or "Unknown01.zqs".
    std::string caption() const;
};

// The file commands with their dialogs, name check, questions and texts.
class FileCommands {
public:
    FileCommands(Host& host, const StringTable& strings, FileDialogs& dialogs, AppFolders folders);

    // Open: the dialog (or the command line's file), the reader with code 18.
    // On success the document holds the file and the state knows it.
    int open(SettingsDocument& document, FileState& state, const std::optional<std::string>& commandLineFile = std::nullopt);
    // Save (to the known file) or Save As (always asks).
    int save(const SettingsDocument& document, FileState& state, bool saveAs);
    // The save dialog, name check and replace question, then the write.
    int SaveSettingsAs(const SettingsImage& image, FileState& state);
    // The log file dialog: the path, or nothing when cancelled / refused.
    std::optional<std::string> ChooseLogFile(FileState& state, int& result);
    // Before an editor closes: true when it may close.
    bool closeQuestion(const SettingsDocument& document, FileState& state);

    const AppFolders& folders() const { return m_folders; }

private:
    std::optional<std::string> chooseSavePath(const DialogSpec& spec, FileState& state, int& result);
    void status(Text stringId);
    void box(Text stringId, const char* title, const std::string& detail = {});

    Host& m_host;
    const StringTable& m_strings;
    FileDialogs& m_dialogs;
    AppFolders m_folders;
    std::string m_saveReason; // why the last write failed
};

} // namespace lumetra
