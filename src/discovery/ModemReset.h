// Modem reset over the ZING port, and the delays that chain a reset and
// the next version query.
#pragma once

class frmMain;

class ModemReset {
 public:
  explicit ModemReset(frmMain& f);
  void ResetKOVA();
  void cmdGetSoftwareVersion_Click();
  void cmdResetModem_Click();
  void tmrFiveSecDelay_Timer();
  void tmrResetDelay_Timer();

 private:
  frmMain& f;
};
