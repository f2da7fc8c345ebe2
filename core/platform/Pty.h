#pragma once

#include <string>

namespace lumetra {

// A pseudo-terminal pair whose far end behaves like a raw serial device:
// the master side is ours, the slave path is what a client opens. We keep
// a descriptor of the slave open so that the master does not report a
// hang-up while no client has it open.
class Pty {
public:
    Pty() = default;
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    // Creates the pair; false with a reason on failure.
    bool create(std::string& error);
    // Optional symlink to the slave path (replaced if it exists, removed on close).
    bool linkTo(const std::string& linkPath, std::string& error);
    void close();

    int masterFd() const { return m_master; }
    const std::string& slavePath() const { return m_slavePath; }

private:
    int m_master = -1;
    int m_slaveKeepAlive = -1;
    std::string m_slavePath;
    std::string m_link;
};

} // namespace lumetra
