#include <gtest/gtest.h>

#include "sim/Harness.h"
#include "sim/TelnetPeer.h"
#include "transfer/TelnetSession.h"

// The telnet channel's 5 s connect guard.
namespace {
using Outcome = TelnetSession::Outcome;
const std::string kPicText =
    "Can not send command to upgrade the PIC. \r\n"
    "Please check cable connections, remove and reapply power to the modem.\r\n"
    "Repeat upgrade process.";
const std::string kAtText =
    "Can not Connect to AT interface. \r\n"
    "Please check cable connections.\r\n"
    "Remove and reapply power to the modem.\r\n"
    "Repeat upgrade process.";

struct GuardCase : Harness {
  std::shared_ptr<TelnetPeer> console = std::make_shared<TelnetPeer>();
  std::vector<Outcome> outcomes;
  long t0 = 0;

  explicit GuardCase(SimPeer::Accept mode = SimPeer::Accept::Ignore, long acceptDelay = 0) {
    console->mode = mode;
    console->acceptDelay = acceptDelay;
    platform.network.listen(kModem, settings.telnetPort, console);
    load();
    advance(100);
    f().telnet().onOutcome.add([this](Outcome o) { outcomes.push_back(o); });
  }
  void to(long ms) { advance(t0 + ms - clock().nowMs()); }
  void start(bool reflash) {
    t0 = clock().nowMs();
    if (reflash) {
      f().setBusy(true);
      f().telnet().startPicReflash();
    } else {
      f().telnet().prepareForDownload();
    }
  }
};
}  // namespace

// The connection does not open in 5 s: never answered, answered too late,
// or refused at once. The text follows the operation; nothing comes late,
// and the next session starts from a closed socket.
TEST(TelnetConnectGuard, GivesUpAtFiveSecondsThenTheNextSessionConnects) {
  struct Row {
    const char* name;
    bool reflash;
    SimPeer::Accept mode;
    long acceptDelay;
    bool unplugged;
  };
  for (const Row& r : {Row{"silent, prepare", false, SimPeer::Accept::Ignore, 0, false},
                       Row{"silent, reflash", true, SimPeer::Accept::Ignore, 0, false},
                       Row{"too late, reflash", true, SimPeer::Accept::Yes, 5100, false},
                       Row{"refused, prepare", false, SimPeer::Accept::Yes, 0, true}}) {
    SCOPED_TRACE(r.name);
    GuardCase h(r.mode, r.acceptDelay);
    if (r.unplugged) h.platform.network.unlisten(Harness::kModem, h.settings.telnetPort);
    h.start(r.reflash);
    h.to(1);
    EXPECT_EQ(h.f().sbUpgrade.text(), r.unplugged ? "Telnet Error Connection is forcefully rejected"
                                                  : "Connecting .....");
    h.to(4999);
    EXPECT_TRUE(h.busy());
    EXPECT_TRUE(h.ui().boxes.empty());
    h.to(5000);
    EXPECT_FALSE(h.busy());
    EXPECT_EQ(h.f().sbUpgrade.text(), "Connection failed.");
    EXPECT_EQ(h.boxTexts(), std::vector<std::string>{r.reflash ? kPicText : kAtText});
    EXPECT_EQ(h.ui().boxes[0].style, 48);
    EXPECT_EQ(h.ui().boxes[0].title, "Satellite IP Modem Upgrader");
    EXPECT_EQ(h.outcomes, std::vector<Outcome>{Outcome::ConnectFailed});
    EXPECT_TRUE(h.f().telnet().idle());
    h.to(200000);
    EXPECT_EQ(h.ui().boxes.size(), 1u);
    EXPECT_TRUE(h.console->connections.empty());
    EXPECT_EQ(h.console->received, "");

    h.console->mode = SimPeer::Accept::Yes;
    h.console->acceptDelay = 0;
    if (r.unplugged) h.platform.network.listen(Harness::kModem, h.settings.telnetPort, h.console);
    h.start(false);
    h.to(35);
    EXPECT_EQ(h.console->received, "mmi_prepare_for_download\r\n");
    EXPECT_FALSE(h.busy());
    EXPECT_EQ(h.ui().boxes.size(), 1u);
  }
}

TEST(TelnetConnectGuard, ConnectionJustInTimeIsNotDisturbed) {
  GuardCase h(SimPeer::Accept::Yes, 4900);
  h.start(false);
  h.to(4915);
  EXPECT_EQ(h.console->received, "mmi_prepare_for_download\r\n");
  h.to(4935);
  EXPECT_FALSE(h.busy());
  h.to(20000);
  EXPECT_TRUE(h.ui().boxes.empty());
  EXPECT_EQ(h.f().sbUpgrade.text(), "Connecting .....");
  EXPECT_EQ(h.outcomes, std::vector<Outcome>{Outcome::Prepared});
}
