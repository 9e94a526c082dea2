// The upgrade and restore as a user lives through them: the simulated
// modem's ZING, FTP and telnet sides, on the virtual clock.
#include <gtest/gtest.h>

#include "firmware/ChainWait.h"
#include "firmware/RestoreWorkflow.h"
#include "firmware/frmRestore.h"
#include "sim/WorkflowPeers.h"

namespace {

const std::string kSeries = "Release Series conflict detected. Upgrade not possible.";
const std::string kUploadTimeout =
    "Upgrade failed.  Click OK and close the upgrader.  Turn the Satellite IP Modem off and on "
    "again before retrying upgrade.";
const std::string kBackupTimeout =
    "Upgrade failed. Click OK and close the upgrader.  Check connection before retrying upgrade.";

using WorkflowCase = WorkflowModem;

}  // namespace

// ---- Upgrade ----

TEST(Upgrade, WithoutABackupFetchesItThenInstallsAndRestarts) {
  WorkflowCase h;
  h.start();
  h.f().cmdUpgrade.click();
  h.settle();
  EXPECT_EQ(h.console->lines, std::vector<std::string>{"mmi_prepare_for_download"});
  EXPECT_EQ(h.ftpLog(),
            (std::vector<std::string>{
                "GET /bin/kova.bin " + h.Q(h.backupPath("kova_5_2_0_12.bin")),
                "GET /checksum.txt " + h.Q(h.backupPath("chk_5_2_0_12.txt")),
                "PUT " + h.Q(h.homePath("kova_5_2_0_13.bin")) + " /bin/kova.bin",
                "PUT " + h.Q(h.homePath("chk_5_2_0_13.txt")) + " /checksum.txt", "CLOSE"}));
  EXPECT_EQ(h.home.read("Backup/kova_5_2_0_12.bin"), "KOVA-IMAGE 5.2.0.12\nold image");
  EXPECT_EQ(h.home.read("Backup/chk_5_2_0_12.txt"), "checksum 5.2.0.12");
  EXPECT_EQ(h.platform.ftp.files["/bin/kova.bin"], "KOVA-IMAGE 5.2.0.13\nimage bytes");
  EXPECT_TRUE(h.f().blnBackupDone);
  for (const char* s : {"Preparing for Upgrade with version 5.2.0.13 ...",
                        "Downloading Satellite IP Modem software to PC...",
                        "Upgrading Satellite IP Modem with version 5.2.0.13 ...",
                        "Successfully upgraded! Wait..."})
    EXPECT_TRUE(h.sawStatus(s)) << s;
  // The restart and the query 25 s after it.
  EXPECT_EQ(h.zing->requests, (std::vector<int>{4, 13, 4}));
  EXPECT_TRUE(h.ui().boxes.empty()) << h.ui().boxes.front().text;
  EXPECT_FALSE(h.busy());
}

TEST(Upgrade, FactoryModeWithAutomaticPicReflashesAfterTheRestart) {
  WorkflowCase h;
  h.home.write("pic.hex", ":00000001FF\n");
  h.settings.commandLine = "/Factory";
  h.platform.ftp.files.erase("/config.txt");  // a modem without a configuration
  h.start();
  ASSERT_EQ(h.f().AutoPic.value(), 1);
  h.f().cmdUpgrade.click();
  h.settle();
  h.clock().advanceUntil([&] { return h.console->lines.size() == 2; }, 60000);
  h.settle();
  const auto& log = h.ftpLog();
  ASSERT_GE(log.size(), 6u);
  EXPECT_EQ(log[4], "PUT pic.hex /pic.hex");
  // Answered with an error (no such file): the chain still closes and restarts.
  EXPECT_EQ(log[5], "DELETE /config.txt");
  EXPECT_EQ(log.back(), "CLOSE");
  EXPECT_EQ(h.platform.ftp.files["/pic.hex"], ":00000001FF\n");
  EXPECT_EQ(h.console->lines,
            (std::vector<std::string>{"mmi_prepare_for_download", "pic_driver_reflash 1"}));
  EXPECT_TRUE(h.sawStatus("Successfully upgraded! Wait..."));
  EXPECT_FALSE(h.f().blnPicPending);
  EXPECT_FALSE(h.busy());
}

TEST(Upgrade, BackupInTheStoreGoesStraightToTheUpload) {
  WorkflowCase h;
  h.home.write("Backup/kova_5_2_0_12.bin", "kept");
  h.home.write("Backup/chk_5_2_0_12.txt", "kept");
  h.start();
  std::vector<int> progress;
  h.f().Progress.changed.connect([&] { progress.push_back(h.f().Progress.value()); });
  h.f().cmdUpgradeMenu.click();
  h.advance(2000);
  ASSERT_FALSE(h.ftpLog().empty());
  EXPECT_EQ(h.ftpLog().front(), "PUT " + h.Q(h.homePath("kova_5_2_0_13.bin")) + " /bin/kova.bin");
  EXPECT_EQ(progress.front(), 0);
  EXPECT_EQ(progress.at(1), 10);
  h.settle();
  EXPECT_EQ(h.home.read("Backup/kova_5_2_0_12.bin"), "kept");
  EXPECT_FALSE(h.busy());
}

TEST(Upgrade, UnknownVersionWithTheFtpPortAnsweringBacksUpAs0000WithoutPrepare) {
  WorkflowCase h;
  h.unplugZing();
  h.start();
  h.advance(10000);  // version query fails, the connection test answers
  ASSERT_TRUE(h.f().blnModemConnected);
  ASSERT_EQ(h.f().strModemVersion, "0_0_0_0");
  h.ui().boxes.clear();
  h.f().cmdUpgrade.click();
  h.settle();
  EXPECT_TRUE(h.console->connections.empty());
  ASSERT_FALSE(h.ftpLog().empty());
  EXPECT_EQ(h.ftpLog().front(), "GET /bin/kova.bin " + h.Q(h.backupPath("kova_0_0_0_0.bin")));
  EXPECT_TRUE(h.home.exists("Backup/kova_0_0_0_0.bin"));
  EXPECT_TRUE(h.home.exists("Backup/chk_0_0_0_0.txt"));
}

TEST(Upgrade, ReleaseSeriesConflictAndMissingChecksumAreRefused) {
  {
    WorkflowCase h;
    h.home.write("kova_5_3_1_4.bin", "x");
    std::filesystem::remove(h.home.path() / "kova_5_2_0_13.bin");
    h.start();
    h.f().cmdUpgrade.click();
    h.advance(1000);
    EXPECT_EQ(h.boxTexts(), std::vector<std::string>{kSeries});
    EXPECT_EQ(h.ui().boxes[0].style, MsgCritical);
    EXPECT_EQ(h.f().sbUpgrade.text(), kSeries);
    EXPECT_TRUE(h.ftpLog().empty());
    EXPECT_TRUE(h.console->connections.empty());
  }
  {
    WorkflowCase h;  // the store holds the backup: the upload branch checks the checksum
    h.home.write("Backup/kova_5_2_0_12.bin", "kept");
    std::filesystem::remove(h.home.path() / "chk_5_2_0_13.txt");
    h.start();
    h.f().cmdUpgrade.click();
    h.advance(1000);
    EXPECT_EQ(h.boxTexts(), std::vector<std::string>{
                                "We can't load this version because checksum file doesn't exist."});
    EXPECT_EQ(h.f().sbUpgrade.text(), "");
    EXPECT_TRUE(h.ftpLog().empty());
    EXPECT_FALSE(h.busy());
  }
  {
    WorkflowCase h;  // no checksum on the modem: the upgrade goes on without a backup
    h.platform.ftp.files.erase("/checksum.txt");
    h.start();
    h.f().cmdUpgrade.click();
    h.settle();
    EXPECT_FALSE(h.home.exists("Backup/kova_5_2_0_12.bin"));
    EXPECT_EQ(h.platform.ftp.files["/bin/kova.bin"], "KOVA-IMAGE 5.2.0.13\nimage bytes");
  }
}

TEST(Upgrade, StalledBackupEndsByTheWatchdogAndLeavesNoHalfBackup) {
  WorkflowCase h;
  h.platform.ftp.faults["GET /checksum.txt"] = {SimFtpServer::Fault::Stall, 0, "", -1};
  h.start();
  h.f().cmdUpgrade.click();
  h.settle();
  EXPECT_TRUE(h.sawStatus("Timer expired. Checking connection...."));
  EXPECT_FALSE(h.home.exists("Backup/kova_5_2_0_12.bin"));
  EXPECT_FALSE(h.home.exists("Backup/chk_5_2_0_12.txt"));
  EXPECT_FALSE(h.busy());
  EXPECT_EQ(h.ftpLog().size(), 2u);
}

TEST(Upgrade, OwnLimitOfThreeMinutesCancelsAndKeepsOnlyACompleteBackup) {
  WorkflowCase h;
  // Each command takes a minute: the watchdog never fires, the chain does
  // not end within 180 s.
  h.platform.ftp.commandMs = 60000;
  h.start();
  h.f().cmdUpgrade.click();
  h.clock().advanceUntil([&] { return !h.ui().boxes.empty(); }, 400000);
  ASSERT_EQ(h.boxTexts(), std::vector<std::string>{kBackupTimeout});
  EXPECT_FALSE(h.busy());
  EXPECT_TRUE(h.f().blnFTPDone);
  EXPECT_EQ(h.f().sbUpgrade.text(), "");
  // Both backup files had arrived before the image upload ran out of time.
  EXPECT_TRUE(h.f().blnBackupDone);
  EXPECT_TRUE(h.home.exists("Backup/kova_5_2_0_12.bin"));
  EXPECT_TRUE(h.home.exists("Backup/chk_5_2_0_12.txt"));
  // The cancelled chain stays quiet afterwards.
  h.advance(300000);
  EXPECT_EQ(h.ui().boxes.size(), 1u);
}

TEST(Upgrade, BackupCutShortByTheOwnLimitLeavesNothingInTheStore) {
  WorkflowCase h;
  h.platform.ftp.faults["GET /bin/kova.bin"] = {SimFtpServer::Fault::Stall, 0, "", -1};
  h.start();
  // A slow link that keeps making progress: the request watchdog stays quiet.
  h.f().tmrFTPReq->setInterval(1000000);
  // What had arrived when the time ran out.
  h.f().sbUpgrade.changed.connect([&] {
    if (h.f().sbUpgrade.text() == "Downloading Satellite IP Modem software to PC...")
      h.home.write("Backup/kova_5_2_0_12.bin", "part of an ima");
  });
  h.f().cmdUpgrade.click();  // returns when the workflow has ended
  h.clock().advanceUntil([&] { return !h.ui().boxes.empty(); }, 400000);
  EXPECT_EQ(h.boxTexts(), std::vector<std::string>{kBackupTimeout});
  EXPECT_FALSE(h.home.exists("Backup/kova_5_2_0_12.bin"));
  EXPECT_FALSE(h.busy());
}

TEST(Upgrade, SilentConsoleDoesNotHoldTheUpgrade) {
  WorkflowCase h;
  h.console->prepareAnswer.clear();
  h.start();
  h.f().cmdUpgrade.click();
  h.settle();
  EXPECT_TRUE(h.sawStatus("No answer to the prepare command within 10 seconds."));
  EXPECT_TRUE(h.sawStatus("Successfully upgraded! Wait..."));
}

// ---- Restore ----

struct RestoreCase : WorkflowCase {
  std::vector<std::vector<std::string>> listed;  // what each chooser showed
  std::function<void(frmRestore&)> user;          // what the user does in it

  RestoreCase() {
    ui().modalScripts["frmRestore"] = [this](Form& form) {
      auto& d = static_cast<frmRestore&>(form);
      listed.push_back(d.lstOldSoftwareVersions.items());
      if (user) user(d);
    };
  }
  void store(const std::string& v, bool withChecksum = true) {
    home.write("Backup/kova_" + v + ".bin", "KOVA-IMAGE " + v);
    if (withChecksum) home.write("Backup/chk_" + v + ".txt", "checksum " + v);
  }
};

TEST(Restore, NoOldVersions) {
  RestoreCase h;
  h.start();
  h.f().cmdRestore.click();
  EXPECT_EQ(h.boxTexts(), std::vector<std::string>{"No old versions are available."});
  EXPECT_TRUE(h.listed.empty());
  EXPECT_FALSE(h.busy());
}

TEST(Restore, SingleVersionIsPreselectedAndRestoredWithTheWholeChain) {
  RestoreCase h;
  h.store("5_2_0_12");
  h.start();
  h.user = [](frmRestore& d) {
    EXPECT_EQ(d.lstOldSoftwareVersions.listIndex(), 0);
    d.cmdOkRestore.click();
  };
  h.f().cmdRestoreMenu.click();
  h.settle();
  ASSERT_EQ(h.listed, (std::vector<std::vector<std::string>>{{"5.2.0.12"}}));
  EXPECT_TRUE(h.sawStatus("Preparing for Software Restore with version 5_2_0_12 ..."));
  EXPECT_TRUE(h.sawStatus("Restoring Satellite IP Modem with version 5_2_0_12 ..."));
  EXPECT_TRUE(h.sawStatus("Successfully restored! Wait..."));
  EXPECT_EQ(h.ftpLog(),
            (std::vector<std::string>{
                "PUT " + h.Q(h.backupPath("kova_5_2_0_12.bin")) + " /bin/kova.bin",
                "PUT " + h.Q(h.backupPath("chk_5_2_0_12.txt")) + " /checksum.txt",
                "DELETE /config.txt",
                // The second deletion finds nothing: the chain ends all the same.
                "DELETE /config.txt", "CLOSE"}));
  EXPECT_EQ(h.console->lines, std::vector<std::string>{"mmi_prepare_for_download"});
  EXPECT_EQ(h.platform.ftp.files["/bin/kova.bin"], "KOVA-IMAGE 5_2_0_12");
  EXPECT_EQ(h.f().globals.strRestoreVersion, "5_2_0_12");
  EXPECT_TRUE(h.ui().boxes.empty());
  EXPECT_FALSE(h.busy());
}

TEST(Restore, SeveralVersionsNeedAChoice) {
  RestoreCase h;
  h.store("5_2_0_10");
  h.store("5_2_0_11");
  h.start();
  h.user = [](frmRestore& d) { d.cmdOkRestore.click(); };  // nothing selected
  h.f().cmdRestore.click();
  ASSERT_EQ(h.listed.size(), 1u);
  EXPECT_EQ(h.listed[0].size(), 2u);
  EXPECT_TRUE(h.ui().boxes.empty());
  EXPECT_TRUE(h.ftpLog().empty());
  for (auto& v : h.f().globals.strOldVersions) EXPECT_EQ(v, "");

  h.user = [](frmRestore& d) { d.cmdCancelRestore.click(); };
  h.f().cmdRestore.click();
  h.user = nullptr;  // closed by its frame
  h.f().cmdRestore.click();
  EXPECT_TRUE(h.ftpLog().empty());
  EXPECT_FALSE(h.busy());

  h.user = [](frmRestore& d) {
    auto& items = d.lstOldSoftwareVersions.items();
    for (std::size_t i = 0; i < items.size(); ++i)
      if (items[i] == "5.2.0.11") d.lstOldSoftwareVersions.setListIndex(static_cast<int>(i));
    d.cmdOkRestore.click();
  };
  h.f().cmdRestore.click();
  h.settle();
  EXPECT_EQ(h.platform.ftp.files["/bin/kova.bin"], "KOVA-IMAGE 5_2_0_11");
}

TEST(Restore, SeriesConflictAndMissingChecksumStopBeforeAnyTransfer) {
  RestoreCase h;
  h.store("4_9_0_1");
  h.store("5_2_0_9", false);
  h.start();
  auto pick = [&h](const std::string& v) {
    h.user = [v](frmRestore& d) {
      auto& items = d.lstOldSoftwareVersions.items();
      for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] == v) d.lstOldSoftwareVersions.setListIndex(static_cast<int>(i));
      d.cmdOkRestore.click();
    };
  };
  pick("4.9.0.1");
  h.f().cmdRestore.click();
  EXPECT_EQ(h.boxTexts(), std::vector<std::string>{kSeries});
  EXPECT_EQ(h.f().sbUpgrade.text(), kSeries);
  pick("5.2.0.9");
  h.f().cmdRestore.click();
  EXPECT_EQ(h.boxTexts().back(),
            "We can't restore this version because checksum file doesn't exist.");
  EXPECT_TRUE(h.ftpLog().empty());
  EXPECT_TRUE(h.console->connections.empty());
  EXPECT_FALSE(h.busy());
}

TEST(Restore, StalledUploadHitsTheOwnLimit) {
  RestoreCase h;
  h.store("5_2_0_12");
  h.platform.ftp.commandMs = 60000;  // each within the watchdog, all beyond 180 s
  h.start();
  h.user = [](frmRestore& d) { d.cmdOkRestore.click(); };
  h.f().cmdRestore.click();
  h.clock().advanceUntil([&] { return !h.ui().boxes.empty(); }, 400000);
  EXPECT_EQ(h.boxTexts(), std::vector<std::string>{kUploadTimeout});
  EXPECT_FALSE(h.busy());
  EXPECT_EQ(h.f().sbUpgrade.text(), "");
}

TEST(Restore, EmptyAddressAsksForOne) {
  RestoreCase h;
  h.start();
  h.f().strModemIP.clear();
  h.f().cmdRestore.click();
  h.f().cmdUpgrade.click();
  EXPECT_EQ(h.boxTexts(), (std::vector<std::string>{"Please enter Satellite IP Modem's IP address.",
                                                     "Please enter Satellite IP Modem's IP Address."}));
  EXPECT_FALSE(h.busy());
}
