#include "operations/ResetModem.h"

ResetModem::ResetModem(const Context& context, ModemChannels& channels)
    : Operation(context), restart_(context, channels) {}

void ResetModem::begin() {
  if (context_.session.modemAddress.empty()) {
    context_.report({Notice::Kind::EnterAddressCapitalA});
    finish(OperationResult::Outcome::Refused);
    return;
  }
  context_.view.setStatus("Resetting Satellite IP Modem...");
  restart_.setOrder(ModemRestart::Order::Now);
  runInside(restart_, [this](const OperationResult& r) { finish(r.outcome); });
}
