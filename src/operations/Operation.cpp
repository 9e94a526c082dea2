#include "operations/Operation.h"

#include "core/RegularFile.h"

const char* ModemHoldsName(ModemHolds holds) {
  switch (holds) {
    case ModemHolds::NewImage: return "new-image";
    case ModemHolds::OldImage: return "old-image";
    case ModemHolds::Incomplete: return "incomplete";
    case ModemHolds::Untouched: break;
  }
  return "";
}

Operation::Operation(const Context& context) : context_(context) {}

Operation::~Operation() = default;

void Operation::start() {
  result_ = OperationResult{};
  lastFailure_.reset();
  innerCode_.reset();
  failedWith_.reset();
  progress_ = Progress{};
  progress_.phaseStarted = context_.loop().now();
  result_.versionBefore = context_.session.runningVersion;
  running_ = true;
  begin();
}

void Operation::refuse(const Notice& why) {
  result_ = OperationResult{};
  lastFailure_.reset();
  innerCode_.reset();
  failedWith_.reset();
  progress_ = Progress{};
  result_.versionBefore = context_.session.runningVersion;
  result_.nothingDone = true;
  running_ = true;
  context_.report(why);
  finish(OperationResult::Outcome::Refused, why);
}

void Operation::cancel() {
  if (!running_) return;
  stop();
  finish(OperationResult::Outcome::Interrupted);
}

void Operation::abandon() {
  if (!running_) return;
  running_ = false;
  stop();
}

void Operation::noticed(const Notice& notice) {
  if (notice.failure()) lastFailure_ = notice;
}

void Operation::progressed(int percent) {
  if (!running_ || percent == progress_.percent) return;
  progress_.percent = percent;
  onProgress(progress_);
}

void Operation::setPhase(Phase phase) {
  if (phase == progress_.phase) return;
  notePhaseTime();
  progress_.phase = phase;
  progress_.phaseStarted = context_.loop().now();
  progress_.percent = context_.view.progress();
  progress_.transfer.reset();
  progress_.requeryAt.reset();
  onProgress(progress_);
}

void Operation::setTransfer(std::optional<Transfer> transfer) {
  progress_.transfer = std::move(transfer);
  if (running_) onProgress(progress_);
}

void Operation::setRequeryAt(std::optional<std::chrono::milliseconds> at) {
  progress_.requeryAt = at;
  if (running_) onProgress(progress_);
}

// The time of the phase that ends, added to its entry.
void Operation::notePhaseTime() {
  if (progress_.phase == Phase::None) return;
  const double seconds =
      static_cast<double>((context_.loop().now() - progress_.phaseStarted).count()) / 1000.0;
  for (auto& [name, total] : result_.phases)
    if (name == progress_.phase) {
      total += seconds;
      return;
    }
  result_.phases.emplace_back(progress_.phase, seconds);
}

void Operation::finish(OperationResult::Outcome outcome, std::optional<FailureCode> otherwise) {
  using Outcome = OperationResult::Outcome;
  if (!running_) return;
  running_ = false;
  notePhaseTime();
  result_.outcome = outcome;
  result_.versionAfter = context_.session.runningVersion;
  if (outcome != Outcome::Done && !result_.failure) result_.failure = lastFailure_;
  std::optional<FailureCode> code;
  if (outcome == Outcome::Interrupted) code = FailureCode::Interrupted;
  else if (outcome == Outcome::Unreachable) code = FailureCode::Unreachable;
  else if (result_.failure) code = FailureCodeOf(*result_.failure);
  if (!code) code = otherwise ? otherwise : innerCode_;
  if (failedWith_) code = failedWith_;
  // Every road that fails names its code; a channel that failed without
  // telling why counts as an FTP error, the commonest such channel.
  result_.reasonCode = outcome == Outcome::Done ? std::nullopt
                       : code                   ? code
                                                : FailureCode::FtpError;
  if (onFinished) onFinished(result_);
}

void Operation::failWith(FailureCode code) {
  failedWith_ = code;
  finish(OperationResult::Outcome::Failed);
}

void Operation::finish(OperationResult::Outcome outcome, const Notice& failure) {
  result_.failure = failure;
  finish(outcome);
}

bool Operation::refusedWithoutAddress(Notice::Kind notice) {
  if (!context_.session.modemAddress.empty()) return false;
  context_.report({notice});
  finish(OperationResult::Outcome::Refused);
  return true;
}

bool Operation::refusedWhileImageUnfinished() {
  const Session& session = context_.session;
  if (session.unfinishedUploadSince.empty()) return false;
  const Notice refusal{Notice::Kind::RestartRefusedUnfinished, session.unfinishedUploadSince, 0,
                       session.modemAddress};
  nothingDone();
  context_.report(refusal);
  finish(OperationResult::Outcome::Refused, refusal);
  return true;
}

bool Operation::refusedUnreadable(const std::vector<std::string>& files) {
  for (const std::string& file : files) {
    RegularFile readable;
    if (readable.open(file, RegularFile::Mode::Read)) continue;
    const Notice refusal{Notice::Kind::LocalFileUnreadable, file, 0, readable.error()};
    context_.report(refusal);
    context_.view.setStatus("");
    finish(OperationResult::Outcome::Refused, refusal);
    return true;
  }
  return false;
}

void Operation::runInside(Operation& inner, std::function<void(const OperationResult&)> then) {
  inner.onFinished = [this, then = std::move(then)](const OperationResult& r) {
    // What the inner step moved and noticed belongs to this operation too.
    for (const auto& f : r.files) result_.files.push_back(f);
    if (r.failure) lastFailure_ = r.failure;
    if (r.reasonCode) innerCode_ = r.reasonCode;
    if (r.lockUpgradeControls) result_.lockUpgradeControls = true;
    then(r);
  };
  inner.onProgress.clear();
  inner.onProgress.add([this](const Progress& p) {
    setPhase(p.phase);
    progress_.transfer = p.transfer;
    progress_.requeryAt = p.requeryAt;
    if (p.transfer || p.requeryAt) onProgress(progress_);
  });
  inner.start();
}
