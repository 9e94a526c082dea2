// The PC's own address against the modem's subnet, and the switch to a
// static address and back.
#pragma once

#include <memory>
#include <string>

#include "netconfig/NetworkCommands.h"

class frmMain;

class PcAddressCheck {
 public:
  // Uses the commands of the system the program was built for.
  explicit PcAddressCheck(frmMain& f);
  PcAddressCheck(frmMain& f, std::unique_ptr<NetworkCommands> commands);
  ~PcAddressCheck();

  std::string RunConsoleCommand(const std::string& commandLine);
  void SetDefaultLocalAddress();
  void RestoreDHCPAddress();
  void VerifyLocalAddress(const std::string& hostName);

 private:
  frmMain& f;
  std::unique_ptr<NetworkCommands> commands_;
  // The last SetDefaultLocalAddress ran the switch (found a connection).
  bool switched_ = false;
};
