// The prompt shown for "-u": upgrade the modem now or later.
#pragma once

#include <cstdint>

#include "platform/Form.h"

class frmUpgrade : public Form {
 public:
  frmUpgrade();
  void load() override { intUpgradeChoice = 0; }

  // 0: complete the upgrade now; 1: later.
  std::int16_t intUpgradeChoice = 0;

  Label Label1{"Label1"};
  Label Label2{"Label2"};
  OptionButton UpgradeNow{"UpgradeNow"};
  OptionButton UpgradeLater{"UpgradeLater"};
  Button OKButton{"OKButton"};
};
