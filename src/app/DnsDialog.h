// Shows the modem's two DNS addresses: keep them (the modem restarts) or
// write the edited ones back.
#pragma once

#include "core/Prompts.h"
#include "platform/Form.h"
#include "platform/Platform.h"

class DnsDialog : public Form {
 public:
  explicit DnsDialog(Ui& ui);
  // Shows the dialog modally with the two addresses; the user's choice.
  DnsReview review(const std::string& primary, const std::string& secondary);
  void load() override;

  Label Label1{"Label1"};
  Label DNSlabel{"DNSlabel"};
  TextBox DNS{"DNS"};
  TextBox DNS2{"DNS2"};
  Button cmdModify{"cmdModify"};
  Button cmdKeep{"cmdKeep"};

 private:
  void modify();
  Ui& ui_;
  std::string primary_;
  std::string secondary_;
  DnsReview result_;
};
