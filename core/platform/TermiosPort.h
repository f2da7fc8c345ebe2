#pragma once

#include "FdPort.h"

namespace lumetra {

// A serial device through the Linux termios2 interface, so that every rate
// of the baud list works, 14400 and 28800 included. Opened exclusively: a
// second open (by us or another program) is told apart from other refusals,
// and the exclusivity ends with our close.
class TermiosPort : public FdPort {
public:
    explicit TermiosPort(std::string devicePath);
    ~TermiosPort() override { TermiosPort::close(); }

    OpenResult open(const PortSettings& settings) override;
    void close() override;
    void setDtrRts(bool on) override;
    bool discardBuffers() override;
    void drain() override;
    std::vector<LineEvent> takeLineEvents() override;
    std::string name() const override { return m_path; }

private:
    std::string m_path;
    bool m_countersAvailable = false;
    int m_counters[5] = {}; // break, frame, overrun, parity, buffer overrun
};

// A readable explanation of an open() failure, with what to do about it.
std::string describeOpenError(const std::string& path, int error);

} // namespace lumetra
