// The ZING version query, the FTP-port probe behind it and the modem reset,
// driven through the window on the virtual clock.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/Texts.h"
#include "discovery/ModemReset.h"
#include "operations/ModemSession.h"
#include "sim/Harness.h"

using namespace std::string_literals;

namespace {
const std::string kRetry =
    "Remove power and reapply power to the Satellite IP Modem.\r\n"
    "Get software version using Tools menu before retrying.\r\n"
    "Close and restart Upgrader if error repeats.";
const std::string kCable = "Please check the cable connection.\r\n" + kRetry;
const std::string kTrying = "Trying to retrieve Satellite IP Modem software version...";
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

// Runs until doneMs after the start, checking the window is busy until then.
void BusyUntil(Harness& h, long doneMs) {
  h.advance(std::max(doneMs - 1, 0L));
  EXPECT_EQ(h.busy(), doneMs > 0);
  h.advance(doneMs > 0 ? 1 : 0);
  EXPECT_FALSE(h.busy());
}
}  // namespace

// Every way a version query ends, at its millisecond: a reply without its
// zero byte waits 300 ms for the rest; without a version (refused, or none in
// 5 s) the FTP greeting within 2 s decides; a failure locks the upgrade.
TEST(VersionQuery, EachWayAQueryEnds) {
  enum Zing { Answers, Refused, NoConnection, Silent };
  const std::string full = ZingPeer::VersionReply("5.2.0.12,build 7");
  const std::string noZero = ZingPeer::VersionReply("5.2.0.12,b", false);
  const std::string goOn =
      Box(kUpgraderTitle, MsgInformation, kUnable + "Upgrade process can be continued.");
  const std::string unable = Box(kUpgraderTitle, MsgExclamation, kUnable + kCable);
  const std::string read = "Software version was retrieved!", ok = "Connection succeed.",
                    failed = "Connection failed.";
  const std::string check = "Check Satellite IP Modem software version.";
  struct Case {
    Zing zing = Answers;
    std::vector<std::string> reply = {};  // instead of the version reply, 1 ms apart
    long hangUpMs = -1;                   // after the connection opened
    long greetMs = 5;                     // -1: the FTP port refuses
    bool ftpTimeout = false;
    long doneMs = 10;
    std::string version = "5.2.0.12";  // shown when read
    std::string status = "Software version was retrieved!";
    std::vector<std::string> boxes = {};
  } cases[] = {
      {},
      {.reply = {full.substr(0, 3), full.substr(3, 6), full.substr(9, 4), full.substr(13)},
       .doneMs = 13},
      {.reply = {noZero}, .doneMs = 310},
      {.reply = {noZero}, .hangUpMs = 15, .doneMs = 15},
      {.reply = {ZingPeer::VersionReply("v3a.9,x")}, .version = "3.9"},
      {.reply = {ZingPeer::VersionReply("\xe9\xff,x")}, .status = check},  // nothing usable
      {.reply = {"\x00\x00\x10\x04\x00"s}, .doneMs = 310, .status = check},
      {.zing = Refused, .doneMs = 5, .status = ok, .boxes = {kRejected, goOn}},
      {.zing = NoConnection, .doneMs = 5005, .status = ok, .boxes = {goOn}},
      {.zing = Silent, .doneMs = 5005, .status = ok, .boxes = {goOn}},
      {.zing = Silent, .hangUpMs = 50, .doneMs = 5005, .status = ok,
       .boxes = {Box("Error", MsgCritical,
                     "Satellite IP Modem closed the connection. Connection lost."),
                 goOn}},
      {.reply = {"\x00\x00\x10\x05\x00\x00\x00\x00" "5.0\0"s}, .doneMs = 5005, .status = ok,
       .boxes = {goOn}},
      {.reply = {"\x00\x10"s}, .doneMs = 5005, .status = ok, .boxes = {goOn}},
      {.zing = Refused, .greetMs = 1900, .doneMs = 1900, .status = ok, .boxes = {kRejected, goOn}},
      {.zing = Refused, .greetMs = 2100, .doneMs = 2000, .status = failed,
       .boxes = {kRejected, unable}},
      {.zing = Refused, .greetMs = -1, .doneMs = 0, .status = failed,
       .boxes = {kRejected, unable, kRejected}},
      {.zing = Refused, .greetMs = 10, .ftpTimeout = true, .status = ok,
       .boxes = {kRejected,
                 Box(kAppTitle, MsgExclamation, "FTP timeout.\r\n\r\n" + kRetry + "\r\n")}},
      {.zing = Refused, .greetMs = 100000, .ftpTimeout = true, .doneMs = 2000, .status = failed,
       .boxes = {kRejected,
                 Box(kUpgraderTitle, MsgExclamation,
                     "FTP timeout.\r\nCan not connect to the Satellite IP Modem.\r\n\r\n" +
                         kCable)}},
      {.ftpTimeout = true,
       .boxes = {Box(kUpgraderTitle, MsgExclamation, "FTP timeout.\r\n\r\n" + kRetry)}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.status + " at " + std::to_string(c.doneMs));
    Harness h;
    if (c.zing == Refused) h.unplugZing();
    if (c.zing == NoConnection) h.zing->mode = SimPeer::Accept::Ignore;
    h.zing->silent = c.zing == Silent;
    h.zing->customPieces = c.reply;
    h.zing->accepted_close_after = c.hangUpMs;
    if (c.greetMs < 0) h.unplugFtpPort();
    h.ftpPort->greetDelayMs = c.greetMs;
    auto& f = h.load();
    // Asked again at once, as after a failed transfer.
    if (c.ftpTimeout) {
      f.modem().runner().cancel();
      ASSERT_TRUE(f.run(f.modem().versionRead(/*reportFtpTimeout=*/true)));
    }
    BusyUntil(h, c.doneMs);
    std::string shown = c.status == read ? c.version : "Unknown";
    EXPECT_EQ(f.txtCurrentSoftwareVersion.text(), shown);
    if (shown == "Unknown") shown = "0.0.0.0";
    std::replace(shown.begin(), shown.end(), '.', '_');
    EXPECT_EQ(f.session().runningVersion.fileForm(), shown);
    EXPECT_TRUE(!c.boxes.empty() || f.Progress.value() == 100);
    EXPECT_EQ(f.statusLED.fillColor(), c.status == failed ? kLedRed : kLedGreen);
    const bool locked = c.status == failed || c.ftpTimeout;
    EXPECT_EQ(f.cmdUpgrade.enabled(), !locked);
    EXPECT_EQ(f.txtIPAddress.enabled(), !locked);
    EXPECT_EQ(h.zing->received, c.zing == Answers || c.zing == Silent ? "\x00\x00\x00\x04"s : "");
    // Nothing follows: no late greeting, no second probe, no watchdog.
    h.advance(10000);
    EXPECT_EQ(f.sbUpgrade.text(), c.status);
    EXPECT_EQ(Boxes(h), c.boxes);
    auto& log = h.platform.network.connectLog;
    EXPECT_EQ(std::count(log.begin(), log.end(), "127.0.0.1:21"),
              c.status == ok || c.status == failed ? 1 : 0);
    EXPECT_TRUE(f.idle());
  }
}

TEST(Discovery, EmptyAddressAsksForOneAndConnectsNothing) {
  Harness h;
  h.settings.initialAddress = "   ";
  auto& f = h.load();  // the start-up query
  EXPECT_EQ(f.sbUpgrade.text(), "Check Satellite IP Modem software version.");
  f.cmdResetModem.click();
  f.cmdSetDNS.click();
  h.advance(6000);
  const std::string enter = Box(kAppTitle, MsgInformation, "Please enter Satellite IP Modem's IP ");
  EXPECT_EQ(Boxes(h), (std::vector<std::string>{enter + "address.", enter + "Address.",
                                                enter + "address."}));
  EXPECT_FALSE(h.busy());
  EXPECT_TRUE(h.platform.network.connectLog.empty());
}

// The version query follows the order 25 s later, or 11 s after the restarting
// modem dropped the connection (never a box); a missing modem is reported.
TEST(ModemReset, FromTheMenuTheVersionIsAskedOnceTheModemIsBack) {
  enum Modem { Stays, Resets, Closes, Refuses, Ignores };
  const std::string unable = Box(kUpgraderTitle, MsgExclamation,
                                 "Unable to reset Satellite IP Modem.\r\n\r\n"
                                 "Remove power and reapply power to the Satellite IP Modem.");
  struct Case {
    Modem modem;
    long atMs;  // the query, or the box
    std::vector<std::string> boxes;
  } cases[] = {
      {Stays, 25000, {}},
      {Resets, 1000 + 11000, {}},
      {Closes, 1000 + 11000, {}},
      {Refuses, 0, {unable, kRejected}},  // the socket's own error display follows
      {Ignores, 5000, {unable}},
  };
  for (auto& c : cases) {
    Harness h;
    auto& f = h.load();
    h.advance(100);
    h.statuses.clear();
    // The restarting modem's rounds run in nested waits: note when the query starts.
    long askedAt = -1, start = h.clock().nowMs();
    f.sbUpgrade.changed.add([&] {
      if (f.sbUpgrade.text() == kTrying) askedAt = h.clock().nowMs();
    });
    if (c.modem == Refuses) h.zing->mode = SimPeer::Accept::Refuse;
    if (c.modem == Ignores) h.zing->mode = SimPeer::Accept::Ignore;
    f.cmdResetModem.click();
    if (!c.boxes.empty()) {
      BusyUntil(h, c.atMs);
      EXPECT_EQ(Boxes(h), c.boxes);
      EXPECT_EQ(f.sbUpgrade.text(), "");
      continue;
    }
    h.advance(0);
    EXPECT_EQ(h.statuses, (std::vector<std::string>{"Resetting Satellite IP Modem...",
                                                    "Resetting modem. Wait 20 seconds."}));
    auto& line = *h.zing->connections.back();
    if (c.modem == Resets) line.fail(10054, "Connection reset by peer", 1000);
    if (c.modem == Closes) line.close(1000);
    // Nothing asks again later, and a silence is never probed.
    h.advance(60000);
    EXPECT_EQ(askedAt - start, c.atMs);
    EXPECT_EQ(h.sawStatus("Reset done. Wait ....."), c.modem != Stays);
    EXPECT_EQ(h.zing->requests, (std::vector<int>{4, 13, 4}));
    EXPECT_EQ(h.platform.network.connectLog.size(), 3u);
    EXPECT_EQ(f.session().runningVersion.display(), "5.2.0.12");
    EXPECT_TRUE(h.ui().boxes.empty());
    EXPECT_FALSE(h.busy());
  }
}

