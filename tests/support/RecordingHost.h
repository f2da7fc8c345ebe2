#pragma once

#include "comm/Host.h"
#include "comm/SerialPort.h"
#include "comm/SystemHost.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace lumetra::test {

// Records every message, status text and lock for assertions. With a fake
// clock, waits and sleeps advance time instantly (a port without a
// descriptor tells when its next byte is due); with the real clock it
// waits like the command line does.
class RecordingHost : public Host {
public:
    enum class Clock { Fake, Real };
    explicit RecordingHost(Clock clock = Clock::Fake) : m_clock(clock) {}

    MessageAnswer showMessage(const Message& message) override
    {
        messages.push_back(message);
        return answers.empty() ? MessageAnswer::Ok : takeAnswer();
    }
    void setStatusPanel(int panel, const std::string& text) override { status.push_back({panel, text}); }
    void lockControls(FormId) override { ++locks; }
    void unlockControls(FormId) override { ++unlocks; }

    std::int64_t tickMs() override { return m_clock == Clock::Fake ? now : m_real.tickMs() + m_skipped; }
    void sleepMs(int ms) override
    {
        sleeps.push_back(ms);
        advance(ms);
    }
    void processEvents() override
    {
        if (onEvents)
            onEvents();
    }
    void runEventsFor(int ms) override
    {
        processEvents();
        if (m_clock == Clock::Real && fastPauses) {
            // Real transactions, pauses that cost little: a moment stays, for
            // the peer to take a frame no reply follows before the next one.
            const int stay = std::min(ms, 20);
            m_real.sleepMs(stay);
            m_skipped += ms - stay;
        } else {
            advance(ms);
        }
    }
    void waitForPort(SerialPort& port, int ms) override
    {
        processEvents();
        if (m_clock == Clock::Real) {
            m_real.waitForPort(port, ms);
            return;
        }
        const long due = port.msUntilReadable();
        now += std::min<long>(due >= 0 && due < ms ? due : ms, maxWaitStepMs);
    }

    std::string lastStatus(int panel) const
    {
        for (auto it = status.rbegin(); it != status.rend(); ++it)
            if (it->first == panel)
                return it->second;
        return {};
    }
    std::vector<std::string> messageTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& m : messages)
            texts.push_back(m.text);
        return texts;
    }

    std::int64_t now = 1'000'000;
    // A fake wait returns at least this often, as a real one does on events.
    long maxWaitStepMs = 1'000'000'000;
    // With the real clock: pauses (runEventsFor) move the clock without waiting.
    bool fastPauses = false;
    std::vector<Message> messages;
    std::vector<std::pair<int, std::string>> status;
    std::vector<int> sleeps;
    std::vector<MessageAnswer> answers;
    std::function<void()> onEvents;
    int locks = 0;
    int unlocks = 0;

private:
    void advance(int ms)
    {
        if (m_clock == Clock::Fake)
            now += ms;
        else
            m_real.sleepMs(ms);
    }
    MessageAnswer takeAnswer()
    {
        const MessageAnswer a = answers.front();
        answers.erase(answers.begin());
        return a;
    }

    struct RealClock final : SystemHost {
        MessageAnswer showMessage(const Message&) override { return MessageAnswer::Ok; }
        void setStatusPanel(int, const std::string&) override {}
    };
    Clock m_clock;
    RealClock m_real;
    std::int64_t m_skipped = 0;
};

} // namespace lumetra::test
