#pragma once

#include "PanelState.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace lumetra {

class CommSession;

// What the monitor says once when the line under it goes away.
inline constexpr const char* kLineLostText = "line lost";

// The codes the description reads and the polling chooses its registers by.
struct MonitorSelections {
    int machineTypeCode = 0;   // high byte of 0x0404
    int functionSelection = 0; // TQ/CQ/XQ: 0x0432; DQ: function group (0x0606)
    // DQ
    int timeCode = 0;          // 0x045A
    int outputModeA = 0;       // 0x0498
    int channelBKind = 0;      // 0x0610: 0 counter, 1 tachometer
    int combinedFunction = 0;  // 0x0630
    int channelBDecimals = 0;  // 0x0554
    int channelBInputMode = 0; // 0x055E
    // TQ
    int timeRange = 0;         // 0x0440 (twin timer: OFF range 0x0460; 2-stage: 0x0482)
    int secondTimeRange = 0;   // twin timer ON range 0x0462
    int timeMode = 0;          // 0x0442
    int outputMode = 0;        // 0x0444
    // CQ
    int decimals = 0;          // 0x06A6
    int inputMode = 0;         // 0x06A0
};

// Monitoring a running unit: identification, the description of its
// settings, and the polling of its present values into panel states.
class Monitor {
public:
    explicit Monitor(CommSession& session);

    // Start: slave ID, port, identification, machine type, description.
    // 0 when polling may begin; 1 when refused or stopped (message shown);
    // otherwise the failing transaction's or the port's code.
    int Monitor_All();
    // One polling cycle (the 5 ms timer); a cycle never starts while one runs.
    int Timer1_monitor();
    // Stop: the running flag is cleared, polling ends, a read still waiting
    // ends quietly, the port is closed.
    void stop();

    // A line that goes away while polling runs is said once (kLineLostText
    // through the host); then each cycle fails (read-failed) and the port is
    // opened again once per this interval, the logging's scan period, until
    // the line is back at the same place, and polling carries on.
    void setReopenIntervalMs(int ms) { m_reopenIntervalMs = ms; }
    bool lineLost() const { return m_lineLost; }

    bool running() const { return m_running; }
    bool pollingEnabled() const { return m_pollingEnabled; }
    bool readFailed() const { return m_readFailed; }
    bool cycleRunning() const { return m_inCycle; }

    const PanelState& shown(int picture) const { return m_shown[static_cast<std::size_t>(picture)]; }
    const std::string& descriptionA() const { return m_descriptionA; }
    const std::string& descriptionB() const { return m_descriptionB; }
    const std::string& valueTextA() const { return m_valueA; }
    const std::string& valueTextB() const { return m_valueB; }
    const MonitorSelections& selections() const { return m_sel; }

    // Called after every cycle that drew (Display_All).
    std::function<void()> onDraw;

private:
    // One 1-register (or n-register) read while the running flag is set;
    // false ends the routine (m_result tells why).
    bool read(std::uint16_t address, std::uint16_t& value);
    bool readText(std::uint16_t address, int count, std::string& replyText);
    // The reply's data digits (characters 8 onward), 4 a register.
    bool readDigits(std::uint16_t address, int count, std::string& digits);

    int Monitor_DQ();
    int Monitor_TQ();
    int Monitor_CQ();
    std::string typeLine() const;
    int finishDescription(const std::string& a, const std::string* b);

    int Display_DQ();
    int Display_TQ();
    int Display_CQ();
    bool dqChannelBReader(PanelState& panel, bool tachometer, int decimals);
    bool dqKeyOutputLamps(PanelState& first, PanelState& second, bool readOutput);
    void copyAndDraw(bool channelBText);

    int pollOnce();
    // False while the line is lost and not back yet (one reopen per interval).
    bool lineReady();
    void noticeLostLine();

    CommSession& m_session;
    MonitorSelections m_sel;
    bool m_running = false;
    bool m_pollingEnabled = false;
    bool m_readFailed = false;
    bool m_inCycle = false;
    bool m_blinkToggle = false;
    bool m_lineLost = false;
    std::int64_t m_nextReopen = 0;
    int m_reopenIntervalMs = 1000;
    int m_result = 0;
    std::array<PanelState, 2> m_work;
    std::array<PanelState, 2> m_shown;
    std::string m_descriptionA;
    std::string m_descriptionB;
    std::string m_valueA;
    std::string m_valueB;
};

} // namespace lumetra
