#include "app/UpgradePrompt.h"

UpgradePrompt::UpgradePrompt() : Form("frmUpgrade") {
  caption = "Satellite IP Modem"_t;
  width = 380;
  height = 190;
  Label1.setCaption("You already have the latest version of software."_t);
  Label1.geometry = {15, 12, 350, 20};
  Label2.setCaption(
      "If the Satellite IP Modem is not already connected to your PC, disconnect the dial-up "
      "or LAN connection and connect the Satellite IP Modem to your PC."_t);
  Label2.geometry = {15, 36, 350, 48};
  UpgradeNow.setCaption("&Complete upgrade now"_t);
  UpgradeNow.setValue(true);
  UpgradeNow.geometry = {30, 92, 250, 22};
  UpgradeLater.setCaption("Complete &upgrade later"_t);
  UpgradeLater.geometry = {30, 118, 250, 22};
  OKButton.setCaption("OK"_t);
  OKButton.isDefault = true;
  OKButton.geometry = {145, 152, 90, 28};
  // The two options exclude each other.
  UpgradeNow.onClick = [this] {
    UpgradeLater.setValue(false);
    choice_ = Choice::Now;
  };
  UpgradeLater.onClick = [this] {
    UpgradeNow.setValue(false);
    choice_ = Choice::Later;
  };
  OKButton.onClick = [this] { requestClose(kCloseByProgram); };
  controls = {&Label1, &Label2, &UpgradeNow, &UpgradeLater, &OKButton};
  initialFocus = &UpgradeNow;
}
