#include "discovery/ModemReset.h"

ModemReset::ModemReset(const Context& context, VersionQuery& query)
    : context_(context),
      query_(query),
      afterTransfer_(context.timer(kAfterTransferDelayMs)),
      restartDelay_(context.timer(kRestartDelayMs)),
      droppedRounds_(context.timer(kDroppedRoundMs)) {
  afterTransfer_->onTick = [this] {
    afterTransfer_->setEnabled(false);
    resetNow(listener_);
  };
  restartDelay_->onTick = [this] {
    restartDelay_->setEnabled(false);
    restarted();
  };
  droppedRounds_->onTick = [this] {
    if (--roundsLeft_ > 0) return;
    droppedRounds_->setEnabled(false);
    restarted();
  };
}

void ModemReset::resetNow(Listener listener) {
  listener_ = std::move(listener);
  ordering_ = true;
  query_.sendResetOrder([this](VersionQuery::Outcome o) { orderOutcome(o); });
}

void ModemReset::resetAfterTransfer(Listener listener) {
  listener_ = std::move(listener);
  afterTransfer_->setEnabled(true);
  due(kAfterTransferDelayMs + kRestartDelayMs);
}

void ModemReset::waitForRestart(Listener listener) {
  listener_ = std::move(listener);
  restartDelay_->setEnabled(true);
  due(kRestartDelayMs);
}

void ModemReset::due(int inMs) {
  if (onRequeryDue) onRequeryDue(context_.loop().now() + std::chrono::milliseconds(inMs));
}

void ModemReset::cancel() {
  onRequeryDue = nullptr;
  afterTransfer_->setEnabled(false);
  restartDelay_->setEnabled(false);
  droppedRounds_->setEnabled(false);
  if (ordering_) query_.cancel();
  ordering_ = false;
  listener_ = nullptr;
}

bool ModemReset::idle() const {
  return !afterTransfer_->enabled() && !restartDelay_->enabled() && !droppedRounds_->enabled() &&
         !ordering_;
}

void ModemReset::orderOutcome(VersionQuery::Outcome outcome) {
  switch (outcome) {
    case VersionQuery::Outcome::ResetOrderSent:
      restartDelay_->setEnabled(true);
      due(kRestartDelayMs);
      return;
    case VersionQuery::Outcome::ConnectionDropped:
      connectionDropped();
      return;
    case VersionQuery::Outcome::ResetFailed: {
      ordering_ = false;
      Listener listener = std::move(listener_);
      if (listener) listener(Outcome::NotDelivered);
      return;
    }
    default:
      return;
  }
}

// The restarting modem ended the connection: its restart is under way, and
// the version is read a fixed while later instead of after the full delay.
void ModemReset::connectionDropped() {
  if (!restartDelay_->enabled()) return;
  restartDelay_->setEnabled(false);
  context_.view.setStatus("Reset done. Wait ....."_t);
  roundsLeft_ = kDroppedWaitRounds;
  droppedRounds_->setEnabled(true);
  due(kDroppedWaitRounds * kDroppedRoundMs);
}

void ModemReset::restarted() {
  ordering_ = false;
  Listener listener = std::move(listener_);
  if (listener) listener(Outcome::Restarted);
}
