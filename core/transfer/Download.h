#pragma once

#include "TransferProgress.h"

#include "model/DqImages.h"
#include "model/TqCqImages.h"

namespace lumetra {

class CommSession;

// Which routine the progress window runs for a download or a compare.
enum class TransferTarget { DqAll = 0, DqChannelA = 1, DqChannelB = 2, Tq = 3, Cq = 4 };

// The DQ routines: checks, conversion, identification, machine type, then
// the writes in their fixed order, the restart, the pauses and the finish
// command, and the key protection last. 0 or the first failing code (its
// message has been shown). The images stay filled for a later look.
int downloadDq(CommSession& session, const DqSettings& settings, TransferTarget target, DqImages& images,
               TransferProgress& progress);

// The TQ/CQ routine: conversion, identification, machine type (the code
// given, e.g. 0x040A for an XQ editor), the write permission at 0x043E,
// the runs of the image and the restart.
int downloadTqCq(CommSession& session, const TqCqSettings& settings, TransferProgress& progress);

} // namespace lumetra
