#include <gtest/gtest.h>

#include "sim/Harness.h"

namespace {
std::vector<std::string> EnabledOperationControls(MainWindow& f) {
  std::vector<std::string> on;
  for (const char* n : {"cmdGetSoftwareVersion", "cmdSetDNS", "cmdResetModem", "cmdUpgrade",
                        "cmdRestore", "cmdPICupgrade", "cmdUpgradeMenu", "cmdRestoreMenu",
                        "cmdPicUpgradeMenu", "cmdSetModemIP", "mnuFileExit", "txtIPAddress"})
    if (f.find(n)->enabled()) on.push_back(n);
  return on;
}
}  // namespace

TEST(BusyState, TheControlSets) {
  Harness h;
  auto& f = h.load();
  h.advance(1000);  // the start-up query has ended
  ASSERT_FALSE(h.busy());
  EXPECT_EQ(EnabledOperationControls(f).size(), 12u);

  f.setBusy(true);
  EXPECT_TRUE(f.busy());
  EXPECT_EQ(h.ui().pointer(), Ui::kPointerBusy);
  EXPECT_TRUE(EnabledOperationControls(f).empty());
  EXPECT_TRUE(f.cmdDisableAutoPicMenu.enabled());
  EXPECT_TRUE(f.mnuHelpAbout.enabled());

  // Taken twice, given back once: idle.
  f.setBusy(true);
  f.setBusy(false);
  EXPECT_FALSE(f.busy());
  EXPECT_EQ(h.ui().pointer(), Ui::kPointerDefault);
  EXPECT_EQ(EnabledOperationControls(f).size(), 12u);

  f.lockUpgradeControls();
  EXPECT_EQ(EnabledOperationControls(f),
            (std::vector<std::string>{"cmdGetSoftwareVersion", "cmdSetDNS", "cmdResetModem",
                                      "cmdSetModemIP", "mnuFileExit"}));
}

TEST(BusyState, IndicatorColours) {
  Harness h;
  auto& f = h.load();
  f.setConnected(false);
  EXPECT_EQ(f.statusLED.fillColor(), 255);
  EXPECT_FALSE(f.session().connected);
  f.setConnected(true);
  EXPECT_EQ(f.statusLED.fillColor(), 65280);
  EXPECT_TRUE(f.session().connected);
}
