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

protected:
    void fail() { close(); }
    int m_fd = -1;
};

} // namespace lumetra
