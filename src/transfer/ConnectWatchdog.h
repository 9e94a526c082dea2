// Guards the opening of the telnet and AT connections.
#pragma once

#include <string>

class frmMain;

class ConnectWatchdog {
 public:
  explicit ConnectWatchdog(frmMain& f);
  void tmrTelnetConnect_Timer();

  // What the user is told when the PIC reflash command could not be sent.
  static std::string PicMessage();

 private:
  frmMain& f;
};
