// Reads the modem's version over the ZING port; when that port stays
// silent, the FTP-port probe tells whether the modem is there at all. A PIC
// file that went up with an upgrade is reflashed after the next reply, and
// the version read again once the modem has restarted.
#pragma once

#include <memory>

#include "discovery/VersionQuery.h"
#include "operations/ModemChannels.h"
#include "operations/Operation.h"
#include "transfer/TelnetSession.h"

class VersionRead : public Operation {
 public:
  // reportFtpTimeout: a transfer before it timed out; the end tells the user.
  VersionRead(const Context& context, ModemChannels& channels, bool reportFtpTimeout = false);
  OperationKind kind() const override { return OperationKind::Version; }

 private:
  void begin() override;
  void stop() override;
  void queryEnded(VersionQuery::Outcome outcome);
  void reflashEnded(TelnetSession::Outcome outcome);

  ModemChannels& channels_;
  const bool reportFtpTimeout_;
};
