#include "at/AtChannel.h"

#include "app/Utilities.h"
#include "app/frmMain.h"

AtChannel::AtChannel(frmMain& f) : f(f) {}
void AtChannel::SendGetDNS() {}
void AtChannel::SendSetDNS() {}
void AtChannel::SendSetDNS2() {}
void AtChannel::SendATReset() {}
void AtChannel::UpdateModemIPAddress(const std::string& newIP) {
  f.txtIPAddress.setText(newIP);
  f.strModemIP = Trim(f.txtIPAddress.text());
}
void AtChannel::cmdSetModemIP_Click() {}
