// The modem restarts (ordered now, ordered once a transfer has settled, or
// already ordered otherwise) and its version is read again once it is back;
// a modem that takes longer to boot than the usual re-query allows is asked
// again every 5 s for as long as the session's wait-back lasts.
// A step of the operations that change the modem.
#pragma once

#include <chrono>
#include <memory>
#include <optional>

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
  void requeried(const OperationResult& result);

  ModemChannels& channels_;
  VersionRead versionRead_;
  Order order_ = Order::Now;
  std::unique_ptr<Timer> pause_;  // between two questions while waiting back
  std::optional<std::chrono::milliseconds> waitUntil_;
};
