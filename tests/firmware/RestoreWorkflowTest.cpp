// Restore scenarios beyond the plain road, and the chooser on its own.
#include <gtest/gtest.h>

#include <functional>

#include "core/TextUtilities.h"
#include "firmware/ImageStore.h"
#include "firmware/frmRestore.h"
#include "sim/WorkflowPeers.h"

namespace {

using Lines = std::vector<std::string>;

// A modem with a store, and a user who picks one version in the chooser
// (or takes the preselected one when pick is empty).
struct RestoreModem : WorkflowModem {
  std::string pick;
  RestoreModem() {
    ui().modalScripts["frmRestore"] = [this](Form& form) {
      auto& d = static_cast<frmRestore&>(form);
      const auto& items = d.lstOldSoftwareVersions.items();
      for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] == pick) d.lstOldSoftwareVersions.setListIndex(static_cast<int>(i));
      d.cmdOkRestore.click();
    };
  }
};

}  // namespace

// Neither deletion of the configuration finds one: the restore still ends
// with the restart and the version read after it.
TEST(RestoreScenario, ModemWithoutConfigurationIsRestoredAndRestarted) {
  RestoreModem h;
  h.platform.ftp.files.erase("/config.txt");
  h.store("5_2_0_12");
  h.start();
  h.f().cmdRestore.click();
  h.settle();
  EXPECT_EQ(h.ftpLog(), (Lines{"PUT " + h.Q(h.backupPath("kova_5_2_0_12.bin")) + " /bin/kova.bin",
                               "PUT " + h.Q(h.backupPath("chk_5_2_0_12.txt")) + " /checksum.txt",
                               "DELETE /config.txt", "DELETE /config.txt", "CLOSE"}));
  EXPECT_EQ(h.platform.ftp.files["/checksum.txt"], "checksum 5_2_0_12");
  EXPECT_TRUE(h.sawStatus("Successfully restored! Wait..."));
  EXPECT_EQ(h.zing->requests, (std::vector<int>{4, 13, 4}));
  EXPECT_TRUE(h.ui().boxes.empty());
  // The store is only read.
  EXPECT_TRUE(h.home.exists("Backup/kova_5_2_0_12.bin"));
  EXPECT_TRUE(h.home.exists("Backup/chk_5_2_0_12.txt"));
  EXPECT_FALSE(h.busy());
}

TEST(RestoreScenario, UnknownVersionButReachableModemIsRestoredWithoutPrepare) {
  RestoreModem h;
  h.store("4_9_0_1");  // another series: passes, the running one is unknown
  h.unplugZing();
  h.start();
  h.advance(10000);
  ASSERT_TRUE(h.f().blnModemConnected);
  h.ui().boxes.clear();
  h.f().cmdRestore.click();
  h.settle();
  EXPECT_TRUE(h.console->connections.empty());
  EXPECT_TRUE(h.sawStatus("Preparing for Software Restore with version 4_9_0_1 ..."));
  ASSERT_FALSE(h.ftpLog().empty());
  EXPECT_EQ(h.ftpLog().front(), "PUT " + h.Q(h.backupPath("kova_4_9_0_1.bin")) + " /bin/kova.bin");
  EXPECT_EQ(h.ftpLog().back(), "CLOSE");
  EXPECT_EQ(h.platform.ftp.files["/bin/kova.bin"], "KOVA-IMAGE 4_9_0_1");
}

TEST(RestoreScenario, FtpFailuresEndTheRestoreAndLeaveTheStoreAlone) {
  struct Case {
    const char* what;
    std::string fault;
    SimFtpServer::Fault how;
    std::size_t commands;
    std::string box;
  };
  const std::vector<Case> cases = {
      {"image upload refused", "PUT /bin/kova.bin",
       {SimFtpServer::Fault::Error, 12003, "552 Disk full.", -1}, 1,
       "An unexpected FTP error occurred. Operation cancelled.\r\n\r\nError Code:  12003 : 552 "
       "Disk full."},
      {"dropped at the checksum", "PUT /checksum.txt", {SimFtpServer::Fault::Disconnect, 0, "", -1},
       2,
       "FTP connection was suddenly closed.\r\n\r\nRemove power and reapply power to the "
       "Satellite IP Modem, then repeat last operation."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RestoreModem h;
    h.store("5_2_0_12");
    h.platform.ftp.faults[c.fault] = c.how;
    h.start();
    h.f().cmdRestore.click();
    h.settle();
    EXPECT_EQ(h.ftpLog().size(), c.commands);
    EXPECT_EQ(h.boxTexts(), Lines{c.box});
    EXPECT_FALSE(h.sawStatus("Successfully restored! Wait..."));
    EXPECT_EQ(h.zing->requests, std::vector<int>{4});
    EXPECT_TRUE(h.home.exists("Backup/kova_5_2_0_12.bin"));
    EXPECT_TRUE(h.home.exists("Backup/chk_5_2_0_12.txt"));
    EXPECT_FALSE(h.busy());
  }
}

// The limit counts from the PUT, is tested after each one-second round,
// and nothing more reaches the modem once it has struck.
TEST(RestoreScenario, OwnLimitStrikesAt181SecondsAndStopsTheChain) {
  RestoreModem h;
  h.store("5_2_0_12");
  h.platform.ftp.commandMs = 100000;
  h.start();
  h.f().tmrFTPReq->setInterval(100000000);
  h.ui().onMsgBox = [&](const MsgRecord&) { h.advance(150000); };
  h.f().cmdRestore.click();
  const long put = h.statusAt("Restoring Satellite IP Modem with version 5_2_0_12 ...");
  ASSERT_GE(put, 0);
  ASSERT_EQ(h.boxTexts(),
            Lines{"Upgrade failed.  Click OK and close the upgrader.  Turn the Satellite IP Modem "
                  "off and on again before retrying upgrade."});
  EXPECT_EQ(h.ui().boxes[0].atMs, put + 181000);
  EXPECT_EQ(h.ui().boxes[0].title, "Satellite IP Modem Upgrader");
  h.advance(300000);
  EXPECT_EQ(h.ftpLog().size(), 2u);  // the image, and the checksum under way
  EXPECT_EQ(h.f().sbUpgrade.text(), "");
  EXPECT_TRUE(h.f().blnFTPDone);
  EXPECT_EQ(h.zing->requests, std::vector<int>{4});
  EXPECT_FALSE(h.busy());
}

TEST(RestoreScenario, VersionQueryWithoutEndIsGivenUpAfterThirtySeconds) {
  RestoreModem h;
  h.store("5_2_0_12");
  h.unplugZing();
  h.start();
  h.advance(10000);
  auto mute = std::make_shared<ZingPeer>();
  mute->silent = true;
  h.platform.network.listen(Harness::kModem, h.settings.zingPort, mute);
  h.f().tmrResponse->setInterval(100000000);
  const long clickAt = h.clock().nowMs();
  h.f().cmdRestore.click();
  EXPECT_EQ(h.statusAt("Restore stopped: no software version within 30 seconds."), clickAt + 30000);
  EXPECT_TRUE(h.ui().modalLog.empty());
  EXPECT_TRUE(h.ftpLog().empty());
  EXPECT_FALSE(h.busy());
}

// The run's variables: the list is sized with one spare entry, emptied
// after the dialog, and the count kept until the next run.
TEST(RestoreScenario, ListingFillsTheSharedVariablesInStoreOrder) {
  RestoreModem h;
  h.store("5_2_0_9");
  h.store("5_2_0_10");
  h.store("5_2_0_11");
  h.home.write("Backup/kova_notes.txt", "not an image");
  h.home.write("Backup/sylog.log", "log");
  std::vector<std::string> shown;
  h.ui().modalScripts["frmRestore"] = [&](Form& form) {
    auto& d = static_cast<frmRestore&>(form);
    shown = d.lstOldSoftwareVersions.items();
    EXPECT_EQ(d.lstOldSoftwareVersions.listIndex(), -1);
    d.cmdCancelRestore.click();
  };
  h.start();
  h.f().cmdRestore.click();
  auto& g = h.f().globals;
  ASSERT_EQ(shown.size(), 3u);
  // The list keeps the store's order, whatever it is: not sorted.
  Lines fromStore;
  for (const auto& name : ListImages(h.f().strBackupDir))
    fromStore.push_back(ReplaceChar(VersionFromImageName(name), "_", "."));
  EXPECT_EQ(shown, fromStore);
  EXPECT_EQ(g.intOldVersionCount, 3);
  EXPECT_EQ(g.strOldVersions, Lines(4, ""));
  EXPECT_EQ(g.strRestoreVersion, "");
  EXPECT_TRUE(h.ui().boxes.empty());
  EXPECT_FALSE(h.busy());
}

// ---- The chooser on its own ----

TEST(RestoreChooser, LayoutAndItsOutputs) {
  mdlGlobals g;
  frmRestore d(g);
  EXPECT_EQ(d.name(), "frmRestore");
  EXPECT_EQ(d.caption, "Restore Satellite IP Modem Software");
  EXPECT_EQ(d.lblOldSoftwareVersionList.caption(), "Select an old software version to restore:");
  EXPECT_TRUE(d.cmdOkRestore.isDefault);
  EXPECT_FALSE(d.cmdCancelRestore.isDefault);

  // A single entry comes selected: OK takes it.
  g.strOldVersions = {"5.2.0.12", ""};
  g.intOldVersionCount = 1;
  d.reopen();
  d.load();
  d.cmdOkRestore.click();
  EXPECT_TRUE(d.closed());
  EXPECT_EQ(g.strRestoreVersion, "5.2.0.12");

  // Several: nothing selected; Cancel leaves the choice empty.
  g.strRestoreVersion.clear();
  g.strOldVersions = {"5.2.0.9", "5.2.0.10", "4.1.0.1", ""};
  g.intOldVersionCount = 3;
  d.reopen();
  d.load();
  EXPECT_EQ(d.lstOldSoftwareVersions.items(), (Lines{"5.2.0.9", "5.2.0.10", "4.1.0.1"}));
  EXPECT_EQ(d.lstOldSoftwareVersions.listIndex(), -1);
  d.lstOldSoftwareVersions.setListIndex(1);
  d.cmdCancelRestore.click();
  EXPECT_TRUE(d.closed());
  EXPECT_EQ(g.strRestoreVersion, "");

  // A count beyond the list never reads past it.
  g.strOldVersions = {"5.2.0.9"};
  g.intOldVersionCount = 5;
  d.reopen();
  d.load();
  EXPECT_EQ(d.lstOldSoftwareVersions.items(), Lines{"5.2.0.9"});
  d.cmdOkRestore.click();
  EXPECT_EQ(g.strRestoreVersion, "");
}
