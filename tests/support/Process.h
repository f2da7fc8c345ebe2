#pragma once

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace lumetra::test {

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A child process whose stdout and stderr go to files of a scratch folder.
class Process {
public:
    explicit Process(std::vector<std::string> args) : m_args(std::move(args))
    {
        static int serial = 0;
        m_dir = std::filesystem::temp_directory_path()
            / ("lumetra-proc-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
        std::filesystem::create_directories(m_dir);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, (m_dir / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, (m_dir / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::vector<char*> argv;
        for (auto& a : m_args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Process()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        std::filesystem::remove_all(m_dir);
    }

    std::string out() const { return readFile(m_dir / "out"); }
    std::string err() const { return readFile(m_dir / "err"); }

    // Waits until stdout holds the text (or the child ended); true if it does.
    bool waitForOutput(const std::string& text, int timeoutMs = 5000) const
    {
        for (int waited = 0; waited < timeoutMs; waited += 10) {
            if (out().find(text) != std::string::npos)
                return true;
            ::usleep(10'000);
        }
        return false;
    }

    ProcessResult finish(int signal = 0)
    {
        ProcessResult r;
        if (m_pid <= 0)
            return r;
        if (signal)
            ::kill(m_pid, signal);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
        r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        r.out = out();
        r.err = err();
        return r;
    }

    // Waits up to timeoutMs for the child to end by itself; false while it still runs.
    bool endsWithin(int timeoutMs, ProcessResult& result)
    {
        for (int waited = 0; m_pid > 0 && waited <= timeoutMs; waited += 10) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                result.out = out();
                result.err = err();
                return true;
            }
            ::usleep(10'000);
        }
        return false;
    }

    const std::filesystem::path& dir() const { return m_dir; }

private:
    std::vector<std::string> m_args;
    std::filesystem::path m_dir;
    pid_t m_pid = -1;
};

inline ProcessResult run(std::vector<std::string> args) { return Process(std::move(args)).finish(); }

// Runs a program whose files may not grow beyond `bytes` (a full disk, as the
// program sees it: writes fail with EFBIG instead of a signal). Its stdout
// and stderr go through pipes, which the limit does not touch.
inline ProcessResult runWithFileSizeLimit(std::vector<std::string> args, rlim_t bytes)
{
    int outPipe[2];
    int errPipe[2];
    if (::pipe(outPipe) != 0 || ::pipe(errPipe) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(outPipe[1], 1);
        ::dup2(errPipe[1], 2);
        for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1]})
            ::close(fd);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, bytes};
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (::setrlimit(RLIMIT_FSIZE, &limit) == 0)
            ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    ProcessResult r;
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    for (int open = 2; open > 0;) {
        ::poll(fds, 2, -1);
        for (pollfd& p : fds) {
            if (p.fd < 0 || !p.revents)
                continue;
            char buffer[4096];
            const ssize_t n = ::read(p.fd, buffer, sizeof buffer);
            if (n <= 0) {
                ::close(p.fd);
                p.fd = -1;
                --open;
            } else {
                (&p == &fds[0] ? r.out : r.err).append(buffer, static_cast<std::size_t>(n));
            }
        }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return r;
}

} // namespace lumetra::test
