#include "transfer/FtpChain.h"

#include "core/ModemAddress.h"
#include "discovery/VersionQuery.h"

namespace {
const char* const kUnexpected = "An unexpected FTP error occurred.";
}  // namespace

FtpChain::FtpChain(const Context& context, int ftpPort, VersionQuery& query)
    : context_(context),
      query_(query),
      client_(context.platform.createFtpClient(ftpPort)),
      watchdog_(context.timer(kRequestLimitMs)) {
  client_->onStateChanged = [this](int state) { stateChanged(state); };
  watchdog_->onTick = [this] { watchdog(); };
}

FtpChain::~FtpChain() { client_->onStateChanged = nullptr; }

std::string FtpChain::Quote(const std::string& path) { return "\"" + path + "\""; }

bool FtpChain::idle() const { return !watchdog_->enabled(); }

bool FtpChain::start(FtpPlan plan) {
  plan_ = std::move(plan);
  done_ = false;
  backupDone_ = false;
  // An address that is no address fails as an unreachable modem does,
  // before anything goes out.
  if (!IsUsableModemAddress(context_.session.modemAddress)) {
    cannotConnect();
    return false;
  }
  client_->setRemoteHost(context_.session.modemAddress);
  return goTo(0);
}

void FtpChain::cancel() {
  outstanding_ = false;
  watchdog_->setEnabled(false);
  client_->cancel();
  done_ = true;
}

void FtpChain::abandon(const std::string& message) {
  done_ = true;
  watchdog_->setEnabled(false);
  context_.view.setBusy(false);
  // Cancelled before the box: while it is open the chain would otherwise go
  // on, with no watchdog, and could start the upload the user is just being
  // told has failed.
  cancel();
  context_.ui().msgBox(message, MsgExclamation, kUpgraderTitle);
  context_.view.setStatus("");
  onOutcome(Outcome::Abandoned);
}

// ---- Issuing commands ----

bool FtpChain::execute(const std::string& command) {
  outstanding_ = command != "CLOSE";
  try {
    client_->execute(command);
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
  if (!step.status.empty()) context_.view.setStatus(step.status);
  watchdog_->setEnabled(true);
  return execute(step.command);
}

bool FtpChain::goTo(std::size_t index) {
  while (index < plan_.steps.size() && plan_.steps[index].onlyIf &&
         !plan_.steps[index].onlyIf()) {
    if (plan_.steps[index].progressIfSkipped >= 0)
      context_.view.setProgress(plan_.steps[index].progressIfSkipped);
    ++index;
  }
  if (index < plan_.steps.size()) return issue(index);
  finish(plan_.finish);
  return false;
}

void FtpChain::finish(const FtpFinish& how) {
  const FtpFinish finish = how;  // the plan may be replaced by what follows
  done_ = true;
  state_ = FtpState::Close;
  watchdog_->setEnabled(finish.watchCloseCommand);
  if (!execute("CLOSE")) return;
  if (!finish.status.empty()) context_.view.setStatus(finish.status);
  if (finish.progress >= 0) context_.view.setProgress(finish.progress);
  if (finish.then) finish.then();
  onOutcome(Outcome::Finished);
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
      finish(step.finishInstead ? *step.finishInstead : plan_.finish);
      return;
    case FtpStep::Next::Fail:
      fail(std::string(kUnexpected) + " Operation cancelled." + kCrLf + kCrLf +
           "Error Code:  " + std::to_string(client_->responseCode()) + " : " +
           client_->responseInfo());
      return;
    case FtpStep::Next::EndQuietly:
      done_ = true;
      context_.view.setBusy(false);
      context_.view.setStatus(step.endStatus);
      onOutcome(Outcome::EndedQuietly);
      return;
  }
}

// ---- Failures ----

void FtpChain::fail(const std::string& message) {
  done_ = true;
  context_.view.setBusy(false);
  context_.ui().msgBox(message, MsgExclamation, kUpgraderTitle);
  context_.view.setStatus("");
  onOutcome(Outcome::Failed);
}

// Refused at once (one still outstanding, a malformed text): handled like
// an unexpected error. The cancel also frees a client held by a command
// that never ended, so that the user's retry can run.
void FtpChain::refused(const PlatformError& e) {
  outstanding_ = false;
  watchdog_->setEnabled(false);
  done_ = true;
  client_->cancel();
  fail(std::string(kUnexpected) + kCrLf + "Operation cancelled." + kCrLf + kCrLf +
       "Error Code:  " + std::to_string(e.number) + " : " + e.what());
  context_.session.runningVersion = kUnknownVersion;
}

void FtpChain::cannotConnect() {
  done_ = true;
  watchdog_->setEnabled(false);
  client_->cancel();
  fail("Can not connect to Satellite IP Modem. Please check cable connection and retry.");
  context_.session.runningVersion = kUnknownVersion;
}

void FtpChain::timedOut(const char* status) {
  done_ = true;
  outstanding_ = false;
  client_->cancel();
  context_.view.setBusy(false);
  context_.view.setStatus(status);
  context_.session.runningVersion = kUnknownVersion;
  onOutcome(Outcome::TimedOut);
  // The query tells whether the modem is still there, and reports the
  // time-out when it ends.
  query_.query(/*reportFtpTimeout=*/true);
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
      // "CLOSE", a cancel or a time-out it is a leftover. (done() is no
      // guide: it is already true while the factory deletion after a PIC
      // upload is outstanding.)
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
    fail(
        "Upgrade failed.  Click OK and close the upgrader.  "
        "Check connection before retrying upgrade.  Upgrader FTP state = " +
        std::to_string(static_cast<std::int32_t>(state_)));
    return;
  }
  const FtpStep step = plan_.steps[current_];
  onStepCompleted(step);
  if (step.completesBackup) backupDone_ = true;
  if (step.endsWait) done_ = true;
  if (step.whenCompleted) step.whenCompleted();
  if (step.progressBeforeNext >= 0) context_.view.setProgress(step.progressBeforeNext);
  follow(step.whenDone, step);
}

void FtpChain::failedWithError() {
  const int code = client_->responseCode();
  switch (code) {
    case FtpClient::kTimeout:
      timedOut("FTP Timeout. Checking connection.....");
      return;
    case FtpClient::kServerRefused:
      serverRefused();
      return;
    case FtpClient::kLoginRefused:
      fail("Incorrect Username or Password!");
      return;
    case FtpClient::kCannotConnect:
      cannotConnect();
      return;
    default: {
      const std::string info = client_->responseInfo();
      done_ = true;
      client_->cancel();
      fail(std::string(kUnexpected) + kCrLf + "Operation cancelled." + kCrLf + kCrLf +
           "Error Code:  " + std::to_string(code) + " : " + info);
      context_.session.runningVersion = kUnknownVersion;
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
  follow(step.whenRefused, bare);
}

void FtpChain::disconnected() {
  const bool ours = outstanding_;
  outstanding_ = false;
  done_ = true;
  if (state_ == FtpState::Close) return;
  // A session left open after a failure and dropped later by the modem is
  // no news, and must not clear the status of whatever runs by then.
  if (!ours) return;
  context_.view.setBusy(false);
  context_.ui().msgBox(std::string("FTP connection was suddenly closed.") + kCrLf + kCrLf +
                           "Remove power and reapply power to the Satellite IP Modem," +
                           " then repeat last operation.",
                       MsgExclamation, kUpgraderTitle);
  context_.view.setStatus("");
  onOutcome(Outcome::ConnectionLost);
}

// 65 s without an outcome for one command: abandon the chain and let the
// version query tell whether the modem is still there.
void FtpChain::watchdog() {
  watchdog_->setEnabled(false);
  timedOut("Timer expired. Checking connection....");
}
