#include "operations/ModemRestart.h"

namespace {
constexpr int kWaitBackPauseMs = 5000;
}  // namespace

ModemRestart::ModemRestart(const Context& context, ModemChannels& channels)
    : Operation(context),
      channels_(channels),
      versionRead_(context, channels),
      pause_(context.timer(kWaitBackPauseMs)) {
  pause_->onTick = [this] {
    pause_->setEnabled(false);
    context_.view.setStatus("Waiting for the modem to come back..."_t);
    setPhase(Phase::Requery);
    runInside(versionRead_, [this](const OperationResult& r) { requeried(r); });
  };
}

void ModemRestart::begin() {
  waitUntil_.reset();
  setPhase(Phase::Restart);
  channels_.reset.onRequeryDue = [this](std::chrono::milliseconds at) { setRequeryAt(at); };
  auto then = [this](ModemReset::Outcome o) { restarted(o); };
  switch (order_) {
    case Order::Now:
      channels_.reset.resetNow(then);
      return;
    case Order::AfterTransfer:
      channels_.reset.resetAfterTransfer(then);
      return;
    case Order::AlreadyGiven:
      channels_.reset.waitForRestart(then);
      return;
  }
}

void ModemRestart::stop() {
  pause_->setEnabled(false);
  channels_.reset.cancel();
  versionRead_.abandon();
}

void ModemRestart::restarted(ModemReset::Outcome outcome) {
  channels_.reset.onRequeryDue = nullptr;
  if (outcome == ModemReset::Outcome::NotDelivered) {
    finish(OperationResult::Outcome::Failed, FailureCode::ResetFailed);
    return;
  }
  setPhase(Phase::Requery);
  runInside(versionRead_, [this](const OperationResult& r) { requeried(r); });
}

void ModemRestart::requeried(const OperationResult& result) {
  const auto waitBack = context_.session.restartWaitBack;
  const auto now = context_.loop().now();
  if (result.done() || context_.session.runningVersion.known() || waitBack.count() <= 0) {
    finish(result.outcome);
    return;
  }
  if (!waitUntil_)
    waitUntil_ = now + std::chrono::duration_cast<std::chrono::milliseconds>(waitBack);
  if (now >= *waitUntil_) {
    finish(result.outcome);
    return;
  }
  setPhase(Phase::WaitBack);
  pause_->setEnabled(true);
}
