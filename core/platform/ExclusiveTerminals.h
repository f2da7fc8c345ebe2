#pragma once

namespace lumetra {

// Terminals this process holds with the exclusive-use flag set. The flag is
// the terminal's own: a process ended by a signal while it holds a
// pseudo-terminal that another program keeps open (a simulator, socat) would
// leave it set, and every later open by an ordinary user would be refused.
// The ports mark and unmark their descriptors; a program that can be ended
// by a signal asks for the flags to be cleared on the way out.
void markExclusiveTerminal(int fd);
void unmarkExclusiveTerminal(int fd);

// SIGINT, SIGTERM and SIGHUP clear the flag of every marked terminal, then
// end the process as the signal would have. Signals a program blocks and
// reads itself (a command that stops cleanly on Ctrl-C) are not affected.
void releaseExclusiveTerminalsOnSignals();

} // namespace lumetra
