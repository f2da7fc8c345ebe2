#pragma once

#include "Download.h"

#include "comm/Host.h"
#include "files/SettingsDocument.h"

namespace lumetra {

class CommSession;

enum class OperationKind { Upload, Download, Compare };

// How the progress window looks for an operation: its caption (string id)
// and its timer interval.
struct TransferWindowSpec {
    Text captionStringId;
    int timerIntervalMs;
};
TransferWindowSpec transferWindowSpec(OperationKind kind);

// The download target of a document: DQ by the channel asked for, TQ or CQ
// by the function mode.
TransferTarget downloadTarget(const SettingsDocument& document, TransferTarget dqTarget = TransferTarget::DqAll);

// What the progress window does when it activates: runs the routine of the
// operation and target, then writes the status text and shows the success
// box. An upload replaces the document with what the unit holds (reader
// failure code 21). Returns the routine's result.
// A compare also gives back the differing address (0 for the same).
int runTransfer(CommSession& session, OperationKind kind, TransferTarget target, SettingsDocument& document,
                TransferProgress& progress, std::uint16_t* differingAddress = nullptr);

// What a command does before the progress window opens: the status text
// and the slave ID check (the separate channel downloads make none). 0, or
// 22 with its message shown.
int beginTransferCommand(CommSession& session, OperationKind kind, TransferTarget target);

// The command around it: the slave ID check, the status text, locking the
// controls of the form for the transfer and unlocking them afterwards.
int transferCommand(CommSession& session, OperationKind kind, TransferTarget target, SettingsDocument& document,
                    TransferProgress& progress, FormId form, std::uint16_t* differingAddress = nullptr);

} // namespace lumetra
