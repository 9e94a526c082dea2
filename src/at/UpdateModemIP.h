// Points the tool at a modem whose LAN address is not the factory one; the
// first two numbers stay 192.168.
#pragma once

#include "platform/Form.h"

class frmMain;

class UpdateModemIP : public Form {
 public:
  explicit UpdateModemIP(frmMain& f);
  void load() override;

  Label lblHeading{"lblHeading"};
  Label IPlabel{"IPlabel"};
  TextBox txtIP1{"txtIP1"};
  TextBox txtIP2{"txtIP2"};
  TextBox txtIP3{"txtIP3"};
  TextBox txtIP4{"txtIP4"};
  Label lblDot0{"lblDot(0)"};
  Label lblDot1{"lblDot(1)"};
  Label lblDot2{"lblDot(2)"};
  Button cmdClose{"cmdClose"};
  Button cmdUpdate{"cmdUpdate"};

 private:
  void cmdUpdate_Click();
  frmMain& f;
};
