#pragma once

namespace lumetra {

// What a transfer routine tells the progress window as it goes.
class TransferProgress {
public:
    virtual ~TransferProgress() = default;
    // Advances the progress bar by one.
    virtual void advance() {}
    // Starts the window's timer, whose animation runs during the pauses.
    virtual void startTimer() {}
};

} // namespace lumetra
