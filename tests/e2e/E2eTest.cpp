// The tool on the real platform against the simulated modem, driven as a
// user drives the window. Real timer intervals apply (the modem restarts
// in a second), so the scenarios are few and whole.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <gtest/gtest.h>

#include "e2e/E2e.h"

namespace fs = std::filesystem;

namespace {
bool Contains(const std::vector<std::string>& v, const std::string& s) {
  return std::find(v.begin(), v.end(), s) != v.end();
}

// No temporary or partial file is left in the backup directory.
std::vector<std::string> BackupFiles(TempDir& home) {
  std::vector<std::string> names;
  std::error_code ec;
  for (auto& e : fs::directory_iterator(home.path() / "Backup", ec))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

#define REQUIRE_MODEM(m) \
  ASSERT_TRUE((m).ready()) << (m).startError

const char* kCompleted = "Upgrade Completed.\r\nClick OK and wait until we get software version.";
}  // namespace

TEST(EndToEnd, StartUpReadsTheVersion) {
  ModemSim modem({});
  REQUIRE_MODEM(modem);
  TempDir home;
  PrepareHome(home, "5.2.0.13", false);
  E2eTool tool(modem, home);
  ASSERT_TRUE(tool.settle(15000));
  EXPECT_EQ(tool.f().txtCurrentSoftwareVersion.text(), "5.2.0.12");
  EXPECT_EQ(tool.f().sbUpgrade.text(), "Software version was retrieved!");
  EXPECT_EQ(tool.f().statusLED.fillColor(), 65280);
  EXPECT_TRUE(tool.ui().boxes.empty());
  EXPECT_TRUE(modem.journalHas("ZING version"));
}

TEST(EndToEnd, UpgradeWithBackupAndAutomaticPic) {
  ModemSim modem({});
  REQUIRE_MODEM(modem);
  TempDir home;
  PrepareHome(home, "5.2.0.13", true);
  E2eTool tool(modem, home);
  ASSERT_TRUE(tool.settle(15000));
  ASSERT_EQ(tool.f().strModemVersion, "5_2_0_12");
  std::ifstream image(modem.root + "/bin/kova.bin", std::ios::binary);
  std::stringstream runningImage;
  runningImage << image.rdbuf();
  tool.clickButton("cmdUpgrade");
  ASSERT_TRUE(tool.settle(150000));
  auto& f = tool.f();
  EXPECT_EQ(f.txtCurrentSoftwareVersion.text(), "5.2.0.13");
  EXPECT_FALSE(f.busy());
  EXPECT_TRUE(Contains(tool.boxTexts(), kCompleted));
  EXPECT_EQ(BackupFiles(home), (std::vector<std::string>{"chk_5_2_0_12.txt", "kova_5_2_0_12.bin"}));
  EXPECT_EQ(home.read("Backup/kova_5_2_0_12.bin"), runningImage.str());
  EXPECT_TRUE(Contains(tool.statuses, "Successfully upgraded! Wait..."));
  EXPECT_TRUE(Contains(tool.statuses, "PIC reflash completed. Wait for restart..."));
  auto journal = modem.journal();
  auto pos = [&](const std::string& l) {
    return std::find(journal.begin(), journal.end(), l) - journal.begin();
  };
  EXPECT_LT(pos("TELNET mmi_prepare_for_download"), pos("FTP RETR /bin/kova.bin"));
  EXPECT_LT(pos("FTP RETR /bin/kova.bin"), pos("FTP STOR /bin/kova.bin"));
  EXPECT_LT(pos("FTP STOR /bin/kova.bin"), pos("FTP STOR /pic.hex"));
  EXPECT_LT(pos("FTP STOR /pic.hex"), pos("ZING reset"));
  EXPECT_LT(pos("ZING reset"), pos("TELNET pic_driver_reflash 1"));
  EXPECT_LT(pos("TELNET pic_driver_reflash 1"), static_cast<long>(journal.size()));
}

TEST(EndToEnd, RestoreAnOldImage) {
  ModemSim modem({});
  REQUIRE_MODEM(modem);
  TempDir home;
  PrepareHome(home, "5.2.0.13", false);
  home.write("Backup/kova_5_2_0_11.bin", "KOVA-IMAGE 5.2.0.11\nold image");
  home.write("Backup/chk_5_2_0_11.txt", "checksum 5.2.0.11");
  E2eTool tool(modem, home);
  ASSERT_TRUE(tool.settle(15000));
  tool.ui().dialogScripts["frmRestore"] = [](Form&, QtFormView& view) {
    auto* list = qobject_cast<QListWidget*>(view.widgetFor("lstOldSoftwareVersions"));
    ASSERT_TRUE(list);
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->currentRow(), 0);  // a single entry is preselected
    qobject_cast<QPushButton*>(view.widgetFor("cmdOkRestore"))->click();
  };
  tool.clickMenu("cmdRestoreMenu");
  ASSERT_TRUE(tool.settle(90000));
  EXPECT_EQ(tool.f().txtCurrentSoftwareVersion.text(), "5.2.0.11");
  EXPECT_TRUE(Contains(tool.statuses, "Successfully restored! Wait..."));
  EXPECT_TRUE(modem.journalHas("FTP DELE /config.txt"));
  EXPECT_EQ(tool.ui().dialogs, std::vector<std::string>{"frmRestore"});
}

TEST(EndToEnd, ChangeTheDnsServers) {
  ModemSim modem({});
  REQUIRE_MODEM(modem);
  TempDir home;
  PrepareHome(home, "5.2.0.13", false);
  E2eTool tool(modem, home);
  ASSERT_TRUE(tool.settle(15000));
  tool.ui().dialogScripts["DNSverification"] = [](Form&, QtFormView& view) {
    auto* dns = qobject_cast<QLineEdit*>(view.widgetFor("DNS"));
    auto* dns2 = qobject_cast<QLineEdit*>(view.widgetFor("DNS2"));
    ASSERT_TRUE(dns && dns2);
    dns->selectAll();
    dns->insert("10.9.9.1");  // typed, so the model sees it
    dns2->selectAll();
    dns2->insert("10.9.9.2");
    qobject_cast<QPushButton*>(view.widgetFor("cmdModify"))->click();
  };
  tool.clickMenu("cmdSetDNS");
  ASSERT_TRUE(tool.settle(60000));
  EXPECT_TRUE(modem.journalHas("AT AT_IHIP?"));
  EXPECT_TRUE(modem.journalHas("AT AT_IHIP=\"DNS\",\"10.9.9.1\""));
  EXPECT_TRUE(modem.journalHas("AT AT_IHIP=\"DNS2\",\"10.9.9.2\""));
  EXPECT_TRUE(modem.journalHas("AT AT+CFUN=1,1"));
  EXPECT_EQ(tool.f().txtCurrentSoftwareVersion.text(), "5.2.0.12");
  EXPECT_FALSE(tool.f().busy());
}

TEST(EndToEnd, HiddenLogDownload) {
  ModemSim modem({});
  REQUIRE_MODEM(modem);
  TempDir home;
  PrepareHome(home, "5.2.0.13", false);
  E2eTool tool(modem, home);
  ASSERT_TRUE(tool.settle(15000));
  tool.pressKeys({Qt::Key_B, Qt::Key_N});
  ASSERT_TRUE(tool.settle(20000));
  EXPECT_EQ(tool.f().sbUpgrade.text(), "Log downloaded");
  EXPECT_TRUE(home.exists("Backup/sylog.log"));
  std::ifstream in(modem.root + "/ram0/syslog.log", std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  EXPECT_EQ(home.read("Backup/sylog.log"), s.str());
  EXPECT_EQ(BackupFiles(home), std::vector<std::string>{"sylog.log"});
}

TEST(EndToEnd, FailuresAFieldUserMeets) {
  struct Case {
    const char* name;
    std::vector<std::string> faults;
    std::function<void(E2eTool&)> act;
    std::string expectedBox;
  } cases[] = {
      {"modem off", {"zing-closed", "ftp-closed"}, [](E2eTool&) {},
       "Unable to get Satellite IP Modem's software version.\r\n\r\nPlease check the cable "
       "connection.\r\nRemove power and reapply power to the Satellite IP Modem.\r\nGet software "
       "version using Tools menu before retrying.\r\nClose and restart Upgrader if error repeats."},
      {"FTP refused", {"wrong-password"}, [](E2eTool& t) { t.clickButton("cmdUpgrade"); },
       "Incorrect Username or Password!"},
      {"transfer dropped", {"ftp-drop"}, [](E2eTool& t) { t.clickButton("cmdUpgrade"); },
       "FTP connection was suddenly closed.\r\n\r\nRemove power and reapply power to the "
       "Satellite IP Modem, then repeat last operation."},
      {"telnet busy", {"telnet-busy"}, [](E2eTool& t) { t.clickButton("cmdPICupgrade"); },
       "Telnet did not respond.\r\nPlease terminate any active Telnet connections."},
      {"AT error", {"at-error"}, [](E2eTool& t) { t.clickMenu("cmdSetDNS"); },
       "Can't verify DNS address.\r\n\r\nCheck if SIM card is inserted correctly.\r\nReset Modem "
       "and repeat command.\r\n"},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    ModemSim::Options o;
    o.faults = c.faults;
    ModemSim modem(o);
    REQUIRE_MODEM(modem);
    TempDir home;
    PrepareHome(home, "5.2.0.13", true);
    E2eTool tool(modem, home);
    ASSERT_TRUE(tool.settle(20000));
    c.act(tool);
    ASSERT_TRUE(tool.settle(90000));
    EXPECT_TRUE(Contains(tool.boxTexts(), c.expectedBox));
    EXPECT_FALSE(tool.f().busy());
    for (auto& name : BackupFiles(home))
      EXPECT_TRUE(name == "kova_5_2_0_12.bin" || name == "chk_5_2_0_12.txt") << name;
    // A backup pair is whole or absent.
    auto files = BackupFiles(home);
    EXPECT_TRUE(files.empty() || files.size() == 2) << files.size();
  }
}
