#include <gtest/gtest.h>

#include "discovery/VersionQuery.h"
#include "sim/Harness.h"

using namespace std::string_literals;

namespace {
const std::string kProbeTarget = "127.0.0.1:21";
const std::string kTrying = "Trying to retrieve Satellite IP Modem software version...";

bool ProbeStarted(Harness& h) {
  auto& log = h.platform.network.connectLog;
  return std::find(log.begin(), log.end(), kProbeTarget) != log.end();
}
}  // namespace

TEST(VersionQuery, ReplyInOnePiece) {
  Harness h;
  h.zing->versionText = "3.1.0.12,rel";
  auto& f = h.load();
  EXPECT_EQ(f.sbUpgrade.text(), kTrying);
  EXPECT_EQ(f.txtCurrentSoftwareVersion.text(), "Unknown");
  h.advance(100);
  EXPECT_EQ(f.txtCurrentSoftwareVersion.text(), "3.1.0.12");
  EXPECT_EQ(f.session().runningVersion, "3_1_0_12");
  EXPECT_EQ(f.sbUpgrade.text(), "Software version was retrieved!");
  EXPECT_EQ(f.Progress.value(), 100);
  EXPECT_EQ(f.statusLED.fillColor(), kLedGreen);
  EXPECT_FALSE(h.busy());
  EXPECT_TRUE(f.idle());  // no watchdog left running
  EXPECT_FALSE(h.zing->connections.back()->open());
  EXPECT_EQ(h.zing->received, "\x00\x00\x00\x04"s);  // the request, exactly
  EXPECT_TRUE(h.ui().boxes.empty());
  h.advance(10000);
  EXPECT_FALSE(ProbeStarted(h));
}

TEST(VersionQuery, TextVariants) {
  struct Case {
    std::string reply;
    std::string shown;
    std::string stored;
  } cases[] = {
      {ZingPeer::VersionReply("v3a.1,x"), "3.1", "3_1"},
      {ZingPeer::VersionReply("5.2.0.12,build 7", false), "5.2.0.12", "5_2_0_12"},
      {ZingPeer::VersionReply("5.2.0.12"), "5.2.0.12", "5_2_0_12"},  // no comma
      {ZingPeer::VersionReply("4.1\0,9.9"s), "4.1", "4_1"},          // stops at the zero
      {ZingPeer::VersionReply("\xe9\xff,x"), "Unknown", "0_0_0_0"},  // nothing usable
      {"\x00\x00\x10\x04\x00\x00\x00\x00"s, "Unknown", "0_0_0_0"},   // exactly 8 bytes
      {"\x00\x00\x10\x04\x00"s, "Unknown", "0_0_0_0"},               // shorter than 8
  };
  for (auto& c : cases) {
    Harness h;
    h.zing->customPieces = {c.reply};
    auto& f = h.load();
    h.advance(1000);
    EXPECT_EQ(f.txtCurrentSoftwareVersion.text(), c.shown);
    EXPECT_EQ(f.session().runningVersion, c.stored);
    EXPECT_FALSE(h.busy());
    EXPECT_FALSE(ProbeStarted(h));
    EXPECT_EQ(f.statusLED.fillColor(), kLedGreen);  // the modem did answer
  }
}

TEST(VersionQuery, ReplySplitOverArrivalsIsCollected) {
  // Header alone, then the text in two pieces.
  Harness h;
  std::string reply = ZingPeer::VersionReply("5.2.0.12,build 7");
  h.zing->customPieces = {reply.substr(0, 3), reply.substr(3, 6), reply.substr(9, 4),
                          reply.substr(13)};
  auto& f = h.load();
  h.advance(1000);
  EXPECT_EQ(f.session().runningVersion, "5_2_0_12");
  EXPECT_FALSE(h.busy());
}

TEST(VersionQuery, PieceWithoutZeroWaitsBrieflyThenTakesTheText) {
  enum class Then { Waits, Cancelled, ModemCloses };
  for (Then then : {Then::Waits, Then::Cancelled, Then::ModemCloses}) {
    Harness h;
    h.zing->customPieces = {ZingPeer::VersionReply("5.2.0.12,b", false)};
    auto& f = h.load();
    h.advance(10);  // the reply has arrived
    EXPECT_TRUE(h.busy());
    if (then == Then::Cancelled) f.versionQuery().cancel();
    // A modem that hangs up after its reply has said all it will say.
    if (then == Then::ModemCloses) h.zing->connections.back()->close(5);
    h.advance(5);
    EXPECT_EQ(h.busy(), then != Then::ModemCloses);
    h.advance(294);
    EXPECT_EQ(h.busy(), then != Then::ModemCloses);
    h.advance(1);
    EXPECT_EQ(h.busy(), then == Then::Cancelled);
    // A cancelled query takes nothing from the reply it had.
    EXPECT_EQ(f.session().runningVersion, then == Then::Cancelled ? "0_0_0_0" : "5_2_0_12");
    EXPECT_TRUE(f.versionQuery().idle());
    EXPECT_TRUE(h.ui().boxes.empty());
  }
}

TEST(VersionQuery, OtherReplyCodesFallBackToTheProbe) {
  for (std::string reply : {"\x00\x00\x10\x05\x00\x00\x00\x005.0\0"s,
                            "\x80\x00\x10\x04\x00\x00\x00\x005.0\0"s, "\x00\x10"s}) {
    Harness h;
    h.zing->customPieces = {reply};
    auto& f = h.load();
    h.advance(4999);  // the watchdog runs from the request, not the reply
    EXPECT_FALSE(ProbeStarted(h));
    h.advance(1);
    EXPECT_TRUE(ProbeStarted(h));
    EXPECT_EQ(f.txtCurrentSoftwareVersion.text(), "Unknown");
    h.advance(100);
    EXPECT_FALSE(h.busy());  // the probe ended the query
  }
}

TEST(VersionQuery, SilentModemProbesAfterFiveSeconds) {
  Harness h;
  h.zing->silent = true;
  auto& f = h.load();
  h.advance(4999);
  EXPECT_FALSE(ProbeStarted(h));
  EXPECT_TRUE(h.busy());
  h.advance(1);
  EXPECT_TRUE(ProbeStarted(h));
  // The status line still shows the query's text.
  EXPECT_EQ(f.sbUpgrade.text(), kTrying);
  h.advance(100);
  EXPECT_EQ(f.sbUpgrade.text(), "Connection succeed.");
  EXPECT_FALSE(h.sawStatus("ZING Connection failed."));
  EXPECT_FALSE(h.zing->connections.back()->open());
}

TEST(VersionQuery, RefusedConnectionFailsAtOnce) {
  Harness h;
  h.unplugZing();
  auto& f = h.load();
  h.advance(0);
  EXPECT_EQ(f.sbUpgrade.text(), "ZING Connection failed.");
  ASSERT_GE(h.ui().boxes.size(), 1u);
  // The socket's own error display follows the watchdog's outcome.
  EXPECT_EQ(h.ui().boxes.back().text, "Connection is forcefully rejected");
  EXPECT_TRUE(ProbeStarted(h));
  EXPECT_EQ(f.txtCurrentSoftwareVersion.text(), "Unknown");
  // The connect watchdog is off: no second failure and probe at 5 s.
  h.advance(6000);
  EXPECT_EQ(h.ftpPort->connections.size(), 1u);
  EXPECT_TRUE(f.idle());
}

TEST(VersionQuery, UnansweredConnectHitsTheWatchdogAtFiveSeconds) {
  Harness h;
  h.zing->mode = SimPeer::Accept::Ignore;
  auto& f = h.load();
  h.advance(4999);
  EXPECT_EQ(f.sbUpgrade.text(), kTrying);
  EXPECT_FALSE(ProbeStarted(h));
  h.advance(1);
  EXPECT_EQ(f.sbUpgrade.text(), "ZING Connection failed.");
  EXPECT_TRUE(ProbeStarted(h));
}

TEST(VersionQuery, EmptyAddressAsksForOne) {
  Harness h;
  h.settings.initialAddress = "   ";
  auto& f = h.load();
  ASSERT_EQ(h.ui().boxes.size(), 1u);
  EXPECT_EQ(h.ui().boxes[0].text, "Please enter Satellite IP Modem's IP address.");
  EXPECT_EQ(h.ui().boxes[0].style, MsgInformation);
  EXPECT_EQ(h.ui().boxes[0].title, "KOVA Upgrader");
  EXPECT_EQ(f.sbUpgrade.text(), "Check Satellite IP Modem software version.");
  EXPECT_FALSE(h.busy());
  EXPECT_TRUE(h.platform.network.connectLog.empty());
}

TEST(VersionQuery, FtpTimeoutIsReportedOnceAndLocksTheUpgradeControls) {
  Harness h;
  auto& f = h.load();
  h.advance(100);
  f.versionQuery().query(true);
  h.advance(100);
  ASSERT_EQ(h.ui().boxes.size(), 1u);
  EXPECT_EQ(h.ui().boxes[0].text,
            "FTP timeout.\r\n\r\nRemove power and reapply power to the Satellite IP Modem.\r\n"
            "Get software version using Tools menu before retrying.\r\n"
            "Close and restart Upgrader if error repeats.");
  EXPECT_EQ(h.ui().boxes[0].title, "Satellite IP Modem Upgrader");
  EXPECT_FALSE(h.busy());
  EXPECT_FALSE(f.cmdUpgrade.enabled());
  EXPECT_TRUE(f.cmdGetSoftwareVersion.enabled());
  // The next query reports nothing and frees the controls again.
  f.versionQuery().query();
  h.advance(100);
  EXPECT_EQ(h.ui().boxes.size(), 1u);
  EXPECT_TRUE(f.cmdUpgrade.enabled());
}

TEST(VersionQuery, ModemClosingTheConnectionIsReported) {
  Harness h;
  h.zing->silent = true;
  h.zing->accepted_close_after = 50;
  h.load();
  std::vector<VersionQuery::Outcome> outcomes;
  h.f().versionQuery().onOutcome.add([&](VersionQuery::Outcome o) { outcomes.push_back(o); });
  h.advance(60);
  ASSERT_EQ(h.ui().boxes.size(), 1u);
  EXPECT_EQ(h.ui().boxes[0].text, "Satellite IP Modem closed the connection. Connection lost.");
  EXPECT_EQ(h.ui().boxes[0].style, MsgCritical);
  EXPECT_EQ(h.ui().boxes[0].title, "Error");
  EXPECT_EQ(outcomes, std::vector<VersionQuery::Outcome>{VersionQuery::Outcome::ConnectionClosed});
}

TEST(VersionQuery, NewQueryClosesASocketStillConnecting) {
  Harness h;
  h.zing->mode = SimPeer::Accept::Ignore;
  auto& f = h.load();
  h.advance(1000);
  h.zing->mode = SimPeer::Accept::Yes;
  f.versionQuery().query();  // would fail at once on a socket still connecting
  h.advance(100);
  EXPECT_EQ(f.session().runningVersion, "5_2_0_12");
  EXPECT_FALSE(h.busy());
  // The first attempt's watchdog is gone with it.
  h.advance(10000);
  EXPECT_FALSE(ProbeStarted(h));
  EXPECT_TRUE(h.ui().boxes.empty());
}
