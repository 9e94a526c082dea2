// The ZING version query, the FTP-port probe behind it and the modem reset,
// driven through the window on the virtual clock.
#include <gtest/gtest.h>

#include "discovery/ModemReset.h"
#include "sim/Harness.h"

using namespace std::string_literals;

namespace {
const std::string kTrying = "Trying to retrieve Satellite IP Modem software version...";
const std::string kRejected = "Connection is forcefully rejected";
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
const std::string kRejectedBox = Box(kAppTitle, MsgExclamation, kRejected);
const std::string kCanContinue =
    Box(kUpgraderTitle, MsgInformation, kUnable + "Upgrade process can be continued.");

bool ProbeStarted(Harness& h) {
  auto& log = h.platform.network.connectLog;
  return std::find(log.begin(), log.end(), "127.0.0.1:21") != log.end();
}

const std::vector<std::string> kControls = {
    "cmdGetSoftwareVersion", "cmdSetDNS",      "cmdResetModem",  "cmdUpgrade",
    "cmdRestore",            "cmdPICupgrade",  "cmdUpgradeMenu", "cmdRestoreMenu",
    "cmdPicUpgradeMenu",     "cmdSetModemIP",  "mnuFileExit",    "txtIPAddress"};
// What a failure leaves usable.
std::vector<std::string> Usable(MainWindow& f) {
  std::vector<std::string> on;
  for (auto& n : kControls)
    if (f.find(n)->enabled()) on.push_back(n);
  return on;
}
const std::vector<std::string> kLocked = {"cmdGetSoftwareVersion", "cmdSetDNS", "cmdResetModem",
                                          "cmdSetModemIP", "mnuFileExit"};
}  // namespace

TEST(VersionQuery, ReplyInAnyPiecesShowsTheVersionTheModemTold) {
  const std::string full = ZingPeer::VersionReply("5.2.0.12,build 7");
  struct Case {
    std::vector<std::string> pieces;  // 1 ms apart
    std::string shown;
    std::string stored;
  } cases[] = {
      {{full}, "5.2.0.12", "5_2_0_12"},
      {{full.substr(0, 3), full.substr(3, 6), full.substr(9, 4), full.substr(13)}, "5.2.0.12",
       "5_2_0_12"},
      {{ZingPeer::VersionReply("5.2.0.12,build 7", false)}, "5.2.0.12", "5_2_0_12"},
      {{ZingPeer::VersionReply("v3a.9,x")}, "3.9", "3_9"},
      {{ZingPeer::VersionReply("5.2.0.12")}, "5.2.0.12", "5_2_0_12"},  // no comma
      {{ZingPeer::VersionReply("4.1\0,9.9"s)}, "4.1", "4_1"},          // stops at the zero
      {{ZingPeer::VersionReply("\xe9\xff,x")}, "Unknown", "0_0_0_0"},  // nothing usable
      {{"\x00\x00\x10\x04\x00\x00\x00\x00"s}, "Unknown", "0_0_0_0"},   // exactly 8 bytes
      {{"\x00\x00\x10\x04\x00"s}, "Unknown", "0_0_0_0"},               // shorter than 8
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.shown);
    Harness h;
    h.zing->customPieces = c.pieces;
    auto& f = h.load();
    EXPECT_EQ(f.sbUpgrade.text(), kTrying);
    h.advance(1000);
    EXPECT_EQ(f.txtCurrentSoftwareVersion.text(), c.shown);
    EXPECT_EQ(f.session().runningVersion, c.stored);
    EXPECT_EQ(f.sbUpgrade.text(), c.stored == "0_0_0_0" ? "Check Satellite IP Modem software version."
                                                         : "Software version was retrieved!");
    EXPECT_EQ(f.Progress.value(), 100);
    EXPECT_EQ(f.statusLED.fillColor(), kLedGreen);  // the modem did answer
    EXPECT_EQ(h.zing->received, "\x00\x00\x00\x04"s);
    EXPECT_FALSE(h.zing->connections.back()->open());
    EXPECT_FALSE(h.busy());
    EXPECT_TRUE(f.idle());
    h.advance(10000);
    EXPECT_FALSE(ProbeStarted(h));
    EXPECT_TRUE(h.ui().boxes.empty());
  }
}

TEST(VersionQuery, PieceWithoutZeroWaitsBrieflyForTheRest) {
  enum class Then { Waits, Cancelled, ModemCloses };
  for (Then then : {Then::Waits, Then::Cancelled, Then::ModemCloses}) {
    Harness h;
    h.zing->customPieces = {ZingPeer::VersionReply("5.2.0.12,b", false)};
    auto& f = h.load();
    h.advance(10);  // the piece has arrived
    if (then == Then::Cancelled) f.versionQuery().cancel();
    // A modem that hangs up after its piece has said all it will say.
    if (then == Then::ModemCloses) h.zing->connections.back()->close(5);
    h.advance(5);
    EXPECT_EQ(h.busy(), then != Then::ModemCloses);
    h.advance(294);
    EXPECT_EQ(h.busy(), then != Then::ModemCloses);
    h.advance(1);
    EXPECT_EQ(h.busy(), then == Then::Cancelled);
    // A cancelled query takes nothing from the piece it had.
    EXPECT_EQ(f.session().runningVersion, then == Then::Cancelled ? "0_0_0_0" : "5_2_0_12");
    EXPECT_TRUE(h.ui().boxes.empty());
  }
}

// Without a version the FTP port tells whether the modem is there; the
// probe starts when the ZING exchange has failed, and only once.
TEST(VersionQuery, WithoutAVersionTheFtpPortDecides) {
  const std::string closed = Box("Error", MsgCritical,
                                 "Satellite IP Modem closed the connection. Connection lost.");
  struct Case {
    const char* what;
    std::function<void(Harness&)> modem;
    long probeAtMs;
    std::string statusThen;
    std::vector<std::string> boxes;
  } cases[] = {
      {"refused", [](Harness& h) { h.unplugZing(); }, 0, "ZING Connection failed.",
       {kRejectedBox, kCanContinue}},
      {"no connection", [](Harness& h) { h.zing->mode = SimPeer::Accept::Ignore; }, 5000,
       "ZING Connection failed.", {kCanContinue}},
      {"silent", [](Harness& h) { h.zing->silent = true; }, 5000, kTrying, {kCanContinue}},
      {"hangs up",
       [](Harness& h) {
         h.zing->silent = true;
         h.zing->accepted_close_after = 50;
       },
       5000, kTrying, {closed, kCanContinue}},
      // The watchdog runs from the request, not from a reply that is none.
      {"other code",
       [](Harness& h) { h.zing->customPieces = {"\x00\x00\x10\x05\x00\x00\x00\x00" "5.0\0"s}; },
       5000, kTrying, {kCanContinue}},
      {"high bit",
       [](Harness& h) { h.zing->customPieces = {"\x80\x00\x10\x04\x00\x00\x00\x00" "5.0\0"s}; },
       5000, kTrying, {kCanContinue}},
      {"two bytes", [](Harness& h) { h.zing->customPieces = {"\x00\x10"s}; }, 5000, kTrying,
       {kCanContinue}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.what);
    Harness h;
    c.modem(h);
    auto& f = h.load();
    if (c.probeAtMs > 0) {
      h.advance(c.probeAtMs - 1);
      EXPECT_FALSE(ProbeStarted(h));
      EXPECT_TRUE(h.busy());
    }
    h.advance(c.probeAtMs > 0 ? 1 : 0);
    EXPECT_TRUE(ProbeStarted(h));
    EXPECT_EQ(f.sbUpgrade.text(), c.statusThen);
    h.advance(6000);
    EXPECT_EQ(f.sbUpgrade.text(), "Connection succeed.");
    EXPECT_EQ(Boxes(h), c.boxes);
    EXPECT_EQ(f.txtCurrentSoftwareVersion.text(), "Unknown");
    EXPECT_EQ(f.statusLED.fillColor(), kLedGreen);
    EXPECT_EQ(Usable(f), kControls);
    EXPECT_EQ(h.ftpPort->connections.size(), 1u);
    EXPECT_FALSE(h.ftpPort->connections.back()->open());
    EXPECT_FALSE(h.busy());
    EXPECT_TRUE(f.idle());
  }
}

// ZING refused, so the probe starts at 0 ms; with ftpTimeout the query
// follows a failed transfer and reports it in the probe's own words.
TEST(FtpProbe, GreetingWithinTwoSecondsDecidesAndAFailureLocksTheUpgrade) {
  const std::string unable = Box(kUpgraderTitle, MsgExclamation, kUnable + kCable);
  struct Case {
    long greetMs;  // -1: the FTP port refuses
    bool ftpTimeout;
    long endMs;
    std::string status;
    std::vector<std::string> boxes;
    bool locked;
  } cases[] = {
      {1900, false, 1900, "Connection succeed.", {kRejectedBox, kCanContinue}, false},
      {2100, false, 2000, "Connection failed.", {kRejectedBox, unable}, true},
      {100000, false, 2000, "Connection failed.", {kRejectedBox, unable}, true},
      {-1, false, 0, "Connection failed.", {kRejectedBox, unable, kRejectedBox}, true},
      {10, true, 10, "Connection succeed.",
       {kRejectedBox, Box(kAppTitle, MsgExclamation, "FTP timeout.\r\n\r\n" + kRetry + "\r\n")},
       true},
      {100000, true, 2000, "Connection failed.",
       {kRejectedBox,
        Box(kUpgraderTitle, MsgExclamation,
            "FTP timeout.\r\nCan not connect to the Satellite IP Modem.\r\n\r\n" + kCable)},
       true},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.greetMs);
    Harness h;
    h.unplugZing();
    if (c.greetMs < 0) h.unplugFtpPort();
    h.ftpPort->greetDelayMs = c.greetMs;
    auto& f = h.load();
    // Asked again at once, as after a failed transfer: one refusal, at 0 ms.
    if (c.ftpTimeout) f.versionQuery().query(true);
    if (c.endMs > 0) {
      h.advance(c.endMs - 1);
      EXPECT_TRUE(h.busy());
    }
    h.advance(c.endMs > 0 ? 1 : 0);
    EXPECT_FALSE(h.busy());
    EXPECT_EQ(f.sbUpgrade.text(), c.status);
    EXPECT_EQ(f.statusLED.fillColor(), c.status == "Connection failed." ? kLedRed : kLedGreen);
    EXPECT_EQ(Boxes(h), c.boxes);
    EXPECT_EQ(Usable(f), c.locked ? kLocked : kControls);
    // A late greeting changes nothing.
    h.advance(200);
    EXPECT_EQ(f.sbUpgrade.text(), c.status);
    EXPECT_EQ(Boxes(h), c.boxes);
  }
}

TEST(FtpProbe, ASecondProbeNeverStartsWhileOneWaits) {
  Harness h;
  h.unplugZing();
  h.ftpPort->greetDelayMs = 100000;
  h.load();
  h.advance(500);
  h.f().versionQuery().query();  // refused again: its probe would start now
  h.advance(1499);
  EXPECT_TRUE(h.busy());
  h.advance(1);  // 2 s from the first start
  EXPECT_FALSE(h.busy());
  EXPECT_EQ(h.ftpPort->connections.size(), 1u);
}

TEST(VersionQuery, ReplyAfterAFailedTransferReportsTheTimeOutAndLocksTheUpgrade) {
  Harness h;
  auto& f = h.load();
  h.advance(100);
  f.versionQuery().query(true);
  h.advance(100);
  EXPECT_EQ(Boxes(h), std::vector<std::string>{Box(kUpgraderTitle, MsgExclamation,
                                                   "FTP timeout.\r\n\r\n" + kRetry)});
  EXPECT_EQ(f.session().runningVersion, "5_2_0_12");
  EXPECT_EQ(Usable(f), kLocked);
  EXPECT_FALSE(h.busy());
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
  // The first attempt's watchdog is gone with it.
  h.advance(10000);
  EXPECT_FALSE(ProbeStarted(h));
  EXPECT_TRUE(h.ui().boxes.empty());
}

TEST(Discovery, EmptyAddressAsksForOneAndConnectsNothing) {
  Harness h;
  h.settings.initialAddress = "   ";
  auto& f = h.load();  // the start-up query
  EXPECT_EQ(f.sbUpgrade.text(), "Check Satellite IP Modem software version.");
  f.cmdResetModem.click();
  f.cmdSetDNS.click();
  const std::string enter = "Please enter Satellite IP Modem's IP ";
  EXPECT_EQ(Boxes(h), (std::vector<std::string>{Box(kAppTitle, MsgInformation, enter + "address."),
                                                Box(kAppTitle, MsgInformation, enter + "Address."),
                                                Box(kAppTitle, MsgInformation, enter + "address.")}));
  h.advance(6000);
  EXPECT_FALSE(h.busy());
  EXPECT_EQ(h.ui().boxes.size(), 3u);
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
    EXPECT_TRUE(h.busy());
    EXPECT_EQ(f.txtCurrentSoftwareVersion.text(), "Unknown");
    h.advance(0);
    EXPECT_EQ(h.statuses, (std::vector<std::string>{"Resetting Satellite IP Modem...",
                                                    "Resetting modem. Wait 20 seconds."}));
    EXPECT_EQ(h.zing->requests, (std::vector<int>{4, 13}));
    auto& line = *h.zing->connections.back();
    if (drop == Drop::Reset) line.fail(10054, "Connection reset by peer", 1000);
    if (drop == Drop::Close) line.close(1000);
    long queryAt = drop == Drop::None ? 25000 : 1000 + 11000;
    h.advance(queryAt - 1);
    EXPECT_EQ(h.zing->requests.size(), 2u);
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
  for (auto mode : {SimPeer::Accept::Refuse, SimPeer::Accept::Ignore}) {
    Harness h;
    auto& f = h.load();
    h.advance(100);
    h.zing->mode = mode;
    f.cmdResetModem.click();
    long failAt = mode == SimPeer::Accept::Refuse ? 0 : 5000;
    if (failAt > 0) {
      h.advance(failAt - 1);
      EXPECT_TRUE(h.ui().boxes.empty());
    }
    h.advance(failAt > 0 ? 1 : 0);
    EXPECT_EQ(Boxes(h).at(0),
              Box(kUpgraderTitle, MsgExclamation,
                  "Unable to reset Satellite IP Modem.\r\n\r\n"
                  "Remove power and reapply power to the Satellite IP Modem."));
    EXPECT_EQ(f.sbUpgrade.text(), "");
    EXPECT_FALSE(h.busy());
  }
}

TEST(ModemReset, AfterATransferTheOrderWaitsFiveSeconds) {
  Harness h;
  auto& f = h.load();
  h.advance(100);
  f.modemReset().resetAfterTransfer();
  h.advance(4999);
  EXPECT_EQ(h.zing->requests.size(), 1u);
  h.advance(1);
  EXPECT_EQ(h.zing->requests, (std::vector<int>{4, 13}));
}
