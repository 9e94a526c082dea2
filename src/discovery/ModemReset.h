// The modem's restart: the reset order over the ZING port, and the waits
// that give a restarting modem time before its version is read again.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "core/Context.h"
#include "discovery/VersionQuery.h"

class ModemReset {
 public:
  enum class Outcome {
    Restarted,     // the modem has had its time: read the version now
    NotDelivered,  // the order could not be sent (the user was told)
  };
  using Listener = std::function<void(Outcome)>;

  static constexpr int kAfterTransferDelayMs = 5000;
  static constexpr int kRestartDelayMs = 25000;
  // After the connection dropped as the modem restarted: rounds of a second.
  static constexpr int kDroppedWaitRounds = 11;
  static constexpr int kDroppedRoundMs = 1000;

  ModemReset(const Context& context, VersionQuery& query);

  // Orders the reset now.
  void resetNow(Listener listener);
  // Orders the reset once the transfer has had time to settle.
  void resetAfterTransfer(Listener listener);
  // The restart was ordered otherwise (AT, reflash): waits for it.
  void waitForRestart(Listener listener);
  // Ends whatever waits, quietly.
  void cancel();
  bool idle() const;

  // When the version is to be read again (loop time), each time that moves:
  // the order is out, or the modem dropped its connection as it restarted.
  std::function<void(std::chrono::milliseconds)> onRequeryDue;

 private:
  void orderOutcome(VersionQuery::Outcome outcome);
  void connectionDropped();
  void restarted();
  void due(int inMs);

  Context context_;
  VersionQuery& query_;
  std::unique_ptr<Timer> afterTransfer_;
  std::unique_ptr<Timer> restartDelay_;
  std::unique_ptr<Timer> droppedRounds_;
  int roundsLeft_ = 0;
  bool ordering_ = false;  // the order's exchange is ours
  Listener listener_;
};
