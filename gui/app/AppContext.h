#pragma once

#include "comm/CommSession.h"
#include "comm/CommSetup.h"
#include "files/FileCommands.h"
#include "files/SettingsDocument.h"
#include "monitor/MonitorLog.h"
#include "text/StringTable.h"

#include <QString>

#include <functional>
#include <memory>

namespace lumetra::gui {

// Everything the windows share: the one session and its port, the strings,
// the shell state, the settings of the open unit and its file state. The
// application makes one; a test makes its own with a recording host.
struct AppContext {
    AppContext(Host& hostOfUi, LanguageId language, PortProvider ports, AppFolders folders, FileDialogs& dialogs)
        : host(hostOfUi), strings(language), session(hostOfUi, strings, std::move(ports)), files(hostOfUi, strings, dialogs, std::move(folders))
    {
        session.state().CommSettingsText = session.state().buildCommSettingsText();
    }

    Host& host;
    StringTable strings;
    CommSession session;
    CommSetupState commSetup;
    FileCommands files;
    FileState fileState;
    SettingsDocument document;
    bool editorOpen = false;
    LogSettings logSettings;
    // The device each COM number stands for, for the port list.
    std::function<std::string(int)> portDevice;
};

// A string-table text as a QString.
inline QString uiText(const AppContext& ctx, Text id) { return QString::fromStdString(ctx.strings.text(id)); }

} // namespace lumetra::gui
