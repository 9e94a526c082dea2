#include "operations/TransferOperation.h"

#include <filesystem>
#include <system_error>

#include "core/Sha256.h"
#include "firmware/ImageStore.h"

namespace fs = std::filesystem;

FileMoved MovedFile(const FtpCommand& command, const std::string& home) {
  FileMoved file;
  file.direction = command.kind == FtpCommand::Get ? FileMoved::Direction::Download
                                                   : FileMoved::Direction::Upload;
  file.local = command.local;
  file.remote = command.remote;
  fs::path path(command.local);
  if (path.is_relative()) path = fs::path(home) / path;
  std::error_code ec;
  auto size = fs::file_size(path, ec);
  if (!ec) file.size = static_cast<long long>(size);
  file.sha256 = Sha256OfFile(path.string()).value_or("");
  return file;
}

TransferOperation::TransferOperation(const Context& context, ModemChannels& channels)
    : Operation(context),
      channels_(channels),
      versionRead_(context, channels),
      timeoutRead_(context, channels, /*reportFtpTimeout=*/true),
      restart_(context, channels),
      versionWait_(context),
      prepareWait_(context),
      chainLook_(context.timer(kChainRoundMs)),
      repairPause_(context.timer(kRepairPauseMs)) {
  repairPause_->onTick = [this] {
    repairPause_->setEnabled(false);
    auto then = std::move(afterPause_);
    if (then) then();
  };
  chainLook_->onTick = [this] {
    ++looks_;
    const bool limit = looks_ >= watch_.rounds;
    if (repairing_) {
      chainLook_->setEnabled(false);
      return;
    }
    // The limit of a chain that may have left half an image: repaired, not
    // given up.
    if (limit && !chainEnd_ && channels_.chain.repairing()) {
      chainLook_->setEnabled(false);
      channels_.chain.breakOff();
      return;
    }
    if (chainEnd_ && !(limit && watch_.limitFirst)) {
      chainLook_->setEnabled(false);
      auto atLook = std::move(atLook_);
      atLook(*chainEnd_);
      return;
    }
    if (!limit) return;
    chainLook_->setEnabled(false);
    // Nothing the chain started may go on while the user is told, nor after.
    timeoutRead_.abandon();
    restart_.abandon();
    channels_.telnet.cancel();
    channels_.chain.abandon(whyGivenUp_);
    auto atLook = std::move(atLook_);
    atLook(FtpChain::Outcome::Abandoned);
  };
}

void TransferOperation::stop() {
  // Ended after the image began to go up and before it was found whole (or
  // the old one put back): the flash may hold part of it.
  if (announced_ && modemHolds() == ModemHolds::Untouched)
    setModemHolds(ModemHolds::Incomplete, "");
  repairPause_->setEnabled(false);
  afterPause_ = nullptr;
  versionWait_.stop();
  prepareWait_.stop();
  chainLook_->setEnabled(false);
  versionRead_.abandon();
  timeoutRead_.abandon();
  restart_.abandon();
  channels_.telnet.cancel();
  channels_.chain.cancel();
}

void TransferOperation::ensureVersion(const std::string& stoppedText,
                                      std::function<void()> then) {
  if (context_.session.runningVersion.known()) {
    then();
    return;
  }
  setPhase(Phase::Version);
  versionWait_.start(kShortRoundMs, kVersionQueryWaitMs / kShortRoundMs, [this, stoppedText] {
    versionRead_.abandon();
    context_.view.setStatus(stoppedText);
    finish(OperationResult::Outcome::Failed, FailureCode::VersionUnknown);
  });
  runInside(versionRead_, [this, then = std::move(then)](const OperationResult&) {
    versionWait_.stop();
    then();
  });
  // Once the reply has started a pending reflash, the read lasts through it.
  versionRead_.onProgress.add([this](const Progress& p) {
    if (p.phase == Phase::Reflash) versionWait_.setRounds(kReflashWaitMs / kShortRoundMs);
  });
}

void TransferOperation::prepareForDownload(std::function<void()> then) {
  setPhase(Phase::Prepare);
  auto going = std::make_shared<std::function<void()>>(std::move(then));
  prepareWait_.start(kShortRoundMs, kPrepareWaitMs / kShortRoundMs, [this, going] {
    channels_.telnet.cancel();
    context_.view.setStatus("No answer to the prepare command; going on without it."_t);
    (*going)();
  });
  channels_.telnet.prepareForDownload([this, going](TelnetSession::Outcome) {
    prepareWait_.stop();
    (*going)();
  });
}

void TransferOperation::runChain(FtpPlan plan, ChainWatch watch, Notice::Kind whyGivenUp,
                                 std::function<void(FtpChain::Outcome)> atOnce,
                                 std::function<void(FtpChain::Outcome)> atLook) {
  firstWatch_ = watch;
  firstWhyGivenUp_ = whyGivenUp;
  atOnce_ = std::move(atOnce);
  atLook_ = std::move(atLook);
  attempts_ = 1;
  target_ = ModemHolds::NewImage;
  announced_ = false;
  startChain(std::move(plan));
}

void TransferOperation::startChain(FtpPlan plan) {
  watch_ = firstWatch_;
  whyGivenUp_ = firstWhyGivenUp_;
  looks_ = 0;
  chainEnd_.reset();
  sent_.clear();
  readBackWrong_ = false;
  repairing_ = false;
  appendReadBacks(plan);
  chainLook_->setInterval(watch_.roundMs);
  chainLook_->setEnabled(false);
  chainLook_->setEnabled(true);
  FtpChain::Hooks hooks;
  hooks.onStepIssued = [this](const FtpStep& step) {
    stepStarted_ = context_.loop().now();
    issued(step);
  };
  hooks.onTransfer = [this](const FtpStep& step, long long done, long long total) {
    const FtpCommand& c = step.command;
    // Since when nothing moved: a stall is told as one, not as a slow rate.
    const std::optional<Transfer>& before = progress().transfer;
    const bool same = before && before->remote == c.remote && before->started == stepStarted_;
    const auto lastMoved = done > (same ? before->done : 0) ? context_.loop().now()
                           : same                           ? before->lastMoved
                                                            : stepStarted_;
    setTransfer(Transfer{
        c.kind == FtpCommand::Put ? FileMoved::Direction::Upload : FileMoved::Direction::Download,
        keptName(c.local), c.remote, done, total, stepStarted_, lastMoved});
  };
  hooks.onStepCompleted = [this](const FtpStep& step) {
    setTransfer(std::nullopt);
    if (step.readBack) return checkReadBack(step);
    if (step.command.movesFile()) {
      FileMoved file = MovedFile(step.command, context_.session.homeDir);
      if (file.direction == FileMoved::Direction::Upload) sent_[file.remote] = file;
      addFile(std::move(file));
    }
    return stepCompleted(step);
  };
  channels_.chain.start(
      std::move(plan),
      [this](FtpChain::Outcome o) {
        chainEnd_ = o;
        if (o == FtpChain::Outcome::Broken || (o == FtpChain::Outcome::Failed && readBackWrong_)) {
          repair();
          return;
        }
        if (o == FtpChain::Outcome::Finished && wentUp("/bin/kova.bin"))
          setModemHolds(target_, verifiedImage_);
        if (atOnce_) atOnce_(o);
      },
      std::move(hooks));
}

void TransferOperation::issued(const FtpStep& step) {
  const FtpCommand& command = step.command;
  if (command.kind == FtpCommand::Put && !pinned_.count(command.local))
    pinned_[command.local] = Sha256OfFile(command.local).value_or("");
  if (step.starterRepairs && !announced_) {
    // On record before its first byte: a run that never ends is known later.
    announced_ = true;
    onImageUploadBegins(uploadStart(step));
  }
  if (step.readBack)
    setPhase(Phase::Verify);
  else
    stepIssued(step);
}

ImageUploadStart TransferOperation::uploadStart(const FtpStep& step) const {
  ImageUploadStart start;
  start.image = step.command.local;
  start.size = ImageStore::fileSize(step.command.local);
  start.sha256 = pinned_.at(step.command.local);
  if (repairs_.putBack && repairs_.putBack()) start.backupImage = repairs_.putBackImage;
  return start;
}

// What went up to these files is read back and compared byte for byte
// with what was sent, before the chain closes.
void TransferOperation::appendReadBacks(FtpPlan& plan) {
  struct Checked {
    const char* remote;
    FtpState state;
  };
  for (const Checked& c : {Checked{"/bin/kova.bin", FtpState::ReadBackImage},
                           Checked{"/checksum.txt", FtpState::ReadBackChecksum},
                           Checked{"/pic.hex", FtpState::ReadBackPic}}) {
    FtpStep step;
    step.state = c.state;
    step.command = FtpCommand::MakeCompare(c.remote, {});  // the file sent, once known
    step.readBack = true;
    if (c.state == FtpState::ReadBackImage)
      step.status = "Verifying the software stored on the Satellite IP Modem..."_t;
    const std::string remote = c.remote;
    step.onlyIf = [this, remote] { return wentUp(remote); };
    step.localFrom = [this, remote] { return sent_.at(remote).local; };
    plan.steps.push_back(std::move(step));
  }
}

bool TransferOperation::checkReadBack(const FtpStep& step) {
  const auto sent = sent_.find(step.command.remote);
  const auto pinned = sent == sent_.end() ? pinned_.end() : pinned_.find(sent->second.local);
  if (!channels_.chain.sameAsLocal() || sent == sent_.end() || sent->second.sha256.empty() ||
      pinned == pinned_.end() || pinned->second != sent->second.sha256) {
    // Not what was sent, or not what was meant to be: sent again on a fresh
    // connection (a file that keeps changing ends in the old image put back).
    readBackWrong_ = true;
    return false;
  }
  // Byte for byte the file sent: what the modem holds hashes to its digest.
  if (step.command.remote == "/bin/kova.bin") verifiedImage_ = sent->second.sha256;
  return true;
}

// The image (or a file after it) broke on its way or read back wrong: the
// same files go up again, then the previous image; the modem restarts only
// into what read back whole.
void TransferOperation::repair() {
  repairing_ = true;
  chainLook_->setEnabled(false);
  std::optional<FtpPlan> next;
  if (attempts_ < kImageAttempts) {
    ++attempts_;
    next = target_ == ModemHolds::NewImage ? repairs_.again() : repairs_.putBack();
    context_.view.setStatus(
        Text("The transfer did not arrive whole; sending it again (attempt %1 of %2)..."_t)
            .arg(attempts_)
            .arg(kImageAttempts));
  } else if (target_ == ModemHolds::NewImage && repairs_.putBack &&
             (next = repairs_.putBack())) {
    target_ = ModemHolds::OldImage;
    attempts_ = 1;
    // The new software's PIC file is not for the old software.
    context_.session.picReflashPending = false;
    context_.view.setStatus(
        Text("The new software could not be written whole; putting back version %1..."_t)
            .arg(repairs_.putBackVersion));
  }
  if (!next || !repairs_.again) {
    incomplete();
    return;
  }
  afterPause_ = [this, plan = std::move(*next)]() mutable { startChain(std::move(plan)); };
  repairPause_->setEnabled(true);
}

void TransferOperation::incomplete() {
  repairing_ = false;
  context_.session.picReflashPending = false;
  setModemHolds(ModemHolds::Incomplete, "");
  const Notice told{Notice::Kind::ImageIncomplete, "", 0, context_.session.modemAddress};
  context_.report(told);
  context_.view.setStatus("");
  finish(OperationResult::Outcome::Failed, told);
}

void TransferOperation::readVersionAfterTimeout(std::function<void()> then) {
  setPhase(Phase::Check);
  runInside(timeoutRead_, [this, then = std::move(then)](const OperationResult&) {
    // The operation ends here, whether or not its look at the chain came.
    chainLook_->setEnabled(false);
    if (then) then();
    finish(OperationResult::Outcome::Failed);
  });
}

void TransferOperation::restart(ModemRestart::Order order,
                                std::function<void(const OperationResult&)> then) {
  restart_.setOrder(order);
  runInside(restart_, std::move(then));
}

void TransferOperation::finishNotBack(const OperationResult& restart) {
  if (restart.outcome == OperationResult::Outcome::Unreachable)
    failWith(FailureCode::VersionUnknown);
  else
    finish(restart.outcome);
}
