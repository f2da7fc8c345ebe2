#pragma once

#include "ConsoleHost.h"
#include "ExitStatus.h"

#include "comm/CommSession.h"

#include <string>

namespace lumetra::cli {

// The line commands; each returns the exit status (ExitStatus.h): the
// result code, compare's "different" as 100, a misuse as 64.
int searchCommand(CommSession& session, ConsoleHost& host, std::ostream& out);
int uploadCommand(CommSession& session, ConsoleHost& host, const std::string& path, bool force);
int downloadCommand(CommSession& session, ConsoleHost& host, const std::string& path, const std::string& part);
int compareCommand(CommSession& session, ConsoleHost& host, const std::string& path);

} // namespace lumetra::cli
