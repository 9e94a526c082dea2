// The prompt shown for "-u": upgrade the modem now or later.
#pragma once

#include "platform/Form.h"

class UpgradePrompt : public Form {
 public:
  enum class Choice { Now, Later };

  UpgradePrompt();
  void load() override { choice_ = Choice::Now; }
  Choice choice() const { return choice_; }

  Label Label1{"Label1"};
  Label Label2{"Label2"};
  OptionButton UpgradeNow{"UpgradeNow"};
  OptionButton UpgradeLater{"UpgradeLater"};
  Button OKButton{"OKButton"};

 private:
  Choice choice_ = Choice::Now;
};
