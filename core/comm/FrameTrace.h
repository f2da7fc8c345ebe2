#pragma once

#include "Frames.h"

#include <cstdint>
#include <functional>

namespace lumetra {

enum class FrameDirection { Sent, Received };

// One frame as it crossed the line: what was sent, or what a transaction
// received (also when it was incomplete or garbled).
struct FrameRecord {
    std::int64_t tickMs = 0;
    FrameDirection direction = FrameDirection::Sent;
    Bytes bytes;
};

using FrameObserver = std::function<void(const FrameRecord&)>;

// "12.345 > :010304040001F3\r\n" style line: seconds since start, direction,
// printable text for ASCII frames and spaced hex for RTU ones.
std::string formatFrameRecord(const FrameRecord& record, std::int64_t startTickMs, Protocol protocol);

} // namespace lumetra
