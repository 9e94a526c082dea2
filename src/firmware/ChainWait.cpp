#include "firmware/ChainWait.h"

#include "app/frmMain.h"
#include "transfer/FtpChain.h"
#include "transfer/TelnetSession.h"

namespace {
long Since(frmMain& f, std::chrono::milliseconds start) {
  return static_cast<long>((f.loop().now() - start).count());
}
}  // namespace

void EndStuckExchanges(frmMain& f) {
  f.tmrConnect->setEnabled(false);
  f.tmrResponse->setEnabled(false);
  f.tmrConneTest->setEnabled(false);
  f.sckZING->close();
  f.sckTest->close();
  f.tmrTelnetConnect->setEnabled(false);
  f.tmrPicUpgrCnt->setEnabled(false);
  f.telnet->Shutdown();
  f.Telnet->close();
  f.lngTelnetCommand = TelnetSession::NO_TELNET_CMD;
  f.lngTelnetState = TelnetSession::WAIT_PROMPT;
}

bool EnsureVersionQueried(frmMain& f, const std::string& stoppedText) {
  if (f.strModemVersion != kUnknownVersion) return true;
  f.QuerySoftwareVersion();
  const auto start = f.loop().now();
  // Once the reply has started a reflash, the busy state lasts through it,
  // the restart delay and one more query, each with its own bound.
  bool reflashStarted = false;
  while (f.busy()) {
    reflashStarted = reflashStarted || f.lngTelnetCommand == TelnetSession::PIC_REFLASH_CMD;
    if (Since(f, start) >= (reflashStarted ? kReflashWaitMs : kVersionQueryWaitMs)) {
      EndStuckExchanges(f);
      f.SetStatus(stoppedText);
      f.SetBusyState(0);
      return false;
    }
    f.loop().pumpEvents();
    f.loop().wait(100);
  }
  return true;
}

void PrepareAndWait(frmMain& f) {
  f.PrepareForDownload();
  if (f.WaitWhileBusy(kPrepareWaitMs)) return;
  // The caller takes the busy state again for the transfer.
  EndStuckExchanges(f);
  f.SetStatus("No answer to the prepare command; going on without it.");
  f.SetBusyState(0);
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
  // Cancelled before the box: while it is open the chain would otherwise
  // go on, with no watchdog, and could start the image upload the user is
  // just being told has failed.
  f.ftpChain->CancelRequest();
  f.ui().msgBox(message, MsgExclamation, kUpgraderTitle);
  f.SetStatus("");
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
