#include "SettingsFile.h"

#include "AtomicFile.h"
#include "RegularFile.h"

#include "comm/ResultCodes.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace lumetra {

namespace {
void setReason(std::string* reason, const std::string& text)
{
    if (reason)
        *reason = text;
}
} // namespace

int SaveImageToFile(const std::string& path, const SettingsImage& image, std::string* reason)
{
    std::string why;
    if (!writeFileAtomically(path, image.bytes, why)) {
        setReason(reason, why);
        return Result::SaveFailed;
    }
    return Result::Ok;
}

int LoadImageFromFile(const std::string& path, SettingsImage& image, std::string* reason)
{
    image.bytes.fill(0xFF);
    std::string why;
    const int fd = openRegularFileForReading(path, why);
    const int err = errno;
    if (fd < 0) {
        const bool missing = err == ENOENT || err == ENOTDIR;
        setReason(reason, why);
        return missing ? Result::FileMissing : Result::OpenFailed;
    }
    std::size_t done = 0;
    while (done < image.bytes.size()) {
        const ssize_t n = ::read(fd, image.bytes.data() + done, image.bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            setReason(reason, "cannot read " + path + ": " + std::strerror(errno));
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
