// The AT command channel: DNS read and write, modem restart, and the
// dialogs that go with them.
#pragma once

#include <string>

class frmMain;

class AtChannel {
 public:
  explicit AtChannel(frmMain& f);
  void SendGetDNS();
  void SendSetDNS();
  void SendSetDNS2();
  void SendATReset();
  void UpdateModemIPAddress(const std::string& newIP);
  void cmdSetModemIP_Click();

 private:
  frmMain& f;
};
