#include "operations/ResetModem.h"

ResetModem::ResetModem(const Context& context, ModemChannels& channels)
    : Operation(context), restart_(context, channels) {}

void ResetModem::begin() {
  if (refusedWithoutAddress(Notice::Kind::EnterAddressCapitalA)) return;
  if (refusedWhileImageUnfinished()) return;
  context_.view.setStatus("Resetting Satellite IP Modem..."_t);
  restart_.setOrder(ModemRestart::Order::Now);
  runInside(restart_, [this](const OperationResult& r) { finish(r.outcome); });
}
