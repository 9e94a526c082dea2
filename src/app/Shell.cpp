#include "app/Shell.h"

#include <chrono>

#include "app/frmMain.h"
#include "transfer/FtpChain.h"

namespace {
constexpr int kCtrlB = 2;
constexpr int kCtrlN = 14;
constexpr std::chrono::milliseconds kLogWaitLimit{180000};
}  // namespace

Shell::Shell(frmMain& f) : f(f) {}

void Shell::mnuHelpAbout_Click() {
  std::string text = std::string(" Satellite IP Modem Upgrader") + kCrLf + kCrLf +
                     "  Upgrades and restores the software of the" + kCrLf +
                     "  KOVA Satellite IP Modem and its PIC controller," + kCrLf +
                     "  and sets the modem's DNS and LAN addresses." + kCrLf + kCrLf +
                     "  Version 2.6 October 15, 2006";
  f.ui().msgBox(text, MsgInformation, kUpgraderTitle);
}

void Shell::cmdDisableAutoPicMenu_Click() {
  f.AutoPicLabel.setCaption("");
  f.AutoPic.setValue(0);
}

void Shell::Form_KeyPress(int keyAscii) {
  // While an operation runs, a download would take over the running
  // chain's state: the sequence counts only when idle.
  if (f.busy()) {
    f.intLogKeyState = 0;
    return;
  }
  if (keyAscii == kCtrlB && f.intLogKeyState == 0) {
    f.intLogKeyState = 1;
    return;
  }
  if (keyAscii == kCtrlN && f.intLogKeyState == 1) {
    f.intLogKeyState = 0;
    DownloadLog();
    return;
  }
  f.intLogKeyState = 0;
}

// The old log is not deleted first: the FTP client writes beside the target
// and renames over it only when the transfer is complete, so the old log
// stays until a new one has arrived whole, and a failure leaves no part.
void Shell::DownloadLog() {
  f.SetBusyState(1);
  const std::string local = f.strBackupDir + frmMain::kSep + "sylog.log";
  f.SetStatus("Downloading Log");
  const auto start = f.loop().now();
  // A command refused at once has been reported by the chain already.
  if (!f.ftpChain->StartChain(FtpChain::GET_LOG_CMD,
                              "GET /ram0/syslog.log " + FtpChain::Quote(local)))
    return;
  for (;;) {
    f.loop().pumpEvents();
    f.loop().wait(1000);
    // Closed meanwhile (end of the session): unload has released it all.
    if (f.closed()) return;
    if (f.loop().now() - start > kLogWaitLimit) {
      f.blnFTPDone = true;
      f.tmrFTPReq->setEnabled(false);
      f.SetBusyState(0);
      f.ui().msgBox(std::string("Syslog file downloading failed.  Click OK and close the "
                                "upgrader.  ") +
                        "Check connection before retrying.",
                    MsgExclamation, kUpgraderTitle);
      f.SetStatus("");
      f.ftpChain->CancelRequest();
      return;
    }
    if (f.blnFTPDone) {
      // Every failure of the chain gives the busy state back itself, and
      // after a time-out the version query that follows holds it (and may
      // have locked the upgrade controls): only the normal end is ours.
      if (f.lngFTPState == FtpChain::CLOSE_CMD) f.SetBusyState(0);
      return;
    }
  }
}
