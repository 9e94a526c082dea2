// The tool on the real platform against the simulated modem, driven as a
// user drives the window. Real timer intervals apply (the modem restarts
// in a second), so the scenarios are few and whole.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <iostream>
#include <gtest/gtest.h>

#include "core/UpgradeHistory.h"
#include "e2e/E2e.h"

namespace {
bool Contains(const std::vector<std::string>& v, const std::string& s) {
  return std::find(v.begin(), v.end(), s) != v.end();
}

std::string Lines(const std::vector<std::string>& v) {
  std::string out;
  for (auto& l : v) out += "  " + l + "\n";
  return out;
}

// The lines appear in the journal in this order (each at its first
// occurrence after the previous one).
::testing::AssertionResult InOrder(const std::vector<std::string>& journal,
                                   const std::vector<std::string>& lines) {
  auto at = journal.begin();
  for (auto& l : lines) {
    at = std::find(at, journal.end(), l);
    if (at == journal.end())
      return ::testing::AssertionFailure() << "\"" << l << "\" missing or out of order";
    ++at;
  }
  return ::testing::AssertionSuccess();
}

const char* kCompleted = "Upgrade Completed.\r\nClick OK and wait until we get software version.";
const std::vector<std::string> kHomeFiles{"chk_5_2_0_13.txt", "kova_5_2_0_13.bin", "pic.hex"};

// Shows what the tool and the modem did when a check failed.
class EndToEnd : public ::testing::Test {
 protected:
  void TearDown() override {
    if (HasFailure()) Dump();
  }
  void Dump() {
    if (tool) std::cout << "---- tool\n" << tool->history();
    if (modem) std::cout << "---- modem journal\n" << Lines(modem->journal());
  }
  // Starts the modem and the tool, and waits for the start-up query.
  void Start(ModemSim::Options options = {}, bool withPic = false) {
    modem = std::make_unique<ModemSim>(options);
    ASSERT_TRUE(modem->ready()) << modem->startError;
    PrepareHome(home, "5.2.0.13", withPic);
    tool = std::make_unique<E2eTool>(*modem, home);
    ASSERT_TRUE(tool->settle(20000)) << "start-up did not end";
  }
  void Fails(std::vector<std::string> faults, const std::function<void()>& act,
             const std::string& expectedBox);
  std::unique_ptr<ModemSim> modem;
  TempDir home;
  std::unique_ptr<E2eTool> tool;
};
}  // namespace

TEST_F(EndToEnd, StartUpReadsTheVersion) {
  ASSERT_NO_FATAL_FAILURE(Start());
  auto& f = tool->f();
  EXPECT_EQ(f.txtCurrentSoftwareVersion.text(), "5.2.0.12");
  EXPECT_EQ(f.session().runningVersion, "5_2_0_12");
  EXPECT_EQ(f.sbUpgrade.text(), "Software version was retrieved!");
  EXPECT_EQ(f.statusLED.fillColor(), 65280);
  EXPECT_TRUE(f.cmdUpgrade.enabled());
  EXPECT_TRUE(tool->ui().boxes.empty());
  EXPECT_EQ(modem->journal(), std::vector<std::string>{"ZING version"});
}

TEST_F(EndToEnd, ResetFromTheMenuReadsTheVersionAgain) {
  ASSERT_NO_FATAL_FAILURE(Start());
  // The modem will come back running another image: the version shown
  // afterwards is read anew, not kept.
  ModemSim::WriteImage(modem->root + "/bin/kova.bin", "5.2.0.14");
  std::vector<std::string> shown;
  tool->f().txtCurrentSoftwareVersion.changed.connect(
      [&] { shown.push_back(tool->f().txtCurrentSoftwareVersion.text()); });
  tool->clickMenu("cmdResetModem");
  EXPECT_TRUE(tool->f().busy());
  // Order sent, 25 s, re-query.
  ASSERT_TRUE(tool->settle(45000));
  auto& f = tool->f();
  EXPECT_EQ(f.txtCurrentSoftwareVersion.text(), "5.2.0.14");
  EXPECT_EQ(shown, (std::vector<std::string>{"Unknown", "5.2.0.14"}));
  EXPECT_TRUE(InOrder(tool->statuses,
                      {"Resetting Satellite IP Modem...", "Resetting modem. Wait 20 seconds.",
                       "Trying to retrieve Satellite IP Modem software version...",
                       "Software version was retrieved!"}));
  EXPECT_TRUE(InOrder(modem->journal(), {"ZING reset", "REBOOT begin",
                                         "REBOOT end version=5.2.0.14", "ZING version"}));
  EXPECT_TRUE(tool->ui().boxes.empty());
  EXPECT_FALSE(f.busy());
}

TEST_F(EndToEnd, UpgradeWithBackupAndAutomaticPic) {
  ASSERT_NO_FATAL_FAILURE(Start({}, true));
  ASSERT_EQ(tool->f().session().runningVersion, "5_2_0_12");
  const std::string runningImage = modem->file("/bin/kova.bin");
  const std::string runningChecksum = modem->file("/checksum.txt");
  ASSERT_FALSE(runningImage.empty());
  tool->clickButton("cmdUpgrade");
  // Chain, 5 s, reset, 25 s, re-query, reflash, 25 s, re-query.
  ASSERT_TRUE(tool->settle(150000));
  auto& f = tool->f();
  EXPECT_EQ(f.txtCurrentSoftwareVersion.text(), "5.2.0.13");
  EXPECT_FALSE(f.busy());
  EXPECT_EQ(tool->boxTexts(), std::vector<std::string>{kCompleted});
  // With automatic PIC the chain ends on the PIC upload's text.
  EXPECT_TRUE(Contains(tool->statuses, "PIC successfully uploaded! Wait..."));
  EXPECT_TRUE(Contains(tool->statuses, "PIC reflash completed. Wait for restart..."));
  // The running image was saved whole, and the modem holds the new files.
  EXPECT_EQ(FilesUnder(home.path() / "Backup"),
            (std::vector<std::string>{"chk_5_2_0_12.txt", "history.jsonl", "kova_5_2_0_12.bin"}));
  EXPECT_TRUE(home.read("Backup/kova_5_2_0_12.bin") == runningImage);
  EXPECT_EQ(home.read("Backup/chk_5_2_0_12.txt"), runningChecksum);
  EXPECT_TRUE(modem->file("/bin/kova.bin") == home.read("kova_5_2_0_13.bin"));
  EXPECT_EQ(modem->file("/checksum.txt"), home.read("chk_5_2_0_13.txt"));
  EXPECT_EQ(modem->file("/pic.hex"), home.read("pic.hex"));
  EXPECT_TRUE(InOrder(modem->journal(),
                      {"TELNET mmi_prepare_for_download", "FTP RETR /bin/kova.bin",
                       "FTP RETR /checksum.txt", "FTP STOR /bin/kova.bin",
                       "FTP STOR /checksum.txt", "FTP STOR /pic.hex", "ZING reset",
                       "REBOOT end version=5.2.0.13", "ZING version",
                       "TELNET pic_driver_reflash 1", "TELNET reflash completed",
                       "ZING version"}));
}

TEST_F(EndToEnd, RestoreAnOldImage) {
  home.write("Backup/kova_5_2_0_11.bin", "KOVA-IMAGE 5.2.0.11\nold image");
  home.write("Backup/chk_5_2_0_11.txt", "checksum 5.2.0.11");
  ASSERT_NO_FATAL_FAILURE(Start());
  tool->ui().dialogScripts["frmRestore"] = [](Form&, QtFormView& view) {
    auto* list = qobject_cast<QListWidget*>(view.widgetFor("lstOldSoftwareVersions"));
    auto* ok = qobject_cast<QPushButton*>(view.widgetFor("cmdOkRestore"));
    ASSERT_TRUE(list && ok);
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text().toStdString(), "5.2.0.11");
    list->setCurrentRow(0);
    ok->click();
  };
  tool->clickMenu("cmdRestoreMenu");
  ASSERT_TRUE(tool->settle(90000));
  EXPECT_EQ(tool->ui().dialogs, std::vector<std::string>{"frmRestore"});
  EXPECT_EQ(tool->f().txtCurrentSoftwareVersion.text(), "5.2.0.11");
  EXPECT_FALSE(tool->f().busy());
  EXPECT_TRUE(Contains(tool->statuses, "Successfully restored! Wait..."));
  EXPECT_EQ(modem->file("/bin/kova.bin"), "KOVA-IMAGE 5.2.0.11\nold image");
  EXPECT_EQ(modem->file("/checksum.txt"), "checksum 5.2.0.11");
  EXPECT_EQ(modem->file("/config.txt"), "");
  EXPECT_TRUE(InOrder(modem->journal(),
                      {"TELNET mmi_prepare_for_download", "FTP STOR /bin/kova.bin",
                       "FTP STOR /checksum.txt", "FTP DELE /config.txt", "ZING reset",
                       "REBOOT end version=5.2.0.11", "ZING version"}));
  // The backup pair stays; nothing else appeared.
  EXPECT_EQ(FilesUnder(home.path() / "Backup"),
            (std::vector<std::string>{"chk_5_2_0_11.txt", "history.jsonl", "kova_5_2_0_11.bin"}));
}

TEST_F(EndToEnd, ChangeTheDnsServers) {
  ASSERT_NO_FATAL_FAILURE(Start());
  std::string shown;
  tool->ui().dialogScripts["DNSverification"] = [&shown](Form&, QtFormView& view) {
    auto* dns = qobject_cast<QLineEdit*>(view.widgetFor("DNS"));
    auto* dns2 = qobject_cast<QLineEdit*>(view.widgetFor("DNS2"));
    auto* modify = qobject_cast<QPushButton*>(view.widgetFor("cmdModify"));
    ASSERT_TRUE(dns && dns2 && modify);
    shown = dns->text().toStdString() + " " + dns2->text().toStdString();
    dns->selectAll();
    dns->insert("10.9.9.1");  // typed, so the model sees it
    dns2->selectAll();
    dns2->insert("10.9.9.2");
    modify->click();
  };
  tool->clickMenu("cmdSetDNS");
  // Read, dialog, two writes, restart, 25 s, re-query.
  ASSERT_TRUE(tool->settle(60000));
  EXPECT_EQ(shown, "10.0.0.1 10.0.0.2");
  EXPECT_EQ(tool->ui().dialogs, std::vector<std::string>{"DNSverification"});
  EXPECT_TRUE(InOrder(modem->journal(),
                      {"AT AT_IHIP?", "AT AT_IHIP=\"DNS\",\"10.9.9.1\"",
                       "AT AT_IHIP=\"DNS2\",\"10.9.9.2\"", "AT AT+CFUN=1,1", "REBOOT begin",
                       "REBOOT end version=5.2.0.12", "ZING version"}));
  EXPECT_EQ(modem->file("/dns.txt"), "DNS=10.9.9.1\nDNS2=10.9.9.2\n");
  EXPECT_EQ(tool->f().txtCurrentSoftwareVersion.text(), "5.2.0.12");
  EXPECT_FALSE(tool->f().busy());
}

TEST_F(EndToEnd, HiddenLogDownload) {
  ASSERT_NO_FATAL_FAILURE(Start());
  tool->pressKeys({Qt::Key_B, Qt::Key_N});
  ASSERT_TRUE(tool->settle(20000));
  EXPECT_EQ(tool->f().sbUpgrade.text(), "Log downloaded");
  EXPECT_FALSE(tool->f().busy());
  EXPECT_EQ(FilesUnder(home.path() / "Backup"), std::vector<std::string>{"sylog.log"});
  EXPECT_EQ(home.read("Backup/sylog.log"), modem->file("/ram0/syslog.log"));
  EXPECT_TRUE(InOrder(modem->journal(), {"FTP RETR /ram0/syslog.log", "FTP QUIT"}));
}

// Each failure ends with its message and the busy state released, and
// leaves the home directory as it was: no backup, no part of a file.
void EndToEnd::Fails(std::vector<std::string> faults, const std::function<void()>& act,
                     const std::string& expectedBox) {
  ModemSim::Options o;
  o.faults = std::move(faults);
  ASSERT_NO_FATAL_FAILURE(Start(o, true));
  act();
  if (IsSkipped()) return;
  ASSERT_TRUE(tool->settle(90000));
  EXPECT_TRUE(Contains(tool->boxTexts(), expectedBox));
  EXPECT_FALSE(tool->f().busy());
  // The failure is recorded in the history, and nothing else was left.
  auto files = FilesUnder(home.path());
  std::erase(files, "Backup/history.jsonl");
  EXPECT_EQ(files, kHomeFiles);
  auto history = ReadHistory((home.path() / "Backup" / "history.jsonl").string()).entries;
  EXPECT_TRUE(history.empty() || history.back().outcome == "failed");
}

TEST_F(EndToEnd, FailsWhenTheModemIsOff) {
  Fails({"zing-closed", "ftp-closed"}, [] {},
        "Unable to get Satellite IP Modem's software version.\r\n\r\nPlease check the cable "
        "connection.\r\nRemove power and reapply power to the Satellite IP Modem.\r\nGet "
        "software version using Tools menu before retrying.\r\nClose and restart Upgrader if "
        "error repeats.");
}

TEST_F(EndToEnd, FailsWhenTheFtpLoginIsRefused) {
  Fails({"wrong-password"}, [this] { tool->clickButton("cmdUpgrade"); },
        "Incorrect Username or Password!");
}

TEST_F(EndToEnd, FailsWhenTheTransferIsDropped) {
  Fails({"ftp-drop"}, [this] { tool->clickButton("cmdUpgrade"); },
        "FTP connection was suddenly closed.\r\n\r\nRemove power and reapply power to the "
        "Satellite IP Modem, then repeat last operation.");
}

TEST_F(EndToEnd, FailsWhenTelnetIsBusy) {
  Fails({"telnet-busy"}, [this] { tool->clickButton("cmdPICupgrade"); },
        "Telnet did not respond.\r\nPlease terminate any active Telnet connections.");
}

TEST_F(EndToEnd, FailsWhenAtAnswersError) {
  Fails({"at-error"},
        [this] {
          tool->clickMenu("cmdSetDNS");
        },
        "Can't verify DNS address.\r\n\r\nCheck if SIM card is inserted correctly.\r\nReset "
        "Modem and repeat command.\r\n");
}
