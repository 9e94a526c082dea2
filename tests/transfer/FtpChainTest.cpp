#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/FtpCommandText.h"
#include "sim/Harness.h"
#include "transfer/FtpChain.h"

namespace {

using Fault = SimFtpServer::Fault;
using Next = FtpStep::Next;
using Outcome = FtpChain::Outcome;

const std::string kClosedText =
    "FTP connection was suddenly closed.\r\n\r\n"
    "Remove power and reapply power to the Satellite IP Modem, then repeat last operation.";
const std::string kExpired = "Timer expired. Checking connection....";

FtpStep Step(FtpState state, std::string command, Next whenRefused = Next::Fail) {
  FtpStep s;
  s.state = state;
  s.command = std::move(command);
  s.whenRefused = whenRefused;
  return s;
}

// A loaded window, its version read, with a modem whose FTP server holds an
// image, a checksum, a configuration and a log. Commands take 100 ms.
struct Chain : Harness {
  SimFtpServer& ftp = platform.ftp;
  std::vector<std::pair<Outcome, long>> outcomes;  // with the virtual time
  long t0 = 0;

  Chain() {
    load();
    advance(1000);
    ftp.files = {{"/bin/kova.bin", "old image"},
                 {"/checksum.txt", "old sum"},
                 {"/config.txt", "cfg"},
                 {"/ram0/syslog.log", "log lines"}};
    ftp.log.clear();
    ui().boxes.clear();
    chain().onOutcome.add([this](Outcome o) { outcomes.push_back({o, clock().nowMs()}); });
  }
  FtpChain& chain() { return f().ftpChain(); }
  // As the workflows start a chain: busy first.
  bool start(FtpPlan plan) {
    f().setBusy(true);
    t0 = clock().nowMs();
    return chain().start(std::move(plan));
  }
  void to(long ms) { advance(t0 + ms - clock().nowMs()); }
  // The chain's own client, to deliver notifications the modem sends late.
  void notify(int state) { platform.ftpClients.at(0)->onStateChanged(state); }
  // GET of the image, then PUT of it back, then the finish.
  static FtpPlan TwoSteps() {
    FtpPlan p;
    p.steps = {Step(FtpState::GetImage, "GET /bin/kova.bin " + FtpChain::Quote("my image.bin")),
               Step(FtpState::PutNewImage, "PUT \"my image.bin\" /bin/kova.bin")};
    p.finish.status = "Finished";
    return p;
  }
};

TEST(FtpChain, EachStepIsIssuedFromTheCompletionOfTheLast) {
  Chain c;
  std::vector<int> progress;
  c.f().Progress.changed.connect([&] { progress.push_back(c.f().Progress.value()); });
  std::vector<std::string> hooks;
  FtpPlan p = Chain::TwoSteps();
  p.steps[0].status = "Backing up";
  p.steps[0].progressBeforeNext = 10;
  p.steps[0].progressAfterNext = 20;
  p.steps[1].completesBackup = true;
  p.steps[1].whenCompleted = [&] { hooks.push_back("completed"); };
  FtpStep skipped = Step(FtpState::PutUpgradePic, "PUT pic.hex /pic.hex");
  skipped.onlyIf = [&] { return false; };
  skipped.progressIfSkipped = 70;
  FtpStep last = Step(FtpState::UpgradeDeleteConfig, "DELETE /config.txt");
  last.endsWait = true;
  p.steps.push_back(skipped);
  p.steps.push_back(last);
  p.finish.progress = 90;
  p.finish.then = [&] { hooks.push_back("then " + c.f().status()); };
  ASSERT_TRUE(c.start(std::move(p)));
  EXPECT_EQ(c.f().status(), "Backing up");
  EXPECT_EQ(c.chain().state(), FtpState::GetImage);
  c.to(99);
  EXPECT_EQ(c.ftp.log.size(), 1u);
  c.to(100);
  EXPECT_EQ(c.ftp.log.size(), 2u);
  EXPECT_EQ(c.chain().state(), FtpState::PutNewImage);
  c.to(299);
  EXPECT_FALSE(c.chain().done());
  EXPECT_TRUE(c.chain().backupDone());
  c.to(300);
  EXPECT_TRUE(c.chain().done());
  EXPECT_EQ(c.chain().state(), FtpState::Close);
  EXPECT_EQ(c.ftp.log, (std::vector<std::string>{"GET /bin/kova.bin \"my image.bin\"",
                                                 "PUT \"my image.bin\" /bin/kova.bin",
                                                 "DELETE /config.txt", "CLOSE"}));
  EXPECT_EQ(c.home.read("my image.bin"), "old image");
  EXPECT_EQ(c.ftp.files.count("/config.txt"), 0u);
  EXPECT_EQ(progress, (std::vector<int>{10, 20, 70, 90}));
  EXPECT_EQ(hooks, (std::vector<std::string>{"completed", "then Finished"}));
  EXPECT_EQ(c.outcomes, (std::vector<std::pair<Outcome, long>>{{Outcome::Finished, c.t0 + 300}}));
  // "CLOSE" is watched until the modem ends the session; busy is the
  // caller's to release.
  EXPECT_FALSE(c.chain().idle());
  c.to(400);
  EXPECT_TRUE(c.chain().idle());
  EXPECT_TRUE(c.busy());
  EXPECT_TRUE(c.ui().boxes.empty());
  EXPECT_EQ(c.ftp.logins, 1);  // one session for the chain
}

// The modem's server refuses the second step (no such file). The first
// step already ended the wait: the refusal must still be acted on.
TEST(FtpChain, RefusalLeadsWhereTheStepSays) {
  struct Row {
    Next next;
    std::vector<std::string> after;  // commands after the refused one
    std::string status;
    Outcome outcome;
  };
  const std::string box =
      "An unexpected FTP error occurred. Operation cancelled.\r\n\r\n"
      "Error Code:  12003 : 550 No such file or directory.";
  const std::vector<Row> rows = {
      {Next::Continue, {"DELETE /config.txt", "GET /checksum.txt sum", "CLOSE"}, "Finished",
       Outcome::Finished},
      {Next::SkipOne, {"GET /checksum.txt sum", "CLOSE"}, "Finished", Outcome::Finished},
      {Next::Finish, {"CLOSE"}, "Other end", Outcome::Finished},
      {Next::Fail, {}, "", Outcome::Failed},
      {Next::EndQuietly, {}, "Nothing there.", Outcome::EndedQuietly},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(static_cast<int>(r.next));
    Chain c;
    FtpPlan p;
    FtpStep first = Step(FtpState::GetLog, "GET /ram0/syslog.log syslog.log");
    first.endsWait = true;
    FtpStep refused = Step(FtpState::RestoreDeleteChecksum, "DELETE /missing", r.next);
    refused.progressBeforeNext = 33;
    refused.progressAfterNext = 55;
    refused.completesBackup = true;
    refused.finishInstead = std::make_shared<FtpFinish>(FtpFinish{"Other end", -1, true, {}});
    refused.endStatus = "Nothing there.";
    p.steps = {first, refused, Step(FtpState::RestoreDeleteConfig, "DELETE /config.txt"),
               Step(FtpState::GetChecksum, "GET /checksum.txt sum")};
    p.finish.status = "Finished";
    c.f().Progress.setValue(5);
    ASSERT_TRUE(c.start(std::move(p)));
    c.to(5000);
    std::vector<std::string> want = {"GET /ram0/syslog.log syslog.log", "DELETE /missing"};
    want.insert(want.end(), r.after.begin(), r.after.end());
    EXPECT_EQ(c.ftp.log, want);
    EXPECT_EQ(c.f().status(), r.status);
    ASSERT_EQ(c.outcomes.size(), 1u);
    EXPECT_EQ(c.outcomes[0].first, r.outcome);
    EXPECT_EQ(c.boxTexts(), r.next == Next::Fail ? std::vector<std::string>{box}
                                                 : std::vector<std::string>{});
    // A refused step carries none of its progress, and backs nothing up.
    EXPECT_EQ(c.f().Progress.value(), 5);
    EXPECT_FALSE(c.chain().backupDone());
    EXPECT_TRUE(c.chain().done());
    EXPECT_TRUE(c.chain().idle());
    const bool ended = r.next == Next::Fail || r.next == Next::EndQuietly;
    EXPECT_EQ(c.busy(), !ended);
  }
}

// The second step fails; the chain stops there, without "CLOSE".
TEST(FtpChain, ErrorRows) {
  struct Row {
    Fault fault;
    std::string box;  // empty: no box at the failure
    std::string status;
    Outcome outcome;
    bool versionForgotten;
  };
  const std::vector<Row> rows = {
      {{Fault::Error, FtpClient::kLoginRefused, "530", -1}, "Incorrect Username or Password!",
       "", Outcome::Failed, false},
      {{Fault::Error, FtpClient::kCannotConnect, "x", -1},
       "Can not connect to Satellite IP Modem. Please check cable connection and retry.", "",
       Outcome::Failed, true},
      {{Fault::Error, 12031, "Connection reset", -1},
       "An unexpected FTP error occurred.\r\nOperation cancelled.\r\n\r\nError Code:  12031 : "
       "Connection reset",
       "", Outcome::Failed, true},
      {{Fault::Error, FtpClient::kServerRefused, "553 Could not create file.", -1},
       "An unexpected FTP error occurred. Operation cancelled.\r\n\r\nError Code:  12003 : "
       "553 Could not create file.",
       "", Outcome::Failed, false},
      {{Fault::Disconnect, 0, "", -1}, kClosedText, "", Outcome::ConnectionLost, false},
      {{Fault::Error, FtpClient::kTimeout, "timed out", -1}, "",
       "FTP Timeout. Checking connection.....", Outcome::TimedOut, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.box + r.status);
    Chain c;
    c.ftp.faults["PUT /bin/kova.bin"] = r.fault;
    const auto queries = c.zing->requests.size();
    ASSERT_TRUE(c.start(Chain::TwoSteps()));
    c.to(200);
    EXPECT_EQ(c.boxTexts(), r.box.empty() ? std::vector<std::string>{}
                                          : std::vector<std::string>{r.box});
    if (!r.box.empty()) {
      EXPECT_EQ(c.ui().boxes[0].style, 48);
      EXPECT_EQ(c.ui().boxes[0].title, "Satellite IP Modem Upgrader");
    }
    // The version query that follows a time-out shows its own status at once.
    EXPECT_TRUE(r.status.empty() ? c.f().status().empty() : c.sawStatus(r.status));
    EXPECT_EQ(c.outcomes, (std::vector<std::pair<Outcome, long>>{{r.outcome, c.t0 + 200}}));
    EXPECT_EQ(c.f().session().runningVersion == kUnknownVersion, r.versionForgotten);
    EXPECT_TRUE(c.chain().done());
    EXPECT_TRUE(c.chain().idle());
    EXPECT_EQ(c.ftp.log.size(), 2u);
    if (r.outcome != Outcome::TimedOut) {
      EXPECT_FALSE(c.busy());
      c.to(100000);
      EXPECT_EQ(c.zing->requests.size(), queries);
    } else {
      // The version query tells whether the modem is still there, then
      // reports the time-out.
      EXPECT_TRUE(c.clock().advanceUntil([&] { return c.f().idle(); }, 60000));
      EXPECT_GT(c.zing->requests.size(), queries);
      ASSERT_EQ(c.ui().boxes.size(), 1u);
      EXPECT_EQ(c.ui().boxes[0].text.rfind("FTP timeout.", 0), 0u);
      EXPECT_FALSE(c.f().cmdUpgrade.enabled());
    }
    EXPECT_EQ(c.ftp.log.size(), 2u);
  }
}

// Each command has 65 s: slow commands just inside the bound do not cut the
// chain short, a silent one is given up at the exact millisecond.
TEST(FtpChain, WatchdogBoundsEachCommand) {
  Chain c;
  const long limit = FtpChain::kRequestLimitMs;
  c.ftp.commandMs = limit - 1;
  c.ftp.faults["DELETE /config.txt"] = Fault{Fault::Stall, 0, "", -1};
  FtpPlan p = Chain::TwoSteps();
  p.steps.push_back(Step(FtpState::UpgradeDeleteConfig, "DELETE /config.txt"));
  ASSERT_TRUE(c.start(std::move(p)));
  const long issued = 2 * (limit - 1);
  c.to(issued);
  EXPECT_EQ(c.ftp.log.size(), 3u);
  c.to(issued + limit - 1);
  EXPECT_TRUE(c.busy());
  EXPECT_FALSE(c.chain().done());
  EXPECT_FALSE(c.sawStatus(kExpired));
  c.to(issued + limit);
  EXPECT_TRUE(c.sawStatus(kExpired));
  EXPECT_TRUE(c.chain().done());
  EXPECT_EQ(c.outcomes, (std::vector<std::pair<Outcome, long>>{{Outcome::TimedOut,
                                                                c.t0 + issued + limit}}));
  EXPECT_FALSE(c.platform.ftpClients.at(0)->stillExecuting());
  EXPECT_TRUE(c.clock().advanceUntil([&] { return c.f().idle(); }, 60000));
  EXPECT_EQ(c.ui().boxes.size(), 1u);
  EXPECT_EQ(c.ftp.log.size(), 3u);
}

// A stalled "CLOSE" is guarded only where the plan asks for it; one left
// unguarded holds the client, and the next chain's first command is refused
// at once, reported, and frees it for the retry.
TEST(FtpChain, StalledCloseAndCommandsRefusedAtOnce) {
  for (bool watched : {true, false}) {
    SCOPED_TRACE(watched);
    Chain c;
    c.ftp.faults["CLOSE"] = Fault{Fault::Stall, 0, "", -1};
    FtpPlan p = Chain::TwoSteps();
    p.finish.watchCloseCommand = watched;
    ASSERT_TRUE(c.start(std::move(p)));
    c.to(200 + FtpChain::kRequestLimitMs - 1);
    EXPECT_FALSE(c.sawStatus(kExpired));
    c.to(200 + FtpChain::kRequestLimitMs);
    EXPECT_EQ(c.sawStatus(kExpired), watched);
    EXPECT_EQ(c.outcomes.back().first, watched ? Outcome::TimedOut : Outcome::Finished);
    c.clock().advanceUntil([&] { return c.f().idle(); }, 60000);
    c.ui().boxes.clear();
    c.ftp.log.clear();
    EXPECT_TRUE(c.chain().idle());

    struct Refused {
      std::string command;
      std::string error;  // the number and text after "Error Code:  "
    };
    std::vector<Refused> refusals = {
        {"GET /bin/kova.bin \"bad", std::to_string(kFtpCommandInvalid) + " : "}};
    if (!watched)
      refusals.insert(refusals.begin(), Refused{"DELETE /config.txt", "35764 : Still executing"});
    for (const Refused& r : refusals) {
      SCOPED_TRACE(r.command);
      FtpPlan bad;
      bad.steps = {Step(FtpState::GetImage, r.command)};
      EXPECT_FALSE(c.start(std::move(bad)));
      ASSERT_EQ(c.ui().boxes.size(), 1u);
      const std::string head =
          "An unexpected FTP error occurred.\r\nOperation cancelled.\r\n\r\nError Code:  ";
      EXPECT_EQ(c.ui().boxes[0].text.rfind(head + r.error, 0), 0u) << c.ui().boxes[0].text;
      EXPECT_FALSE(c.busy());
      EXPECT_TRUE(c.chain().done());
      EXPECT_TRUE(c.chain().idle());
      EXPECT_EQ(c.f().session().runningVersion, kUnknownVersion);
      EXPECT_EQ(c.outcomes.back().first, Outcome::Failed);
      c.ui().boxes.clear();
    }
    EXPECT_TRUE(c.ftp.log.empty());
    // The retry runs.
    ASSERT_TRUE(c.start(Chain::TwoSteps()));
    c.to(300);
    EXPECT_EQ(c.f().status(), "Finished");
    EXPECT_EQ(c.ftp.log.size(), 3u);
    EXPECT_TRUE(c.ui().boxes.empty());
  }
}

// What the client reports after "CLOSE", after a cancel or after a failure
// that left the session open disturbs nothing that runs by then.
TEST(FtpChain, LeftoverNotificationsAreIgnored) {
  for (const char* end : {"close", "cancel", "failure"}) {
    SCOPED_TRACE(end);
    const std::string e = end;
    Chain c;
    if (e == "failure") c.ftp.faults["PUT /bin/kova.bin"] = Fault{Fault::Error, 12003, "553", -1};
    ASSERT_TRUE(c.start(Chain::TwoSteps()));
    if (e == "cancel") {
      c.to(150);
      c.chain().cancel();
      EXPECT_TRUE(c.chain().done());
      EXPECT_TRUE(c.chain().idle());
    }
    c.to(100000);  // no watchdog left behind
    EXPECT_TRUE(c.chain().idle());
    const std::vector<std::string> boxes = c.boxTexts();
    const auto outcomes = c.outcomes.size();
    EXPECT_EQ(boxes.size(), e == "failure" ? 1u : 0u);
    EXPECT_EQ(c.ftp.log.size(), e == "close" ? 3u : 2u);
    c.f().setBusy(true);
    c.f().setStatus("something else");
    c.notify(FtpClient::Disconnected);
    c.notify(FtpClient::ErrorState);
    c.notify(FtpClient::Disconnected);
    EXPECT_EQ(c.boxTexts(), boxes);
    EXPECT_EQ(c.f().status(), "something else");
    EXPECT_TRUE(c.busy());
    EXPECT_EQ(c.outcomes.size(), outcomes);
    EXPECT_TRUE(c.chain().idle());
  }
}

}  // namespace
