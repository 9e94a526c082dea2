// Upgrade scenarios beyond the plain road: the checksum files, each way the
// FTP chain can break, the workflow's own bounds, the automatic PIC road.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "sim/WorkflowPeers.h"

namespace {

using Lines = std::vector<std::string>;
const std::string kBackupTimeout =
    "Upgrade failed. Click OK and close the upgrader.  Check connection before retrying upgrade.";
const std::string kSuccess = "Successfully upgraded! Wait...";

bool Contains(const std::vector<int>& v, int x) {
  return std::find(v.begin(), v.end(), x) != v.end();
}

}  // namespace

TEST(UpgradeScenario, NoNewChecksumAfterAFreshBackupDeletesTheModemsOne) {
  WorkflowModem h;
  h.removeHomeFile("chk_5_2_0_13.txt");
  h.start();
  h.progress.clear();
  h.f().cmdUpgrade.click();
  h.settle();
  EXPECT_EQ(h.ftpLog(),
            (Lines{"GET /bin/kova.bin " + h.Q(h.backupPath("kova_5_2_0_12.bin")),
                   "GET /checksum.txt " + h.Q(h.backupPath("chk_5_2_0_12.txt")),
                   "PUT " + h.Q(h.homePath("kova_5_2_0_13.bin")) + " /bin/kova.bin",
                   "DELETE /checksum.txt", "CLOSE"}));
  EXPECT_EQ(h.platform.ftp.files.count("/checksum.txt"), 0u);
  // The backup is whole: it stays.
  EXPECT_EQ(h.home.read("Backup/chk_5_2_0_12.txt"), "checksum 5.2.0.12");
  EXPECT_TRUE(h.home.exists("Backup/kova_5_2_0_12.bin"));
  EXPECT_TRUE(h.sawStatus(kSuccess));
  EXPECT_TRUE(h.ui().boxes.empty());
  // The last value comes with the version read after the restart.
  EXPECT_EQ(h.progress, (std::vector<int>{0, 20, 80, 100}));
  EXPECT_FALSE(h.busy());
}

// Every FTP failure ends the chain where it happens; the store keeps a
// backup only when both of its files arrived.
TEST(UpgradeScenario, EachFtpFailureEndsTheChainAndKeepsOnlyWholeBackups) {
  struct Case {
    const char* what;
    std::function<void(WorkflowModem&)> arrange;
    std::size_t commands;  // how many reached the modem
    std::string box;       // the chain's message ("" for none of its own)
    std::string status;    // a status the failure shows ("" to skip)
    bool backupKept;
  };
  const std::string suddenly =
      "FTP connection was suddenly closed.\r\n\r\nRemove power and reapply power to the "
      "Satellite IP Modem, then repeat last operation.";
  const std::vector<Case> cases = {
      {"login refused", [](WorkflowModem& h) { h.platform.ftp.loginOk = false; }, 1,
       "Incorrect Username or Password!", "", false},
      {"server unreachable", [](WorkflowModem& h) { h.platform.ftp.reachable = false; }, 1,
       "Can not connect to Satellite IP Modem. Please check cable connection and retry.", "",
       false},
      {"dropped during the checksum backup",
       [](WorkflowModem& h) {
         h.platform.ftp.faults["GET /checksum.txt"] = {SimFtpServer::Fault::Disconnect, 0, "", -1};
       },
       2, suddenly, "", false},
      {"image upload fails",
       [](WorkflowModem& h) {
         h.platform.ftp.faults["PUT /bin/kova.bin"] = {SimFtpServer::Fault::Error, 12031,
                                                       "Connection reset", -1};
       },
       3,
       "An unexpected FTP error occurred.\r\nOperation cancelled.\r\n\r\nError Code:  12031 : "
       "Connection reset",
       "", true},
      {"checksum upload times out",
       [](WorkflowModem& h) {
         h.platform.ftp.faults["PUT /checksum.txt"] = {SimFtpServer::Fault::Error, 12002,
                                                       "timed out", -1};
       },
       4, "", "FTP Timeout. Checking connection.....", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WorkflowModem h;
    c.arrange(h);
    h.start();
    h.f().cmdUpgrade.click();
    h.settle();
    EXPECT_EQ(h.ftpLog().size(), c.commands);
    for (const auto& cmd : h.ftpLog()) EXPECT_NE(cmd, "CLOSE");
    if (!c.box.empty()) {
      ASSERT_FALSE(h.ui().boxes.empty());
      EXPECT_EQ(h.ui().boxes[0].text, c.box);
      EXPECT_EQ(h.ui().boxes[0].style, MsgExclamation);
    }
    if (!c.status.empty()) {
      EXPECT_TRUE(h.sawStatus(c.status));
    }
    EXPECT_FALSE(h.sawStatus(kSuccess));
    EXPECT_FALSE(Contains(h.zing->requests, 13)) << "no restart after a failure";
    EXPECT_EQ(h.home.exists("Backup/kova_5_2_0_12.bin"), c.backupKept);
    EXPECT_EQ(h.home.exists("Backup/chk_5_2_0_12.txt"), c.backupKept);
    EXPECT_FALSE(h.busy());
  }
}

// The whole road with automatic PIC: upload, restart, the version reply
// starts the reflash, "Completed", and the version is read once more.
TEST(UpgradeScenario, AutomaticPicReflashesAfterTheRestartAndReadsTheVersionAgain) {
  WorkflowModem h;
  h.home.write("pic.hex", ":00000001FF\n");
  h.start();
  ASSERT_EQ(h.f().AutoPic.value(), 1);
  h.f().cmdUpgrade.click();
  h.settle();
  EXPECT_EQ(h.ftpLog(),
            (Lines{"GET /bin/kova.bin " + h.Q(h.backupPath("kova_5_2_0_12.bin")),
                   "GET /checksum.txt " + h.Q(h.backupPath("chk_5_2_0_12.txt")),
                   "PUT " + h.Q(h.homePath("kova_5_2_0_13.bin")) + " /bin/kova.bin",
                   "PUT " + h.Q(h.homePath("chk_5_2_0_13.txt")) + " /checksum.txt",
                   "PUT pic.hex /pic.hex", "CLOSE"}));
  EXPECT_EQ(h.platform.ftp.files["/pic.hex"], ":00000001FF\n");
  EXPECT_EQ(h.platform.ftp.files["/config.txt"], "config");  // not in factory mode
  EXPECT_EQ(h.console->lines, (Lines{"mmi_prepare_for_download", "pic_driver_reflash 1"}));
  // Start-up, restart order, the query after it, the query after the reflash.
  EXPECT_EQ(h.zing->requests, (std::vector<int>{4, 13, 4, 4}));
  for (const char* s : {"Uploading PIC software! Wait...", "PIC successfully uploaded! Wait...",
                        "PIC reflashing.... Wait up to 1 minute.   DO NOT INTERRUPT",
                        "PIC reflash completed. Wait for restart..."})
    EXPECT_TRUE(h.sawStatus(s)) << s;
  EXPECT_EQ(h.boxTexts(),
            Lines{"Upgrade Completed.\r\nClick OK and wait until we get software version."});
  EXPECT_TRUE(Contains(h.progress, 40));
  EXPECT_EQ(h.f().Progress.value(), 100);
  EXPECT_FALSE(h.f().blnPicPending);
  EXPECT_EQ(h.f().strModemVersion, "5_2_0_12");
  EXPECT_FALSE(h.busy());
}

// The three-minute limit is tested after each one-second round; a backup
// it cuts short is removed, a restore then has nothing to offer, and the
// next upgrade fetches the backup again.
TEST(UpgradeScenario, OwnLimitCutsTheBackupShortAndNothingOfItStays) {
  WorkflowModem h;
  h.platform.ftp.commandMs = 100000;  // a slow link, still answering
  h.start();
  h.f().tmrFTPReq->setInterval(100000000);
  // The user takes a while to read the box: the chain must be over by then.
  h.ui().onMsgBox = [&](const MsgRecord&) { h.advance(150000); };
  h.f().cmdUpgrade.click();
  const long t0 = h.statusAt("Downloading Satellite IP Modem software to PC...");
  ASSERT_GE(t0, 0);
  ASSERT_EQ(h.boxTexts(), Lines{kBackupTimeout});
  EXPECT_EQ(h.ui().boxes[0].atMs, t0 + 181000);
  EXPECT_EQ(h.ui().boxes[0].style, MsgExclamation);
  EXPECT_EQ(h.ui().boxes[0].title, "Satellite IP Modem Upgrader");
  // The image had arrived, its checksum was under way.
  EXPECT_EQ(h.ftpLog().size(), 2u);
  EXPECT_FALSE(h.f().blnBackupDone);
  EXPECT_FALSE(h.home.exists("Backup/kova_5_2_0_12.bin"));
  EXPECT_FALSE(h.home.exists("Backup/chk_5_2_0_12.txt"));
  EXPECT_EQ(h.f().sbUpgrade.text(), "");
  EXPECT_FALSE(h.busy());
  h.advance(300000);
  EXPECT_EQ(h.ftpLog().size(), 2u);
  EXPECT_EQ(h.ui().boxes.size(), 1u);

  h.ui().onMsgBox = nullptr;
  h.ui().boxes.clear();
  h.f().cmdRestore.click();
  EXPECT_EQ(h.boxTexts(), Lines{"No old versions are available."});
  EXPECT_TRUE(h.ui().modalLog.empty());

  h.platform.ftp.commandMs = 100;
  h.f().tmrFTPReq->setInterval(65000);
  h.ftpLog().clear();
  h.f().cmdUpgrade.click();
  h.settle();
  ASSERT_FALSE(h.ftpLog().empty());
  EXPECT_EQ(h.ftpLog().front(), "GET /bin/kova.bin " + h.Q(h.backupPath("kova_5_2_0_12.bin")));
  EXPECT_EQ(h.home.read("Backup/kova_5_2_0_12.bin"), "KOVA-IMAGE 5.2.0.12\nold image");
  EXPECT_TRUE(h.home.exists("Backup/chk_5_2_0_12.txt"));
}

// A version query that never ends is given up after 30 s: nothing else
// starts and the window is free again.
TEST(UpgradeScenario, VersionQueryWithoutEndIsGivenUpAfterThirtySeconds) {
  WorkflowModem h;
  h.unplugZing();
  h.start();
  h.advance(10000);  // no version; the FTP port answers
  ASSERT_TRUE(h.f().blnModemConnected);
  ASSERT_EQ(h.f().strModemVersion, "0_0_0_0");
  auto mute = std::make_shared<ZingPeer>();
  mute->silent = true;
  h.platform.network.listen(Harness::kModem, h.settings.zingPort, mute);
  h.f().tmrResponse->setInterval(100000000);  // its own watchdog, made ineffective
  h.ui().boxes.clear();
  const long clickAt = h.clock().nowMs();
  h.f().cmdUpgrade.click();
  EXPECT_EQ(h.statusAt("Upgrade stopped: no software version within 30 seconds."), clickAt + 30000);
  EXPECT_FALSE(h.busy());
  EXPECT_EQ(mute->requests, std::vector<int>{4});
  EXPECT_EQ(h.f().sckZING->state(), TcpSocket::Closed);
  h.advance(60000);
  EXPECT_TRUE(h.ftpLog().empty());
  EXPECT_TRUE(h.console->connections.empty());
  EXPECT_TRUE(h.ui().boxes.empty());
  EXPECT_FALSE(h.busy());
}

// The modem answered last time on its FTP port only, and is gone now.
TEST(UpgradeScenario, UnknownVersionAndNoModemEndsAfterTheQuerysOwnReport) {
  WorkflowModem h;
  h.unplugZing();
  h.start();
  h.advance(10000);
  ASSERT_TRUE(h.f().blnModemConnected);
  h.unplugFtpPort();
  h.ui().boxes.clear();
  h.f().cmdUpgrade.click();
  EXPECT_FALSE(h.f().blnModemConnected);
  // Only the query's own failure was reported.
  const auto boxes = h.boxTexts();
  EXPECT_NE(std::find_if(boxes.begin(), boxes.end(),
                         [](const std::string& b) {
                           return b.rfind("Unable to get Satellite IP Modem's software version.\r\n"
                                          "\r\nPlease check the cable connection.",
                                          0) == 0;
                         }),
            boxes.end());
  for (const auto& b : boxes) EXPECT_EQ(b.find("Release Series"), std::string::npos);
  EXPECT_TRUE(h.ftpLog().empty());
  EXPECT_TRUE(h.console->connections.empty());
  EXPECT_FALSE(h.sawStatus("Preparing for Upgrade with version 5.2.0.13 ..."));
  EXPECT_FALSE(h.busy());
}

// A console whose connection never completes holds the upgrade 30 s at
// most; the upgrade then goes on as after any failed prepare.
TEST(UpgradeScenario, ConsoleThatNeverConnectsIsGivenUpAndTheUpgradeGoesOn) {
  WorkflowModem h;
  h.console->mode = SimPeer::Accept::Ignore;
  h.start();
  h.f().tmrTelnetConnect->setInterval(100000000);  // its own watchdog, made ineffective
  h.f().cmdUpgrade.click();
  h.settle();
  const long prepared = h.statusAt("Preparing for Upgrade with version 5.2.0.13 ...");
  ASSERT_GE(prepared, 0);
  EXPECT_EQ(h.statusAt("No answer to the prepare command; going on without it."),
            prepared + 30000);
  EXPECT_EQ(h.statusAt("Downloading Satellite IP Modem software to PC..."), prepared + 30000);
  EXPECT_EQ(h.ftpLog().size(), 5u);
  EXPECT_TRUE(h.sawStatus(kSuccess));
  EXPECT_EQ(h.f().Telnet->state(), TcpSocket::Closed);
  EXPECT_EQ(h.f().lngTelnetCommand, 0);
  EXPECT_TRUE(h.ui().boxes.empty());
  EXPECT_FALSE(h.busy());
}

// The restart after a PIC upload found no version; the user's next upgrade
// reads it, and that reply starts the pending reflash. The upgrade waits
// through the reflash and the restart that follows, then goes on.
TEST(UpgradeScenario, PendingReflashStartedByTheUpgradesOwnQueryIsWaitedFor) {
  WorkflowModem h;
  h.home.write("pic.hex", ":00000001FF\n");
  h.start();
  h.f().cmdUpgrade.click();
  // The restart order is out; the modem comes back without its ZING port.
  ASSERT_TRUE(h.clock().advanceUntil(
      [&] { return std::find(h.zing->requests.begin(), h.zing->requests.end(), 13) !=
                   h.zing->requests.end(); },
      60000));
  h.unplugZing();
  h.settle();
  ASSERT_TRUE(h.f().blnPicPending);
  ASSERT_TRUE(h.f().blnModemConnected);
  ASSERT_EQ(h.f().strModemVersion, "0_0_0_0");
  auto back = std::make_shared<ZingPeer>();
  h.platform.network.listen(Harness::kModem, h.settings.zingPort, back);
  h.ui().boxes.clear();
  h.ftpLog().clear();
  h.console->lines.clear();

  h.f().cmdUpgrade.click();
  h.settle();
  EXPECT_FALSE(h.sawStatus("Upgrade stopped: no software version within 30 seconds."));
  // The pending reflash, then this upgrade's prepare and its own reflash.
  EXPECT_EQ(h.console->lines,
            (Lines{"pic_driver_reflash 1", "mmi_prepare_for_download", "pic_driver_reflash 1"}));
  // Query, query after the reflash; this upgrade's restart, query, query.
  EXPECT_EQ(back->requests, (std::vector<int>{4, 4, 13, 4, 4}));
  ASSERT_FALSE(h.ftpLog().empty());
  // The first upgrade stored the backup: this one uploads at once.
  EXPECT_EQ(h.ftpLog().front(), "PUT " + h.Q(h.homePath("kova_5_2_0_13.bin")) + " /bin/kova.bin");
  EXPECT_EQ(h.ftpLog().back(), "CLOSE");
  EXPECT_FALSE(h.busy());
}
