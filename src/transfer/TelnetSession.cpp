#include "transfer/TelnetSession.h"

#include "app/frmMain.h"

TelnetSession::TelnetSession(frmMain& f) : f(f) {}
void TelnetSession::cmdPICupgrade_Click() {}
void TelnetSession::PrepareForDownload() {}
void TelnetSession::StartPicReflash() {}
