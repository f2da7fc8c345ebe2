#include "RegularFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumetra {

std::string notRegularFileText(mode_t mode)
{
    if (S_ISREG(mode))
        return {};
    if (S_ISDIR(mode))
        return "is a folder, not a file";
    if (S_ISFIFO(mode))
        return "is a FIFO, not a regular file";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "is a device, not a regular file";
    if (S_ISSOCK(mode))
        return "is a socket, not a regular file";
    return "is not a regular file";
}

int openRegularFileForReading(const std::string& path, std::string& reason)
{
    // Looked at before it is opened: opening a FIFO waits for a writer, and
    // opening a terminal may change its modem lines.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        const int err = errno;
        reason = path + ": " + std::strerror(err);
        errno = err;
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        reason = path + " " + notRegularFileText(st.st_mode);
        errno = EINVAL;
        return -1;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        reason = path + ": " + std::strerror(err);
        errno = err;
        return -1;
    }
    // Swapped for something else in between: still refused.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        reason = path + " " + (S_ISREG(st.st_mode) ? std::string("cannot be examined") : notRegularFileText(st.st_mode));
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

bool splitFolderAndName(const std::string& path, std::string& folder, std::string& name)
{
    const auto slash = path.rfind('/');
    folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    name = path.substr(slash + 1);
    return !name.empty() && name != "." && name != "..";
}

int openRegularFileForWriting(const std::string& path, std::string& reason)
{
    reason.clear();
    std::string folder;
    std::string name;
    if (!splitFolderAndName(path, folder, name)) {
        reason = path + " names no file";
        return -1;
    }
    const int dirFd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) {
        reason = "cannot write in " + folder + ": " + std::strerror(errno);
        return -1;
    }
    struct stat st {};
    const bool exists = ::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    int fd = -1;
    if (!exists && errno != ENOENT)
        reason = "cannot write " + path + ": " + std::strerror(errno);
    else if (exists && S_ISLNK(st.st_mode))
        reason = path + " is a symbolic link; it is not followed";
    else if (exists && !S_ISREG(st.st_mode))
        reason = path + " " + notRegularFileText(st.st_mode);
    else
        fd = ::openat(dirFd, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0 && reason.empty())
        reason = errno == ELOOP ? path + " is a symbolic link; it is not followed" : "cannot write " + path + ": " + std::strerror(errno);
    if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        reason = path + " " + notRegularFileText(st.st_mode);
        ::close(fd);
        fd = -1;
    }
    ::close(dirFd);
    return fd;
}

} // namespace lumetra
