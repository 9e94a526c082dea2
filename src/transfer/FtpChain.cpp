#include "transfer/FtpChain.h"

#include "app/frmMain.h"

FtpChain::FtpChain(frmMain& f) : f(f) {
  f.inetFTP->onStateChanged = [this](int state) { inetFTP_StateChanged(state); };
  f.tmrFTPReq->onTick = [this] { tmrFTPReq_Timer(); };
}

void FtpChain::inetFTP_StateChanged(int) {}
void FtpChain::tmrFTPReq_Timer() { f.tmrFTPReq->setEnabled(false); }
