#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/Harness.h"
#include "transfer/FtpChain.h"

namespace {

using Fault = SimFtpServer::Fault;

const std::string kClosedText =
    "FTP connection was suddenly closed.\r\n\r\n"
    "Remove power and reapply power to the Satellite IP Modem, then repeat last operation.";

// A loaded window with a modem at 5.2.0.12 whose FTP server holds an image,
// a checksum and a configuration.
struct Chain : Harness {
  SimFtpServer& ftp = platform.ftp;
  long t0 = 0;

  Chain() {
    load();
    advance(1000);
    ftp.files = {{"/bin/kova.bin", "old image"},
                 {"/checksum.txt", "old sum"},
                 {"/config.txt", "cfg"},
                 {"/ram0/syslog.log", "log lines"}};
    ftp.log.clear();
    ui().boxes.clear();
  }
  std::string backup(const std::string& name) { return f().strBackupDir + frmMain::kSep + name; }
  bool start(std::int32_t code, const std::string& command) {
    f().SetBusyState(1);
    t0 = clock().nowMs();
    return f().ftpChain->StartChain(code, command);
  }
  bool startUpgrade() {
    return start(FtpChain::GET_BIN_CMD,
                 "GET /bin/kova.bin " + FtpChain::Quote(backup("kova_" + f().strModemVersion + ".bin")));
  }
  bool startRestore() {
    f().globals.strRestoreVersion = "5_1_0_1";
    home.write("Backup/kova_5_1_0_1.bin", "restored image");
    return start(FtpChain::PUT_RESTORE_BIN_CMD,
                 "PUT " + FtpChain::Quote(backup("kova_5_1_0_1.bin")) + " /bin/kova.bin");
  }
  void settle() { advance(5000 - 1); }  // every chain here ends well before the reset delay
  void expectUpgradeEnd() {
    EXPECT_TRUE(f().blnFTPDone);
    EXPECT_EQ(f().lngFTPState, FtpChain::CLOSE_CMD);
    EXPECT_EQ(f().sbUpgrade.text(), "Successfully upgraded! Wait...");
    EXPECT_TRUE(f().tmrFiveSecDelay->enabled());
    EXPECT_FALSE(f().tmrFTPReq->enabled());
    EXPECT_TRUE(ui().boxes.empty());
    EXPECT_EQ(ftp.log.back(), "CLOSE");
  }
  void expectFailedWith(const std::string& text) {
    EXPECT_TRUE(f().blnFTPDone);
    EXPECT_FALSE(busy());
    EXPECT_FALSE(f().tmrFTPReq->enabled());
    EXPECT_FALSE(f().tmrFiveSecDelay->enabled());
    ASSERT_EQ(ui().boxes.size(), 1u);
    EXPECT_EQ(ui().boxes[0].text, text);
    EXPECT_EQ(ui().boxes[0].style, 48);
    EXPECT_EQ(ui().boxes[0].title, "Satellite IP Modem Upgrader");
    EXPECT_EQ(f().sbUpgrade.text(), "");
  }
};

TEST(FtpChain, UpgradeBacksUpThenStoresImageAndChecksum) {
  Chain c;
  ASSERT_TRUE(c.startUpgrade());
  c.settle();
  // Local paths quoted, remote paths exact.
  ASSERT_EQ(c.ftp.log.size(), 5u);
  EXPECT_EQ(c.ftp.log[0], "GET /bin/kova.bin \"" + c.backup("kova_5_2_0_12.bin") + "\"");
  EXPECT_EQ(c.ftp.log[1], "GET /checksum.txt \"" + c.backup("chk_5_2_0_12.txt") + "\"");
  EXPECT_EQ(c.ftp.log[2], "PUT \"" + c.f().strHomeDir + "kova_5_2_0_13.bin\" /bin/kova.bin");
  EXPECT_EQ(c.ftp.log[3], "PUT \"" + c.f().strHomeDir + "chk_5_2_0_13.txt\" /checksum.txt");
  c.expectUpgradeEnd();
  EXPECT_TRUE(c.f().blnBackupDone);
  EXPECT_EQ(c.f().Progress.value(), 80);
  EXPECT_TRUE(c.sawStatus("Upgrading Satellite IP Modem with version " +
                          c.f().txtNewSoftwareVersion.text() + " ..."));
  EXPECT_EQ(c.home.read("Backup/kova_5_2_0_12.bin"), "old image");
  EXPECT_EQ(c.home.read("Backup/chk_5_2_0_12.txt"), "old sum");
  EXPECT_EQ(c.ftp.files["/bin/kova.bin"], c.home.read("kova_5_2_0_13.bin"));
  EXPECT_EQ(c.ftp.files["/checksum.txt"], c.home.read("chk_5_2_0_13.txt"));
  EXPECT_EQ(c.ftp.files.count("/config.txt"), 1u);  // kept outside factory mode
  EXPECT_EQ(c.ftp.logins, 1);                       // one session for the chain
}

TEST(FtpChain, UpgradeWithoutBackupOrChecksumGoesOn) {
  Chain c;
  c.ftp.files.erase("/bin/kova.bin");
  std::filesystem::remove(c.home.path() / "chk_5_2_0_13.txt");
  ASSERT_TRUE(c.startUpgrade());
  c.settle();
  ASSERT_EQ(c.ftp.log.size(), 4u);
  EXPECT_EQ(c.ftp.log[1].substr(0, 4), "PUT ");
  EXPECT_EQ(c.ftp.log[2], "DELETE /checksum.txt");
  EXPECT_FALSE(c.f().blnBackupDone);
  EXPECT_EQ(c.ftp.files.count("/checksum.txt"), 0u);
  c.expectUpgradeEnd();
  EXPECT_FALSE(c.home.exists("Backup/kova_5_2_0_12.bin"));

  // The checksum missing on the modem too: its refused deletion ends well.
  Chain d;
  d.ftp.files.erase("/checksum.txt");
  std::filesystem::remove(d.home.path() / "chk_5_2_0_13.txt");
  ASSERT_TRUE(d.startUpgrade());
  d.settle();
  EXPECT_EQ(d.ftp.log[1], "GET /checksum.txt \"" + d.backup("chk_5_2_0_12.txt") + "\"");
  EXPECT_EQ(d.ftp.log[3], "DELETE /checksum.txt");
  d.expectUpgradeEnd();
}

TEST(FtpChain, FactoryModeDeletesTheConfigurationPresentOrNot) {
  for (bool present : {true, false}) {
    SCOPED_TRACE(present);
    Chain c;
    c.f().blnFactory = true;
    if (!present) c.ftp.files.erase("/config.txt");
    ASSERT_TRUE(c.startUpgrade());
    c.settle();
    ASSERT_EQ(c.ftp.log.size(), 6u);
    EXPECT_EQ(c.ftp.log[4], "DELETE /config.txt");
    EXPECT_TRUE(c.sawStatus("Deleting config file"));
    EXPECT_EQ(c.ftp.files.count("/config.txt"), 0u);
    c.expectUpgradeEnd();
  }
}

TEST(FtpChain, AutomaticPicUploadHandsOverToTheReset) {
  Chain c;
  c.home.write("pic.hex", ":00000001FF\n");
  c.f().strPicFile = "pic.hex";
  c.f().AutoPic.setValue(1);
  ASSERT_TRUE(c.startUpgrade());
  c.settle();
  ASSERT_EQ(c.ftp.log.size(), 6u);
  EXPECT_EQ(c.ftp.log[4], "PUT pic.hex /pic.hex");
  EXPECT_EQ(c.ftp.files["/pic.hex"], ":00000001FF\n");
  EXPECT_TRUE(c.sawStatus("Uploading PIC software! Wait..."));
  EXPECT_EQ(c.f().sbUpgrade.text(), "PIC successfully uploaded! Wait...");
  EXPECT_EQ(c.f().Progress.value(), 40);
  EXPECT_TRUE(c.f().blnPicPending);
  EXPECT_TRUE(c.f().blnFTPDone);
  EXPECT_TRUE(c.f().tmrFiveSecDelay->enabled());
  EXPECT_EQ(c.ftp.log.back(), "CLOSE");
  EXPECT_TRUE(c.ui().boxes.empty());
}

// The factory deletion after the PIC upload runs when blnFTPDone is already
// set; a refusal of it must still close the session and reach the reset.
TEST(FtpChain, FactoryDeletionAfterPicUploadIsActedOnWhenRefused) {
  for (bool present : {true, false}) {
    SCOPED_TRACE(present);
    Chain c;
    c.home.write("pic.hex", "pic");
    c.f().strPicFile = "pic.hex";
    c.f().AutoPic.setValue(1);
    c.f().blnFactory = true;
    if (!present) c.ftp.files.erase("/config.txt");
    ASSERT_TRUE(c.startUpgrade());
    c.settle();
    ASSERT_EQ(c.ftp.log.size(), 7u);
    EXPECT_EQ(c.ftp.log[4], "PUT pic.hex /pic.hex");
    EXPECT_EQ(c.ftp.log[5], "DELETE /config.txt");
    EXPECT_TRUE(c.f().blnPicPending);
    c.expectUpgradeEnd();
  }
}

TEST(FtpChain, RestoreStoresImageAndDeletesConfigurationTwice) {
  Chain c;
  c.home.write("Backup/chk_5_1_0_1.txt", "restored sum");
  ASSERT_TRUE(c.startRestore());
  c.settle();
  ASSERT_EQ(c.ftp.log.size(), 5u);
  EXPECT_EQ(c.ftp.log[1], "PUT \"" + c.backup("chk_5_1_0_1.txt") + "\" /checksum.txt");
  EXPECT_EQ(c.ftp.log[2], "DELETE /config.txt");
  EXPECT_EQ(c.ftp.log[3], "DELETE /config.txt");  // the second one is refused: no file left
  EXPECT_EQ(c.ftp.log[4], "CLOSE");
  EXPECT_EQ(c.ftp.files["/bin/kova.bin"], "restored image");
  EXPECT_EQ(c.ftp.files["/checksum.txt"], "restored sum");
  EXPECT_EQ(c.ftp.files.count("/config.txt"), 0u);
  EXPECT_EQ(c.f().sbUpgrade.text(), "Successfully restored! Wait...");
  EXPECT_TRUE(c.f().tmrFiveSecDelay->enabled());
  EXPECT_TRUE(c.ui().boxes.empty());

  // No backed-up checksum: the modem's is deleted (refused when missing).
  for (bool onModem : {true, false}) {
    SCOPED_TRACE(onModem);
    Chain d;
    if (!onModem) d.ftp.files.erase("/checksum.txt");
    d.ftp.files.erase("/config.txt");
    ASSERT_TRUE(d.startRestore());
    d.settle();
    ASSERT_EQ(d.ftp.log.size(), 5u);
    EXPECT_EQ(d.ftp.log[1], "DELETE /checksum.txt");
    EXPECT_EQ(d.ftp.log[2], "DELETE /config.txt");
    EXPECT_EQ(d.ftp.log[3], "DELETE /config.txt");
    EXPECT_EQ(d.ftp.files.count("/checksum.txt"), 0u);
    EXPECT_EQ(d.f().sbUpgrade.text(), "Successfully restored! Wait...");
    EXPECT_TRUE(d.ui().boxes.empty());
  }
}

TEST(FtpChain, LogDownloadPresentAndMissing) {
  Chain c;
  ASSERT_TRUE(c.start(FtpChain::GET_LOG_CMD, "GET /ram0/syslog.log \"syslog.log\""));
  c.settle();
  EXPECT_EQ(c.ftp.log, (std::vector<std::string>{"GET /ram0/syslog.log \"syslog.log\"", "CLOSE"}));
  EXPECT_EQ(c.home.read("syslog.log"), "log lines");
  EXPECT_EQ(c.f().sbUpgrade.text(), "Log downloaded");
  EXPECT_TRUE(c.f().blnFTPDone);
  EXPECT_FALSE(c.f().tmrFiveSecDelay->enabled());

  Chain d;
  d.ftp.files.erase("/ram0/syslog.log");
  ASSERT_TRUE(d.start(FtpChain::GET_LOG_CMD, "GET /ram0/syslog.log \"syslog.log\""));
  d.settle();
  EXPECT_EQ(d.f().sbUpgrade.text(), "Log file doesn't exist.");
  EXPECT_FALSE(d.busy());
  EXPECT_TRUE(d.f().blnFTPDone);
  EXPECT_TRUE(d.ui().boxes.empty());
  EXPECT_FALSE(d.home.exists("syslog.log"));
}

TEST(FtpChain, PicOnlyUploadClosesAndStartsTheReflash) {
  Chain c;
  c.home.write("pic.hex", "pic");
  ASSERT_TRUE(c.start(FtpChain::PUT_NEW_PIC_CMD, "PUT pic.hex /pic.hex"));
  c.advance(150);
  EXPECT_EQ(c.ftp.log, (std::vector<std::string>{"PUT pic.hex /pic.hex", "CLOSE"}));
  EXPECT_EQ(c.ftp.files["/pic.hex"], "pic");
  EXPECT_TRUE(c.sawStatus("PIC successfully uploaded! Wait..."));
  EXPECT_EQ(c.f().Progress.value(), 40);
  EXPECT_TRUE(c.f().blnFTPDone);
  EXPECT_FALSE(c.f().tmrFTPReq->enabled());
  EXPECT_FALSE(c.f().tmrFiveSecDelay->enabled());  // the reflash, not the reset, comes next
  EXPECT_TRUE(c.f().tmrTelnetConnect->enabled());
}

TEST(FtpChain, ErrorTableRows) {
  struct Row {
    std::string key;
    int code;
    std::string info;
    std::string box;
  };
  const std::vector<Row> rows = {
      {"GET /bin/kova.bin", FtpClient::kLoginRefused, "530", "Incorrect Username or Password!"},
      {"GET /bin/kova.bin", FtpClient::kCannotConnect, "x",
       "Can not connect to Satellite IP Modem. Please check cable connection and retry."},
      {"PUT /checksum.txt", 12031, "Connection reset",
       "An unexpected FTP error occurred.\r\nOperation cancelled.\r\n\r\nError Code:  12031 : "
       "Connection reset"},
      {"PUT /bin/kova.bin", FtpClient::kServerRefused, "553 Could not create file.",
       "An unexpected FTP error occurred. Operation cancelled.\r\n\r\nError Code:  12003 : "
       "553 Could not create file."},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.box);
    Chain c;
    c.ftp.faults[r.key] = Fault{Fault::Error, r.code, r.info, -1};
    ASSERT_TRUE(c.startUpgrade());
    c.settle();
    c.expectFailedWith(r.box);
    EXPECT_NE(c.ftp.log.back(), "CLOSE");
  }
}

TEST(FtpChain, TimeoutAnswerChecksTheConnection) {
  Chain c;
  c.ftp.faults["PUT /bin/kova.bin"] = Fault{Fault::Error, FtpClient::kTimeout, "timed out"};
  ASSERT_TRUE(c.startUpgrade());
  c.advance(350);
  EXPECT_TRUE(c.sawStatus("FTP Timeout. Checking connection....."));
  EXPECT_TRUE(c.f().blnFTPDone);
  EXPECT_FALSE(c.f().tmrFTPReq->enabled());
  EXPECT_FALSE(c.f().inetFTP->stillExecuting());
}

TEST(FtpChain, ConnectionDroppedMidCommand) {
  Chain c;
  c.ftp.faults["PUT /bin/kova.bin"] = Fault{Fault::Disconnect, 0, "", -1};
  ASSERT_TRUE(c.startUpgrade());
  c.settle();
  c.expectFailedWith(kClosedText);
}

TEST(FtpChain, RefusedAtOnceIsReportedAndFreesTheClient) {
  Chain c;
  EXPECT_FALSE(c.start(FtpChain::GET_LOG_CMD, "GET /ram0/syslog.log \"bad"));
  ASSERT_EQ(c.ui().boxes.size(), 1u);
  EXPECT_EQ(c.ui().boxes[0].text.rfind("An unexpected FTP error occurred.\r\nOperation cancelled.\r\n\r\nError Code:  ", 0), 0u);
  EXPECT_FALSE(c.busy());
  EXPECT_TRUE(c.f().blnFTPDone);
  EXPECT_FALSE(c.f().tmrFTPReq->enabled());
  EXPECT_TRUE(c.ftp.log.empty());
  // The retry runs.
  c.ui().boxes.clear();
  ASSERT_TRUE(c.start(FtpChain::GET_LOG_CMD, "GET /ram0/syslog.log \"syslog.log\""));
  c.settle();
  EXPECT_EQ(c.f().sbUpgrade.text(), "Log downloaded");
}

TEST(FtpChain, LateNotificationsAfterTheEndAreIgnored) {
  Chain c;
  ASSERT_TRUE(c.start(FtpChain::GET_LOG_CMD, "GET /ram0/syslog.log \"syslog.log\""));
  c.settle();
  ASSERT_EQ(c.f().sbUpgrade.text(), "Log downloaded");
  c.f().ftpChain->inetFTP_StateChanged(FtpClient::ErrorState);
  c.f().ftpChain->inetFTP_StateChanged(FtpClient::Disconnected);
  EXPECT_TRUE(c.ui().boxes.empty());
  EXPECT_EQ(c.f().sbUpgrade.text(), "Log downloaded");

  // A failed chain leaves the session open; the modem dropping it later
  // does not disturb what runs by then.
  Chain d;
  d.ftp.faults["PUT /checksum.txt"] = Fault{Fault::Error, 12031, "reset"};
  ASSERT_TRUE(d.startUpgrade());
  d.settle();
  ASSERT_EQ(d.ui().boxes.size(), 1u);
  d.f().SetBusyState(1);
  d.f().SetStatus("something else");
  d.f().ftpChain->inetFTP_StateChanged(FtpClient::Disconnected);
  d.f().ftpChain->inetFTP_StateChanged(FtpClient::ErrorState);
  EXPECT_EQ(d.ui().boxes.size(), 1u);
  EXPECT_EQ(d.f().sbUpgrade.text(), "something else");
  EXPECT_TRUE(d.busy());
}

TEST(FtpChain, WatchdogFiresAt65SecondsOfSilence) {
  for (long late : {64000L, 64999L}) {
    SCOPED_TRACE(late);
    Chain c;
    c.ftp.faults["PUT /bin/kova.bin"] = Fault{Fault::Stall, 0, "", -1};
    ASSERT_TRUE(c.startUpgrade());
    c.advance(250);  // the two GETs are done, the PUT hangs
    const long issued = c.clock().nowMs() - 50;
    c.advance(issued + late - c.clock().nowMs());
    EXPECT_TRUE(c.busy());
    EXPECT_FALSE(c.f().blnFTPDone);
    EXPECT_FALSE(c.sawStatus("Timer expired. Checking connection...."));
    c.advance(issued + 66000 - c.clock().nowMs());
    EXPECT_TRUE(c.sawStatus("Timer expired. Checking connection...."));
      EXPECT_TRUE(c.f().blnFTPDone);
    EXPECT_FALSE(c.f().tmrFTPReq->enabled());
    EXPECT_FALSE(c.f().inetFTP->stillExecuting());
  }
}

// Each command restarts the bound: a chain of slow commands, each under
// 65 s, is not cut short.
TEST(FtpChain, WatchdogBoundsEachCommandNotTheChain) {
  Chain c;
  c.ftp.commandMs = 40000;
  ASSERT_TRUE(c.startUpgrade());
  c.advance(4 * 40000 + 10);  // four commands done, "CLOSE" issued
  EXPECT_FALSE(c.sawStatus("Timer expired. Checking connection...."));
  EXPECT_EQ(c.ftp.log.size(), 5u);
  EXPECT_EQ(c.ftp.log.back(), "CLOSE");
  EXPECT_EQ(c.f().sbUpgrade.text(), "Successfully upgraded! Wait...");
  EXPECT_TRUE(c.ui().boxes.empty());
}

}  // namespace
