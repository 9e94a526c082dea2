// The bounds on each wait of the upgrade and the restore (the version query,
// the prepare exchange, each FTP command, the whole chain), at exact times
// on the virtual clock, and what is left once one struck.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "discovery/VersionQuery.h"
#include "firmware/RestoreWorkflow.h"
#include "firmware/UpgradeWorkflow.h"
#include "sim/WorkflowPeers.h"
#include "transfer/FtpChain.h"
#include "transfer/TelnetSession.h"

namespace {

using Entry = WorkflowModem::Entry;

// The modem's own watchdogs of intervalMs running delayMs from now never
// fire: the workflow's bound behind them shows.
void DefuseAfter(WorkflowModem& h, long delayMs, int intervalMs) {
  h.clock().schedule(delayMs, [&h, intervalMs] {
    for (SimTimer* t : h.platform.timers)
      if (t->enabled() && t->interval() == intervalMs) t->setInterval(1 << 30);
  });
}

}  // namespace

// The workflow's own limit for the chain counts from its first command and
// is tested after each one-second round. The chain is cancelled before the
// box (the user may take a while to read it), a backup cut short leaves
// nothing in the store, and the user's retry runs.
TEST(Workflow, OwnLimitOfThreeMinutesEndsTheChain) {
  using Fault = SimFtpServer::Fault;
  const std::string backupTimeout =
      "Upgrade failed. Click OK and close the upgrader.  Check connection before retrying "
      "upgrade.";
  const std::string uploadTimeout =
      "Upgrade failed.  Click OK and close the upgrader.  Turn the Satellite IP Modem off and "
      "on again before retrying upgrade.";
  struct Case {
    const char* what;
    bool restore;
    long commandMs;
    bool defuse;  // a slow link: the request watchdog stays quiet
    std::function<void(WorkflowModem&)> arrange;
    std::size_t commands;  // sent when the limit struck
    std::string box;
    bool backupLeft;
  };
  const std::vector<Case> cases = {
      {"upgrade, each command within the watchdog", false, 60000, false, nullptr, 4,
       backupTimeout, true},
      {"upgrade, backup checksum under way", false, 100000, true, nullptr, 2, backupTimeout,
       false},
      {"upgrade, part of the image arrived", false, 100, true,
       [](WorkflowModem& h) {
         h.platform.ftp.faults["GET /bin/kova.bin"] = {Fault::Stall, 0, "", -1};
         h.f().sbUpgrade.changed.connect([&h] {
           if (h.f().status() == "Downloading Satellite IP Modem software to PC...")
             h.home.write("Backup/kova_5_2_0_12.bin", "part of an ima");
         });
       },
       1, backupTimeout, false},
      // "CLOSE" is out half a second before the limit strikes: the reset it
      // scheduled must not follow the failure box unannounced.
      {"upgrade, closed just before the limit", false, 45125, false, nullptr, 5, backupTimeout,
       true},
      {"restore, each command within the watchdog", true, 60000, false,
       [](WorkflowModem& h) { h.store("5_2_0_12"); }, 4, uploadTimeout, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WorkflowModem h;
    h.start();
    if (c.arrange) c.arrange(h);
    h.zing->requests.clear();
    h.platform.ftp.commandMs = c.commandMs;
    if (c.defuse) DefuseAfter(h, 5000, FtpChain::kRequestLimitMs);
    std::size_t sentAtBox = 0;
    h.ui().onMsgBox = [&](const MsgRecord&) {
      sentAtBox = h.ftpLog().size();
      h.advance(150000);
    };
    h.click(c.restore ? Entry::Restore : Entry::Upgrade);
    const long first = h.statusAt(c.restore ? "Restoring Satellite IP Modem with version 5_2_0_12 ..."
                                            : "Downloading Satellite IP Modem software to PC...");
    ASSERT_GE(first, 0);
    ASSERT_EQ(h.boxTexts(), Lines{c.box});
    EXPECT_EQ(h.ui().boxes[0].atMs, first + 181000);
    EXPECT_EQ(h.ui().boxes[0].style, MsgExclamation);
    EXPECT_EQ(h.ui().boxes[0].title, "Satellite IP Modem Upgrader");
    EXPECT_EQ(sentAtBox, c.commands);
    EXPECT_EQ(h.f().status(), "");
    EXPECT_FALSE(h.busy());
    EXPECT_TRUE(h.f().idle());
    h.advance(300000);
    EXPECT_EQ(h.ftpLog().size(), c.commands);
    EXPECT_EQ(h.ui().boxes.size(), 1u);
    EXPECT_TRUE(h.zing->requests.empty());
    EXPECT_EQ(h.home.exists("Backup/kova_5_2_0_12.bin"), c.backupLeft);
    EXPECT_EQ(h.home.exists("Backup/chk_5_2_0_12.txt"), c.backupLeft);

    h.ui().onMsgBox = nullptr;
    h.platform.ftp.commandMs = 100;
    h.click(c.restore ? Entry::Restore : Entry::Upgrade);
    h.settle();
    EXPECT_EQ(h.ftpLog().back(), "CLOSE");
    EXPECT_TRUE(h.sawStatus(c.restore ? "Successfully restored! Wait..."
                                      : "Successfully upgraded! Wait..."));
    EXPECT_TRUE(h.home.exists("Backup/kova_5_2_0_12.bin"));
  }
}

// The request watchdog gives each command 65 s: a command 1 ms quicker
// passes, a silent one is given up at the exact millisecond.
TEST(Workflow, RequestWatchdogBoundsEachCommand) {
  WorkflowModem h;
  h.start();
  const long limit = FtpChain::kRequestLimitMs;
  h.platform.ftp.commandMs = limit - 1;
  h.platform.ftp.faults["GET /checksum.txt"] = {SimFtpServer::Fault::Stall, 0, "", -1};
  h.click(Entry::Upgrade);
  h.settle();
  EXPECT_EQ(h.statusAt("Timer expired. Checking connection...."),
            h.statusAt("Downloading Satellite IP Modem software to PC...") + 2 * limit - 1);
  EXPECT_EQ(h.ftpLog().size(), 2u);
  ASSERT_EQ(h.ui().boxes.size(), 1u);
  EXPECT_EQ(h.ui().boxes[0].text.rfind("FTP timeout.", 0), 0u);
  EXPECT_FALSE(h.busy());
}

// The PIC upload leaves its "CLOSE" unguarded: one that stalls holds the
// client. The next operation's first command is refused at once, reported,
// and the client freed for the user's retry.
TEST(Workflow, CommandRefusedAtOnceIsReportedAndFreesTheClient) {
  WorkflowModem h;
  h.home.write("pic.hex", ":00000001FF\n");
  h.start();
  h.platform.ftp.faults["CLOSE"] = {SimFtpServer::Fault::Stall, 0, "", -1};
  h.click(Entry::Pic);
  h.settle();
  h.platform.ftp.faults.clear();
  h.ftpLog().clear();
  h.ui().boxes.clear();
  h.click(Entry::Upgrade);
  h.settle();
  EXPECT_EQ(h.boxes(), Lines{"An unexpected FTP error occurred.\r\nOperation cancelled.\r\n\r\n"
                             "Error Code:  35764 : Still executing last request"});
  EXPECT_TRUE(h.ftpLog().empty());
  EXPECT_FALSE(h.busy());
  h.click(Entry::Upgrade);
  h.settle();
  EXPECT_EQ(h.ftpLog().size(), 6u);
  EXPECT_EQ(h.ftpLog().back(), "CLOSE");
  EXPECT_EQ(h.boxes().back(),
            "Upgrade Completed.\r\nClick OK and wait until we get software version.");
}

// A version query that never ends is given up after 30 s: the exchange is
// ended, nothing else starts and the window is free again.
TEST(Workflow, VersionQueryWithoutEndIsGivenUpAfterThirtySeconds) {
  for (const bool restore : {false, true}) {
    SCOPED_TRACE(restore ? "restore" : "upgrade");
    WorkflowModem h;
    h.store("5_2_0_12");
    h.unplugZing();
    h.start();
    h.advance(10000);  // no version; the FTP port answers
    ASSERT_TRUE(h.f().session().connected);
    auto mute = std::make_shared<ZingPeer>();
    mute->silent = true;
    h.platform.network.listen(Harness::kModem, h.settings.zingPort, mute);
    bool stopped = false;
    h.f().upgradeWorkflow().onOutcome.add(
        [&](UpgradeWorkflow::Outcome o) { stopped = o == UpgradeWorkflow::Outcome::Stopped; });
    h.f().restoreWorkflow().onOutcome.add(
        [&](RestoreWorkflow::Outcome o) { stopped = o == RestoreWorkflow::Outcome::Stopped; });
    h.ui().boxes.clear();
    DefuseAfter(h, 50, VersionQuery::kResponseLimitMs);
    const long clickAt = h.clock().nowMs();
    h.click(restore ? Entry::Restore : Entry::Upgrade);
    EXPECT_EQ(h.statusAt(restore ? "Restore stopped: no software version within 30 seconds."
                                 : "Upgrade stopped: no software version within 30 seconds."),
              clickAt + 30000);
    EXPECT_TRUE(stopped);
    EXPECT_TRUE(h.f().idle());
    ASSERT_EQ(mute->connections.size(), 1u);
    EXPECT_FALSE(mute->connections[0]->open());
    h.advance(60000);
    EXPECT_EQ(mute->requests, std::vector<int>{4});
    EXPECT_TRUE(h.ftpLog().empty());
    EXPECT_TRUE(h.console->connections.empty());
    EXPECT_TRUE(h.ui().modalLog.empty());
    EXPECT_TRUE(h.ui().boxes.empty());
    EXPECT_FALSE(h.busy());
  }
}

// A console that does not answer the prepare command holds the upgrade for
// a bounded time; the upgrade then goes on as after any failed prepare.
TEST(Workflow, PrepareWithoutAnswerIsGivenUpAndTheUpgradeGoesOn) {
  struct Case {
    const char* what;
    std::function<void(WorkflowModem&)> arrange;
    std::string status;
    long afterMs;  // after "Preparing..."
    long goesOnAfterMs;  // the next round of the wait
  };
  const std::vector<Case> cases = {
      {"console silent after the command",
       [](WorkflowModem& h) { h.console->prepareAnswer.clear(); },
       // 10 s after the command went out
       "No answer to the prepare command within 10 seconds.", 10015, 10100},
      // With its own guard defused, the workflow's 30 s bound ends it.
      {"console that never connects",
       [](WorkflowModem& h) {
         h.console->mode = SimPeer::Accept::Ignore;
         DefuseAfter(h, 50, TelnetSession::kConnectLimitMs);
       },
       "No answer to the prepare command; going on without it.", 30000, 30000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WorkflowModem h;
    h.start();
    c.arrange(h);
    h.f().cmdUpgrade.click();
    h.settle();
    const long prepared = h.statusAt("Preparing for Upgrade with version 5.2.0.13 ...");
    ASSERT_GE(prepared, 0);
    EXPECT_EQ(h.statusAt(c.status), prepared + c.afterMs);
    EXPECT_EQ(h.statusAt("Downloading Satellite IP Modem software to PC..."),
              prepared + c.goesOnAfterMs);
    EXPECT_EQ(h.ftpLog().size(), 5u);
    EXPECT_TRUE(h.sawStatus("Successfully upgraded! Wait..."));
    EXPECT_TRUE(h.f().telnet().idle());
    EXPECT_TRUE(h.ui().boxes.empty()) << h.ui().boxes.front().text;
    EXPECT_FALSE(h.busy());
  }
}

// The restart after a PIC upload found no version; the user's next upgrade
// reads it, and that reply starts the pending reflash. The upgrade waits
// through the reflash and the restart that follows, then goes on.
TEST(Workflow, PendingReflashStartedByTheUpgradesOwnQueryIsWaitedFor) {
  WorkflowModem h;
  h.home.write("pic.hex", ":00000001FF\n");
  h.start();
  h.f().cmdUpgrade.click();
  // The restart order is out; the modem comes back without its ZING port.
  ASSERT_TRUE(h.clock().advanceUntil(
      [&] { return std::count(h.zing->requests.begin(), h.zing->requests.end(), 13) == 1; },
      60000));
  h.unplugZing();
  h.settle();
  ASSERT_FALSE(h.f().session().runningVersionKnown());
  auto back = std::make_shared<ZingPeer>();
  h.platform.network.listen(Harness::kModem, h.settings.zingPort, back);
  h.ftpLog().clear();
  h.console->lines.clear();

  h.f().cmdUpgrade.click();
  h.settle();
  EXPECT_FALSE(h.sawStatus("Upgrade stopped: no software version within 30 seconds."));
  // The pending reflash, then this upgrade's prepare and its own reflash.
  EXPECT_EQ(h.console->lines,
            (Lines{"pic_driver_reflash 1", "mmi_prepare_for_download", "pic_driver_reflash 1"}));
  // Query, query after the reflash; this upgrade's restart, query, query.
  EXPECT_EQ(back->requests, (std::vector<int>{4, 4, 13, 4, 4}));
  // The first upgrade stored the backup: this one uploads at once.
  EXPECT_EQ(h.wire(), (Lines{R"(PUT "~/kova_5_2_0_13.bin" /bin/kova.bin)",
                             R"(PUT "~/chk_5_2_0_13.txt" /checksum.txt)", "PUT pic.hex /pic.hex",
                             "CLOSE"}));
  EXPECT_FALSE(h.busy());
}
