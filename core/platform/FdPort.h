#pragma once

#include "comm/SerialPort.h"

namespace lumetra {

// The part of a port that is the same for every descriptor-backed line
// (serial device, TCP socket): non-blocking reads and writes, and a line
// that has gone away closing the port.
class FdPort : public SerialPort {
public:
    ~FdPort() override { FdPort::close(); }

    void close() override;
    bool isOpen() const override { return m_fd >= 0; }
    bool write(const std::uint8_t* data, std::size_t size) override;
    long bytesWaiting() override;
    long read(std::uint8_t* buffer, std::size_t max) override;
    int pollFd() const override { return m_fd; }
    std::string lossReason() const override { return m_lossReason; }

protected:
    // Takes the descriptor of a port just opened.
    void opened(int fd);
    // The line has gone: closes the port and keeps why.
    void fail(std::string reason);
    // fail() with the reason errno gives.
    void failWithErrno(int error);

    int m_fd = -1;

private:
    std::string m_lossReason;
};

} // namespace lumetra
