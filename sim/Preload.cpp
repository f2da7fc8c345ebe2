#include "Preload.h"

#include "InstantHost.h"
#include "LoopbackPort.h"

#include "comm/CommSession.h"
#include "files/SettingsFile.h"
#include "transfer/TransferRun.h"

namespace lumetra::sim {

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
