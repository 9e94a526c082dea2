// Shows the modem's two DNS addresses: keep them (the modem restarts) or
// write the edited ones back.
#pragma once

#include "platform/Form.h"

class frmMain;

class DNSverification : public Form {
 public:
  explicit DNSverification(frmMain& f);
  void load() override;

  Label Label1{"Label1"};
  Label DNSlabel{"DNSlabel"};
  TextBox DNS{"DNS"};
  TextBox DNS2{"DNS2"};
  Button cmdModify{"cmdModify"};
  Button cmdKeep{"cmdKeep"};

 private:
  void cmdModify_Click();
  void cmdKeep_Click();
  frmMain& f;
};
