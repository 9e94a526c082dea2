// The PC address check on the simulated platform: a fake console and a
// fake resolver; no real command runs.
#include <gtest/gtest.h>

#include "netconfig/PcAddressCheck.h"
#include "sim/Harness.h"

namespace {
using Addr = Resolver::Address;

const char* kList = "netsh interface ip show address";
const char* kSetLac =
    "netsh interface ip set address \"Local Area Connection\" static 192.168.128.101 "
    "255.255.255.0 192.168.128.100 1";
const char* kQuestion =
    "Can not connect to modem using existing PC address 192.168.1.5\r\n\r\n"
    "Upgrader will set static IP address 192.168.128.101 for yor computer.\r\n\r\n"
    "                 Do you want to proceed?";
const char* kManual = "Please change your local IP address manually to 192.168.128.101";
const char* kNoConnection =
    "No Local Area network connection found. The PC address was not changed.";

std::string NetshListing(const std::string& name) {
  return "\r\nConfiguration for interface \"" + name +
         "\"\r\n    DHCP enabled:                         Yes\r\n"
         "    IP Address:                           192.168.1.5\r\n"
         "    Subnet Prefix:                        192.168.1.0/24 (mask 255.255.255.0)\r\n"
         "\r\nConfiguration for interface \"Loopback Pseudo-Interface 1\"\r\n"
         "    DHCP enabled:                         No\r\n";
}

struct AddressCheck : ::testing::Test {
  Harness h;
  frmMain* f = nullptr;

  void SetUp() override {
    f = &h.load();
    h.advance(1000);  // start-up query done
    useNetsh();
  }
  void useNetsh() { f->pcAddress = std::make_unique<PcAddressCheck>(*f, MakeNetshCommands()); }
  void useNmcli() { f->pcAddress = std::make_unique<PcAddressCheck>(*f, MakeNmcliCommands()); }
  // Successive resolver answers for the PC's name.
  void answers(std::initializer_list<std::optional<std::vector<Addr>>> list) {
    h.platform.names().answers["fieldpc"] = {list.begin(), list.end()};
  }
  void listing(const std::string& text) { h.platform.console().results[kList] = {ConsoleResult::Ran, 0, text}; }
  std::vector<std::string>& commands() { return h.platform.console().commands; }
  std::vector<MsgRecord>& boxes() { return h.ui().boxes; }
  void verify() { f->VerifyLocalAddress(h.platform.names().hostName); }
};
}  // namespace

TEST_F(AddressCheck, AddressInTheModemSubnetPassesAtOnce) {
  answers({std::vector<Addr>{{192, 168, 128, 7}}});
  verify();
  EXPECT_TRUE(boxes().empty());
  EXPECT_TRUE(commands().empty());
  EXPECT_EQ(h.platform.names().lookups.size(), 1u);
  EXPECT_FALSE(f->blnStaticSet);

  // Only the first address of the list is judged.
  answers({std::vector<Addr>{{192, 168, 128, 9}, {10, 0, 0, 5}}});
  verify();
  EXPECT_TRUE(boxes().empty());
  answers({std::vector<Addr>{{10, 0, 0, 5}, {192, 168, 128, 9}}});
  verify();
  ASSERT_EQ(boxes().size(), 2u);  // the question, then the manual-change box
  EXPECT_NE(boxes()[0].text.find("existing PC address 10.0.0.5\r\n"), std::string::npos);
}

TEST_F(AddressCheck, YesSwitchesAndShutdownRestoresDhcp) {
  answers({std::vector<Addr>{{192, 168, 1, 5}}, std::vector<Addr>{{192, 168, 128, 101}}});
  listing(NetshListing("Local Area Connection"));
  h.ui().answers = {MsgYes};
  verify();

  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].text, kQuestion);
  EXPECT_EQ(boxes()[0].style, 52);
  EXPECT_EQ(boxes()[0].title, "Wrong local IP address");
  EXPECT_EQ(commands(), (std::vector<std::string>{kList, kSetLac}));
  EXPECT_EQ(f->strConnectionName, "\"Local Area Connection\"");
  EXPECT_EQ(f->strConnectionName.size(), 23u);
  EXPECT_TRUE(f->blnStaticSet);
  EXPECT_TRUE(h.sawStatus("Changing local address to 192.168.128.101. Wait ..."));
  EXPECT_EQ(f->sbUpgrade.text(), "Changing local address to 192.168.128.101. Wait ...");
  EXPECT_EQ(h.ui().pointer(), Ui::kPointerDefault);

  commands().clear();
  ASSERT_TRUE(f->requestClose(Form::kCloseByUser));
  EXPECT_EQ(commands(), (std::vector<std::string>{
                            "netsh interface ip set address \"Local Area Connection\" dhcp"}));
  EXPECT_EQ(f->sbUpgrade.text(), "Restoring DHCP for Local Area Connection. Wait....");
  EXPECT_FALSE(f->blnStaticSet);
  f->RestoreDHCPAddress();  // once only
  EXPECT_EQ(commands().size(), 1u);
}

TEST_F(AddressCheck, NoStillRechecksAndAFailedRecheckAsksForAManualChange) {
  answers({std::vector<Addr>{{192, 168, 1, 5}}});
  h.ui().answers = {MsgNo};
  verify();
  EXPECT_TRUE(commands().empty());
  EXPECT_EQ(h.platform.names().lookups.size(), 2u);
  EXPECT_EQ(f->sbUpgrade.text(), "Failure");
  ASSERT_EQ(boxes().size(), 2u);
  EXPECT_EQ(boxes()[1].text, kManual);
  EXPECT_EQ(boxes()[1].style, 48);
  EXPECT_EQ(boxes()[1].title, "Wrong local IP address");
  EXPECT_FALSE(f->blnStaticSet);

  // The address moved into the subnet by itself: nothing of ours to undo.
  answers({std::vector<Addr>{{192, 168, 1, 5}}, std::vector<Addr>{{192, 168, 128, 20}}});
  h.ui().answers = {MsgNo};
  verify();
  EXPECT_FALSE(f->blnStaticSet);
  EXPECT_TRUE(f->requestClose(Form::kCloseByUser));
  EXPECT_TRUE(commands().empty());
}

TEST_F(AddressCheck, YesButTheSwitchDidNotTakeEffect) {
  answers({std::vector<Addr>{{192, 168, 1, 5}}});
  listing(NetshListing("Local Area Connection"));
  h.ui().answers = {MsgYes};
  verify();
  EXPECT_EQ(commands(), (std::vector<std::string>{kList, kSetLac}));
  EXPECT_EQ(f->sbUpgrade.text(), "Failure");
  EXPECT_EQ(h.boxTexts().back(), kManual);
  EXPECT_FALSE(f->blnStaticSet);
}

TEST_F(AddressCheck, NameResolutionFailures) {
  answers({std::nullopt});
  verify();
  EXPECT_EQ(f->sbUpgrade.text(), "Can't Get local IP");
  EXPECT_TRUE(boxes().empty());

  answers({std::vector<Addr>{{192, 168, 1, 5}}, std::nullopt});
  h.ui().answers = {MsgNo};
  verify();
  EXPECT_EQ(f->sbUpgrade.text(), "Can't Get new local IP");
  EXPECT_EQ(boxes().size(), 1u);  // the question only
  EXPECT_FALSE(f->blnStaticSet);
}

TEST_F(AddressCheck, ConnectionNameFromNetshOutput) {
  // Blanks stay inside the quotes, so the name is one argument.
  listing(NetshListing("Local Area Connection 2"));
  f->SetDefaultLocalAddress();
  EXPECT_EQ(f->strConnectionName, "\"Local Area Connection 2\"");
  EXPECT_EQ(commands().back(),
            "netsh interface ip set address \"Local Area Connection 2\" static 192.168.128.101 "
            "255.255.255.0 192.168.128.100 1");

  // No quote after the name: an empty name, the command runs regardless.
  commands().clear();
  listing("Configuration for interface \"Local Area Connection\r\n  DHCP enabled: Yes\r\n");
  f->SetDefaultLocalAddress();
  EXPECT_EQ(f->strConnectionName, "");
  EXPECT_EQ(commands().back(),
            "netsh interface ip set address  static 192.168.128.101 255.255.255.0 "
            "192.168.128.100 1");
}

TEST_F(AddressCheck, NoLocalAreaConnectionLeavesTheAddressAlone) {
  f->strConnectionName = "\"Local Area Connection\"";
  for (std::string text : {std::string("Konfiguration der Schnittstelle \"LAN-Verbindung\"\r\n"),
                           std::string("Local Area Connection\" is first\r\n"), std::string()}) {
    SCOPED_TRACE(text);
    commands().clear();
    listing(text);
    f->SetDefaultLocalAddress();
    EXPECT_EQ(commands(), (std::vector<std::string>{kList}));
    EXPECT_EQ(f->sbUpgrade.text(), kNoConnection);
    EXPECT_EQ(f->strConnectionName, "\"Local Area Connection\"");  // the last name found
    EXPECT_EQ(h.ui().pointer(), Ui::kPointerDefault);
  }

  // Within the check the re-check then reports the failure as usual.
  answers({std::vector<Addr>{{192, 168, 1, 5}}});
  listing("Konfiguration der Schnittstelle \"LAN-Verbindung\"\r\n");
  h.ui().answers = {MsgYes};
  verify();
  EXPECT_TRUE(h.sawStatus(kNoConnection));
  EXPECT_EQ(f->sbUpgrade.text(), "Failure");
  EXPECT_FALSE(f->blnStaticSet);
}

TEST_F(AddressCheck, RunnerMessages) {
  auto& results = h.platform.console().results;
  results[kList] = {ConsoleResult::NotFound, 0, ""};
  EXPECT_EQ(f->RunConsoleCommand(kList), "");
  results[kList] = {ConsoleResult::PipeFailed, 24, ""};
  EXPECT_EQ(f->RunConsoleCommand(kList), "");
  results[kList] = {ConsoleResult::Ran, 0, "text\r\nerror text\r\n"};
  EXPECT_EQ(f->RunConsoleCommand(kList), "text\r\nerror text\r\n");
  ASSERT_EQ(boxes().size(), 2u);
  EXPECT_EQ(boxes()[0].text, "Command not found");
  EXPECT_EQ(boxes()[1].text, "CreatePipe failed. Error: 24");
  for (auto& b : boxes()) {
    EXPECT_EQ(b.style, 16);
    EXPECT_EQ(b.title, "KOVA Upgrader");
  }

  // A switch whose listing could not be run changes nothing.
  results[kList] = {ConsoleResult::NotFound, 0, ""};
  f->SetDefaultLocalAddress();
  EXPECT_EQ(f->sbUpgrade.text(), kNoConnection);
  EXPECT_EQ(commands().back(), kList);
}

TEST_F(AddressCheck, PointerOfARunningOperationSurvives) {
  listing(NetshListing("Local Area Connection"));
  f->SetBusyState(1);
  f->SetDefaultLocalAddress();
  EXPECT_EQ(h.ui().pointer(), Ui::kPointerBusy);
}

TEST_F(AddressCheck, NmcliChoosesTheWiredConnection) {
  useNmcli();
  const std::string list = "nmcli -t -f NAME,TYPE,DEVICE connection show";
  auto run = [&](const std::string& text) {
    commands().clear();
    h.platform.console().results[list] = {ConsoleResult::Ran, 0, text};
    f->strConnectionName.clear();
    f->SetDefaultLocalAddress();
  };

  // The active wired one, with terse escapes undone, wins over the others.
  run("Home Wi-Fi:802-11-wireless:wlp2s0\n"
      "Spare wired:802-3-ethernet:\n"
      "Say \"hi\":802-3-ethernet:enp0s1\n"
      "Office\\:LAN 2:802-3-ethernet:enp3s0\n"
      "lo:loopback:lo\n");
  EXPECT_EQ(f->strConnectionName, "\"Office:LAN 2\"");
  EXPECT_EQ(commands(),
            (std::vector<std::string>{
                list,
                "nmcli connection modify id \"Office:LAN 2\" ipv4.method manual "
                "ipv4.addresses 192.168.128.101/24 ipv4.gateway 192.168.128.100",
                "nmcli --wait 15 connection up id \"Office:LAN 2\""}));

  // None active: the first wired profile.
  run("Home Wi-Fi:802-11-wireless:wlp2s0\nWired connection 1:802-3-ethernet:\n");
  EXPECT_EQ(f->strConnectionName, "\"Wired connection 1\"");

  // No wired connection at all.
  run("Home Wi-Fi:802-11-wireless:wlp2s0\n");
  EXPECT_EQ(commands(), (std::vector<std::string>{list}));
  EXPECT_EQ(f->sbUpgrade.text(), kNoConnection);

  f->strConnectionName = "\"Wired connection 1\"";
  f->blnStaticSet = true;
  commands().clear();
  f->RestoreDHCPAddress();
  EXPECT_EQ(commands(),
            (std::vector<std::string>{
                "nmcli connection modify id \"Wired connection 1\" ipv4.method auto "
                "ipv4.addresses \"\" ipv4.gateway \"\"",
                "nmcli --wait 0 connection up id \"Wired connection 1\""}));
  EXPECT_EQ(f->sbUpgrade.text(), "Restoring DHCP for Local Area Connection. Wait....");
}
