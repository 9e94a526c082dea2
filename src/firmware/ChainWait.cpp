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

void UploadAndWait(frmMain& f, std::int32_t code, const std::string& command) {
  const auto start = f.loop().now();
  // A refused command has been reported by the chain, busy state included.
  if (!f.ftpChain->StartChain(code, command)) return;
  if (WaitForChain(f, start) == ChainEnd::TimedOut)
    AbandonChain(f, std::string("Upgrade failed.  Click OK and close the upgrader.  ") +
                        "Turn the Satellite IP Modem off and on again before " +
                        "retrying upgrade.");
}
