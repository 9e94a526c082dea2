// The PC address check on the simulated platform: a fake console and a
// fake resolver; no real command runs.
#include <gtest/gtest.h>

#include "netconfig/PcAddressCheck.h"
#include "sim/Harness.h"

namespace {
using Addr = Resolver::Address;

const char* kList = "netsh interface ip show address";
const char* kNmcliList = "nmcli -t -f NAME,TYPE,DEVICE connection show";
const char* kSetLac =
    "netsh interface ip set address \"Local Area Connection\" static 192.168.128.101 "
    "255.255.255.0 192.168.128.100 1";
const char* kDhcpLac = "netsh interface ip set address \"Local Area Connection\" dhcp";
const char* kQuestion =
    "Can not connect to modem using existing PC address 192.168.1.5\r\n\r\n"
    "Upgrader will set static IP address 192.168.128.101 for yor computer.\r\n\r\n"
    "                 Do you want to proceed?";
const char* kManual = "Please change your local IP address manually to 192.168.128.101";
const char* kNoConnection =
    "No Local Area network connection found. The PC address was not changed.";
const char* kRestoring = "Restoring DHCP for Local Area Connection. Wait....";

std::string NetshListing(const std::string& name) {
  return "\r\nConfiguration for interface \"" + name +
         "\"\r\n    DHCP enabled:                         Yes\r\n"
         "    IP Address:                           192.168.1.5\r\n"
         "    Subnet Prefix:                        192.168.1.0/24 (mask 255.255.255.0)\r\n"
         "\r\nConfiguration for interface \"Loopback Pseudo-Interface 1\"\r\n"
         "    DHCP enabled:                         No\r\n";
}

// A check of its own with the chosen tool, showing its status in the window.
struct AddressCheck : ::testing::Test {
  Harness h;
  Session session;
  MainWindow* f = nullptr;
  std::unique_ptr<PcAddressCheck> check;

  void SetUp() override {
    f = &h.load();
    h.advance(1000);  // start-up query done
    use(MakeNetshCommands());
  }
  void use(std::unique_ptr<NetworkCommands> commands) {
    check = std::make_unique<PcAddressCheck>(Context{h.platform, session, *f}, std::move(commands));
  }
  // Successive resolver answers for the PC's name.
  void answers(std::initializer_list<std::optional<std::vector<Addr>>> list) {
    h.platform.names().answers["fieldpc"] = {list.begin(), list.end()};
  }
  // The PC sits outside the modem's subnet, the user says Yes and the
  // switch moves it in.
  void acceptSwitch(PcAddressCheck& c) {
    answers({std::vector<Addr>{{192, 168, 1, 5}}, std::vector<Addr>{{192, 168, 128, 101}}});
    h.ui().answers = {MsgYes};
    c.verifyLocalAddress(h.platform.names().hostName);
  }
  void listing(const std::string& text, const char* command = kList) {
    h.platform.console().results[command] = {ConsoleResult::Ran, 0, text};
  }
  std::vector<std::string>& commands() { return h.platform.console().commands; }
  std::vector<MsgRecord>& boxes() { return h.ui().boxes; }
  void verify() { check->verifyLocalAddress(h.platform.names().hostName); }
};
}  // namespace

TEST_F(AddressCheck, AddressInTheModemSubnetPassesAtOnce) {
  answers({std::vector<Addr>{{192, 168, 128, 7}}});
  verify();
  EXPECT_TRUE(boxes().empty());
  EXPECT_TRUE(commands().empty());
  EXPECT_EQ(h.platform.names().lookups.size(), 1u);
  EXPECT_FALSE(check->staticAddressSet());

  // Only the first address of the list is judged.
  answers({std::vector<Addr>{{192, 168, 128, 9}, {10, 0, 0, 5}}});
  verify();
  EXPECT_TRUE(boxes().empty());
  answers({std::vector<Addr>{{10, 0, 0, 5}, {192, 168, 128, 9}}});
  verify();
  ASSERT_EQ(boxes().size(), 2u);  // the question, then the manual-change box
  EXPECT_NE(boxes()[0].text.find("existing PC address 10.0.0.5\r\n"), std::string::npos);
}

TEST_F(AddressCheck, YesSwitchesAndTheRestoreRunsOnce) {
  listing(NetshListing("Local Area Connection"));
  acceptSwitch(*check);

  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].text, kQuestion);
  EXPECT_EQ(boxes()[0].style, 52);
  EXPECT_EQ(boxes()[0].title, "Wrong local IP address");
  EXPECT_EQ(commands(), (std::vector<std::string>{kList, kSetLac}));
  EXPECT_TRUE(check->staticAddressSet());
  EXPECT_EQ(f->status(), "Changing local address to 192.168.128.101. Wait ...");
  EXPECT_EQ(h.ui().pointer(), Ui::kPointerDefault);

  commands().clear();
  check->restoreDhcpAddress();
  EXPECT_EQ(commands(), (std::vector<std::string>{kDhcpLac}));
  EXPECT_EQ(f->status(), kRestoring);
  EXPECT_FALSE(check->staticAddressSet());
  check->restoreDhcpAddress();  // once only
  EXPECT_EQ(commands().size(), 1u);
}

TEST_F(AddressCheck, ClosingTheWindowRestoresItsSwitch) {
  // The window's check uses the system's tool: both listings name the same connection.
  listing(NetshListing("Local Area Connection"));
  listing("Local Area Connection:802-3-ethernet:eth0\n", kNmcliList);
  acceptSwitch(f->pcAddressCheck());
  commands().clear();
  ASSERT_TRUE(f->requestClose(Form::kCloseByUser));
  EXPECT_EQ(commands(), MakeSystemNetworkCommands()->setDhcpCommands("\"Local Area Connection\""));
}

TEST_F(AddressCheck, AFailedRecheckAsksForAManualChange) {
  // No still re-checks; Yes re-checks after a switch that did not take effect.
  listing(NetshListing("Local Area Connection"));
  answers({std::vector<Addr>{{192, 168, 1, 5}}});
  h.ui().answers = {MsgNo, MsgYes};
  verify();
  EXPECT_TRUE(commands().empty());
  EXPECT_EQ(f->status(), "Failure");
  verify();
  EXPECT_EQ(commands(), (std::vector<std::string>{kList, kSetLac}));
  EXPECT_EQ(f->status(), "Failure");
  EXPECT_EQ(h.platform.names().lookups.size(), 4u);
  EXPECT_EQ(h.boxTexts(), (std::vector<std::string>{kQuestion, kManual, kQuestion, kManual}));
  EXPECT_EQ(boxes()[1].style, 48);
  EXPECT_EQ(boxes()[1].title, "Wrong local IP address");
  EXPECT_FALSE(check->staticAddressSet());

  // The address moved into the subnet by itself: nothing of ours to undo.
  commands().clear();
  answers({std::vector<Addr>{{192, 168, 1, 5}}, std::vector<Addr>{{192, 168, 128, 20}}});
  h.ui().answers = {MsgNo};
  verify();
  EXPECT_FALSE(check->staticAddressSet());
  check->restoreDhcpAddress();
  EXPECT_TRUE(commands().empty());
}

TEST_F(AddressCheck, NameResolutionFailures) {
  answers({std::nullopt});
  verify();
  EXPECT_EQ(f->status(), "Can't Get local IP");
  EXPECT_TRUE(boxes().empty());

  answers({std::vector<Addr>{{192, 168, 1, 5}}, std::nullopt});
  h.ui().answers = {MsgNo};
  verify();
  EXPECT_EQ(f->status(), "Can't Get new local IP");
  EXPECT_EQ(boxes().size(), 1u);  // the question only
  EXPECT_FALSE(check->staticAddressSet());
}

TEST_F(AddressCheck, ConnectionNameFromNetshOutput) {
  // Blanks stay inside the quotes, so the name is one argument.
  listing(NetshListing("Local Area Connection 2"));
  check->setStaticAddress();
  EXPECT_EQ(commands().back(),
            "netsh interface ip set address \"Local Area Connection 2\" static 192.168.128.101 "
            "255.255.255.0 192.168.128.100 1");

  // No quote after the name: an empty name, the command runs regardless. The
  // pointer of a running operation survives the switch's hourglass.
  listing("Configuration for interface \"Local Area Connection\r\n  DHCP enabled: Yes\r\n");
  f->setBusy(true);
  check->setStaticAddress();
  EXPECT_EQ(h.ui().pointer(), Ui::kPointerBusy);
  EXPECT_EQ(commands().back(),
            "netsh interface ip set address  static 192.168.128.101 255.255.255.0 "
            "192.168.128.100 1");
}

TEST_F(AddressCheck, NoLocalAreaConnectionLeavesTheAddressAlone) {
  listing(NetshListing("Local Area Connection"));
  acceptSwitch(*check);
  for (std::string text : {std::string("Konfiguration der Schnittstelle \"LAN-Verbindung\"\r\n"),
                           std::string("Local Area Connection\" is first\r\n"), std::string()}) {
    SCOPED_TRACE(text);
    commands().clear();
    listing(text);
    check->setStaticAddress();
    EXPECT_EQ(commands(), (std::vector<std::string>{kList}));
    EXPECT_EQ(f->status(), kNoConnection);
    EXPECT_EQ(h.ui().pointer(), Ui::kPointerDefault);
  }
  // The restore still undoes the connection switched before.
  commands().clear();
  check->restoreDhcpAddress();
  EXPECT_EQ(commands(), (std::vector<std::string>{kDhcpLac}));

  // Within the check the re-check then reports the failure as usual.
  answers({std::vector<Addr>{{192, 168, 1, 5}}});
  listing("Konfiguration der Schnittstelle \"LAN-Verbindung\"\r\n");
  h.ui().answers = {MsgYes};
  verify();
  EXPECT_TRUE(h.sawStatus(kNoConnection));
  EXPECT_EQ(f->status(), "Failure");
}

TEST_F(AddressCheck, RunnerMessages) {
  auto& results = h.platform.console().results;
  results[kList] = {ConsoleResult::NotFound, 0, ""};
  EXPECT_EQ(check->runConsoleCommand(kList), "");
  results[kList] = {ConsoleResult::PipeFailed, 24, ""};
  EXPECT_EQ(check->runConsoleCommand(kList), "");
  results[kList] = {ConsoleResult::Ran, 0, "text\r\nerror text\r\n"};
  EXPECT_EQ(check->runConsoleCommand(kList), "text\r\nerror text\r\n");
  ASSERT_EQ(boxes().size(), 2u);
  EXPECT_EQ(boxes()[0].text, "Command not found");
  EXPECT_EQ(boxes()[1].text, "CreatePipe failed. Error: 24");
  for (auto& b : boxes()) EXPECT_TRUE(b.style == 16 && b.title == "KOVA Upgrader") << b.text;
}

// A command that hung was ended by the runner: the switch stops there, and
// the half-made change is neither finished nor undone at close.
TEST_F(AddressCheck, HungCommandLeavesTheAddressAlone) {
  use(MakeNmcliCommands());
  const std::string modify =
      "nmcli connection modify id \"Wired\" ipv4.method manual ipv4.addresses "
      "192.168.128.101/24 ipv4.gateway 192.168.128.100";
  listing("Wired:802-3-ethernet:enp0s1\n", kNmcliList);
  h.platform.console().results[modify] = {ConsoleResult::TimedOut, 0, ""};
  acceptSwitch(*check);
  EXPECT_EQ(commands(), (std::vector<std::string>{kNmcliList, modify}));
  ASSERT_EQ(boxes().size(), 2u);
  EXPECT_EQ(boxes()[1].text, "The command did not finish within a minute and was ended:\r\n" +
                                 modify + "\r\n\r\nThe PC address was not changed.");
  EXPECT_EQ(boxes()[1].style, MsgCritical);
  EXPECT_FALSE(check->staticAddressSet());
  check->restoreDhcpAddress();
  EXPECT_EQ(commands().size(), 2u);
}

TEST_F(AddressCheck, NmcliChoosesTheWiredConnection) {
  use(MakeNmcliCommands());
  auto offer = [&](const std::string& text) { commands().clear(); listing(text, kNmcliList); };

  // The active wired one, with terse escapes undone, wins over the others.
  offer("Home Wi-Fi:802-11-wireless:wlp2s0\n"
        "Spare wired:802-3-ethernet:\n"
        "Say \"hi\":802-3-ethernet:enp0s1\n"
        "Office\\:LAN 2:802-3-ethernet:enp3s0\n"
        "lo:loopback:lo\n");
  check->setStaticAddress();
  EXPECT_EQ(commands(),
            (std::vector<std::string>{
                kNmcliList,
                "nmcli connection modify id \"Office:LAN 2\" ipv4.method manual "
                "ipv4.addresses 192.168.128.101/24 ipv4.gateway 192.168.128.100",
                "nmcli --wait 15 connection up id \"Office:LAN 2\""}));

  // None active: the first wired profile.
  offer("Home Wi-Fi:802-11-wireless:wlp2s0\nWired connection 1:802-3-ethernet:\n");
  acceptSwitch(*check);
  EXPECT_EQ(commands().back(), "nmcli --wait 15 connection up id \"Wired connection 1\"");

  // No wired connection at all.
  offer("Home Wi-Fi:802-11-wireless:wlp2s0\n");
  check->setStaticAddress();
  EXPECT_EQ(commands(), (std::vector<std::string>{kNmcliList}));
  EXPECT_EQ(f->status(), kNoConnection);

  commands().clear();
  check->restoreDhcpAddress();
  EXPECT_EQ(commands(),
            (std::vector<std::string>{
                "nmcli connection modify id \"Wired connection 1\" ipv4.method auto "
                "ipv4.addresses \"\" ipv4.gateway \"\"",
                "nmcli --wait 0 connection up id \"Wired connection 1\""}));
}
