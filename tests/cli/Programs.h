#pragma once

#include "Process.h"

#include <string>

namespace lumetra::test {

// The programs under test, as built.
inline const std::string kCli = LUMETRA_CLI_PATH;
inline const std::string kSim = LUMETRA_SIM_PATH;

// The pseudo-terminal a running lumetra-sim serves ("pty: PATH").
inline std::string ptyOf(const Process& sim)
{
    const std::string out = sim.out();
    const auto start = out.find("pty: ") + 5;
    return out.substr(start, out.find('\n', start) - start);
}

} // namespace lumetra::test
