// The ZING version query, the FTP-port probe behind it and the modem reset,
// driven through the window on the virtual clock.
#include <gtest/gtest.h>

#include "discovery/ModemReset.h"
#include "sim/Harness.h"

using namespace std::string_literals;

namespace {
const std::string kRetry =
    "Remove power and reapply power to the Satellite IP Modem.\r\n"
    "Get software version using Tools menu before retrying.\r\n"
    "Close and restart Upgrader if error repeats.";
const std::string kCable = "Please check the cable connection.\r\n" + kRetry;
const std::string kUnable = "Unable to get Satellite IP Modem's software version.\r\n\r\n";

// A box as the user sees it: title, icon and text.
std::string Box(const std::string& title, int style, const std::string& text) {
  return title + " (" + std::to_string(style) + "): " + text;
}
std::vector<std::string> Boxes(Harness& h) {
  std::vector<std::string> out;
  for (auto& b : h.ui().boxes) out.push_back(Box(b.title, b.style, b.text));
  return out;
}
const std::string kRejected = Box(kAppTitle, MsgExclamation, "Connection is forcefully rejected");

bool ProbeStarted(Harness& h) {
  auto& log = h.platform.network.connectLog;
  return std::find(log.begin(), log.end(), "127.0.0.1:21") != log.end();
}

// Runs until doneMs after the start, checking the window is busy until then.
void BusyUntil(Harness& h, long doneMs) {
  if (doneMs > 0) {
    h.advance(doneMs - 1);
    EXPECT_TRUE(h.busy());
  }
  h.advance(doneMs > 0 ? 1 : 0);
  EXPECT_FALSE(h.busy());
}
}  // namespace

// A reply cut short without its zero byte waits 300 ms for the rest, or
// until the modem hangs up.
TEST(VersionQuery, ReplyInAnyPiecesShowsTheVersionTheModemTold) {
  const std::string full = ZingPeer::VersionReply("5.2.0.12,build 7");
  struct Case {
    std::vector<std::string> pieces;  // from 10 ms, 1 ms apart
    long doneMs;
    std::string shown;
    long hangUpMs = -1;
  } cases[] = {
      {{full}, 10, "5.2.0.12"},
      {{full.substr(0, 3), full.substr(3, 6), full.substr(9, 4), full.substr(13)}, 13, "5.2.0.12"},
      {{ZingPeer::VersionReply("5.2.0.12,b", false)}, 310, "5.2.0.12"},
      {{ZingPeer::VersionReply("5.2.0.12,b", false)}, 15, "5.2.0.12", 15},
      {{ZingPeer::VersionReply("v3a.9,x")}, 10, "3.9"},
      {{ZingPeer::VersionReply("5.2.0.12")}, 10, "5.2.0.12"},  // no comma
      {{ZingPeer::VersionReply("4.1\0,9.9"s)}, 10, "4.1"},     // stops at the zero
      {{ZingPeer::VersionReply("\xe9\xff,x")}, 10, "Unknown"},  // nothing usable
      {{"\x00\x00\x10\x04\x00\x00\x00\x00"s}, 310, "Unknown"},  // exactly 8 bytes
      {{"\x00\x00\x10\x04\x00"s}, 310, "Unknown"},              // shorter than 8
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.doneMs);
    Harness h;
    h.zing->customPieces = c.pieces;
    h.zing->accepted_close_after = c.hangUpMs;
    auto& f = h.load();
    BusyUntil(h, c.doneMs);
    const bool known = c.shown != "Unknown";
    std::string stored = known ? c.shown : "0.0.0.0";
    std::replace(stored.begin(), stored.end(), '.', '_');
    EXPECT_EQ(f.txtCurrentSoftwareVersion.text(), c.shown);
    EXPECT_EQ(f.session().runningVersion, stored);
    EXPECT_EQ(f.sbUpgrade.text(), known ? "Software version was retrieved!"
                                        : "Check Satellite IP Modem software version.");
    EXPECT_EQ(f.Progress.value(), 100);
    EXPECT_EQ(f.statusLED.fillColor(), kLedGreen);  // the modem did answer
    EXPECT_EQ(h.zing->received, "\x00\x00\x00\x04"s);
    EXPECT_FALSE(h.zing->connections.back()->open());
    // No watchdog is left to start the probe.
    h.advance(10000);
    EXPECT_FALSE(ProbeStarted(h));
    EXPECT_TRUE(h.ui().boxes.empty());
  }
}

// Without a version the FTP port's greeting within 2 s tells whether the
// modem is there. The probe starts when the ZING exchange failed (refused,
// or 5 s without a version reply); after a failed transfer (ftpTimeout)
// the query reports that instead. A failure locks the upgrade.
TEST(VersionQuery, EachWayWithoutAVersionEndsInTheProbesVerdict) {
  enum Zing { Answers, Refused, NoConnection, Silent, HangsUp };
  const std::string goOn =
      Box(kUpgraderTitle, MsgInformation, kUnable + "Upgrade process can be continued.");
  const std::string unable = Box(kUpgraderTitle, MsgExclamation, kUnable + kCable);
  const std::string ok = "Connection succeed.", failed = "Connection failed.";
  struct Case {
    Zing zing;
    std::string reply;  // instead of the version reply
    long greetMs;       // -1: the FTP port refuses
    bool ftpTimeout;
    long doneMs;
    std::string status;
    std::vector<std::string> boxes;
  } cases[] = {
      {Refused, "", 5, false, 5, ok, {kRejected, goOn}},
      {NoConnection, "", 5, false, 5005, ok, {goOn}},
      {Silent, "", 5, false, 5005, ok, {goOn}},
      {HangsUp, "", 5, false, 5005, ok,
       {Box("Error", MsgCritical, "Satellite IP Modem closed the connection. Connection lost."),
        goOn}},
      {Answers, "\x00\x00\x10\x05\x00\x00\x00\x00" "5.0\0"s, 5, false, 5005, ok, {goOn}},
      {Answers, "\x80\x00\x10\x04\x00\x00\x00\x00" "5.0\0"s, 5, false, 5005, ok, {goOn}},
      {Answers, "\x00\x10"s, 5, false, 5005, ok, {goOn}},
      {Refused, "", 1900, false, 1900, ok, {kRejected, goOn}},
      {Refused, "", 2100, false, 2000, failed, {kRejected, unable}},
      {Refused, "", 100000, false, 2000, failed, {kRejected, unable}},
      {Refused, "", -1, false, 0, failed, {kRejected, unable, kRejected}},
      {Refused, "", 10, true, 10, ok,
       {kRejected, Box(kAppTitle, MsgExclamation, "FTP timeout.\r\n\r\n" + kRetry + "\r\n")}},
      {Refused, "", 100000, true, 2000, failed,
       {kRejected, Box(kUpgraderTitle, MsgExclamation,
                       "FTP timeout.\r\nCan not connect to the Satellite IP Modem.\r\n\r\n" +
                           kCable)}},
      {Answers, "", 5, true, 10, "Software version was retrieved!",
       {Box(kUpgraderTitle, MsgExclamation, "FTP timeout.\r\n\r\n" + kRetry)}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.boxes.back() + " at " + std::to_string(c.doneMs));
    Harness h;
    if (c.zing == Refused) h.unplugZing();
    if (c.zing == NoConnection) h.zing->mode = SimPeer::Accept::Ignore;
    h.zing->silent = c.zing == Silent || c.zing == HangsUp;
    if (c.zing == HangsUp) h.zing->accepted_close_after = 50;
    if (!c.reply.empty()) h.zing->customPieces = {c.reply};
    if (c.greetMs < 0) h.unplugFtpPort();
    h.ftpPort->greetDelayMs = c.greetMs;
    auto& f = h.load();
    // Asked again at once, as after a failed transfer.
    if (c.ftpTimeout) f.versionQuery().query(true);
    BusyUntil(h, c.doneMs);
    EXPECT_EQ(f.sbUpgrade.text(), c.status);
    EXPECT_EQ(Boxes(h), c.boxes);
    EXPECT_EQ(f.statusLED.fillColor(), c.status == failed ? kLedRed : kLedGreen);
    const bool locked = c.status == failed || c.ftpTimeout;
    EXPECT_EQ(f.cmdUpgrade.enabled(), !locked);
    EXPECT_EQ(f.txtIPAddress.enabled(), !locked);
    EXPECT_TRUE(f.cmdGetSoftwareVersion.enabled());
    // Nothing follows: no late greeting, no second probe, no watchdog.
    h.advance(6000);
    EXPECT_EQ(f.sbUpgrade.text(), c.status);
    EXPECT_EQ(Boxes(h), c.boxes);
    EXPECT_LE(h.ftpPort->connections.size(), 1u);
    EXPECT_TRUE(f.idle());
  }
}

TEST(VersionQuery, NewQueryClosesASocketStillConnecting) {
  Harness h;
  h.zing->mode = SimPeer::Accept::Ignore;
  auto& f = h.load();
  h.advance(1000);
  h.zing->mode = SimPeer::Accept::Yes;
  f.versionQuery().query();  // would fail at once on a socket still connecting
  h.advance(10000);
  EXPECT_EQ(f.session().runningVersion, "5_2_0_12");
  EXPECT_FALSE(ProbeStarted(h));  // the first attempt's watchdog is gone with it
  EXPECT_TRUE(h.ui().boxes.empty());
}

TEST(Discovery, EmptyAddressAsksForOneAndConnectsNothing) {
  Harness h;
  h.settings.initialAddress = "   ";
  auto& f = h.load();  // the start-up query
  EXPECT_EQ(f.sbUpgrade.text(), "Check Satellite IP Modem software version.");
  f.cmdResetModem.click();
  f.cmdSetDNS.click();
  h.advance(6000);
  const std::string enter = "Please enter Satellite IP Modem's IP ";
  EXPECT_EQ(Boxes(h), (std::vector<std::string>{Box(kAppTitle, MsgInformation, enter + "address."),
                                                Box(kAppTitle, MsgInformation, enter + "Address."),
                                                Box(kAppTitle, MsgInformation, enter + "address.")}));
  EXPECT_FALSE(h.busy());
  EXPECT_TRUE(h.platform.network.connectLog.empty());
}

// The order goes out, then the version query follows 25 s later, or 11 s
// after a restarting modem dropped the connection (RST or FIN: never a box).
TEST(ModemReset, FromTheMenuTheVersionIsAskedOnceTheModemIsBack) {
  enum class Drop { None, Reset, Close };
  for (Drop drop : {Drop::None, Drop::Reset, Drop::Close}) {
    Harness h;
    auto& f = h.load();
    h.advance(100);
    h.statuses.clear();
    f.cmdResetModem.click();
    EXPECT_EQ(f.txtCurrentSoftwareVersion.text(), "Unknown");
    h.advance(0);
    EXPECT_EQ(h.statuses, (std::vector<std::string>{"Resetting Satellite IP Modem...",
                                                    "Resetting modem. Wait 20 seconds."}));
    auto& line = *h.zing->connections.back();
    if (drop == Drop::Reset) line.fail(10054, "Connection reset by peer", 1000);
    if (drop == Drop::Close) line.close(1000);
    h.advance((drop == Drop::None ? 25000 : 1000 + 11000) - 1);
    EXPECT_EQ(h.zing->requests, (std::vector<int>{4, 13}));
    EXPECT_EQ(h.sawStatus("Reset done. Wait ....."), drop != Drop::None);
    h.advance(1);
    EXPECT_EQ(h.zing->requests, (std::vector<int>{4, 13, 4}));
    h.advance(100);
    EXPECT_EQ(f.session().runningVersion, "5_2_0_12");
    EXPECT_FALSE(h.busy());
    // Nothing asks again later, and a silence is never probed.
    h.advance(60000);
    EXPECT_EQ(h.zing->requests.size(), 3u);
    EXPECT_FALSE(ProbeStarted(h));
    EXPECT_TRUE(h.ui().boxes.empty());
  }
}

TEST(ModemReset, AbsentModemIsReportedAtOnceOrAfterFiveSeconds) {
  for (long failMs : {0L, 5000L}) {
    Harness h;
    auto& f = h.load();
    h.advance(100);
    h.zing->mode = failMs == 0 ? SimPeer::Accept::Refuse : SimPeer::Accept::Ignore;
    f.cmdResetModem.click();
    BusyUntil(h, failMs);
    std::vector<std::string> want = {Box(kUpgraderTitle, MsgExclamation,
                                         "Unable to reset Satellite IP Modem.\r\n\r\n"
                                         "Remove power and reapply power to the Satellite IP Modem.")};
    // A refusal is followed by the socket's own error display.
    if (failMs == 0) want.push_back(kRejected);
    EXPECT_EQ(Boxes(h), want);
    EXPECT_EQ(f.sbUpgrade.text(), "");
  }
}

TEST(ModemReset, AfterATransferTheOrderWaitsFiveSeconds) {
  Harness h;
  h.load().modemReset().resetAfterTransfer();
  h.advance(4999);
  EXPECT_EQ(h.zing->requests.size(), 1u);
  h.advance(1);
  EXPECT_EQ(h.zing->requests, (std::vector<int>{4, 13}));
}
