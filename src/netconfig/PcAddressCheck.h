// The PC's own address against the modem's subnet, and the switch to a
// static address and back.
#pragma once

#include <string>

class frmMain;

class PcAddressCheck {
 public:
  explicit PcAddressCheck(frmMain& f);
  std::string RunConsoleCommand(const std::string& commandLine);
  void SetDefaultLocalAddress();
  void RestoreDHCPAddress();
  void VerifyLocalAddress(const std::string& hostName);

 private:
  frmMain& f;
};
