#include "firmware/ChainWait.h"

#include "app/frmMain.h"
#include "transfer/FtpChain.h"

bool EnsureVersionQueried(frmMain& f, const std::string& stoppedText) {
  if (f.strModemVersion != kUnknownVersion) return true;
  f.QuerySoftwareVersion();
  if (f.WaitWhileBusy(kVersionQueryWaitMs)) return true;
  f.SetStatus(stoppedText);
  f.SetBusyState(0);
  return false;
}

void PrepareAndWait(frmMain& f) {
  f.PrepareForDownload();
  f.WaitWhileBusy(kPrepareWaitMs);
}

ChainEnd WaitForChain(frmMain& f, std::chrono::milliseconds start) {
  for (;;) {
    f.loop().pumpEvents();
    f.loop().wait(1000);
    if (f.loop().now() - start > kChainLimit) return ChainEnd::TimedOut;
    if (f.blnFTPDone) return ChainEnd::Done;
  }
}

void AbandonChain(frmMain& f, const std::string& message) {
  f.blnFTPDone = true;
  f.tmrFTPReq->setEnabled(false);
  f.SetBusyState(0);
  f.ui().msgBox(message, MsgExclamation, kUpgraderTitle);
  f.SetStatus("");
  f.ftpChain->CancelRequest();
}
