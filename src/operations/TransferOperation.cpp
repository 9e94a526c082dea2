#include "operations/TransferOperation.h"

#include <filesystem>
#include <system_error>

#include "core/Sha256.h"

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
      chainLook_(context.timer(kChainRoundMs)) {
  chainLook_->onTick = [this] {
    ++looks_;
    const bool limit = looks_ >= watch_.rounds;
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
  setPhase("version");
  versionWait_.start(kShortRoundMs, kVersionQueryWaitMs / kShortRoundMs, [this, stoppedText] {
    versionRead_.abandon();
    context_.view.setStatus(stoppedText);
    finish(OperationResult::Outcome::Failed);
  });
  runInside(versionRead_, [this, then = std::move(then)](const OperationResult&) {
    versionWait_.stop();
    then();
  });
  // Once the reply has started a pending reflash, the read lasts through it.
  versionRead_.onProgress.add([this](const Progress& p) {
    if (p.phase == "reflash") versionWait_.setRounds(kReflashWaitMs / kShortRoundMs);
  });
}

void TransferOperation::prepareForDownload(std::function<void()> then) {
  setPhase("prepare");
  auto going = std::make_shared<std::function<void()>>(std::move(then));
  prepareWait_.start(kShortRoundMs, kPrepareWaitMs / kShortRoundMs, [this, going] {
    channels_.telnet.cancel();
    context_.view.setStatus("No answer to the prepare command; going on without it.");
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
  watch_ = watch;
  looks_ = 0;
  chainEnd_.reset();
  whyGivenUp_ = whyGivenUp;
  atLook_ = std::move(atLook);
  chainLook_->setInterval(watch.roundMs);
  chainLook_->setEnabled(false);
  chainLook_->setEnabled(true);
  channels_.chain.onStepIssued = [this](const FtpStep& step) {
    stepStarted_ = context_.loop().now();
    stepIssued(step);
  };
  channels_.chain.onTransfer = [this](const FtpStep& step, long long done, long long total) {
    const FtpCommand& c = step.command;
    setTransfer(Transfer{c.kind == FtpCommand::Get ? FileMoved::Direction::Download
                                                   : FileMoved::Direction::Upload,
                         c.local, c.remote, done, total, stepStarted_});
  };
  channels_.chain.onStepCompleted = [this](const FtpStep& step) {
    if (step.command.movesFile()) addFile(MovedFile(step.command, context_.session.homeDir));
    setTransfer(std::nullopt);
    return stepCompleted(step);
  };
  channels_.chain.start(std::move(plan),
                        [this, atOnce = std::move(atOnce)](FtpChain::Outcome o) {
                          chainEnd_ = o;
                          if (atOnce) atOnce(o);
                        });
}

void TransferOperation::readVersionAfterTimeout(std::function<void()> then) {
  setPhase("check");
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
