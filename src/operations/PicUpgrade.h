// The PIC upgrade button: pic.hex goes up, the modem reflashes its PIC
// controller from it, restarts and is read again. The file is read back
// first: a PIC is never flashed from a damaged file.
#pragma once

#include "operations/TransferOperation.h"

class PicUpgrade : public TransferOperation {
 public:
  PicUpgrade(const Context& context, ModemChannels& channels);
  OperationKind kind() const override { return OperationKind::Pic; }

 private:
  void begin() override;
  void chainEnded(FtpChain::Outcome outcome);
  void reflashEnded(TelnetSession::Outcome outcome);
};
