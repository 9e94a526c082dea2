// Menu entries of the window itself and the hidden log download.
#pragma once

class frmMain;

class Shell {
 public:
  explicit Shell(frmMain& f);
  void mnuHelpAbout_Click();
  void cmdDisableAutoPicMenu_Click();
  void Form_KeyPress(int keyAscii);

 private:
  void DownloadLog();
  frmMain& f;
};
