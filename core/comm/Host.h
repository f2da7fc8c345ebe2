#pragma once

#include "ResultCodes.h"

#include <cstdint>
#include <string>

namespace lumetra {

class SerialPort;

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

struct Message {
    std::string text;
    std::string title;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    std::string detail; // optional second line, e.g. the system's reason a port was refused
};

// Status-bar panels of the main window.
namespace StatusPanel {
inline constexpr int General = 1;
inline constexpr int Port = 2;
inline constexpr int SlaveId = 3;
inline constexpr int Transfer = 4;
}

// Which window a transfer locks (the tool bar is always locked as well).
enum class FormId { MainWindow, DqEditor, TqCqEditor, Monitor, CommSettings };

// Everything the core needs from the user interface and the clock. The
// desktop application, the command line and the tests each implement it;
// the core never shows anything itself.
class Host {
public:
    virtual ~Host() = default;

    virtual MessageAnswer showMessage(const Message& message) = 0;
    virtual void setStatusPanel(int panel, const std::string& text) = 0;
    // A condition of the line said once, outside any box ("line lost"): by
    // default in status panel 4 with the line's other conditions.
    virtual void showLineNotice(const std::string& text, const std::string& /*detail*/)
    {
        setStatusPanel(StatusPanel::Transfer, text);
    }
    virtual void lockControls(FormId form) = 0;
    virtual void unlockControls(FormId form) = 0;

    // Millisecond tick count (monotonic).
    virtual std::int64_t tickMs() = 0;
    // Plain sleep: nothing else runs meanwhile.
    virtual void sleepMs(int ms) = 0;
    // Runs pending events once and returns.
    virtual void processEvents() = 0;
    // Lets events run for about ms milliseconds.
    virtual void runEventsFor(int ms) = 0;
    // Lets events run until the port has bytes to read or ms milliseconds
    // have passed, whichever comes first. Never spins.
    virtual void waitForPort(SerialPort& port, int ms) = 0;
    // The port is being closed under a wait (a stop, an exit): the waits end
    // at once instead of sitting out their time-out on a closed line.
    virtual void interruptPortWaits() {}
};

} // namespace lumetra
