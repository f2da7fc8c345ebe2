#include "TransferCommands.h"

#include "InterruptWatch.h"

#include "comm/CommSetup.h"
#include "files/AtomicFile.h"
#include "files/SettingsFile.h"
#include "transfer/TransferRun.h"

#include <filesystem>
#include <iostream>

namespace lumetra::cli {

namespace {

int loadDocument(CommSession& session, const std::string& path, SettingsDocument& doc)
{
    SettingsImage image;
    std::string reason;
    int rc = LoadImageFromFile(path, image, &reason);
    if (rc == 0)
        rc = doc.read(image, Result::OpenFailed);
    if (rc != 0)
        reportResult(session, rc, reason.empty() ? path : reason);
    return rc;
}

} // namespace

int searchCommand(CommSession& session, ConsoleHost& host, std::ostream& out)
{
    CommSetupState state;
    CommSetup setup(session, state);
    CommSetupForm form = setup.load();
    InterruptWatch interrupt;
    host.onEvents = [&] {
        if (form.searching && interrupt.interrupted())
            setup.stop(form);
    };
    setup.search(form);
    host.onEvents = nullptr;
    for (const std::string& entry : form.autoEntries)
        out << entry << "\n";
    return form.autoEntries.empty() ? Result::CommError : 0;
}

int uploadCommand(CommSession& session, ConsoleHost& host, const std::string& path, bool force)
{
    if (!force && std::filesystem::exists(path)) {
        return usageError(std::cerr, "--output: " + path + " exists; use --force to replace it");
    }
    // Refused before the unit is read, not after.
    std::string reason;
    if (!checkWritableTarget(path, reason))
        return reportResult(session, Result::SaveFailed, reason);
    SettingsDocument doc;
    TransferProgress progress;
    int rc = transferCommand(session, OperationKind::Upload, TransferTarget::DqAll, doc, progress, FormId::MainWindow);
    if (rc == 0) {
        SettingsImage image;
        doc.writeUnchecked(image); // the unit's values as they are, checked or not
        if ((rc = SaveImageToFile(path, image, &reason)) != 0)
            reportResult(session, rc, reason);
    }
    host.printFinalStatus(rc != 0);
    return rc;
}

int downloadCommand(CommSession& session, ConsoleHost& host, const std::string& path, const std::string& part)
{
    SettingsDocument doc;
    if (const int rc = loadDocument(session, path, doc))
        return rc;
    TransferTarget target = TransferTarget::DqAll;
    if (part == "A" || part == "B") {
        if (doc.machineType() != MachineType::DQ || doc.dq().functionGroup != 0) {
            return usageError(std::cerr, "--part: " + part + " needs a DQ setting with a timer on channel A (function modes 0 and 1)");
        }
        target = part == "A" ? TransferTarget::DqChannelA : TransferTarget::DqChannelB;
    }
    TransferProgress progress;
    const int rc = transferCommand(session, OperationKind::Download, downloadTarget(doc, target), doc, progress, FormId::MainWindow);
    host.printFinalStatus(rc != 0);
    return rc;
}

int compareCommand(CommSession& session, ConsoleHost& host, const std::string& path)
{
    SettingsDocument doc;
    if (const int rc = loadDocument(session, path, doc))
        return rc;
    TransferProgress progress;
    std::uint16_t address = 0;
    int rc = transferCommand(session, OperationKind::Compare, TransferTarget::DqAll, doc, progress, FormId::MainWindow, &address);
    host.printFinalStatus(rc != 0);
    if (rc == 0 && address != 0)
        rc = kExitDifferent;
    return rc;
}

} // namespace lumetra::cli
