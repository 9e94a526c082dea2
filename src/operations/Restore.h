// The Restore button: an old image from the backup directory, chosen by the
// user, goes back on the modem; the modem restarts with its configuration
// deleted and is read again.
#pragma once

#include "operations/TransferOperation.h"

class Restore : public TransferOperation {
 public:
  Restore(const Context& context, ModemChannels& channels);
  OperationKind kind() const override { return OperationKind::Restore; }

 private:
  void begin() override;
  void checked();
  void transfer();
  void chainEnded(FtpChain::Outcome outcome);
  void restarted(const OperationResult& result);

  ModemVersion version_;  // the one chosen
  ModemVersion previous_;  // running before it, whose pair a broken restore falls back to
};
