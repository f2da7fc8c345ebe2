#pragma once

#include "CommSession.h"

#include <functional>
#include <string>
#include <vector>

namespace lumetra {

// What the communication settings window keeps between openings besides
// the communication state itself.
struct CommSetupState {
    int IdMode = 0;        // 0 manual slave ID, 1 automatic (from a search)
    int ManualIdIndex = 0; // manual ID - 1
    int AutoIdIndex = 0;   // selected found unit
    std::vector<std::string> FoundDevices;
};

// The controls of the settings window as plain values.
struct CommSetupForm {
    int portIndex = 0; // COM1 = 0
    int baudIndex = 3;
    int parityIndex = 0;
    int dataBitsIndex = 1;
    int stopBitsIndex = 0;
    int protocol = 0;
    std::string timeoutText = "1000";
    std::string delayText = "0";
    int idMode = 0;
    std::string manualIdText = "01";
    std::string autoIdText;
    std::vector<std::string> autoEntries;
    int autoIndex = -1;
    bool applyEnabled = false;
    bool searching = false;
};

// Which text box a key went to, for the key filters.
enum class CommSetupField { Timeout, Delay, ManualId };

// The settings window's logic: loading the controls from the state,
// filtering keys, validating and applying, and the search for units.
class CommSetup {
public:
    CommSetup(CommSession& session, CommSetupState& state) : m_session(session), m_state(state) {}

    static std::vector<std::string> portEntries();     // "COM1".."COM16"
    static std::vector<std::string> baudEntries();     // "9600     Bps" ...
    static std::vector<std::string> parityEntries();   // "None", "Odd", "Even"
    static std::vector<std::string> dataBitsEntries(); // "7 bits", "8 bits"
    static std::vector<std::string> stopBitsEntries(); // "1 bit", "2 bits"
    static std::vector<std::string> manualIdEntries(); // "01".."FF"

    // The controls as the window shows them when it loads.
    CommSetupForm load() const;

    // A typed character after the filter: the character itself, upper-cased
    // for the slave ID, or 0 when the key is dropped. Backspace (8) passes.
    static char filterKey(CommSetupField field, char key);

    // Validates in order (26, 27, 31, 22), then stores and refreshes the
    // status bar. A failure shows its message and stores nothing.
    int apply(CommSetupForm& form);

    // Searches IDs 1..255 with the stored settings (quiet mode on, which
    // stays on). Every found unit of type 2, 3 or 4 becomes an entry
    // "ID : name"; onProgress runs after every ID (events are pumped there).
    // stop() ends it before the next ID. The port is closed at the end.
    void search(CommSetupForm& form, const std::function<void(const CommSetupForm&)>& onProgress = {});
    void stop(CommSetupForm& form);

private:
    CommSession& m_session;
    CommSetupState& m_state;
};

} // namespace lumetra
