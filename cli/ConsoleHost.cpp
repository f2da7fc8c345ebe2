#include "ConsoleHost.h"

namespace lumetra::cli {

MessageAnswer ConsoleHost::showMessage(const Message& message)
{
    m_err << message.text << "\n";
    if (!message.detail.empty())
        m_err << "  " << message.detail << "\n";
    m_err.flush();
    switch (message.buttons) {
    case MessageButtons::Ok: return MessageAnswer::Ok;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel: return MessageAnswer::No;
    }
    return MessageAnswer::Ok;
}

void ConsoleHost::setStatusPanel(int panel, const std::string& text)
{
    if (m_showStatus && panel == StatusPanel::Transfer)
        m_err << "[" << text << "]\n";
}

} // namespace lumetra::cli
