// The tool on the real platform against the simulated modem: the window
// driven as a user drives it, and the binary in batch mode as a script runs
// it. Real timer intervals apply (a restart waits 25 s), so the scenarios
// are few and whole.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "e2e/E2e.h"

class EndToEnd : public ::testing::Test {
 protected:
  // Starts the modem and the tool, and waits for the start-up query.
  void Start(bool withPic, const Lines& options) {
    modem = std::make_unique<ModemSim>(Lines{}, options);
    ASSERT_TRUE(modem->ready());
    PrepareHome(home, withPic);
    tool = std::make_unique<E2eTool>(*modem, home);
    ASSERT_TRUE(tool->settle(20000)) << "start-up did not end";
  }
  std::unique_ptr<ModemSim> modem;
  TempDir home;
  std::unique_ptr<E2eTool> tool;
};

// The modem closes its connections (FIN) as it restarts.
TEST_F(EndToEnd, StartUpHiddenLogAndDns) {
  ASSERT_NO_FATAL_FAILURE(Start(false, {"--on-reboot", "close"}));
  auto& f = tool->f();
  EXPECT_EQ(f.txtCurrentSoftwareVersion.text(), "5.2.0.12");
  EXPECT_EQ(f.sbUpgrade.text(), "Software version was retrieved!");
  EXPECT_EQ(modem->journal(), Lines{"ZING version"});
  // No key is trusted: the window says the new version was not checked.
  auto* signature = qobject_cast<QLabel*>(tool->ui.mainView()->widgetFor("lblSignature"));
  ASSERT_TRUE(signature);
  EXPECT_EQ(signature->text().toStdString(), "not signed");
  EXPECT_TRUE(signature->isVisible());

  for (int ctrlLetter : {2, 14}) f.onKeyPress(ctrlLetter);  // Ctrl+B, Ctrl+N
  ASSERT_TRUE(tool->settle(20000));
  EXPECT_EQ(f.sbUpgrade.text(), "Log downloaded");
  EXPECT_EQ(FilesUnder(home.path() / "Backup"), Lines{"sylog.log"});
  EXPECT_EQ(home.read("Backup/sylog.log"), modem->file("/ram0/syslog.log"));
  EXPECT_TRUE(InOrder(modem->journal(), {"FTP RETR /ram0/syslog.log", "FTP QUIT"}));

  tool->ui.dialogScript = [](QtFormView& view) {
    for (auto [name, read, typed] : {std::tuple{"DNS", "10.0.0.1", "10.9.9.1"},
                                     std::tuple{"DNS2", "10.0.0.2", "10.9.9.2"}}) {
      auto* box = qobject_cast<QLineEdit*>(view.widgetFor(name));
      ASSERT_TRUE(box) << name;
      EXPECT_EQ(box->text().toStdString(), read);
      box->selectAll();
      box->insert(typed);  // typed, so the model sees it
    }
    qobject_cast<QPushButton*>(view.widgetFor("cmdModify"))->click();
  };
  // The modem comes back running another image: the version is read anew.
  WriteImage(modem->root() + "/bin/kova.bin", "5.2.0.19");
  tool->click("cmdSetDNS");
  // Read, dialog, two writes, restart, 25 s, query.
  ASSERT_TRUE(tool->settle(60000));
  EXPECT_TRUE(InOrder(modem->journal(),
                      {"AT AT_IHIP?", "AT AT_IHIP=\"DNS\",\"10.9.9.1\"",
                       "AT AT_IHIP=\"DNS2\",\"10.9.9.2\"", "AT AT+CFUN=1,1", "REBOOT begin",
                       "REBOOT end version=5.2.0.19", "ZING version"}));
  EXPECT_EQ(modem->file("/dns.txt"), "DNS=10.9.9.1\nDNS2=10.9.9.2\n");
  EXPECT_EQ(f.txtCurrentSoftwareVersion.text(), "5.2.0.19");
  EXPECT_TRUE(tool->ui.boxes.empty());
}

// The modem resets its connections (RST) as it restarts.
TEST_F(EndToEnd, UpgradeWithBackupAndAutomaticPicThenRestoreTheBackup) {
  ASSERT_NO_FATAL_FAILURE(Start(true, {"--on-reboot", "reset"}));
  const std::string runningImage = modem->file("/bin/kova.bin");
  const std::string runningChecksum = modem->file("/checksum.txt");
  tool->click("cmdUpgrade");
  // Chain, 5 s, reset, 25 s, query, reflash, 25 s, query.
  ASSERT_TRUE(tool->settle(150000));
  EXPECT_EQ(tool->f().txtCurrentSoftwareVersion.text(), "5.2.0.13");
  ASSERT_EQ(tool->ui.boxes.size(), 1u);
  EXPECT_EQ(tool->ui.boxes[0].text,
            "Upgrade Completed.\r\nClick OK and wait until we get software version.");
  // The running image was saved whole, and the modem holds the new files.
  EXPECT_EQ(FilesUnder(home.path() / "Backup"),
            (Lines{"chk_5_2_0_12.txt", "history.jsonl", "kova_5_2_0_12.bin"}));
  EXPECT_TRUE(home.read("Backup/kova_5_2_0_12.bin") == runningImage);
  EXPECT_EQ(home.read("Backup/chk_5_2_0_12.txt"), runningChecksum);
  EXPECT_TRUE(modem->file("/bin/kova.bin") == home.read("kova_5_2_0_13.bin"));
  EXPECT_EQ(modem->file("/checksum.txt"), home.read("chk_5_2_0_13.txt"));
  EXPECT_EQ(modem->file("/pic.hex"), home.read("pic.hex"));

  // The backup just made is offered, and goes back on the modem.
  tool->ui.dialogScript = [](QtFormView& view) {
    auto* list = qobject_cast<QListWidget*>(view.widgetFor("lstOldSoftwareVersions"));
    auto* ok = qobject_cast<QPushButton*>(view.widgetFor("cmdOkRestore"));
    ASSERT_TRUE(list && ok && list->count() == 1);
    EXPECT_EQ(list->item(0)->text().toStdString(), "5.2.0.12");
    list->setCurrentRow(0);
    ok->click();
  };
  tool->click("cmdRestoreMenu");
  ASSERT_TRUE(tool->settle(90000));
  EXPECT_EQ(tool->ui.dialogs, Lines{"frmRestore"});
  EXPECT_EQ(tool->f().txtCurrentSoftwareVersion.text(), "5.2.0.12");
  EXPECT_TRUE(modem->file("/bin/kova.bin") == runningImage);
  EXPECT_EQ(modem->file("/checksum.txt"), runningChecksum);
  EXPECT_EQ(modem->file("/config.txt"), "");
  EXPECT_EQ(FilesUnder(home.path() / "Backup").size(), 3u);
  EXPECT_TRUE(InOrder(modem->journal(),
                      {"FTP RETR /bin/kova.bin", "FTP RETR /checksum.txt", "FTP STOR /pic.hex",
                       "TELNET reflash completed", "ZING version",
                       "TELNET mmi_prepare_for_download", "FTP STOR /bin/kova.bin",
                       "FTP STOR /checksum.txt", "FTP DELE /config.txt", "ZING reset",
                       "REBOOT end version=5.2.0.12", "ZING version"}));
}

// The binary in batch mode as a script sees it: an unreachable modem, an
// upgrade over a link of 1 MB/s as JSON lines, each phase and the bytes of
// each file as they move; then the modem's image verified and the history.
TEST(BatchEndToEnd, UnreachableUpgradeVerifyAndHistory) {
  Rig rig({}, {"--ftp-rate", "1000000", "--on-reboot", "close"});
  ModemSim off({"zing-closed"});
  ASSERT_TRUE(rig.modem.ready() && off.ready());
  auto failed = RunBatch(off, rig.home, {"--batch", "version"});
  EXPECT_EQ(failed.exitCode, 1) << failed.out << failed.err;
  EXPECT_TRUE(Has(failed.out, "ZING Connection failed.")) << failed.out;
  WriteImage(rig.modem.root() + "/bin/kova.bin", "5.2.0.12", 8 << 20);
  WriteImage(rig.home.path() / "kova_5_2_0_13.bin", "5.2.0.13", 8 << 20);
  auto r = RunBatch(rig.modem, rig.home, {"--batch", "--json", "upgrade"});
  ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
  Lines phases, result;
  // Of each upload and download, by phase: the image is read back after its upload.
  std::map<std::string, std::vector<double>> bytes;
  for (const auto& e : Events(r.out)) {
    const std::string event = Field(e, "event");
    if (event == "phase") phases.push_back(Field(e, "name"));
    if (event == "transfer")
      bytes[phases.back() + " " + Field(e, "direction") + " " + Field(e, "remote")].push_back(
          e.get("bytes")->asNumber() / e.get("total")->asNumber());
    if (event == "result")
      for (auto& [name, seconds] : e.get("phases")->asObject()) result.push_back(name);
  }
  EXPECT_EQ(phases, (Lines{"prepare", "backup", "upload", "verify", "restart", "requery"}));
  EXPECT_EQ(result, phases);
  // 8 MiB each way take seconds: told as the bytes come (the simulated
  // link moves them in bursts), in order, the whole file last and once.
  for (const char* file : {"backup download /bin/kova.bin", "upload upload /bin/kova.bin",
                           "verify download /bin/kova.bin"}) {
    const auto& seen = bytes[file];
    EXPECT_GE(seen.size(), 3u) << file << r.out;
    EXPECT_LE(seen.size(), 60u) << file << r.out;
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end())) << file;
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 1.0), 1) << file;
    EXPECT_EQ(seen.back(), 1.0) << file;
  }
  EXPECT_TRUE(Has(r.out, R"({"event":"progress","percent":100})")) << r.out;
  EXPECT_TRUE(Has(r.out, R"("text":"Modem software version: 5.2.0.13"})")) << r.out;
  // The running image was saved before the new one went up.
  EXPECT_EQ(FilesUnder(rig.home.path() / "Backup"),
            (Lines{"chk_5_2_0_12.txt", "history.jsonl", "kova_5_2_0_12.bin"}));
  EXPECT_TRUE(rig.modem.file("/bin/kova.bin") == rig.home.read("kova_5_2_0_13.bin"));

  auto verify = RunBatch(rig.modem, rig.home, {"--batch", "--json", "verify"});
  auto history = RunBatch(rig.modem, rig.home, {"--batch", "--json", "history"});
  EXPECT_EQ(verify.exitCode, 0) << verify.out << verify.err;
  EXPECT_EQ(history.exitCode, 0) << history.err;
  // Every line a JSON object; verify ends on its result, the history on the upgrade.
  const std::string both = verify.out + history.out;
  EXPECT_EQ(Events(both).size(), static_cast<size_t>(std::ranges::count(both, '\n'))) << both;
  EXPECT_TRUE(Has(verify.out, R"({"event":"result","operation":"verify","outcome":"done",)"))
      << verify.out;
  EXPECT_TRUE(Has(history.out, R"("operation":"upgrade","version_before":"5.2.0.12",)"
                               R"("version_after":"5.2.0.13")"))
      << history.out;
  EXPECT_EQ(FilesUnder(rig.home.path() / "Backup").size(), 3u);  // no copy left
}
