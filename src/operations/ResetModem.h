// Tools > Reset Modem: the modem restarts and its version is read again.
#pragma once

#include "operations/ModemRestart.h"

class ResetModem : public Operation {
 public:
  ResetModem(const Context& context, ModemChannels& channels);
  OperationKind kind() const override { return OperationKind::Reset; }

 private:
  void begin() override;
  void stop() override { restart_.abandon(); }

  ModemRestart restart_;
};
