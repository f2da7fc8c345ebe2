#pragma once

#include <ostream>
#include <string>

namespace lumetra::cli {

// The families of lumetra-cli's exit status (also in --help and the README):
//   0        success
//   1..99    the result code of the system's table whose message went to
//            stderr (3 time-out, 12 checksum, 15 file not written, ...)
//   64       a malformed command line: unknown command or option, a bad
//            option value (2 is a result code: the port is in use)
//   100      compare: the file and the unit differ
inline constexpr int kExitUsage = 64;
inline constexpr int kExitDifferent = 100;

inline constexpr const char* kExitStatusHelp =
    "Exit status: 0 success; 1..99 the system's result code whose message was printed "
    "(3 time-out, 12 checksum error, 15 file not written, 17 no such file, 22 wrong slave ID, "
    "29 illegal data address ...); 64 a malformed command line; 100 compare: the settings differ.";

// Refuses the command line as every command does: the message names the
// option or argument first, nothing goes to stdout, the status is 64.
inline int usageError(std::ostream& err, const std::string& message)
{
    err << "lumetra-cli: " << message << "\nRun with --help for more information.\n";
    return kExitUsage;
}

} // namespace lumetra::cli
