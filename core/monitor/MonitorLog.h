#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>

namespace lumetra {

// The logging settings, with their start values.
struct LogSettings {
    int scanSeconds = 1;
    int scanMinutes = 0;
    int delimiterIndex = 0;
    std::string delimiter; // set when logging starts
    bool logErrors = false;

    int scanRate() const { return scanMinutes * 60 + scanSeconds; }
};

// 0 "Fixed Width" → five blanks, 1 "Comma" → ",", 2 "Tab" → a tab.
std::string delimiterFor(int index);

// The scan rate typed into the options dialog: 1..3600 seconds; anything
// else (out of range, empty, not a number) gives nothing.
std::optional<int> parseScanRate(const std::string& text);
// The dialog's message for a refused scan rate.
inline constexpr const char* kScanRateMessage = "Please enter an integer between 1 and 3600.";

// "m/d/yyyy hh:nn:ss": month and day without leading zeros, 24-hour time.
std::string logTimeStamp(const std::tm& localTime);

// The text log of the monitor: opened with the options dialog's choices,
// ticked once a second, a line written straight to the file when the
// interval is complete and monitoring runs. The first failed write (a full
// disk) closes the log and is kept for the front end to report.
class MonitorLog {
public:
    using Clock = std::function<std::tm()>; // the present local time

    explicit MonitorLog(Clock clock);
    ~MonitorLog();
    MonitorLog(const MonitorLog&) = delete;
    MonitorLog& operator=(const MonitorLog&) = delete;

    // Takes the dialog's choices and opens the file (replacing it; never
    // through a symbolic link): false with the reason when it cannot be
    // written.
    bool start(const std::string& path, int scanRate, int delimiterIndex, bool logErrors, std::string* reason = nullptr);
    bool logging() const { return m_fd >= 0; }
    LogSettings& settings() { return m_settings; }
    const LogSettings& settings() const { return m_settings; }

    // The once-a-second tick: counts, and when the interval is complete
    // writes a line (only while monitoring runs) and restarts the count.
    // Returns true when it wrote a line; false also when the write failed,
    // which stops logging (see writeError()).
    bool tick(bool monitorRunning, bool readFailed, const std::string& valueA, const std::string& valueB);

    // Why logging stopped on its own ("PATH: No space left on device"),
    // empty while it has not; cleared by the next start.
    const std::string& writeError() const { return m_writeError; }

    // Log off: the file is closed.
    void stop();

    int elapsedSeconds() const { return m_elapsedSeconds; }
    int elapsedMinutes() const { return m_elapsedMinutes; }

private:
    Clock m_clock;
    LogSettings m_settings;
    int m_fd = -1;
    std::string m_path;
    std::string m_writeError;
    int m_elapsedSeconds = 0;
    int m_elapsedMinutes = 0;
};

} // namespace lumetra
