#pragma once

#include "comm/SystemHost.h"

#include <ostream>

namespace lumetra::cli {

// The command line's host: message boxes become lines on stderr (text, then
// the detail if any); questions take their default answer; status texts are
// printed only when asked for.
class ConsoleHost : public SystemHost {
public:
    explicit ConsoleHost(std::ostream& err, bool showStatus = false) : m_err(err), m_showStatus(showStatus) {}

    MessageAnswer showMessage(const Message& message) override;
    void setStatusPanel(int panel, const std::string& text) override;

private:
    std::ostream& m_err;
    bool m_showStatus;
};

} // namespace lumetra::cli
