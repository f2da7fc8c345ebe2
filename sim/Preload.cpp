#include "Preload.h"

#include "LoopbackPort.h"

#include "comm/CommSession.h"
#include "files/SettingsFile.h"
#include "transfer/TransferRun.h"

namespace lumetra::sim {

namespace {
// Time that only moves when the download waits, and a note of the first
// message the download shows.
class InstantHost : public Host {
public:
    MessageAnswer showMessage(const Message& m) override
    {
        if (firstMessage.empty())
            firstMessage = m.text;
        return MessageAnswer::Ok;
    }
    void setStatusPanel(int, const std::string&) override {}
    void lockControls(FormId) override {}
    void unlockControls(FormId) override {}
    std::int64_t tickMs() override { return now; }
    void sleepMs(int ms) override { now += ms; }
    void processEvents() override {}
    void runEventsFor(int ms) override { now += ms; }
    void waitForPort(SerialPort& port, int ms) override
    {
        const long due = port.msUntilReadable();
        now += due >= 0 && due < ms ? due : ms;
    }

    std::int64_t now = 0;
    std::string firstMessage;
};
} // namespace

std::string preloadUnit(VirtualLine& line, int slaveId, const std::string& settingsFile)
{
    VirtualUnit* unit = line.unit(slaveId);
    if (!unit)
        return "no unit with ID " + std::to_string(slaveId);
    SettingsImage image;
    std::string reason;
    StringTable strings;
    SettingsDocument doc;
    int rc = LoadImageFromFile(settingsFile, image, &reason);
    if (rc == 0)
        rc = doc.read(image, Result::OpenFailed);
    if (rc != 0)
        return resultMessage(rc, strings).text + " " + settingsFile + (reason.empty() ? "" : " (" + reason + ")");
    return preloadUnit(line, slaveId, doc);
}

std::string preloadUnit(VirtualLine& line, int slaveId, SettingsDocument doc)
{
    VirtualUnit* unit = line.unit(slaveId);
    if (!unit)
        return "no unit with ID " + std::to_string(slaveId);
    StringTable strings;
    InstantHost host;
    CommSession session(host, strings, [&](int) { return std::make_unique<LoopbackPort>(line, [&host] { return host.now; }); });
    session.state().DeviceId = slaveId;
    session.state().protocol = line.protocol();
    // The unit restarts at the end, and the pauses let it (on this clock they cost nothing).
    TransferProgress progress;
    const auto faults = unit->faults();
    unit->faults() = {};
    const int rc = runTransfer(session, OperationKind::Download, downloadTarget(doc), doc, progress);
    unit->faults() = faults;
    if (rc != 0)
        return host.firstMessage.empty() ? resultMessage(rc, strings).text : host.firstMessage;
    return {};
}

} // namespace lumetra::sim
