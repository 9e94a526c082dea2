#include <gtest/gtest.h>

#include "sim/Harness.h"
#include "sim/TelnetPeer.h"

namespace {
const std::string kPicText =
    "Can not send command to upgrade the PIC. \r\n"
    "Please check cable connections, remove and reapply power to the modem.\r\n"
    "Repeat upgrade process.";
const std::string kResetText =
    "Can not save new setting and reset the modem. \r\n"
    "Please check cable connections.\r\n"
    "Remove and reapply power to the modem.\r\n"
    "Use Tool menu to check DNS addresses.";
const std::string kAtText =
    "Can not Connect to AT interface. \r\n"
    "Please check cable connections.\r\n"
    "Remove and reapply power to the modem.\r\n"
    "Repeat upgrade process.";

// A modem whose telnet and AT ports never answer the connect.
struct WatchdogCase : Harness {
  std::shared_ptr<TelnetPeer> console = std::make_shared<TelnetPeer>();
  std::shared_ptr<BasicPeer> at = std::make_shared<BasicPeer>();
  long t0 = 0;

  WatchdogCase() {
    console->mode = SimPeer::Accept::Ignore;
    at->mode = SimPeer::Accept::Ignore;
    platform.network.listen(kModem, settings.telnetPort, console);
    platform.network.listen(kModem, settings.atPort, at);
    load();
    advance(100);
  }
  void to(long ms) { advance(t0 + ms - clock().nowMs()); }
  void start(bool reflash) {
    t0 = clock().nowMs();
    if (reflash) {
      f().SetBusyState(1);
      f().StartPicReflash();
    } else {
      f().PrepareForDownload();
    }
  }
  // Runs up to the tick and checks what is common to all three endings.
  void expectTickAt5s() {
    to(4999);
    EXPECT_TRUE(busy());
    EXPECT_TRUE(ui().boxes.empty());
    to(5000);
    EXPECT_FALSE(busy());
    EXPECT_EQ(f().sbUpgrade.text(), "Connection failed.");
    EXPECT_FALSE(f().tmrTelnetConnect->enabled());
    EXPECT_EQ(f().Telnet->state(), TcpSocket::Closed);
    EXPECT_EQ(f().lngTelnetCommand, 0);
    EXPECT_EQ(f().lngATCommand, 0);
    ASSERT_EQ(ui().boxes.size(), 1u);
    EXPECT_EQ(ui().boxes[0].style, 48);
    EXPECT_EQ(ui().boxes[0].title, "Satellite IP Modem Upgrader");
  }
};
}  // namespace

TEST(ConnectWatchdog, TextFollowsThePendingOperation) {
  struct Case {
    bool reflash;
    std::int32_t atCommand;
    const std::string& text;
  };
  for (const Case& c : {Case{true, 0, kPicText}, Case{false, 0, kAtText},
                        Case{false, 1, kResetText}, Case{true, 1, kPicText},
                        Case{false, 3, kAtText}}) {
    SCOPED_TRACE(std::to_string(c.reflash) + "/" + std::to_string(c.atCommand));
    WatchdogCase h;
    h.f().lngATCommand = c.atCommand;
    h.start(c.reflash);
    h.expectTickAt5s();
    EXPECT_EQ(h.boxTexts(), std::vector<std::string>{c.text});
    // Nothing further: no second box, no connection made late.
    h.to(200000);
    EXPECT_EQ(h.ui().boxes.size(), 1u);
    EXPECT_TRUE(h.console->connections.empty());
  }
}

// The AT channel enables the same timer for its connects; the tick gives
// the generic text and leaves the At socket to the AT channel.
TEST(ConnectWatchdog, AtConnectLeavesTheAtSocketAlone) {
  WatchdogCase h;
  h.t0 = h.clock().nowMs();
  h.f().SetBusyState(1);
  h.f().lngATCommand = 2;
  h.f().At->setRemoteHost(Harness::kModem);
  h.f().At->connect();
  h.f().tmrTelnetConnect->setEnabled(true);
  h.expectTickAt5s();
  EXPECT_EQ(h.boxTexts(), std::vector<std::string>{kAtText});
  EXPECT_EQ(h.f().At->state(), TcpSocket::Connecting);
}

TEST(ConnectWatchdog, ConnectionJustInTimeIsNotDisturbed) {
  WatchdogCase h;
  h.console->mode = SimPeer::Accept::Yes;
  h.console->acceptDelay = 4900;
  h.start(false);
  h.to(4900);
  EXPECT_FALSE(h.f().tmrTelnetConnect->enabled());
  h.to(4915);
  EXPECT_EQ(h.console->received, "mmi_prepare_for_download\r\n");
  h.to(4935);
  EXPECT_FALSE(h.busy());
  h.to(20000);
  EXPECT_TRUE(h.ui().boxes.empty());
  EXPECT_EQ(h.f().sbUpgrade.text(), "Connecting .....");
}

TEST(ConnectWatchdog, ConnectionTooLateHasBeenAbandoned) {
  WatchdogCase h;
  h.console->mode = SimPeer::Accept::Yes;
  h.console->acceptDelay = 5100;
  h.start(true);
  h.expectTickAt5s();
  EXPECT_EQ(h.boxTexts(), std::vector<std::string>{kPicText});
  h.to(200000);
  EXPECT_TRUE(h.console->connections.empty());
  EXPECT_EQ(h.console->received, "");
  EXPECT_EQ(h.ui().boxes.size(), 1u);
  EXPECT_FALSE(h.f().tmrPicUpgrCnt->enabled());
}

// After a watchdog ending the next session starts from a closed socket.
TEST(ConnectWatchdog, NextSessionAfterTheTickConnects) {
  WatchdogCase h;
  h.start(false);
  h.expectTickAt5s();
  h.console->mode = SimPeer::Accept::Yes;
  h.start(false);
  h.to(35);
  EXPECT_EQ(h.console->received, "mmi_prepare_for_download\r\n");
  EXPECT_FALSE(h.busy());
  EXPECT_EQ(h.ui().boxes.size(), 1u);
}
