#include <gtest/gtest.h>

#include "discovery/ModemReset.h"
#include "sim/Harness.h"

using namespace std::string_literals;

namespace {
const std::string kUnableCable =
    "Unable to get Satellite IP Modem's software version.\r\n\r\n"
    "Please check the cable connection.\r\n"
    "Remove power and reapply power to the Satellite IP Modem.\r\n"
    "Get software version using Tools menu before retrying.\r\n"
    "Close and restart Upgrader if error repeats.";
const std::string kCanContinue =
    "Unable to get Satellite IP Modem's software version.\r\n\r\nUpgrade process can be continued.";

std::vector<std::string> Usable(MainWindow& f) {
  std::vector<std::string> on;
  for (const char* n : {"cmdGetSoftwareVersion", "cmdSetDNS", "cmdResetModem", "cmdUpgrade",
                        "cmdRestore", "cmdPICupgrade", "cmdUpgradeMenu", "cmdRestoreMenu",
                        "cmdPicUpgradeMenu", "cmdSetModemIP", "mnuFileExit", "txtIPAddress"})
    if (f.find(n)->enabled()) on.push_back(n);
  return on;
}
const std::vector<std::string> kAfterFailure = {"cmdGetSoftwareVersion", "cmdSetDNS",
                                                "cmdResetModem", "cmdSetModemIP", "mnuFileExit"};

// ZING refused at once, so the probe starts at 0 ms.
struct ProbeCase : Harness {
  ProbeCase(long greetMs, bool ftpTimeout = false) {
    unplugZing();
    ftpPort->greetDelayMs = greetMs;
    load();
    // Asked again at once, as after a failed transfer: one refusal, at 0 ms.
    if (ftpTimeout) f().versionQuery().query(true);
  }
  // Boxes other than the socket's own error display.
  std::vector<std::string> messages() {
    std::vector<std::string> out;
    for (auto& b : ui().boxes)
      if (b.text != "Connection is forcefully rejected") out.push_back(b.text);
    return out;
  }
};
}  // namespace

TEST(FtpProbe, GreetingWithinTwoSecondsLetsTheUpgradeGoOn) {
  ProbeCase h(1900);
  h.advance(1899);
  EXPECT_TRUE(h.busy());
  h.advance(1);
  EXPECT_FALSE(h.busy());
  auto& f = h.f();
  EXPECT_EQ(f.sbUpgrade.text(), "Connection succeed.");
  EXPECT_EQ(f.statusLED.fillColor(), kLedGreen);
  EXPECT_TRUE(f.versionQuery().reachableWithoutVersion());
  EXPECT_EQ(h.messages(), std::vector<std::string>{kCanContinue});
  EXPECT_EQ(h.ui().boxes.back().style, 64);
  EXPECT_EQ(h.ui().boxes.back().title, "Satellite IP Modem Upgrader");
  EXPECT_EQ(Usable(f).size(), 12u);
  EXPECT_EQ(f.txtCurrentSoftwareVersion.text(), "Unknown");
  EXPECT_EQ(f.session().runningVersion, "0_0_0_0");
  EXPECT_FALSE(h.ftpPort->connections.back()->open());
  EXPECT_TRUE(f.idle());
}

TEST(FtpProbe, NoGreetingWithinTwoSecondsIsAFailure) {
  for (long greet : {2100L, 100000L}) {  // late, and accepted but silent
    ProbeCase h(greet);
    h.advance(1999);
    EXPECT_TRUE(h.busy());
    h.advance(1);
    auto& f = h.f();
    EXPECT_FALSE(h.busy());
    EXPECT_EQ(f.sbUpgrade.text(), "Connection failed.");
    EXPECT_EQ(f.statusLED.fillColor(), kLedRed);
    EXPECT_EQ(h.messages(), std::vector<std::string>{kUnableCable});
    EXPECT_EQ(Usable(f), kAfterFailure);
    EXPECT_FALSE(f.versionQuery().reachableWithoutVersion());
    EXPECT_FALSE(h.ftpPort->connections.back()->open());
    // The late greeting changes nothing.
    h.advance(200);
    EXPECT_EQ(f.sbUpgrade.text(), "Connection failed.");
    EXPECT_EQ(h.messages().size(), 1u);
  }
}

TEST(FtpProbe, RefusedFtpPortFailsAtOnce) {
  Harness h;
  h.unplugZing();
  h.unplugFtpPort();
  auto& f = h.load();
  h.advance(0);
  EXPECT_EQ(f.sbUpgrade.text(), "Connection failed.");
  EXPECT_EQ(Usable(f), kAfterFailure);
  // Each watchdog outcome is followed by the socket's own display.
  EXPECT_EQ(h.boxTexts(),
            (std::vector<std::string>{"Connection is forcefully rejected", kUnableCable,
                                      "Connection is forcefully rejected"}));
}

TEST(FtpProbe, FtpTimeoutIsReportedInTheProbesOwnWords) {
  {
    ProbeCase h(10, true);
    h.advance(10);
    EXPECT_EQ(h.messages(),
              std::vector<std::string>{
                  "FTP timeout.\r\n\r\nRemove power and reapply power to the Satellite IP "
                  "Modem.\r\nGet software version using Tools menu before retrying.\r\n"
                  "Close and restart Upgrader if error repeats.\r\n"});
    EXPECT_EQ(h.ui().boxes.back().title, "KOVA Upgrader");
    EXPECT_FALSE(h.f().versionQuery().reachableWithoutVersion());
    EXPECT_EQ(Usable(h.f()), kAfterFailure);  // locked even though the port answered
    EXPECT_EQ(h.f().sbUpgrade.text(), "Connection succeed.");
  }
  {
    ProbeCase h(100000, true);
    h.advance(2000);
    EXPECT_EQ(h.messages(),
              std::vector<std::string>{
                  "FTP timeout.\r\nCan not connect to the Satellite IP Modem.\r\n\r\n"
                  "Please check the cable connection.\r\n"
                  "Remove power and reapply power to the Satellite IP Modem.\r\n"
                  "Get software version using Tools menu before retrying.\r\n"
                  "Close and restart Upgrader if error repeats."});
  }
}

TEST(FtpProbe, ASecondProbeNeverStartsWhileOneWaits) {
  ProbeCase h(100000);
  h.advance(500);
  h.f().versionQuery().query();  // refused again: its probe would start now
  h.advance(1499);
  EXPECT_TRUE(h.busy());
  h.advance(1);  // still 2 s from the first start
  EXPECT_FALSE(h.busy());
  EXPECT_EQ(h.ftpPort->connections.size(), 1u);
}

TEST(ModemReset, FromTheMenuWithTheModemPresent) {
  Harness h;
  auto& f = h.load();
  h.advance(100);
  h.statuses.clear();
  f.cmdResetModem.click();
  EXPECT_TRUE(h.busy());
  EXPECT_EQ(f.txtCurrentSoftwareVersion.text(), "Unknown");
  EXPECT_EQ(f.session().runningVersion, "0_0_0_0");
  h.advance(0);
  EXPECT_EQ(h.statuses, (std::vector<std::string>{"Resetting Satellite IP Modem...",
                                                  "Resetting modem. Wait 20 seconds."}));
  EXPECT_EQ(h.zing->requests, (std::vector<int>{4, 13}));
  // The version query starts 25 s after the order; no reply is awaited
  // meanwhile, so no probe follows a silence.
  h.advance(24999);
  EXPECT_EQ(h.zing->requests.size(), 2u);
  EXPECT_TRUE(h.ftpPort->connections.empty());
  h.advance(1);
  EXPECT_EQ(f.sbUpgrade.text(), "Trying to retrieve Satellite IP Modem software version...");
  h.advance(100);
  EXPECT_EQ(h.zing->requests, (std::vector<int>{4, 13, 4}));
  EXPECT_EQ(f.session().runningVersion, "5_2_0_12");
  EXPECT_FALSE(h.busy());
}

TEST(ModemReset, FromTheMenuWithTheModemAbsent) {
  const std::string unable =
      "Unable to reset Satellite IP Modem.\r\n\r\n"
      "Remove power and reapply power to the Satellite IP Modem.";
  {  // refused: at once
    Harness h;
    auto& f = h.load();
    h.advance(100);
    h.unplugZing();
    f.cmdResetModem.click();
    h.advance(0);
    EXPECT_EQ(h.boxTexts().at(0), unable);
    EXPECT_EQ(f.sbUpgrade.text(), "");
    EXPECT_FALSE(h.busy());
  }
  {  // no answer: after 5 s
    Harness h;
    auto& f = h.load();
    h.advance(100);
    h.zing->mode = SimPeer::Accept::Ignore;
    f.cmdResetModem.click();
    h.advance(4999);
    EXPECT_TRUE(h.ui().boxes.empty());
    h.advance(1);
    EXPECT_EQ(h.boxTexts(), std::vector<std::string>{unable});
    EXPECT_EQ(h.ui().boxes[0].style, 48);
    EXPECT_EQ(h.ui().boxes[0].title, "Satellite IP Modem Upgrader");
    EXPECT_FALSE(h.busy());
  }
}

TEST(ModemReset, ConnectionDroppedByTheRestartingModemWaitsElevenSecondsThenQueries) {
  // A restarting modem resets (RST) or closes (FIN) the connection: the
  // expected end of a reset, never a box.
  for (bool reset : {true, false}) {
    Harness h;
    auto& f = h.load();
    h.advance(100);
    h.ui().boxes.clear();
    f.cmdResetModem.click();
    h.advance(0);
    ASSERT_EQ(f.sbUpgrade.text(), "Resetting modem. Wait 20 seconds.");
    long dropAt = h.clock().nowMs() + 1000;
    if (reset)
      h.zing->connections.back()->fail(10054, "Connection reset by peer", 1000);
    else
      h.zing->connections.back()->close(1000);
    // Eleven one-second rounds, handling events, then the query.
    h.advance(1000);
    EXPECT_TRUE(h.sawStatus("Reset done. Wait ....."));
    EXPECT_EQ(h.clock().nowMs(), dropAt + 11000);
    h.advance(100);
    EXPECT_EQ(h.zing->requests, (std::vector<int>{4, 13, 4}));
    EXPECT_EQ(f.session().runningVersion, "5_2_0_12");
    EXPECT_FALSE(h.busy());
    EXPECT_TRUE(h.boxTexts().empty());
    // The restart delay never starts a second query.
    h.advance(30000);
    EXPECT_EQ(h.zing->requests.size(), 3u);
  }
}

TEST(ModemReset, EmptyAddressAndTheMenus) {
  Harness h;
  h.settings.initialAddress = "";
  auto& f = h.load();
  h.ui().boxes.clear();
  f.cmdResetModem.click();
  EXPECT_EQ(h.boxTexts(), std::vector<std::string>{"Please enter Satellite IP Modem's IP Address."});
  EXPECT_EQ(h.ui().boxes[0].title, "KOVA Upgrader");
  EXPECT_FALSE(h.busy());
  EXPECT_TRUE(h.platform.network.connectLog.empty());

  Harness g;
  auto& f2 = g.load();
  g.advance(100);
  f2.cmdGetSoftwareVersion.click();
  EXPECT_TRUE(g.busy());
  g.advance(100);
  EXPECT_EQ(g.zing->requests, (std::vector<int>{4, 4}));
}

TEST(ModemReset, FiveSecondDelayOrdersTheReset) {
  Harness h;
  auto& f = h.load();
  h.advance(100);
  f.modemReset().resetAfterTransfer();
  EXPECT_FALSE(f.idle());
  h.advance(4999);
  EXPECT_EQ(h.zing->requests.size(), 1u);
  h.advance(1);
  EXPECT_FALSE(f.modemReset().resetScheduled());
  EXPECT_EQ(h.zing->requests, (std::vector<int>{4, 13}));
}
