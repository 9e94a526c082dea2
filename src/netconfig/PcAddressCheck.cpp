#include "netconfig/PcAddressCheck.h"

#include "app/frmMain.h"

PcAddressCheck::PcAddressCheck(frmMain& f) : f(f) {}
std::string PcAddressCheck::RunConsoleCommand(const std::string&) { return {}; }
void PcAddressCheck::SetDefaultLocalAddress() {}
void PcAddressCheck::RestoreDHCPAddress() {}
void PcAddressCheck::VerifyLocalAddress(const std::string&) {}
