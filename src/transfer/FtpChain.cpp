#include "transfer/FtpChain.h"

#include <cctype>

#include "core/ModemAddress.h"

FtpChain::FtpChain(const Context& context, int ftpPort)
    : context_(context),
      client_(context.platform.createFtpClient(ftpPort)),
      watchdog_(context.timer(kRequestLimitMs)) {
  client_->onStateChanged = [this](int state) { stateChanged(state); };
  client_->onProgress = [this](long long done, long long total) {
    // Called through a copy: a hook may end the chain, which drops them all.
    auto hook = hooks_.onTransfer;
    if (outstanding_ && current_ < plan_.steps.size() && hook)
      hook(plan_.steps[current_], done, total);
  };
  watchdog_->onTick = [this] { watchdog(); };
}

FtpChain::~FtpChain() {
  client_->onStateChanged = nullptr;
  client_->onProgress = nullptr;
}

bool FtpChain::idle() const { return !watchdog_->enabled(); }

// The listener hears last, once the chain is settled; an end is told once.
void FtpChain::tell(Outcome outcome) {
  held_ = false;
  hooks_ = {};
  Listener listener = std::move(listener_);
  if (listener) listener(outcome);
}

void FtpChain::start(FtpPlan plan, Listener listener, Hooks hooks) {
  plan_ = std::move(plan);
  listener_ = std::move(listener);
  hooks_ = std::move(hooks);
  chosenFinish_.reset();
  current_ = 0;
  repairing_ = false;
  // An address that is no address fails as an unreachable modem does,
  // before anything goes out.
  if (!IsUsableModemAddress(context_.session.modemAddress)) {
    cannotConnect();
    return;
  }
  client_->setRemoteHost(context_.session.modemAddress);
  client_->setInterface(context_.session.interfaceName);
  goTo(0);
}

void FtpChain::cancel() {
  outstanding_ = false;
  held_ = false;
  watchdog_->setEnabled(false);
  client_->cancel();
  listener_ = nullptr;
  hooks_ = {};
}

void FtpChain::abandon(Notice::Kind why) {
  Listener listener = std::move(listener_);
  // Cancelled before the user is told: while the box is open the chain
  // would otherwise go on, with no watchdog.
  cancel();
  context_.report({why});
  context_.view.setStatus("");
  if (listener) listener(Outcome::Abandoned);
}

// ---- Issuing commands ----

bool FtpChain::execute(const FtpCommand& command) {
  outstanding_ = command.kind != FtpCommand::Close;
  try {
    client_->execute(FtpCommandText(command));
    return true;
  } catch (const PlatformError& e) {
    refused(e);
    return false;
  }
}

bool FtpChain::issue(std::size_t index) {
  current_ = index;
  const FtpStep& step = plan_.steps[index];
  state_ = step.state;
  if (step.starterRepairs) repairing_ = true;
  if (!step.status.empty()) context_.view.setStatus(step.status);
  if (auto hook = hooks_.onStepIssued) hook(step);
  watchdog_->setEnabled(true);
  return execute(step.command);
}

bool FtpChain::repairing() const {
  return repairing_ && state_ != FtpState::Close && listener_ != nullptr;
}

void FtpChain::breakOff() {
  outstanding_ = false;
  watchdog_->setEnabled(false);
  client_->cancel();
  breakage_ = {Notice::Kind::TransferStalled};
  tell(Outcome::Broken);
}

void FtpChain::toFinish(const FtpFinish& chosen) {
  chosenFinish_ = chosen;
  std::size_t tail = current_ + 1;
  while (tail < plan_.steps.size() && !plan_.steps[tail].readBack) ++tail;
  goTo(tail);
}

bool FtpChain::goTo(std::size_t index) {
  while (index < plan_.steps.size() && plan_.steps[index].onlyIf &&
         !plan_.steps[index].onlyIf()) {
    if (plan_.steps[index].progressIfSkipped >= 0)
      context_.view.setProgress(plan_.steps[index].progressIfSkipped);
    ++index;
  }
  if (index < plan_.steps.size()) {
    FtpStep& step = plan_.steps[index];
    if (step.localFrom) step.command.local = step.localFrom();
    return issue(index);
  }
  finish(chosenFinish_ ? *chosenFinish_ : plan_.finish);
  return false;
}

void FtpChain::finish(const FtpFinish& how) {
  const FtpFinish finish = how;  // the plan may be replaced by what follows
  state_ = FtpState::Close;
  watchdog_->setEnabled(finish.watchCloseCommand);
  if (!execute(FtpCommand{})) return;
  if (!finish.status.empty()) context_.view.setStatus(finish.status);
  if (finish.progress >= 0) context_.view.setProgress(finish.progress);
  tell(Outcome::Finished);
}

void FtpChain::follow(FtpStep::Next next, const FtpStep& step) {
  switch (next) {
    case FtpStep::Next::Continue:
    case FtpStep::Next::SkipOne: {
      const std::size_t to = current_ + (next == FtpStep::Next::Continue ? 1 : 2);
      if (goTo(to) && step.progressAfterNext >= 0)
        context_.view.setProgress(step.progressAfterNext);
      return;
    }
    case FtpStep::Next::Finish:
      toFinish(step.finishInstead ? *step.finishInstead : plan_.finish);
      return;
    case FtpStep::Next::Fail:
      fail({Notice::Kind::FtpServerRefused, client_->responseInfo(), client_->responseCode()});
      return;
    case FtpStep::Next::EndQuietly:
      context_.view.setStatus(step.endStatus);
      tell(Outcome::EndedQuietly);
      return;
  }
}

// ---- Failures ----

void FtpChain::fail(const Notice& notice) {
  if (repairing()) {
    // The modem's image may be incomplete: the starter sends it again or
    // puts the old one back before the user hears anything.
    outstanding_ = false;
    watchdog_->setEnabled(false);
    client_->cancel();
    breakage_ = notice;
    tell(Outcome::Broken);
    return;
  }
  context_.report(notice);
  context_.view.setStatus("");
  tell(Outcome::Failed);
}

// Refused at once (one still outstanding, a malformed text): handled like
// an unexpected error. The cancel also frees a client held by a command
// that never ended, so that the user's retry can run.
void FtpChain::refused(const PlatformError& e) {
  outstanding_ = false;
  watchdog_->setEnabled(false);
  client_->cancel();
  context_.session.runningVersion = ModemVersion();
  fail({Notice::Kind::FtpUnexpected, e.what(), e.number});
}

void FtpChain::cannotConnect() {
  watchdog_->setEnabled(false);
  client_->cancel();
  context_.session.runningVersion = ModemVersion();
  fail({Notice::Kind::FtpCannotConnect});
}

void FtpChain::timedOut(const char* status) {
  if (repairing()) {
    breakOff();
    return;
  }
  outstanding_ = false;
  client_->cancel();
  context_.view.setStatus(status);
  context_.session.runningVersion = ModemVersion();
  tell(Outcome::TimedOut);
}

// ---- Notifications ----

void FtpChain::stateChanged(int state) {
  switch (state) {
    case FtpClient::ResponseCompleted:
      watchdog_->setEnabled(false);
      outstanding_ = false;
      completed();
      return;
    case FtpClient::ErrorState:
      watchdog_->setEnabled(false);
      // Only an error answering our outstanding command counts; after
      // "CLOSE", a cancel or a time-out it is a leftover.
      if (!outstanding_) return;
      outstanding_ = false;
      failedWithError();
      return;
    case FtpClient::Disconnected:
      watchdog_->setEnabled(false);
      disconnected();
      return;
    default:
      return;
  }
}

void FtpChain::completed() {
  if (state_ == FtpState::Close || current_ >= plan_.steps.size()) {
    fail({Notice::Kind::FtpWrongState, {}, static_cast<std::int32_t>(state_)});
    return;
  }
  const FtpStep step = plan_.steps[current_];
  held_ = false;
  auto hook = hooks_.onStepCompleted;
  if (hook && !hook(step)) {
    held_ = false;
    client_->cancel();
    tell(Outcome::Failed);
    return;
  }
  if (!held_) proceed(step);
}

void FtpChain::resume(bool go) {
  if (!held_) return;
  held_ = false;
  if (!go) {
    client_->cancel();
    tell(Outcome::Failed);
    return;
  }
  proceed(plan_.steps[current_]);
}

void FtpChain::proceed(const FtpStep& step) {
  if (step.progressBeforeNext >= 0) context_.view.setProgress(step.progressBeforeNext);
  follow(step.whenDone, step);
}

void FtpChain::failedWithError() {
  const int code = client_->responseCode();
  switch (code) {
    case FtpClient::kTimeout: timedOut("FTP Timeout. Checking connection....."_t); return;
    case FtpClient::kServerRefused:
      serverRefused();
      return;
    case FtpClient::kLoginRefused:
      fail({Notice::Kind::FtpLoginRefused});
      return;
    case FtpClient::kCannotConnect:
      cannotConnect();
      return;
    default: {
      const Text info = client_->responseInfo();
      client_->cancel();
      context_.session.runningVersion = ModemVersion();
      fail({Notice::Kind::FtpUnexpected, info, code});
      return;
    }
  }
}

// The modem's server refused the command (typically: no such file).
void FtpChain::serverRefused() {
  if (current_ >= plan_.steps.size()) return;
  const FtpStep step = plan_.steps[current_];
  // What a refusal leads to carries no progress of the step.
  FtpStep bare = step;
  bare.progressAfterNext = -1;
  // A download let through a refusal counts on "no such file": a refusal
  // the server calls passing (4xx: busy, no data connection) tells nothing
  // of the file, and a backup skipped on it would leave a broken upload
  // nothing to fall back to.
  const std::string reply = client_->responseInfo().english();
  const bool passing = reply.size() >= 3 && reply[0] == '4' &&
                       std::isdigit(static_cast<unsigned char>(reply[1])) &&
                       std::isdigit(static_cast<unsigned char>(reply[2]));
  if (passing && step.command.kind == FtpCommand::Get) {
    follow(FtpStep::Next::Fail, bare);
    return;
  }
  follow(step.whenRefused, bare);
}

void FtpChain::disconnected() {
  const bool ours = outstanding_;
  outstanding_ = false;
  if (state_ == FtpState::Close) return;
  // A session left open after a failure and dropped later by the modem is
  // no news, and must not clear the status of whatever runs by then.
  if (!ours) return;
  fail({Notice::Kind::FtpDropped});
}

// 65 s without an outcome for one command: abandon the chain; reading the
// version tells whether the modem is still there. A "CLOSE" that never got
// its answer after the chain had ended well only frees the client: what
// followed the chain is under way and the transfer is not in doubt.
void FtpChain::watchdog() {
  watchdog_->setEnabled(false);
  if (state_ == FtpState::Close && !listener_) {
    client_->cancel();
    return;
  }
  timedOut("Timer expired. Checking connection...."_t);
}
