// The telnet console: prepare for download and the PIC reflash.
#pragma once

class frmMain;

class TelnetSession {
 public:
  explicit TelnetSession(frmMain& f);
  void cmdPICupgrade_Click();
  void PrepareForDownload();
  void StartPicReflash();

 private:
  frmMain& f;
};
