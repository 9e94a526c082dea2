// The upgrade as the user and the modem live through it: each road through
// the FTP chain, each way the chain breaks, and the version query before it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "sim/WorkflowPeers.h"

namespace {

using Lines = std::vector<std::string>;
const std::string kSuccess = "Successfully upgraded! Wait...";
const std::string kGetImage = R"(GET /bin/kova.bin "~/Backup/kova_5_2_0_12.bin")";
const std::string kGetChecksum = R"(GET /checksum.txt "~/Backup/chk_5_2_0_12.txt")";
const std::string kPutImage = R"(PUT "~/kova_5_2_0_13.bin" /bin/kova.bin)";
const std::string kPutChecksum = R"(PUT "~/chk_5_2_0_13.txt" /checksum.txt)";
const std::string kPrepare = "mmi_prepare_for_download";
const std::string kReflash = "pic_driver_reflash 1";
const std::string kRejected = "Connection is forcefully rejected";
const std::string kFtpTimeout =
    "FTP timeout.\r\n\r\nRemove power and reapply power to the Satellite IP Modem.\r\nGet "
    "software version using Tools menu before retrying.\r\nClose and restart Upgrader if error "
    "repeats.";

// The FTP log with the home directory written as "~/".
Lines Log(WorkflowModem& h) {
  Lines out;
  const std::string home = h.f().session().homeDir;
  for (std::string line : h.ftpLog()) {
    for (auto at = line.find(home); at != std::string::npos; at = line.find(home))
      line.replace(at, home.size(), "~/");
    out.push_back(line);
  }
  return out;
}

// Names in the backup directory, sorted.
Lines Store(WorkflowModem& h) {
  Lines names;
  for (const auto& e : std::filesystem::directory_iterator(h.home.path() / "Backup"))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(UpgradeScenario, EachRoadThroughTheChainEndsWithTheRestart) {
  struct Case {
    const char* what;
    std::function<void(WorkflowModem&)> arrange;  // before start-up
    Lines ftp;
    Lines console;
    std::vector<int> zing;  // ZING requests after start-up
    std::vector<int> progress;
    Lines statuses;  // each shown on the way
    Lines boxes;
    Lines store;  // the backup directory afterwards
    bool checksumOnModem;
    bool viaMenu;
  };
  const Lines backup = {"chk_5_2_0_12.txt", "kova_5_2_0_12.bin"};
  const Lines plainStatuses = {"Preparing for Upgrade with version 5.2.0.13 ...",
                               "Downloading Satellite IP Modem software to PC...",
                               "Upgrading Satellite IP Modem with version 5.2.0.13 ...", kSuccess};
  const auto pic = [](WorkflowModem& h) { h.home.write("pic.hex", ":00000001FF\n"); };
  const std::vector<Case> cases = {
      {"no backup in the store", nullptr,
       {kGetImage, kGetChecksum, kPutImage, kPutChecksum, "CLOSE"}, {kPrepare}, {13, 4},
       {0, 20, 80, 100}, plainStatuses, {}, backup, true, false},
      {"backup in the store", [](WorkflowModem& h) { h.store("5_2_0_12"); },
       {kPutImage, kPutChecksum, "CLOSE"}, {kPrepare}, {13, 4}, {0, 10, 80, 100},
       {"Upgrading Satellite IP Modem with version 5.2.0.13 ...", kSuccess}, {}, backup, true,
       true},
      {"no new checksum file: the modem's one is deleted",
       [](WorkflowModem& h) { h.removeHomeFile("chk_5_2_0_13.txt"); },
       {kGetImage, kGetChecksum, kPutImage, "DELETE /checksum.txt", "CLOSE"}, {kPrepare}, {13, 4},
       {0, 20, 80, 100}, plainStatuses, {}, backup, false, false},
      {"no checksum on the modem: no backup, the upgrade goes on",
       [](WorkflowModem& h) { h.platform.ftp.files.erase("/checksum.txt"); },
       {kGetImage, kGetChecksum, kPutImage, kPutChecksum, "CLOSE"}, {kPrepare}, {13, 4},
       {0, 20, 80, 100}, plainStatuses, {}, {}, true, false},
      {"automatic PIC: reflashed after the restart, the version read again", pic,
       {kGetImage, kGetChecksum, kPutImage, kPutChecksum, "PUT pic.hex /pic.hex", "CLOSE"},
       {kPrepare, kReflash}, {13, 4, 4}, {0, 20, 40, 70, 80, 90, 100},
       {"Uploading PIC software! Wait...", "PIC successfully uploaded! Wait...",
        "PIC reflashing.... Wait up to 1 minute.   DO NOT INTERRUPT",
        "PIC reflash completed. Wait for restart..."},
       {"Upgrade Completed.\r\nClick OK and wait until we get software version."}, backup, true,
       false},
      {"factory mode with automatic PIC, modem without configuration",
       [&](WorkflowModem& h) {
         pic(h);
         h.settings.commandLine = "/Factory";
         h.platform.ftp.files.erase("/config.txt");
       },
       // The deletion finds nothing: the chain still closes and restarts.
       {kGetImage, kGetChecksum, kPutImage, kPutChecksum, "PUT pic.hex /pic.hex",
        "DELETE /config.txt", "CLOSE"},
       {kPrepare, kReflash}, {13, 4, 4}, {0, 20, 70, 80, 90, 100},
       {"Deleting config file", kSuccess},
       {"Upgrade Completed.\r\nClick OK and wait until we get software version."}, backup, true,
       false},
      {"unknown version, FTP port answering: backed up as 0_0_0_0 without prepare",
       [](WorkflowModem& h) { h.unplugZing(); },
       {R"(GET /bin/kova.bin "~/Backup/kova_0_0_0_0.bin")",
        R"(GET /checksum.txt "~/Backup/chk_0_0_0_0.txt")", kPutImage, kPutChecksum, "CLOSE"},
       // The restart finds no ZING port either.
       {}, {}, {20, 80}, {"Downloading Satellite IP Modem software to PC...", kSuccess},
       {kRejected, "Unable to get Satellite IP Modem's software version.\r\n\r\nUpgrade process "
                   "can be continued.",
        "Unable to reset Satellite IP Modem.\r\n\r\nRemove power and reapply power to the "
        "Satellite IP Modem.",
        kRejected},
       {"chk_0_0_0_0.txt", "kova_0_0_0_0.bin"}, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WorkflowModem h;
    if (c.arrange) c.arrange(h);
    h.start();
    h.advance(10000);  // with the ZING port gone, the FTP port has answered by now
    ASSERT_TRUE(h.f().session().connected);
    h.zing->requests.clear();
    h.progress.clear();
    h.ui().boxes.clear();
    (c.viaMenu ? h.f().cmdUpgradeMenu.click() : h.f().cmdUpgrade.click());
    h.settle();
    EXPECT_EQ(Log(h), c.ftp);
    EXPECT_EQ(h.console->lines, c.console);
    EXPECT_EQ(h.zing->requests, c.zing);
    EXPECT_EQ(h.progress, c.progress);
    for (const auto& s : c.statuses) EXPECT_TRUE(h.sawStatus(s)) << s;
    EXPECT_EQ(h.boxTexts(), c.boxes);
    EXPECT_EQ(Store(h), c.store);
    EXPECT_EQ(h.platform.ftp.files["/bin/kova.bin"], "KOVA-IMAGE 5.2.0.13\nimage bytes");
    EXPECT_EQ(h.platform.ftp.files.count("/checksum.txt"), c.checksumOnModem ? 1u : 0u);
    EXPECT_EQ(h.f().txtCurrentSoftwareVersion.text(), c.zing.empty() ? "Unknown" : "5.2.0.12");
    EXPECT_FALSE(h.busy());
  }
}

// Every FTP failure ends the chain where it happens, without the restart;
// the store keeps a backup only when both of its files arrived.
TEST(UpgradeScenario, EachFtpFailureEndsTheChainAndKeepsOnlyWholeBackups) {
  using Fault = SimFtpServer::Fault;
  struct Case {
    const char* what;
    std::function<void(WorkflowModem&)> arrange;
    std::size_t commands;  // how many reached the modem
    Lines boxes;  // a time-out is reported once the version query has ended
    std::string status;  // shown by the failure ("" to skip)
    long statusAfterMs;  // after "Downloading..." (-1 to skip)
    std::vector<int> zing;
    bool backupKept;
  };
  const auto fault = [](const std::string& command, Fault f) {
    return [command, f](WorkflowModem& h) { h.platform.ftp.faults[command] = f; };
  };
  const std::vector<Case> cases = {
      {"login refused", [](WorkflowModem& h) { h.platform.ftp.loginOk = false; }, 1,
       {"Incorrect Username or Password!"}, "", -1, {}, false},
      {"server unreachable", [](WorkflowModem& h) { h.platform.ftp.reachable = false; }, 1,
       {"Can not connect to Satellite IP Modem. Please check cable connection and retry."}, "",
       -1, {}, false},
      {"dropped during the checksum backup", fault("GET /checksum.txt", {Fault::Disconnect, 0, "", -1}), 2,
       {"FTP connection was suddenly closed.\r\n\r\nRemove power and reapply power to the "
        "Satellite IP Modem, then repeat last operation."},
       "", -1, {}, false},
      // The request watchdog: 65 s after the checksum's GET went out.
      {"checksum backup stalls", fault("GET /checksum.txt", {Fault::Stall, 0, "", -1}), 2, {kFtpTimeout},
       "Timer expired. Checking connection....", 100 + 65000, {4}, false},
      {"image upload fails",
       fault("PUT /bin/kova.bin", {Fault::Error, 12031, "Connection reset", -1}), 3,
       {"An unexpected FTP error occurred.\r\nOperation cancelled.\r\n\r\nError Code:  12031 : "
        "Connection reset"},
       "", -1, {}, true},
      {"checksum upload times out",
       fault("PUT /checksum.txt", {Fault::Error, 12002, "timed out", -1}), 4, {kFtpTimeout},
       "FTP Timeout. Checking connection.....", -1, {4}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WorkflowModem h;
    c.arrange(h);
    h.start();
    h.zing->requests.clear();
    h.f().cmdUpgrade.click();
    h.settle();
    EXPECT_EQ(h.ftpLog().size(), c.commands);
    EXPECT_EQ(h.boxTexts(), c.boxes);
    for (const auto& b : h.ui().boxes) EXPECT_EQ(b.style, MsgExclamation);
    EXPECT_TRUE(c.status.empty() || h.sawStatus(c.status)) << c.status;
    if (c.statusAfterMs >= 0) {
      EXPECT_EQ(h.statusAt(c.status),
                h.statusAt("Downloading Satellite IP Modem software to PC...") + c.statusAfterMs);
    }
    EXPECT_FALSE(h.sawStatus(kSuccess));
    EXPECT_EQ(h.zing->requests, c.zing);
    EXPECT_EQ(h.home.exists("Backup/kova_5_2_0_12.bin"), c.backupKept);
    EXPECT_EQ(h.home.exists("Backup/chk_5_2_0_12.txt"), c.backupKept);
    EXPECT_FALSE(h.busy());
  }
}

// The modem answered last time on its FTP port only, and is gone now.
TEST(UpgradeScenario, UnknownVersionAndNoModemEndsAfterTheQuerysOwnReport) {
  WorkflowModem h;
  h.unplugZing();
  h.start();
  h.advance(10000);
  ASSERT_TRUE(h.f().session().connected);
  h.unplugFtpPort();
  h.ui().boxes.clear();
  h.f().cmdUpgrade.click();
  EXPECT_FALSE(h.f().session().connected);
  // Only the query's own failure was reported (both ports refused).
  EXPECT_EQ(h.boxTexts(),
            (Lines{kRejected,
                   "Unable to get Satellite IP Modem's software version.\r\n\r\nPlease check the "
                   "cable connection.\r\nRemove power and reapply power to the Satellite IP "
                   "Modem.\r\nGet software version using Tools menu before retrying.\r\nClose "
                   "and restart Upgrader if error repeats.",
                   kRejected}));
  EXPECT_TRUE(h.ftpLog().empty());
  EXPECT_TRUE(h.console->connections.empty());
  EXPECT_FALSE(h.sawStatus("Preparing for Upgrade with version 5.2.0.13 ..."));
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
      [&] { return std::count(h.zing->requests.begin(), h.zing->requests.end(), 13) == 1; },
      60000));
  h.unplugZing();
  h.settle();
  ASSERT_TRUE(h.f().session().connected);
  ASSERT_FALSE(h.f().session().runningVersionKnown());
  auto back = std::make_shared<ZingPeer>();
  h.platform.network.listen(Harness::kModem, h.settings.zingPort, back);
  h.ui().boxes.clear();
  h.ftpLog().clear();
  h.console->lines.clear();

  h.f().cmdUpgrade.click();
  h.settle();
  EXPECT_FALSE(h.sawStatus("Upgrade stopped: no software version within 30 seconds."));
  // The pending reflash, then this upgrade's prepare and its own reflash.
  EXPECT_EQ(h.console->lines, (Lines{kReflash, kPrepare, kReflash}));
  // Query, query after the reflash; this upgrade's restart, query, query.
  EXPECT_EQ(back->requests, (std::vector<int>{4, 4, 13, 4, 4}));
  // The first upgrade stored the backup: this one uploads at once.
  ASSERT_FALSE(h.ftpLog().empty());
  EXPECT_EQ(Log(h).front(), kPutImage);
  EXPECT_EQ(h.ftpLog().back(), "CLOSE");
  EXPECT_FALSE(h.busy());
}
