// Guards the opening of the telnet and AT connections.
#pragma once

class frmMain;

class ConnectWatchdog {
 public:
  explicit ConnectWatchdog(frmMain& f);
  void tmrTelnetConnect_Timer();

 private:
  frmMain& f;
};
