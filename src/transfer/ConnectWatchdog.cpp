#include "transfer/ConnectWatchdog.h"

#include "app/frmMain.h"

ConnectWatchdog::ConnectWatchdog(frmMain& f) : f(f) {
  f.tmrTelnetConnect->onTick = [this] { tmrTelnetConnect_Timer(); };
}
void ConnectWatchdog::tmrTelnetConnect_Timer() { f.tmrTelnetConnect->setEnabled(false); }
