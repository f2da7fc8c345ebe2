#pragma once

#include <filesystem>
#include <string>
#include <unistd.h>

namespace lumetra::test {

// A folder of the test's own below the temporary folder, removed at the end.
struct ScratchDir {
    std::filesystem::path path;
    explicit ScratchDir(const std::string& name = "lumetra-scratch")
        : path(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()) + "-" + std::to_string(++serial())))
    {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~ScratchDir() { std::filesystem::remove_all(path); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string file(const std::string& name) const { return (path / name).string(); }

private:
    static int& serial()
    {
        static int n = 0;
        return n;
    }
};

} // namespace lumetra::test
