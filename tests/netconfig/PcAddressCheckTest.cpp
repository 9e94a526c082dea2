// The PC address check on the simulated platform: a fake console and a
// fake resolver; no real command runs.
#include <gtest/gtest.h>

#include "app/FormPrompts.h"
#include "app/Presenter.h"
#include "netconfig/PcAddressCheck.h"
#include "sim/Harness.h"

namespace {
using Addr = Resolver::Address;
using Answers = std::vector<std::optional<std::vector<Addr>>>;
using Lines = std::vector<std::string>;

const std::vector<Addr> kOutside = {{192, 168, 1, 5}};
const std::string kList = "netsh interface ip show address";
const std::string kNmcliList = "nmcli -t -f NAME,TYPE,DEVICE connection show";
const std::string kSetAddress = "netsh interface ip set address ";
const std::string kStatic = " static 192.168.128.101 255.255.255.0 192.168.128.100 1";
const std::string kLac = "\"Local Area Connection\"";
const std::string kSwitching = "Changing local address to 192.168.128.101. Wait ...";
const std::string kNoConnection =
    "No Local Area network connection found. The PC address was not changed.";
const std::string kManual =
    "Wrong local IP address (48): Please change your local IP address manually to 192.168.128.101";

std::string Question(const std::string& address = "192.168.1.5") {
  return "Wrong local IP address (52): Can not connect to modem using existing PC address " +
         address + "\r\n\r\nUpgrader will set static IP address 192.168.128.101 for yor computer." +
         "\r\n\r\n                 Do you want to proceed?";
}
Lines NmcliSwitch(const std::string& name) {
  return {kNmcliList,
          "nmcli connection modify id " + name +
              " ipv4.method manual ipv4.addresses 192.168.128.101/24 ipv4.gateway 192.168.128.100",
          "nmcli --wait 15 connection up id " + name};
}
Lines NmcliRestore(const std::string& name) {
  return {"nmcli connection modify id " + name +
              " ipv4.method auto ipv4.addresses \"\" ipv4.gateway \"\"",
          "nmcli --wait 0 connection up id " + name};
}

}  // namespace

// Only a PC outside 192.168.128.x (its first address) is asked about; only a
// switch made here is undone, once; the operation's pointer survives.
TEST(AddressCheck, EachRoadOfTheCheck) {
  struct Case {
    bool nmcli = false;
    Answers answers = {kOutside, std::vector<Addr>{{192, 168, 128, 101}}};
    bool yes = true;
    std::string listing = "\r\nConfiguration for interface \"Local Area Connection\"\r\n";
    std::optional<ConsoleResult> failure = {};  // of the first switching command
    Lines boxes = {Question()};
    Lines commands = {kList, kSetAddress + kLac + kStatic};
    std::string status = kSwitching;
    Lines restore = {};
  } cases[] = {
      {.answers = {std::vector<Addr>{{192, 168, 128, 7}}}, .boxes = {}, .commands = {},
       .status = "-"},
      {.answers = {std::vector<Addr>{{10, 0, 0, 5}, {192, 168, 128, 9}}}, .yes = false,
       .boxes = {Question("10.0.0.5"), kManual}, .commands = {}, .status = "Failure"},
      {.restore = {kSetAddress + kLac + " dhcp"}},
      // The switch did not take effect.
      {.answers = {kOutside}, .boxes = {Question(), kManual}, .status = "Failure"},
      // The address moved into the subnet by itself: nothing of ours to undo.
      {.yes = false, .commands = {}, .status = "-"},
      {.answers = {std::nullopt}, .boxes = {}, .commands = {}, .status = "Can't Get local IP"},
      {.answers = {kOutside, std::nullopt}, .yes = false, .commands = {},
       .status = "Can't Get new local IP"},
      {.answers = {kOutside}, .listing = "Konfiguration der Schnittstelle \"LAN-Verbindung\"\r\n",
       .boxes = {Question(), kManual}, .commands = {kList}, .status = "Failure"},
      // netsh quotes the name; without a closing quote the name is empty.
      {.listing = "Configuration for interface \"Local Area Connection 2\"\r\n",
       .commands = {kList, kSetAddress + "\"Local Area Connection 2\"" + kStatic},
       .restore = {kSetAddress + "\"Local Area Connection 2\" dhcp"}},
      {.listing = "Configuration for interface \"Local Area Connection\r\n  DHCP enabled: Yes\r\n",
       .commands = {kList, kSetAddress + kStatic}, .restore = {kSetAddress + " dhcp"}},
      {.listing = "Local Area Connection\" is first\r\n", .commands = {kList},
       .status = kNoConnection},
      // nmcli: the active wired connection, else the first wired one.
      {.nmcli = true,
       .listing = "Home Wi-Fi:802-11-wireless:wlp2s0\nSpare wired:802-3-ethernet:--\n"
                  "Four:802-3-ethernet:eth9:x\nSay \"hi\":802-3-ethernet:enp0s1\n"
                  "Office\\:LAN 2:802-3-ethernet:enp3s0\nlo:loopback:lo\n",
       .commands = NmcliSwitch("\"Office:LAN 2\""), .restore = NmcliRestore("\"Office:LAN 2\"")},
      {.nmcli = true,
       .listing = "Wi-Fi:802-11-wireless:wlp2s0\nWired 1:802-3-ethernet:\nOther:ethernet:--\n",
       .commands = NmcliSwitch("\"Wired 1\""), .restore = NmcliRestore("\"Wired 1\"")},
      {.nmcli = true, .listing = "Wi-Fi:802-11-wireless:wlp2s0\n", .commands = {kNmcliList},
       .status = kNoConnection},
      // Only a command that hung stops the switch, which is then not undone.
      {.failure = ConsoleResult{ConsoleResult::TimedOut, 0, ""},
       .boxes = {Question(), "KOVA Upgrader (16): The command did not finish within a minute and "
                             "was ended:\r\n" + kSetAddress + kLac + kStatic +
                                 "\r\n\r\nThe PC address was not changed."},
       .status = "The PC address was not changed."},
      {.failure = ConsoleResult{ConsoleResult::NotFound, 0, ""},
       .boxes = {Question(), "KOVA Upgrader (16): Command not found"},
       .restore = {kSetAddress + kLac + " dhcp"}},
      {.failure = ConsoleResult{ConsoleResult::PipeFailed, 24, ""},
       .boxes = {Question(), "KOVA Upgrader (16): CreatePipe failed. Error: 24"},
       .restore = {kSetAddress + kLac + " dhcp"}},
  };
#ifdef _WIN32  // the system's own commands there are netsh's: the road Windows takes
  const auto netsh = MakeSystemNetworkCommands;
#else
  const auto netsh = MakeNetshCommands;
#endif
  for (auto& c : cases) {
    SCOPED_TRACE(c.listing);
    // A check of its own in a started window, busy with an operation.
    Harness h;
    h.load();
    h.advance(1000);
    Session session;
    Presenter presenter(h.ui());
    FormPrompts prompts(h.ui());
    PcAddressCheck check(Context{h.platform, session, h.f(), presenter}, prompts,
                         c.nmcli ? MakeNmcliCommands() : netsh());
    h.f().setStatus("-");
    h.ui().setPointer(Ui::kPointerBusy);
    auto& console = h.platform.console();
    console.results[c.nmcli ? kNmcliList : kList] = {ConsoleResult::Ran, 0, c.listing};
    if (c.failure) console.results[c.commands.at(1)] = *c.failure;
    h.platform.names().answers["fieldpc"] = {c.answers.begin(), c.answers.end()};
    h.ui().answers = {c.yes ? MsgYes : MsgNo};
    check.verifyLocalAddress("fieldpc");
    Lines boxes;
    for (auto& b : h.ui().boxes)
      boxes.push_back(b.title + " (" + std::to_string(b.style) + "): " + b.text);
    EXPECT_EQ(boxes, c.boxes);
    EXPECT_EQ(console.commands, c.commands);
    EXPECT_EQ(h.f().status(), c.status);
    EXPECT_EQ(h.ui().pointer(), Ui::kPointerBusy);
    console.commands.clear();
    check.restoreDhcpAddress();
    check.restoreDhcpAddress();
    EXPECT_EQ(console.commands, c.restore);
  }
}
