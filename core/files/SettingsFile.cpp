#include "SettingsFile.h"

#include "comm/ResultCodes.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace lumetra {

namespace {
void setReason(std::string* reason, const std::string& what)
{
    if (reason)
        *reason = what + ": " + std::strerror(errno);
}
} // namespace

int SaveImageToFile(const std::string& path, const SettingsImage& image, std::string* reason)
{
    const std::filesystem::path target(path);
    const std::filesystem::path dir = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::string temp = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        setReason(reason, "cannot write in " + dir.string());
        return Result::SaveFailed;
    }
    bool ok = true;
    std::size_t done = 0;
    while (ok && done < image.bytes.size()) {
        const ssize_t n = ::write(fd, image.bytes.data() + done, image.bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        done += ok ? static_cast<std::size_t>(n) : 0;
    }
    ok = ok && ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0;
    if (!ok)
        setReason(reason, "cannot write " + path);
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
        setReason(reason, "cannot replace " + path);
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return Result::SaveFailed;
    }
    return Result::Ok;
}

int LoadImageFromFile(const std::string& path, SettingsImage& image, std::string* reason)
{
    image.bytes.fill(0xFF);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
        setReason(reason, path);
        return Result::FileMissing;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || S_ISDIR(st.st_mode)) {
        setReason(reason, "cannot open " + path);
        if (fd >= 0)
            ::close(fd);
        return Result::OpenFailed;
    }
    std::size_t done = 0;
    while (done < image.bytes.size()) {
        const ssize_t n = ::read(fd, image.bytes.data() + done, image.bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            setReason(reason, "cannot read " + path);
            ::close(fd);
            return Result::OpenFailed;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return Result::Ok;
}

bool CheckFileName(std::string_view name)
{
    std::string_view trimmed = name;
    while (!trimmed.empty() && trimmed.front() == ' ')
        trimmed.remove_prefix(1);
    while (!trimmed.empty() && trimmed.back() == ' ')
        trimmed.remove_suffix(1);
    if (trimmed.empty() || trimmed.front() == '.' || trimmed.back() == '.')
        return false;
    return name.find_first_of("\\/:*?<>|;{}[]~!@#%^()=+") == std::string_view::npos;
}

std::string_view fileTitleStem(std::string_view title)
{
    return title.size() >= 4 ? title.substr(0, title.size() - 4) : std::string_view{};
}

} // namespace lumetra
