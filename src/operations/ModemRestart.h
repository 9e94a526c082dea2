// The modem restarts (ordered now, ordered once a transfer has settled, or
// already ordered otherwise) and its version is read again once it is back.
// A step of the operations that change the modem.
#pragma once

#include "discovery/ModemReset.h"
#include "operations/ModemChannels.h"
#include "operations/Operation.h"
#include "operations/VersionRead.h"

class ModemRestart : public Operation {
 public:
  enum class Order { Now, AfterTransfer, AlreadyGiven };

  ModemRestart(const Context& context, ModemChannels& channels);
  OperationKind kind() const override { return OperationKind::Restart; }
  void setOrder(Order order) { order_ = order; }

 private:
  void begin() override;
  void stop() override;
  void restarted(ModemReset::Outcome outcome);

  ModemChannels& channels_;
  VersionRead versionRead_;
  Order order_ = Order::Now;
};
