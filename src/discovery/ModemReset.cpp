#include "discovery/ModemReset.h"

#include "app/frmMain.h"
#include "discovery/ZingQuery.h"

ModemReset::ModemReset(frmMain& f) : f(f) {
  f.tmrFiveSecDelay->onTick = [this] { tmrFiveSecDelay_Timer(); };
  f.tmrResetDelay->onTick = [this] { tmrResetDelay_Timer(); };
}

void ModemReset::ResetKOVA() {
  if (f.sckZING->state() == TcpSocket::Connected) f.sckZING->close();
  f.txtCurrentSoftwareVersion.setText("Unknown");
  f.strModemVersion = kUnknownVersion;
  f.SetBusyState(1);
  f.lngZingCommand = 13;
  f.zing->Connect();
}

void ModemReset::cmdGetSoftwareVersion_Click() { f.QuerySoftwareVersion(); }

void ModemReset::cmdResetModem_Click() {
  if (f.strModemIP.empty()) {
    f.ui().msgBox("Please enter Satellite IP Modem's IP Address.", MsgInformation, kAppTitle);
    return;
  }
  f.SetStatus("Resetting Satellite IP Modem...");
  ResetKOVA();
}

void ModemReset::tmrFiveSecDelay_Timer() {
  f.tmrFiveSecDelay->setEnabled(false);
  f.ResetKOVA();
}

void ModemReset::tmrResetDelay_Timer() {
  f.tmrResetDelay->setEnabled(false);
  f.QuerySoftwareVersion();
}
