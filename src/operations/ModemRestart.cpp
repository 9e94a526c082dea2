#include "operations/ModemRestart.h"

ModemRestart::ModemRestart(const Context& context, ModemChannels& channels)
    : Operation(context), channels_(channels), versionRead_(context, channels) {}

void ModemRestart::begin() {
  setPhase("restart");
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
  channels_.reset.cancel();
  versionRead_.abandon();
}

void ModemRestart::restarted(ModemReset::Outcome outcome) {
  channels_.reset.onRequeryDue = nullptr;
  if (outcome == ModemReset::Outcome::NotDelivered) {
    finish(OperationResult::Outcome::Failed, FailureCode::ResetFailed);
    return;
  }
  setPhase("requery");
  runInside(versionRead_, [this](const OperationResult& r) { finish(r.outcome); });
}
