// The FTP command chain: each next command is issued from the completion
// notification of the previous one.
#pragma once

#include <cstdint>
#include <string>

class frmMain;

class FtpChain {
 public:
  explicit FtpChain(frmMain& f);
  void inetFTP_StateChanged(int state);
  void tmrFTPReq_Timer();

 private:
  frmMain& f;
};
