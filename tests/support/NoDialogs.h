#pragma once

#include "files/FileCommands.h"

namespace lumetra::test {

// File dialogs the user cancels every time.
struct NoDialogs : FileDialogs {
    std::optional<std::string> chooseOpen(const DialogSpec&) override { return std::nullopt; }
    std::optional<std::string> chooseSave(const DialogSpec&) override { return std::nullopt; }
};

} // namespace lumetra::test
