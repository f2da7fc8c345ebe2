#include "ConsoleHost.h"

#include "comm/CommSession.h"

namespace lumetra::cli {

namespace {
void printLines(std::ostream& os, const std::string& text, const std::string& detail)
{
    os << text << "\n";
    if (!detail.empty())
        os << "  " << detail << "\n";
    os.flush();
}
} // namespace

MessageAnswer ConsoleHost::showMessage(const Message& message)
{
    printLines(message.title == "Error" ? m_err : m_out, message.text, message.detail);
    m_lastMessage = message.text;
    switch (message.buttons) {
    case MessageButtons::Ok: return MessageAnswer::Ok;
    case MessageButtons::OkCancel: return MessageAnswer::Cancel;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel: return MessageAnswer::No;
    }
    return MessageAnswer::Ok;
}

void ConsoleHost::setStatusPanel(int panel, const std::string& text)
{
    if (panel != StatusPanel::Transfer)
        return;
    m_status = text;
    if (m_showStatus)
        m_err << "[" << text << "]\n";
}

void ConsoleHost::showLineNotice(const std::string& text, const std::string& detail)
{
    printLines(m_err, text, detail);
}

void ConsoleHost::printFinalStatus(bool failed)
{
    if (m_status.empty() || m_status == m_lastMessage)
        return;
    (failed ? m_err : m_out) << m_status << "\n";
}

int reportResult(CommSession& session, int code, const std::string& detail)
{
    session.host().showMessage({resultMessage(code, session.strings()).text, "Error", MessageIcon::Exclamation, MessageButtons::Ok, detail});
    return code;
}

} // namespace lumetra::cli
