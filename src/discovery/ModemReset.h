// The modem reset over the ZING port, and the delays that chain a reset to
// the end of a transfer and a restart to the next version query.
#pragma once

#include <memory>

#include "core/Context.h"
#include "discovery/VersionQuery.h"

class ModemReset {
 public:
  static constexpr int kAfterTransferDelayMs = 5000;
  static constexpr int kRestartDelayMs = 25000;
  // After the connection dropped as the modem restarted.
  static constexpr int kDroppedWaitRounds = 11;

  ModemReset(const Context& context, VersionQuery& query);
  ~ModemReset();

  // Orders the reset now (busy until the version is read again).
  void resetNow();
  // The Reset Modem menu entry.
  void resetFromMenu();
  // Orders the reset after the transfer has had time to settle.
  void resetAfterTransfer();
  // Reads the version once the modem has had time to restart.
  void requeryAfterRestart();
  void cancel();
  bool idle() const;
  bool resetScheduled() const { return afterTransfer_->enabled(); }

 private:
  void connectionDropped();

  Context context_;
  VersionQuery& query_;
  std::unique_ptr<Timer> afterTransfer_;
  std::unique_ptr<Timer> restartDelay_;
  int observer_ = 0;
};
