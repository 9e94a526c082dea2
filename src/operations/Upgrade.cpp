#include "operations/Upgrade.h"

#include <filesystem>
#include <system_error>

#include "core/BarSteps.h"
#include "core/RegularFile.h"
#include "core/UpgradeHistory.h"
#include "firmware/BackupRecord.h"
#include "firmware/ChainPlans.h"
#include "firmware/ImageStore.h"
#include "firmware/ReleaseCheck.h"

using Outcome = OperationResult::Outcome;
using Keep = ImageStore::Keep;

namespace {
constexpr int kFolderRetryMs = 200;
// Then the user is told what is waited for; at the limit the upgrade stops.
constexpr std::chrono::milliseconds kFolderNotice{2000};
constexpr std::chrono::milliseconds kFolderLimit{60000};
}  // namespace

Upgrade::Upgrade(const Context& context, ModemChannels& channels)
    : TransferOperation(context, channels), folderRetry_(context.timer(kFolderRetryMs)) {
  folderRetry_->onTick = [this] {
    const Keep kept = keepBackup();
    if (kept == Keep::Busy) return;
    folderRetry_->setEnabled(false);
    channels_.chain.resume(kept == Keep::Kept);
  };
}

void Upgrade::begin() {
  if (refusedWithoutAddress(Notice::Kind::EnterAddressCapitalA)) return;
  ensureVersion("Upgrade stopped: no software version within 30 seconds."_t, [this] { checked(); });
}

void Upgrade::stop() {
  TransferOperation::stop();
  dropHalfBackup();
}

void Upgrade::checked() {
  const Session& session = context_.session;
  // A failed query or connection test has told the user already.
  if (!session.connected) {
    finish(Outcome::Unreachable);
    return;
  }
  if (!session.runningVersion.allows(session.newVersion, session.reachableWithoutVersion)) {
    context_.report({Notice::Kind::SeriesConflict});
    context_.view.setStatus("Release Series conflict detected. Upgrade not possible."_t);
    finish(Outcome::Refused);
    return;
  }
  if (!releaseAccepted()) return;
  const std::string image = channels_.store.newImagePath();
  if (ImageStore::fileSize(image) == 0) {
    context_.report({Notice::Kind::EmptyImage, image});
    finish(Outcome::Refused);
    return;
  }
  // Refused before anything goes out, whichever branch follows: an image
  // without its checksum file would start without one. Something else under
  // its name is no missing file: it is named below as unreadable.
  if (!ImageStore::nameTaken(channels_.store.newChecksumPath())) {
    context_.report({Notice::Kind::NoChecksumForUpgrade});
    context_.view.setStatus("");
    finish(Outcome::Refused);
    return;
  }
  std::vector<std::string> sent = {image, channels_.store.newChecksumPath()};
  if (context_.view.autoPicUpgrade() && !channels_.store.picFile().empty())
    sent.push_back(channels_.store.picPath());
  if (refusedUnreadable(sent)) return;
  context_.view.setProgress(BarAt(UpgradeStep::Begun));
  backupFound_ = channels_.store.hasBackup(session.runningVersion);
  // A pair found is what a broken upload falls back to, and restarts into:
  // trusted only when the history's record of it matches. Else a fresh
  // copy from the modem replaces it.
  if (backupFound_ && session.unfinishedUploadSince.empty()) {
    const ModemVersion& running = session.runningVersion;
    untrustedPair_ = !BackupProblem(ReadHistory(ImageStore::HistoryPath(session.backupDir)).entries,
                                    channels_.store.backupImagePath(running),
                                    channels_.store.backupChecksumPath(running), running, true)
                          .empty();
    backupFound_ = !untrustedPair_;
  }
  // After an upload that never ended the modem's file is not the image it
  // runs: kept as its backup, it would be put back and restarted into.
  backupSkipped_ = !backupFound_ && !session.unfinishedUploadSince.empty();
  // A backup that cannot be stored stops the upgrade: found now, before the
  // prepare command and the download.
  if (!backupFound_ && !backupSkipped_) {
    const std::string probe = channels_.store.temporaryPath("probe");
    RegularFile file;
    if (!file.open(probe, RegularFile::Mode::CreateNew)) {
      const Notice why{
          Notice::Kind::BackupNotKept,
          Text("Cannot create a file in %1: %2"_t).arg(session.backupDir).arg(file.error())};
      nothingDone();
      context_.report(why);
      context_.view.setStatus("");
      finish(Outcome::Failed, why);
      return;
    }
    file.close();
    std::error_code ec;
    std::filesystem::remove(probe, ec);
  }
  backupVersion_ = session.runningVersion;
  // The running image's pair, once kept, is what a broken upload falls back to.
  const ModemVersion running = session.runningVersion;
  setRepairs({[this] { return channels_.plans.upgrade(nullptr); },
              [this, running]() -> std::optional<FtpPlan> {
                if (!running.known() || !channels_.store.hasBackup(running)) return std::nullopt;
                if (untrustedPair_) return std::nullopt;  // no fresh one replaced it
                return channels_.plans.putBack(running);
              },
              running.display(), channels_.store.backupImagePath(running)});
  if (!session.runningVersion.known()) {
    transfer();
    return;
  }
  context_.view.setStatus(
      Text("Preparing for Upgrade with version %1 ..."_t).arg(session.newVersion.display()));
  prepareForDownload([this] { transfer(); });
}

bool Upgrade::releaseAccepted() {
  Session& session = context_.session;
  // Checked again at each upgrade: the files may have changed since start-up.
  const ReleaseVerdict verdict =
      CheckRelease(session.trust, session.homeDir, session.newVersion, channels_.store.picFile());
  session.releaseSigner = verdict.signer;
  Notice refusal{Notice::Kind::ReleaseRefused, verdict.problem};
  if (verdict.state != ReleaseVerdict::State::Refused) {
    if (!verdict.manifest) return true;
    refusal = {Notice::Kind::ReleaseIncompatible,
               CompatibilityProblem(*verdict.manifest, session.runningVersion)};
    if (refusal.detail.empty()) return true;
  }
  context_.report(refusal);
  context_.view.setStatus("Upgrade refused: the release did not pass its checks."_t);
  finish(Outcome::Refused, refusal);
  return false;
}

void Upgrade::transfer() {
  auto atOnce = [this](FtpChain::Outcome o) { chainEnded(o); };
  auto atLook = [this](FtpChain::Outcome o) { chainSeenEnded(o); };
  if (backupFound_ || backupSkipped_) {
    // The store holds the running image already, or the modem holds none
    // whole: the new one goes up at once.
    context_.view.setProgress(BarAt(UpgradeStep::UploadAtOnce));
    setPhase(Phase::Upload);
    runChain(channels_.plans.upgrade(nullptr), {}, Notice::Kind::UploadTimedOut, atOnce, atLook);
    return;
  }
  backupFiles_ = {channels_.store.temporaryPath("kova_" + backupVersion_.fileForm() + ".bin"),
                  channels_.store.temporaryPath("chk_" + backupVersion_.fileForm() + ".txt")};
  context_.view.setStatus("Downloading Satellite IP Modem software to PC..."_t);
  setPhase(Phase::Backup);
  runChain(channels_.plans.upgrade(&backupFiles_), {}, Notice::Kind::BackupTimedOut, atOnce,
           atLook);
}

void Upgrade::stepIssued(const FtpStep& step) {
  const bool backup = step.state == FtpState::GetImage || step.state == FtpState::GetChecksum;
  setPhase(backup ? Phase::Backup : Phase::Upload);
}

bool Upgrade::stepCompleted(const FtpStep& step) {
  // An empty backup is none: the modem keeps its image.
  if ((step.state == FtpState::GetImage || step.state == FtpState::GetChecksum) &&
      ImageStore::fileSize(step.command.local) <= 0)
    return stopBeforeSending({Notice::Kind::BackupEmpty, step.command.remote});
  if (step.completesBackup) {
    folderWaitStarted_ = context_.loop().now();
    folderWaitTold_ = false;
    const Keep kept = keepBackup();
    if (kept == Keep::Failed) return false;
    if (kept == Keep::Busy) channels_.chain.hold();
  }
  return true;
}

std::string Upgrade::keptName(const std::string& local) const {
  if (!local.empty() && local == backupFiles_.image)
    return channels_.store.backupImagePath(backupVersion_);
  if (!local.empty() && local == backupFiles_.checksum)
    return channels_.store.backupChecksumPath(backupVersion_);
  return local;
}

Keep Upgrade::keepBackup() {
  Text error;
  std::string holder;
  const Keep kept = channels_.store.keepBackup(backupVersion_, backupFiles_.image,
                                               backupFiles_.checksum, untrustedPair_, error,
                                               holder);
  if (kept == Keep::Kept) untrustedPair_ = false;
  if (kept == Keep::Failed) {
    stopBeforeSending({Notice::Kind::BackupNotKept, error});
  } else if (kept == Keep::Kept) {
    fileRenamed(backupFiles_.image, channels_.store.backupImagePath(backupVersion_));
    fileRenamed(backupFiles_.checksum, channels_.store.backupChecksumPath(backupVersion_));
    backupFiles_ = {};
  } else {
    const auto waited = context_.loop().now() - folderWaitStarted_;
    const std::string what = holder.empty() ? "another process holds it"_t : holder;
    if (waited >= kFolderLimit) {
      stopBeforeSending({Notice::Kind::BackupFolderBusy, what});
      return Keep::Failed;
    }
    if (waited >= kFolderNotice && !folderWaitTold_) {
      folderWaitTold_ = true;
      context_.view.setStatus(Text("Waiting for the backup folder: %1"_t).arg(what));
    }
    if (!folderRetry_->enabled()) folderRetry_->setEnabled(true);
  }
  return kept;
}

bool Upgrade::stopBeforeSending(const Notice& why) {
  dropHalfBackup();
  context_.report(why);
  context_.view.setStatus("");
  return false;
}

void Upgrade::dropHalfBackup() {
  folderRetry_->setEnabled(false);
  std::error_code ec;
  for (const std::string& file : {backupFiles_.image, backupFiles_.checksum})
    if (!file.empty()) std::filesystem::remove(file, ec);
  backupFiles_ = {};
}

// The restart is ordered five seconds after "CLOSE", and a time-out is
// looked into at once; the rest waits for the operation's next look.
void Upgrade::chainEnded(FtpChain::Outcome outcome) {
  // The reflash follows the next version read, after the restart, once
  // pic.hex read back intact with the new software.
  if (outcome == FtpChain::Outcome::Finished && !putBack() && wentUp("/pic.hex"))
    context_.session.picReflashPending = true;
  if (outcome == FtpChain::Outcome::Finished)
    restart(ModemRestart::Order::AfterTransfer,
            [this](const OperationResult& r) { restarted(r); });
  if (outcome == FtpChain::Outcome::TimedOut) readVersionAfterTimeout([this] { dropHalfBackup(); });
}

void Upgrade::chainSeenEnded(FtpChain::Outcome outcome) {
  dropHalfBackup();
  if (outcome != FtpChain::Outcome::Finished && outcome != FtpChain::Outcome::TimedOut)
    finish(Outcome::Failed);
}

void Upgrade::restarted(const OperationResult& result) {
  const Session& session = context_.session;
  if (putBack()) {
    const Notice back{Notice::Kind::OldImagePutBack, backupVersion_.display(), 0,
                      session.modemAddress};
    context_.report(back);
    finish(Outcome::Failed, back);
    return;
  }
  if (!result.done()) {
    finishNotBack(result);
    return;
  }
  // A modem that took the image but still runs another has not been upgraded.
  if (session.runningVersion != session.newVersion) {
    const Notice wrong{Notice::Kind::WrongVersionAfter, session.runningVersion.display(), 0,
                       session.newVersion.display()};
    context_.report(wrong);
    finish(Outcome::Failed, wrong);
    return;
  }
  finish(Outcome::Done);
}
