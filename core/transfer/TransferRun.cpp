#include "TransferRun.h"

#include "Compare.h"
#include "Upload.h"

#include "comm/CommSession.h"

namespace lumetra {

TransferWindowSpec transferWindowSpec(OperationKind kind)
{
    switch (kind) {
    case OperationKind::Upload: return {Text::CaptionUpload, 40};
    case OperationKind::Download: return {Text::CaptionDownload, 800};
    case OperationKind::Compare: return {Text::CaptionCompare, 40};
    }
    return {Text::None, 40};
}

TransferTarget downloadTarget(const SettingsDocument& doc, TransferTarget dqTarget)
{
    if (doc.machineType() == MachineType::DQ)
        return dqTarget;
    return TqCqSettings::isTimerMode(doc.tqcq().functionMode) ? TransferTarget::Tq : TransferTarget::Cq;
}

namespace {
void succeed(CommSession& session, Text stringId, const char* title)
{
    const std::string text = session.strings().text(stringId);
    session.host().setStatusPanel(StatusPanel::Transfer, text);
    if (title) {
        Message m;
        m.text = text;
        m.title = title;
        m.icon = MessageIcon::Information;
        session.host().showMessage(m);
    }
}

int routine(CommSession& session, OperationKind kind, TransferTarget target, SettingsDocument& doc, TransferProgress& progress,
            std::uint16_t& differingAddress)
{
    switch (kind) {
    case OperationKind::Upload: {
        SettingsImage image;
        if (const int rc = Upload(session, image))
            return rc;
        succeed(session, Text::MsgUploadDone, "Upload");
        // The editor of the unit's type is filled as a file would fill it.
        SettingsDocument uploaded;
        if (const int rc = uploaded.read(image, Result::UploadFailed)) {
            session.ShowCommError(rc);
            return rc;
        }
        doc = uploaded;
        return Result::Ok;
    }
    case OperationKind::Download: {
        int rc = 0;
        if (target == TransferTarget::Tq || target == TransferTarget::Cq) {
            rc = downloadTqCq(session, doc.tqcq(), progress);
        } else {
            DqImages images;
            rc = downloadDq(session, doc.dq(), target, images, progress);
        }
        if (rc == 0)
            succeed(session, Text::MsgDownloadDone, "Download");
        return rc;
    }
    case OperationKind::Compare: {
        const int rc = Compare_All(session, doc, differingAddress, progress);
        if (rc == 0)
            succeed(session, Text::MsgCompareDone, nullptr);
        return rc;
    }
    }
    return Result::Ok;
}
} // namespace

int runTransfer(CommSession& session, OperationKind kind, TransferTarget target, SettingsDocument& doc, TransferProgress& progress,
                std::uint16_t* differingAddress)
{
    std::uint16_t address = 0;
    const int rc = routine(session, kind, target, doc, progress, address);
    if (differingAddress)
        *differingAddress = address;
    if (rc != 0) {
        const Text failureText = kind == OperationKind::Upload     ? Text::MsgUploadFailed
                                 : kind == OperationKind::Download ? Text::MsgDownloadFailed
                                                                   : Text::MsgCompareFailed;
        session.host().setStatusPanel(StatusPanel::Transfer, session.strings().text(failureText));
    }
    return rc;
}

int beginTransferCommand(CommSession& session, OperationKind kind, TransferTarget target)
{
    const Text startText = kind == OperationKind::Upload     ? Text::StatusRead
                          : kind == OperationKind::Download ? Text::StatusWrite
                                                            : Text::StatusCompare;
    session.host().setStatusPanel(StatusPanel::Transfer, session.strings().text(startText));
    const bool checksId = !(kind == OperationKind::Download && (target == TransferTarget::DqChannelA || target == TransferTarget::DqChannelB));
    const int id = session.state().DeviceId;
    if (checksId && (id < 0 || id > 255)) {
        if (kind == OperationKind::Upload)
            session.host().setStatusPanel(StatusPanel::Transfer, session.strings().text(Text::MsgWrongDeviceId));
        session.ShowCommError(Result::WrongDeviceId);
        return Result::WrongDeviceId;
    }
    return Result::Ok;
}

int transferCommand(CommSession& session, OperationKind kind, TransferTarget target, SettingsDocument& doc,
                    TransferProgress& progress, FormId form, std::uint16_t* differingAddress)
{
    if (const int rc = beginTransferCommand(session, kind, target))
        return rc;
    session.LockControls(form);
    const int rc = runTransfer(session, kind, target, doc, progress, differingAddress);
    session.UnlockControls(form);
    return rc;
}

} // namespace lumetra
