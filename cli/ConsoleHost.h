#pragma once

#include "comm/SystemHost.h"

#include <functional>
#include <ostream>

namespace lumetra {
class CommSession;
}

namespace lumetra::cli {

// The command line's host: error boxes (title "Error") become lines on
// stderr, other boxes lines on stdout (text, then the detail if any);
// questions take their default answer. The transfer status (panel 4) is
// remembered for the end of a command, and printed as it changes on request.
class ConsoleHost : public SystemHost {
public:
    ConsoleHost(std::ostream& out, std::ostream& err, bool showStatus = false)
        : m_out(out), m_err(err), m_showStatus(showStatus)
    {
    }

    MessageAnswer showMessage(const Message& message) override;
    void setStatusPanel(int panel, const std::string& text) override;
    // A line on stderr (and the detail under it, as for a message).
    void showLineNotice(const std::string& text, const std::string& detail) override;
    void processEvents() override
    {
        if (onEvents)
            onEvents();
    }

    // Prints the last transfer status unless the last message said the same.
    void printFinalStatus(bool failed);

    // Runs whenever the core lets events through (a search between IDs).
    std::function<void()> onEvents;

private:
    std::ostream& m_out;
    std::ostream& m_err;
    bool m_showStatus;
    std::string m_status;
    std::string m_lastMessage;
};

// Shows a result code's message as an error box, with a detail line (the
// file and the system's reason), and returns the code.
int reportResult(CommSession& session, int code, const std::string& detail);

} // namespace lumetra::cli
