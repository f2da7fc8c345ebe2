// Saving and opening files as a user meets them: modes, read-only files,
// links, FIFOs and devices, and a crash in the middle of a save.

#include "ScratchDir.h"
#include "Unprivileged.h"

#include "comm/ResultCodes.h"
#include "files/AtomicFile.h"
#include "files/RegularFile.h"
#include "files/SettingsFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

using namespace lumetra;
using test::ScratchDir;

namespace {

namespace fs = std::filesystem;

const std::string kOld(256, 'o');
const std::string kNew(256, 'n');

std::span<const std::uint8_t> bytesOf(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string contentOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void put(const std::string& path, const std::string& content, mode_t mode)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    ::chmod(path.c_str(), mode);
}

mode_t modeOf(const std::string& path)
{
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

std::vector<std::string> namesIn(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool save(const std::string& path, const std::string& content, TempFile temp, std::string* reason = nullptr)
{
    std::string why;
    const bool ok = writeFileAtomically(path, bytesOf(content), why, {temp, {}});
    if (reason)
        *reason = why;
    return ok;
}

// In a child process: the number of the first check that failed, 0 when all held.
struct Checks {
    int failed = 0;
    int count = 0;
    void operator()(bool held)
    {
        ++count;
        if (!held && failed == 0)
            failed = count;
    }
};

} // namespace

TEST(AtomicFile, KeepsAnExistingFilesModeAndGivesANewOneTheUmasksMode)
{
    for (const TempFile temp : {TempFile::Unnamed, TempFile::Named}) {
        ScratchDir dir;
        test::shareWithUnprivileged(dir.path.string());
        const int failed = test::runUnprivileged([&] {
            Checks check;
            ::umask(027);
            check(save(dir.file("new.zqs"), kNew, temp));
            check(modeOf(dir.file("new.zqs")) == 0640);
            put(dir.file("private.zqs"), kOld, 0600);
            check(save(dir.file("private.zqs"), kNew, temp));
            check(modeOf(dir.file("private.zqs")) == 0600); // not made world-readable
            check(contentOf(dir.file("private.zqs")) == kNew);
            put(dir.file("shared.zqs"), kOld, 0664);
            check(save(dir.file("shared.zqs"), kNew, temp));
            check(modeOf(dir.file("shared.zqs")) == 0664);
            check(namesIn(dir.path) == std::vector<std::string>{"new.zqs", "private.zqs", "shared.zqs"});
            return check.failed;
        });
        EXPECT_EQ(failed, 0) << "check " << failed << (temp == TempFile::Named ? " (named temporary)" : "");
    }
}

TEST(AtomicFile, RefusesAFileOrFolderTheUserMayNotWriteAndLeavesItAsItWas)
{
    ScratchDir dir;
    test::shareWithUnprivileged(dir.path.string());
    const int failed = test::runUnprivileged([&] {
        Checks check;
        const std::string readOnly = dir.file("readonly.zqs");
        put(readOnly, kOld, 0444);
        std::string reason;
        // A rename in the folder would get round the mode; the user said no.
        check(!save(readOnly, kNew, TempFile::Unnamed, &reason));
        check(reason == "cannot write " + readOnly + ": Permission denied");
        check(!checkWritableTarget(readOnly, reason));
        check(contentOf(readOnly) == kOld && modeOf(readOnly) == 0444);
        fs::create_directory(dir.file("locked"));
        ::chmod(dir.file("locked").c_str(), 0555);
        check(!save(dir.file("locked/new.zqs"), kNew, TempFile::Unnamed, &reason));
        check(reason == "cannot write in " + dir.file("locked") + ": Permission denied");
        check(!fs::exists(dir.file("locked/new.zqs")));
        check(namesIn(dir.path) == std::vector<std::string>{"locked", "readonly.zqs"});
        return check.failed;
    });
    EXPECT_EQ(failed, 0) << "check " << failed;
}

TEST(AtomicFile, ACrashBeforeTheReplaceLeavesTheOldFileAndNothingElse)
{
    ScratchDir dir;
    const std::string path = dir.file("unit.zqs");
    put(path, kOld, 0644);
    const auto crashWhileSaving = [&](TempFile temp) {
        return test::runUnprivileged([&] {
            std::string reason;
            writeFileAtomically(path, bytesOf(kNew), reason, {temp, [] { ::raise(SIGKILL); }});
            return 0;
        });
    };
    test::shareWithUnprivileged(dir.path.string());
    ::chown(path.c_str(), test::isRoot() ? test::kNobody : ::getuid(), test::isRoot() ? test::kNobody : ::getgid());

    EXPECT_EQ(crashWhileSaving(TempFile::Unnamed), 128 + SIGKILL);
    EXPECT_EQ(namesIn(dir.path), std::vector<std::string>{"unit.zqs"});
    EXPECT_EQ(contentOf(path), kOld);

    // Where the file system has no unnamed files the old scheme leaves its
    // temporary name behind; the next save of the file clears it away.
    EXPECT_EQ(crashWhileSaving(TempFile::Named), 128 + SIGKILL);
    EXPECT_EQ(namesIn(dir.path).size(), 2u);
    EXPECT_EQ(contentOf(path), kOld);
    ASSERT_TRUE(save(path, kNew, TempFile::Unnamed));
    EXPECT_EQ(namesIn(dir.path), std::vector<std::string>{"unit.zqs"});
    EXPECT_EQ(contentOf(path), kNew);

    // The temporary name of a save still running is left alone.
    const std::string running = std::string(".unit.zqs.") + std::to_string(::getpid()) + ".00000000.lumetra-save";
    put(dir.file(running), "", 0600);
    ASSERT_TRUE(save(path, kOld, TempFile::Unnamed));
    EXPECT_TRUE(fs::exists(dir.file(running)));
}

TEST(AtomicFile, WritesThroughALinkAndRefusesWhatIsNotARegularFile)
{
    ScratchDir dir;
    const std::string target = dir.file("real.zqs");
    put(target, kOld, 0640);
    fs::create_symlink(target, dir.file("link.zqs"));
    for (const TempFile temp : {TempFile::Unnamed, TempFile::Named}) {
        ASSERT_TRUE(save(dir.file("link.zqs"), kNew, temp));
        EXPECT_TRUE(fs::is_symlink(dir.file("link.zqs")));
        EXPECT_EQ(contentOf(target), kNew);
        EXPECT_EQ(modeOf(target), 0640u);
        put(target, kOld, 0640);
    }

    ASSERT_EQ(::mkfifo(dir.file("fifo.zqs").c_str(), 0644), 0);
    fs::create_directory(dir.file("folder.zqs"));
    fs::create_symlink(dir.file("missing.zqs"), dir.file("dangling.zqs"));
    const std::vector<std::pair<std::string, std::string>> refused{
        {dir.file("fifo.zqs"), " is a FIFO, not a regular file"},
        {dir.file("folder.zqs"), " is a folder, not a file"},
        {"/dev/null", " is a device, not a regular file"},
        {dir.file("dangling.zqs"), " is a link to a file that does not exist"},
    };
    for (const auto& [path, why] : refused) {
        std::string reason;
        EXPECT_FALSE(save(path, kNew, TempFile::Unnamed, &reason)) << path;
        EXPECT_EQ(reason, path + why);
    }
    EXPECT_TRUE(fs::is_fifo(dir.file("fifo.zqs")));
    EXPECT_FALSE(fs::exists(dir.file("missing.zqs")));
}

TEST(RegularFile, OpeningRefusesFifosDevicesAndFoldersAtOnce)
{
    ScratchDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo.zqs").c_str(), 0644), 0); // no writer: opening it would wait for ever
    SettingsImage image;
    std::string reason;
    EXPECT_EQ(LoadImageFromFile(dir.file("fifo.zqs"), image, &reason), Result::OpenFailed);
    EXPECT_EQ(reason, dir.file("fifo.zqs") + " is a FIFO, not a regular file");
    EXPECT_EQ(LoadImageFromFile("/dev/zero", image, &reason), Result::OpenFailed);
    EXPECT_EQ(reason, "/dev/zero is a device, not a regular file");
    EXPECT_EQ(LoadImageFromFile(dir.path.string(), image, &reason), Result::OpenFailed);
    EXPECT_EQ(LoadImageFromFile(dir.file("none.zqs"), image, &reason), Result::FileMissing);

    // The log is never written through a link, and a FIFO is refused without waiting for a reader.
    put(dir.file("victim.txt"), "keep", 0644);
    fs::create_symlink(dir.file("victim.txt"), dir.file("log.txt"));
    EXPECT_EQ(openRegularFileForWriting(dir.file("log.txt"), reason), -1);
    EXPECT_EQ(reason, dir.file("log.txt") + " is a symbolic link; it is not followed");
    EXPECT_EQ(contentOf(dir.file("victim.txt")), "keep");
    EXPECT_EQ(openRegularFileForWriting(dir.file("fifo.zqs"), reason), -1);
    EXPECT_EQ(reason, dir.file("fifo.zqs") + " is a FIFO, not a regular file");
    EXPECT_EQ(openRegularFileForWriting(dir.file("nofolder/log.txt"), reason), -1);
    EXPECT_EQ(reason, "cannot write in " + dir.file("nofolder") + ": No such file or directory");
}
