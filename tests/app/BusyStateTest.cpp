#include <gtest/gtest.h>

#include "sim/Harness.h"

namespace {
std::vector<std::string> EnabledOperationControls(frmMain& f) {
  std::vector<std::string> on;
  for (const char* n : {"cmdGetSoftwareVersion", "cmdSetDNS", "cmdResetModem", "cmdUpgrade",
                        "cmdRestore", "cmdPICupgrade", "cmdUpgradeMenu", "cmdRestoreMenu",
                        "cmdPicUpgradeMenu", "cmdSetModemIP", "mnuFileExit", "txtIPAddress"})
    if (f.find(n)->enabled()) on.push_back(n);
  return on;
}
}  // namespace

TEST(BusyState, ModesAndTheControlSets) {
  Harness h;
  auto& f = h.load();
  h.advance(1000);  // the start-up query has ended
  ASSERT_FALSE(h.busy());

  EXPECT_FALSE(f.SetBusyState(2));
  EXPECT_FALSE(h.busy());
  EXPECT_EQ(EnabledOperationControls(f).size(), 12u);

  EXPECT_TRUE(f.SetBusyState(1));
  EXPECT_EQ(h.ui().pointer(), 13);
  EXPECT_TRUE(EnabledOperationControls(f).empty());
  EXPECT_TRUE(f.cmdDisableAutoPicMenu.enabled());
  EXPECT_TRUE(f.mnuHelpAbout.enabled());

  // Taken twice, given back once: idle.
  f.SetBusyState(1);
  EXPECT_TRUE(f.SetBusyState(0));
  EXPECT_EQ(h.ui().pointer(), 0);
  EXPECT_EQ(EnabledOperationControls(f).size(), 12u);

  f.DisableUpgradeControls();
  EXPECT_EQ(EnabledOperationControls(f),
            (std::vector<std::string>{"cmdGetSoftwareVersion", "cmdSetDNS", "cmdResetModem",
                                      "cmdSetModemIP", "mnuFileExit"}));
  EXPECT_FALSE(f.txtIPAddress.enabled());
}

TEST(BusyState, IndicatorColours) {
  Harness h;
  auto& f = h.load();
  f.SetStatusLED(false);
  EXPECT_EQ(f.statusLED.fillColor(), 255);
  EXPECT_FALSE(f.blnModemConnected);
  f.SetStatusLED(true);
  EXPECT_EQ(f.statusLED.fillColor(), 65280);
  EXPECT_TRUE(f.blnModemConnected);
}

TEST(MainWindow, CaptionsTooltipsAndMenus) {
  Harness h;
  auto& f = h.load();
  EXPECT_EQ(f.caption, "KOVA Satellite IP Modem Upgrader");
  EXPECT_EQ(f.lblIPAddress.caption(), "IP Address:");
  EXPECT_EQ(f.lblNewVersion.caption(), "New software version:");
  EXPECT_EQ(f.lblCurrentVersion.caption(), "Modem software version:");
  EXPECT_EQ(f.cmdUpgrade.caption(), "&Upgrade");
  EXPECT_EQ(f.cmdUpgrade.toolTip(), "Upgrade software");
  EXPECT_EQ(f.cmdRestore.toolTip(), "Restore original software");
  EXPECT_EQ(f.cmdPICupgrade.caption(), "PIC upgrade");
  EXPECT_EQ(f.cmdPICupgrade.toolTip(), "PIC upgrade without Software Upgrade");
  ASSERT_EQ(f.menus.size(), 3u);
  std::vector<std::string> captions;
  for (auto& m : f.menus) {
    captions.push_back(m.caption);
    for (auto* i : m.items) captions.push_back(i->caption());
  }
  EXPECT_EQ(captions, (std::vector<std::string>{
                          "&File", "&Upgrade", "&Restore", "&PicUpgrade",
                          "&DisableAutoPicUpgrade", "-", "E&xit", "&Tools",
                          "&Configure Modem &Interface", "&Get Software Version",
                          "&Set DNS addresses", "-", "&Reset Modem", "&Help",
                          "&About Upgrader..."}));
  // All eight timers are off at start, with their intervals.
  EXPECT_EQ(f.tmrFTPReq->interval(), 65000);
  EXPECT_EQ(f.tmrResetDelay->interval(), 25000);
  EXPECT_EQ(f.tmrConneTest->interval(), 2000);
  EXPECT_EQ(f.tmrPicUpgrCnt->interval(), 10000);
  EXPECT_FALSE(f.tmrFTPReq->enabled());
  EXPECT_FALSE(f.tmrResetDelay->enabled());
}
