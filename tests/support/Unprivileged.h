#pragma once

#include <functional>
#include <grp.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace lumetra::test {

// Root ignores file modes, so tests of what a user may not write run as an
// ordinary user: as root they take the identity of "nobody".
inline constexpr uid_t kNobody = 65534;

inline bool isRoot() { return ::geteuid() == 0; }

// Runs fn in a child process as an ordinary user; fn's result is the
// child's exit status (125 when the identity could not be dropped).
inline int runUnprivileged(const std::function<int()>& fn)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (isRoot() && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(125);
        ::_exit(fn());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The command line that runs a program as an ordinary user.
inline std::vector<std::string> asUnprivileged(std::vector<std::string> args)
{
    if (isRoot())
        args.insert(args.begin(), {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
    return args;
}

// A folder the ordinary user of these tests may write in.
inline void shareWithUnprivileged(const std::string& folder)
{
    if (isRoot() && ::chown(folder.c_str(), kNobody, kNobody) != 0)
        ::chmod(folder.c_str(), 0777);
}

} // namespace lumetra::test
