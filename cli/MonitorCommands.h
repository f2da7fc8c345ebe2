#pragma once

#include "ConsoleHost.h"

#include "comm/CommSession.h"

#include <ostream>
#include <string>

namespace lumetra::cli {

struct MonitorOptions {
    int cycles = 0; // 0: until Ctrl-C
    std::string logPath;
    int rate = 1;
    std::string delimiter = "fixed"; // fixed, comma, tab
    bool logErrors = false;
    bool redraw = true; // redraw in place (a terminal) or print each panel once at the end
};

// Prints the unit description texts (the start of monitoring).
int describeCommand(CommSession& session, std::ostream& out);

// Polls the unit and shows its front panel as text; writes the log as the
// application does. Ctrl-C stops cleanly and closes the log.
int monitorCommand(CommSession& session, ConsoleHost& host, const MonitorOptions& options, std::ostream& out);

} // namespace lumetra::cli
