// Tools > Set DNS addresses: the modem's DNS servers are read over the AT
// port and shown; kept, the modem restarts; changed, both are written and
// the modem restarts with them. Either way its version is read again.
#pragma once

#include "at/AtChannel.h"
#include "operations/ModemRestart.h"

class DnsChange : public Operation {
 public:
  DnsChange(const Context& context, ModemChannels& channels);
  OperationKind kind() const override { return OperationKind::Dns; }

 private:
  void begin() override;
  void stop() override;
  void atEnded(AtChannel::Outcome outcome);
  void review();
  void restart(ModemRestart::Order order);

  ModemChannels& channels_;
  ModemRestart restart_;
  bool refused_ = false;  // the modem refused an address
};
