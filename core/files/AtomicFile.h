#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace lumetra {

// Where the new content is written before it takes the file's place.
enum class TempFile {
    Unnamed, // O_TMPFILE: invisible until it is complete (named temporary where the file system has none)
    Named,   // a hidden name next to the file, renamed over it
};

struct AtomicWriteOptions {
    TempFile temp = TempFile::Unnamed;
    // Runs when the new content is written and synced, just before it
    // replaces the file; tests end the process here to play a crash.
    std::function<void()> beforeCommit;
};

// Whether the file can be written the way writeFileAtomically writes it: an
// existing file must be a regular file this user may write (its mode is the
// user's say, even where a rename in the folder would get round it), and the
// folder one the user may create files in. False with the reason.
bool checkWritableTarget(const std::string& path, std::string& reason);

// Replaces the file's content so that it is at every moment either the old
// content or the new one, never torn, and a crash leaves no stray file:
//  - the bytes go to an unnamed temporary file in the same folder and are
//    synced; a new file is then linked in under its name at once;
//  - an existing file cannot be replaced by a link, so the complete file is
//    linked to a temporary name and renamed over it in the next breath; the
//    next save of the same file removes such a name left by a process that
//    died in between;
//  - where the file system has no unnamed files, the bytes go to the
//    temporary name from the start (the older scheme).
// An existing file keeps its mode (and its owner and group where the user
// may set them); a new one gets 0666 less the umask. A symbolic link is
// written through, not replaced. False with the reason; the file is then
// unchanged.
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes, std::string& reason,
                         const AtomicWriteOptions& options = {});

} // namespace lumetra
