#include "MonitorLog.h"

#include "files/RegularFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace lumetra {

std::string delimiterFor(int index)
{
    switch (index) {
    case 1: return ",";
    case 2: return "\t";
    default: return "     ";
    }
}

std::optional<int> parseScanRate(const std::string& text)
{
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int n = std::stoi(text);
    if (n < 1 || n > 3600)
        return std::nullopt;
    return n;
}

std::string logTimeStamp(const std::tm& t)
{
    char text[40];
    std::snprintf(text, sizeof text, "%d/%d/%04d %02d:%02d:%02d", t.tm_mon + 1, t.tm_mday, t.tm_year + 1900, t.tm_hour, t.tm_min,
                  t.tm_sec);
    return text;
}

MonitorLog::MonitorLog(Clock clock) : m_clock(std::move(clock)) {}

MonitorLog::~MonitorLog() { stop(); }

bool MonitorLog::start(const std::string& path, int scanRate, int delimiterIndex, bool logErrors, std::string* reason)
{
    stop();
    m_writeError.clear();
    std::string why;
    m_fd = openRegularFileForWriting(path, why);
    if (m_fd < 0) {
        if (reason)
            *reason = why;
        return false;
    }
    m_path = path;
    m_settings.scanSeconds = scanRate % 60;
    m_settings.scanMinutes = scanRate / 60;
    m_settings.delimiterIndex = delimiterIndex;
    m_settings.delimiter = delimiterFor(delimiterIndex);
    m_settings.logErrors = logErrors;
    m_elapsedSeconds = m_elapsedMinutes = 0;
    return true;
}

bool MonitorLog::tick(bool monitorRunning, bool readFailed, const std::string& valueA, const std::string& valueB)
{
    if (m_fd < 0)
        return false;
    if (++m_elapsedSeconds == 60) {
        ++m_elapsedMinutes;
        m_elapsedSeconds = 0;
    }
    if (m_elapsedSeconds != m_settings.scanSeconds || m_elapsedMinutes != m_settings.scanMinutes)
        return false;
    m_elapsedSeconds = m_elapsedMinutes = 0;
    if (!monitorRunning)
        return false;
    const std::string& d = m_settings.delimiter;
    std::string line = logTimeStamp(m_clock()) + d;
    if (m_settings.logErrors && readFailed)
        line += "Error!";
    else if (!valueB.empty())
        line += valueA + d + valueB;
    else
        line += valueA;
    line += "\r\n";
    // Unbuffered: every line reaches the file as it is written.
    for (std::size_t done = 0; done < line.size();) {
        const ssize_t n = ::write(m_fd, line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_writeError = m_path + ": " + std::strerror(n < 0 ? errno : ENOSPC);
            stop();
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void MonitorLog::stop()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

} // namespace lumetra
