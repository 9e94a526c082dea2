// The bounds on each wait of the upgrade and the restore, at exact times on
// the virtual clock, and what is left once one struck.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "discovery/VersionQuery.h"
#include "operations/TransferOperation.h"
#include "sim/WorkflowPeers.h"
#include "transfer/FtpChain.h"
#include "transfer/TelnetSession.h"

namespace {

// Watchdogs of intervalMs running delayMs from now never fire: the bound behind shows.
void DefuseAfter(WorkflowModem& h, long delayMs, int intervalMs) {
  h.clock().schedule(delayMs, [&h, intervalMs] {
    for (SimTimer* t : h.platform.timers)
      if (t->enabled() && t->interval() == intervalMs) t->setInterval(1 << 30);
  });
}

}  // namespace

// The status (or else the box) that ends each wait comes afterMs after `from`
// (or the click). A chain given up is cancelled before its box, read for a
// while: nothing more goes out, no reset follows, no half backup stays.
TEST(Workflow, EachWaitIsBounded) {
  struct Case {
    const char* what;
    Entry entry;
    std::function<void(WorkflowModem&)> arrange;  // before start-up
    std::string from;
    std::string end;
    long afterMs;
    std::string box;  // how the one box starts
    std::size_t commands;
    std::vector<int> zing;  // ZING requests after the click
    Lines store;
  };
  const std::string downloading = "Downloading Satellite IP Modem software to PC...";
  const std::string backupTimeout = "Upgrade failed. Click OK and close the upgrader.  Check";
  const Lines backup = {"chk_5_2_0_12.txt", "kova_5_2_0_12.bin"};
  const long request = FtpChain::kRequestLimitMs;
  // The click comes at 10.1 s; the modem's own watchdogs are defused after it.
  const auto slow = [](long commandMs, bool defuse) {
    return [=](WorkflowModem& h) {
      h.platform.ftp.commandMs = commandMs;
      if (defuse) DefuseAfter(h, 15000, FtpChain::kRequestLimitMs);
    };
  };
  const std::vector<Case> cases = {
      {"version query without end", Entry::Upgrade,
       [](WorkflowModem& h) {
         h.unplugZing();
         h.clock().schedule(5000, [&h] {
           h.zing->silent = true;  // back, but mute
           h.platform.network.listen(Harness::kModem, h.settings.zingPort, h.zing);
         });
         DefuseAfter(h, 10150, VersionQuery::kResponseLimitMs);
       },
       "", "Upgrade stopped: no software version within 30 seconds.", 30000, "", 0, {4}, {}},
      // With its own guard defused, the workflow's 30 s bound ends it.
      {"prepare: console that never connects", Entry::Upgrade,
       [](WorkflowModem& h) {
         h.console->mode = SimPeer::Accept::Ignore;
         DefuseAfter(h, 10150, TelnetSession::kConnectLimitMs);
       },
       "Preparing for Upgrade with version 5.2.0.13 ...",
       "No answer to the prepare command; going on without it.", 30000, "", 7, {13, 4}, backup},
      // A command 1 ms within the request watchdog passes; the silent next one does not.
      {"request watchdog", Entry::Upgrade,
       [=](WorkflowModem& h) {
         slow(request - 1, false)(h);
         h.platform.ftp.faults["GET /checksum.txt"] = {SimFtpServer::Fault::Stall, 0, "", -1};
       },
       downloading, "Timer expired. Checking connection....", 2 * request - 1, "FTP timeout.", 2,
       {4}, {}},
      // The chain limit counts from the first command, tested each second.
      {"chain limit, backup checksum under way", Entry::Upgrade, slow(100000, true), downloading,
       "", 181000, backupTimeout, 2, {}, {}},
      // "CLOSE" is out half a second before the limit: its reset must not follow.
      {"chain limit, closed just before it", Entry::Upgrade, slow(30083, false), downloading, "",
       181000, backupTimeout, 7, {}, backup},
      // Past the limit with the image on its way: sent again twice, each under
      // the same limit after a pause; with nothing to put back, the user is
      // told not to switch the modem off, never to power-cycle it.
      {"chain limit, restore", Entry::Restore,
       [=](WorkflowModem& h) {
         slow(60000, false)(h);
         h.store("5_2_0_12");
       },
       "Restoring Satellite IP Modem with version 5_2_0_12 ...", "",
       3 * 181000 + 2 * TransferOperation::kRepairPauseMs,
       "The software image on the Satellite IP Modem at 127.0.0.1 is incomplete", 12, {}, backup},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WorkflowModem h;
    c.arrange(h);
    h.start();
    h.advance(10000);
    h.zing->requests.clear();
    h.ui().boxes.clear();
    h.ui().onMsgBox = [&](const MsgRecord&) { h.advance(150000); };
    const long clickAt = h.clock().nowMs();
    h.click(c.entry);
    h.settle(700000);
    const long from = c.from.empty() ? clickAt : h.status(c.from).atMs;
    ASSERT_EQ(h.ui().boxes.size(), c.box.empty() ? 0u : 1u);
    EXPECT_EQ(c.end.empty() ? h.ui().boxes[0].atMs : h.status(c.end).atMs, from + c.afterMs);
    if (!c.box.empty()) {
      EXPECT_EQ(h.ui().boxes[0].text.rfind(c.box, 0), 0u) << h.ui().boxes[0].text;
      EXPECT_EQ(h.ui().boxes[0].style, MsgExclamation);
    }
    EXPECT_EQ(h.platform.ftp.log.size(), c.commands);
    EXPECT_EQ(h.zing->requests, c.zing);
    EXPECT_EQ(h.backups(), c.store);
    EXPECT_TRUE(h.f().idle());
    EXPECT_FALSE(h.busy());
  }
}

// The PIC upload leaves its "CLOSE" unguarded: one that stalls holds the
// client; the next upgrade is refused at once and frees it. The retry's
// restart finds no version; the upgrade after it reads it, which starts the
// pending reflash: that upgrade waits through it and the restart after it.
TEST(Workflow, AStuckClientAndAPendingReflashDoNotStopTheNextUpgrade) {
  WorkflowModem h;
  h.home.write("pic.hex", ":00000001FF\n");
  h.start();
  h.platform.ftp.faults["CLOSE"] = {SimFtpServer::Fault::Stall, 0, "", -1};
  h.click(Entry::Pic);
  h.settle();
  h.platform.ftp.log.clear();
  h.ui().boxes.clear();
  h.click(Entry::Upgrade);
  h.settle();
  EXPECT_EQ(h.boxes(), Lines{"An unexpected FTP error occurred.\r\nOperation cancelled.\r\n\r\n"
                             "Error Code:  35764 : Still executing last request"});
  EXPECT_TRUE(h.platform.ftp.log.empty());
  EXPECT_FALSE(h.busy());
  h.zing->requests.clear();
  h.click(Entry::Upgrade);
  // The restart order is out; the modem comes back without its ZING port.
  ASSERT_TRUE(h.clock().advanceUntil(
      [&] { return std::count(h.zing->requests.begin(), h.zing->requests.end(), 13) == 1; },
      60000));
  h.unplugZing();
  h.settle();
  EXPECT_EQ(h.platform.ftp.log.size(), 9u);
  auto back = std::make_shared<ZingPeer>();
  h.platform.network.listen(Harness::kModem, h.settings.zingPort, back);
  h.platform.ftp.log.clear();
  h.console->lines.clear();

  h.click(Entry::Upgrade);
  h.settle();
  // The pending reflash, then this upgrade's prepare and its own reflash.
  EXPECT_EQ(h.console->lines,
            (Lines{"pic_driver_reflash 1", "mmi_prepare_for_download", "pic_driver_reflash 1"}));
  // Query, query after the reflash; this upgrade's restart, query, query.
  EXPECT_EQ(back->requests, (std::vector<int>{4, 4, 13, 4, 4}));
  // The retry stored the backup: this upgrade uploads at once.
  EXPECT_EQ(h.wire(), (Lines{R"(PUT "~/kova_5_2_0_13.bin" /bin/kova.bin)",
                             R"(PUT "~/chk_5_2_0_13.txt" /checksum.txt)",
                             R"(PUT "~/pic.hex" /pic.hex)",
                             R"(COMPARE /bin/kova.bin "~/kova_5_2_0_13.bin")",
                             R"(COMPARE /checksum.txt "~/chk_5_2_0_13.txt")",
                             R"(COMPARE /pic.hex "~/pic.hex")", "CLOSE"}));
  EXPECT_FALSE(h.busy());
}
