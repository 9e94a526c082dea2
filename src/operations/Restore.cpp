#include "operations/Restore.h"

#include "core/BarSteps.h"
#include "core/Prompts.h"
#include "core/UpgradeHistory.h"
#include "firmware/BackupRecord.h"
#include "firmware/ChainPlans.h"
#include "firmware/ImageStore.h"

using Outcome = OperationResult::Outcome;

Restore::Restore(const Context& context, ModemChannels& channels)
    : TransferOperation(context, channels) {}

void Restore::begin() {
  if (refusedWithoutAddress(Notice::Kind::EnterAddress)) return;
  ensureVersion("Restore stopped: no software version within 30 seconds."_t, [this] { checked(); });
}

void Restore::checked() {
  const Session& session = context_.session;
  if (!session.connected) {
    finish(Outcome::Unreachable);
    return;
  }
  std::vector<std::string> versions;
  for (const auto& v : channels_.store.backupVersions()) versions.push_back(v.display());
  if (versions.empty()) {
    context_.report({Notice::Kind::NoOldVersions});
    finish(Outcome::Refused);
    return;
  }
  std::optional<std::string> chosen = channels_.prompts.chooseRestoreVersion(versions);
  if (!chosen || chosen->empty()) {
    nothingDone();
    finish(Outcome::Refused, FailureCode::NoBackup);
    return;
  }
  version_ = ModemVersion::FromDisplayForm(*chosen);
  if (!session.runningVersion.allows(version_, session.reachableWithoutVersion)) {
    context_.report({Notice::Kind::SeriesConflict});
    context_.view.setStatus("Release Series conflict detected. Upgrade not possible."_t);
    finish(Outcome::Refused);
    return;
  }
  if (!ImageStore::nameTaken(channels_.store.backupChecksumPath(version_))) {
    context_.report({Notice::Kind::NoChecksumForRestore});
    finish(Outcome::Refused);
    return;
  }
  const std::string image = channels_.store.backupImagePath(version_);
  if (ImageStore::fileSize(image) == 0) {
    context_.report({Notice::Kind::EmptyImage, image});
    finish(Outcome::Refused);
    return;
  }
  if (refusedUnreadable({image, channels_.store.backupChecksumPath(version_)})) return;
  const Text altered = BackupProblem(
      ReadHistory(ImageStore::HistoryPath(session.backupDir)).entries, image,
      channels_.store.backupChecksumPath(version_), version_, session.trust.active());
  if (!altered.empty()) {
    const Notice why{Notice::Kind::BackupAltered, altered};
    context_.report(why);
    finish(Outcome::Refused, why);
    return;
  }
  // A restore that cannot be written whole falls back to the running
  // version's pair, when the store keeps one.
  const ModemVersion running = session.runningVersion;
  previous_ = running;
  const ModemVersion chosenVersion = version_;
  setRepairs({[this, chosenVersion] { return channels_.plans.restore(chosenVersion); },
              [this, running, chosenVersion]() -> std::optional<FtpPlan> {
                if (!running.known() || running == chosenVersion ||
                    !channels_.store.hasBackup(running))
                  return std::nullopt;
                return channels_.plans.putBack(running);
              },
              running.display(), channels_.store.backupImagePath(running)});
  context_.view.setStatus(
      Text("Preparing for Software Restore with version %1 ..."_t).arg(version_.fileForm()));
  context_.view.setProgress(BarAt(RestoreStep::Begun));
  if (session.runningVersion.known())
    prepareForDownload([this] { transfer(); });
  else
    transfer();
}

void Restore::transfer() {
  context_.view.setStatus(
      Text("Restoring Satellite IP Modem with version %1 ..."_t).arg(version_.fileForm()));
  setPhase(Phase::Upload);
  runChain(channels_.plans.restore(version_), {}, Notice::Kind::UploadTimedOut,
           [this](FtpChain::Outcome o) { chainEnded(o); },
           [this](FtpChain::Outcome o) {
             if (o != FtpChain::Outcome::Finished && o != FtpChain::Outcome::TimedOut)
               finish(Outcome::Failed);
           });
}

// The restart is ordered five seconds after "CLOSE", and a time-out is
// looked into at once; a failure waits for the operation's next look.
void Restore::chainEnded(FtpChain::Outcome outcome) {
  if (outcome == FtpChain::Outcome::Finished)
    restart(ModemRestart::Order::AfterTransfer,
            [this](const OperationResult& r) { restarted(r); });
  if (outcome == FtpChain::Outcome::TimedOut) readVersionAfterTimeout();
}

void Restore::restarted(const OperationResult& result) {
  const Session& session = context_.session;
  if (putBack()) {
    const Notice back{Notice::Kind::OldImagePutBack, previous_.display(), 0, session.modemAddress};
    context_.report(back);
    finish(Outcome::Failed, back);
    return;
  }
  if (!result.done()) {
    finishNotBack(result);
    return;
  }
  if (session.runningVersion != version_) {
    const Notice wrong{Notice::Kind::WrongVersionAfter, session.runningVersion.display(), 1,
                       version_.display()};
    context_.report(wrong);
    finish(Outcome::Failed, wrong);
    return;
  }
  finish(Outcome::Done);
}
