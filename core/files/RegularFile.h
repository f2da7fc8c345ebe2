#pragma once

#include <string>
#include <sys/types.h>

namespace lumetra {

// "is a folder", "is a FIFO", "is a device", ... for a file that is not a
// regular file; empty for a regular file.
std::string notRegularFileText(mode_t mode);

// Opens an existing regular file for reading, refusing anything else at
// once (a FIFO or a device is neither opened nor waited for). The
// descriptor, or -1 with errno set (ENOENT for a missing file) and the
// reason.
int openRegularFileForReading(const std::string& path, std::string& reason);

// "dir/unit.zqs" → "dir" and "unit.zqs" ("." for a bare name); false when
// the path names no file ("dir/", "..").
bool splitFolderAndName(const std::string& path, std::string& folder, std::string& name);

// Creates or empties a file for writing (a log). The file itself is never
// reached through a symbolic link: a link, a FIFO or a device there is
// refused at once, and a link swapped in at the last moment fails the open.
// The folder part may be a link (people keep logs in linked folders); in
// shared sticky folders the kernel's protected_symlinks guards it. The
// descriptor, or -1 with the reason.
int openRegularFileForWriting(const std::string& path, std::string& reason);

} // namespace lumetra
