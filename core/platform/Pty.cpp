#include "Pty.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace lumetra {

Pty::~Pty() { close(); }

bool Pty::create(std::string& error)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        close();
        return false;
    }
    char name[128];
    if (::ptsname_r(m_master, name, sizeof name) != 0) {
        error = std::string("ptsname: ") + std::strerror(errno);
        close();
        return false;
    }
    m_slavePath = name;
    m_slaveKeepAlive = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (m_slaveKeepAlive >= 0 && ::tcgetattr(m_slaveKeepAlive, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(m_slaveKeepAlive, TCSANOW, &tio);
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    return true;
}

bool Pty::linkTo(const std::string& linkPath, std::string& error)
{
    ::unlink(linkPath.c_str());
    if (::symlink(m_slavePath.c_str(), linkPath.c_str()) != 0) {
        error = "cannot link " + linkPath + ": " + std::strerror(errno);
        return false;
    }
    m_link = linkPath;
    return true;
}

void Pty::close()
{
    if (!m_link.empty()) {
        ::unlink(m_link.c_str());
        m_link.clear();
    }
    if (m_slaveKeepAlive >= 0)
        ::close(m_slaveKeepAlive);
    if (m_master >= 0)
        ::close(m_master);
    m_slaveKeepAlive = m_master = -1;
}

} // namespace lumetra
