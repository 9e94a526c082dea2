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
  // GET of the image, then PUT of it back, then the finish.
  static FtpPlan TwoSteps() {
    FtpPlan p;
    p.steps = {Step(FtpState::GetImage, "GET /bin/kova.bin " + FtpChain::Quote("my image.bin")),
               Step(FtpState::PutNewImage, "PUT \"my image.bin\" /bin/kova.bin")};
    p.finish.status = "Finished";
    return p;
  }
};

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

}  // namespace
