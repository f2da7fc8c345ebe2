#pragma once

#include <filesystem>
#include <string>
#include <unistd.h>

namespace lumetra::test {

// A folder of this test process below the temporary folder, removed with it.
struct ScratchDir {
    explicit ScratchDir(const std::string& prefix = "lumetra-cli-files")
        : path(std::filesystem::temp_directory_path() / (prefix + "-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(path);
    }
    ~ScratchDir() { std::filesystem::remove_all(path); }
    std::string file(const std::string& name) const { return (path / name).string(); }

    std::filesystem::path path;
};

} // namespace lumetra::test
