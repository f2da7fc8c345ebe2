#include "AtomicFile.h"

#include "RegularFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumetra {

namespace {

// ".NAME.PID.RANDOM.lumetra-save": the process id tells a later save whether
// the writer is still alive.
constexpr std::string_view kTempSuffix = ".lumetra-save";

std::string why(const std::string& what, int err) { return what + ": " + std::strerror(err); }

// The file a save writes: the path given, or the file a link there names.
struct Target {
    std::string path;
    std::string folder;
    std::string name;
    bool exists = false;
    struct stat st {};
};

bool locate(const std::string& given, Target& t, std::string& reason)
{
    if (given.empty()) {
        reason = "no file name given";
        return false;
    }
    t.path = given;
    struct stat st {};
    if (::stat(given.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            reason = given + " " + notRegularFileText(st.st_mode);
            return false;
        }
        t.exists = true;
        t.st = st;
        if (::lstat(given.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
            if (char* resolved = ::realpath(given.c_str(), nullptr)) {
                t.path = resolved;
                std::free(resolved);
            }
        }
    } else if (errno != ENOENT) {
        reason = why(given, errno);
        return false;
    } else if (::lstat(given.c_str(), &st) == 0) {
        reason = given + " is a link to a file that does not exist";
        return false;
    }
    if (!splitFolderAndName(t.path, t.folder, t.name)) {
        reason = given + " names no file";
        return false;
    }
    return true;
}

bool mayWrite(const Target& t, const std::string& given, std::string& reason)
{
    if (t.exists && ::faccessat(AT_FDCWD, t.path.c_str(), W_OK, AT_EACCESS) != 0) {
        reason = why("cannot write " + given, errno);
        return false;
    }
    if (::faccessat(AT_FDCWD, t.folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
        reason = why("cannot write in " + t.folder, errno);
        return false;
    }
    return true;
}

std::string tempNameFor(const std::string& name)
{
    std::random_device random;
    char tail[48];
    std::snprintf(tail, sizeof tail, ".%ld.%08X", static_cast<long>(::getpid()), static_cast<unsigned>(random()));
    return "." + name + tail + std::string(kTempSuffix);
}

// Temporary names of this file whose writer died between link and rename.
void removeStaleTemps(int dirFd, const std::string& name)
{
    const int fd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (!dir) {
        if (fd >= 0)
            ::close(fd);
        return;
    }
    const std::string prefix = "." + name + ".";
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view entryName = entry->d_name;
        if (!entryName.starts_with(prefix) || !entryName.ends_with(kTempSuffix))
            continue;
        const std::string middle(entryName.substr(prefix.size()));
        char* end = nullptr;
        const long pid = std::strtol(middle.c_str(), &end, 10);
        if (pid > 0 && *end == '.' && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            ::unlinkat(dirFd, entry->d_name, 0);
    }
    ::closedir(dir);
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// One attempt at a replacement through one kind of temporary file.
class Replacement {
public:
    Replacement(const Target& target, int dirFd, const std::string& given) : m_t(target), m_dirFd(dirFd), m_given(given) {}
    ~Replacement()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_tempName.empty())
            ::unlinkat(m_dirFd, m_tempName.c_str(), 0);
    }
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;

    // False with unsupported() when the file system has no unnamed files.
    bool create(TempFile kind)
    {
        if (kind == TempFile::Unnamed) {
            m_fd = ::openat(m_dirFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
            m_unsupported = m_fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL);
        } else {
            for (int attempt = 0; attempt < 16 && m_fd < 0; ++attempt) {
                const std::string name = tempNameFor(m_t.name);
                m_fd = ::openat(m_dirFd, name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0666);
                if (m_fd >= 0)
                    m_tempName = name;
                else if (errno != EEXIST)
                    break;
            }
        }
        return m_fd >= 0 || fail("cannot write in " + m_t.folder);
    }

    bool fill(std::span<const std::uint8_t> bytes)
    {
        if (m_t.exists) {
            // Owner and group first: a change of owner clears set-id bits.
            [[maybe_unused]] const int ignored = ::fchown(m_fd, m_t.st.st_uid, m_t.st.st_gid);
            if (::fchmod(m_fd, m_t.st.st_mode & 07777) != 0)
                return fail("cannot give the new " + m_given + " the mode of the old one");
        }
        if (!writeAll(m_fd, bytes) || ::fsync(m_fd) != 0)
            return fail("cannot write " + m_given);
        return true;
    }

    bool commit()
    {
        if (m_tempName.empty()) {
            // An unnamed file: a new file takes its name at once; an existing
            // one is replaced through a temporary name.
            if (!m_t.exists && link(m_t.name))
                return syncFolder();
            if (m_t.exists || errno == EEXIST) {
                const std::string name = tempNameFor(m_t.name);
                if (link(name))
                    m_tempName = name;
            }
            if (m_tempName.empty()) {
                m_unsupported = errno == ENOENT || errno == EPERM || errno == EOPNOTSUPP;
                return fail("cannot write " + m_given);
            }
        }
        if (::renameat(m_dirFd, m_tempName.c_str(), m_dirFd, m_t.name.c_str()) != 0)
            return fail("cannot replace " + m_given);
        m_tempName.clear();
        return syncFolder();
    }

    bool unsupported() const { return m_unsupported; }
    const std::string& reason() const { return m_reason; }

private:
    bool link(const std::string& name)
    {
        char procPath[64];
        std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", m_fd);
        if (::linkat(AT_FDCWD, procPath, m_dirFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        // Without /proc: the direct form, which needs a privilege.
        return errno == ENOENT && ::linkat(m_fd, "", m_dirFd, name.c_str(), AT_EMPTY_PATH) == 0;
    }

    bool syncFolder()
    {
        ::fsync(m_dirFd); // the new name survives a power cut (not every file system can)
        return true;
    }

    bool fail(const std::string& what)
    {
        m_reason = why(what, errno);
        return false;
    }

    const Target& m_t;
    int m_dirFd;
    const std::string& m_given;
    int m_fd = -1;
    std::string m_tempName;
    bool m_unsupported = false;
    std::string m_reason;
};

} // namespace

bool checkWritableTarget(const std::string& path, std::string& reason)
{
    Target t;
    return locate(path, t, reason) && mayWrite(t, path, reason);
}

bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes, std::string& reason,
                         const AtomicWriteOptions& options)
{
    Target t;
    if (!locate(path, t, reason) || !mayWrite(t, path, reason))
        return false;
    const int dirFd = ::open(t.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) {
        reason = why("cannot write in " + t.folder, errno);
        return false;
    }
    removeStaleTemps(dirFd, t.name);
    bool done = false;
    for (TempFile kind : {options.temp, TempFile::Named}) {
        Replacement r(t, dirFd, path);
        done = r.create(kind) && r.fill(bytes) && (!options.beforeCommit || (options.beforeCommit(), true)) && r.commit();
        reason = r.reason();
        if (done || kind == TempFile::Named || !r.unsupported())
            break;
    }
    ::close(dirFd);
    return done;
}

} // namespace lumetra
