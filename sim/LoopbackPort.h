#pragma once

#include "VirtualLine.h"

#include <functional>

namespace lumetra::sim {

// A port wired straight to a virtual line in the same process: what the
// master writes reaches the units at once, and their replies become
// readable when they are due by the given clock (a test's fake clock or
// the real one).
class LoopbackPort : public SerialPort {
public:
    using Clock = std::function<std::int64_t()>;

    LoopbackPort(VirtualLine& line, Clock clock, std::string name = "sim");

    OpenResult open(const PortSettings& settings) override;
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    void setDtrRts(bool) override {}
    bool discardBuffers() override;
    bool write(const std::uint8_t* data, std::size_t size) override;
    long bytesWaiting() override;
    long read(std::uint8_t* buffer, std::size_t max) override;
    long msUntilReadable() const override;
    std::string name() const override { return m_name; }
    std::string lossReason() const override { return m_unplugged ? kLineClosedReason : ""; }

    // Makes the line vanish: the next operation finds the port failed.
    void unplug() { m_unplugged = true; }

private:
    bool lineThere();
    void collect();

    VirtualLine& m_line;
    Clock m_clock;
    std::string m_name;
    bool m_open = false;
    bool m_unplugged = false;
    Bytes m_received;
};

} // namespace lumetra::sim
