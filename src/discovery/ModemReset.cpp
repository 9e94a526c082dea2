#include "discovery/ModemReset.h"

ModemReset::ModemReset(const Context& context, VersionQuery& query)
    : context_(context),
      query_(query),
      afterTransfer_(context.timer(kAfterTransferDelayMs)),
      restartDelay_(context.timer(kRestartDelayMs)) {
  afterTransfer_->onTick = [this] {
    afterTransfer_->setEnabled(false);
    resetNow();
  };
  restartDelay_->onTick = [this] {
    restartDelay_->setEnabled(false);
    query_.query();
  };
  observer_ = query_.onOutcome.add([this](VersionQuery::Outcome o) {
    if (o == VersionQuery::Outcome::ResetOrderSent) restartDelay_->setEnabled(true);
    if (o == VersionQuery::Outcome::ConnectionDropped) connectionDropped();
  });
}

ModemReset::~ModemReset() { query_.onOutcome.remove(observer_); }

void ModemReset::resetNow() { query_.sendResetOrder(); }

void ModemReset::resetFromMenu() {
  if (context_.session.modemAddress.empty()) {
    context_.ui().msgBox("Please enter Satellite IP Modem's IP Address.", MsgInformation,
                         kAppTitle);
    return;
  }
  context_.view.setStatus("Resetting Satellite IP Modem...");
  resetNow();
}

void ModemReset::resetAfterTransfer() { afterTransfer_->setEnabled(true); }

void ModemReset::requeryAfterRestart() { restartDelay_->setEnabled(true); }

void ModemReset::cancel() {
  afterTransfer_->setEnabled(false);
  restartDelay_->setEnabled(false);
}

bool ModemReset::idle() const { return !afterTransfer_->enabled() && !restartDelay_->enabled(); }

void ModemReset::connectionDropped() {
  restartDelay_->setEnabled(false);
  context_.view.setStatus("Reset done. Wait .....");
  for (int i = 0; i < kDroppedWaitRounds; ++i) {
    context_.loop().pumpEvents();
    context_.loop().wait(1000);
  }
  query_.query();
}
