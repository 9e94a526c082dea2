// The hidden download of the modem's system log into the backup directory.
#pragma once

#include "operations/TransferOperation.h"

class LogDownload : public TransferOperation {
 public:
  LogDownload(const Context& context, ModemChannels& channels);
  OperationKind kind() const override { return OperationKind::Log; }

 private:
  void begin() override;
  void chainEnded(FtpChain::Outcome outcome);
  void failed();
};
