#include <gtest/gtest.h>

#include <sstream>

#include "app/BatchMode.h"
#include "sim/ConsoleBatch.h"

namespace {
std::vector<std::string> Args(std::initializer_list<const char*> a) { return {a.begin(), a.end()}; }
}  // namespace

TEST(BatchCommandLine, OperationsAndUsageErrors) {
  std::string error;
  auto cl = ParseBatchCommandLine(Args({"--batch", "restore", "5_2_0_12", "--factory"}), error);
  ASSERT_TRUE(cl);
  EXPECT_EQ(cl->options.operation, BatchOptions::Operation::Restore);
  EXPECT_EQ(cl->options.restoreVersion, "5.2.0.12");
  EXPECT_TRUE(cl->options.factory);

  cl = ParseBatchCommandLine(Args({"--batch", "dns", "10.0.0.1", "10.0.0.2", "--yes"}), error);
  ASSERT_TRUE(cl);
  ASSERT_TRUE(cl->options.dns);
  EXPECT_EQ(cl->options.dns->second, "10.0.0.2");
  EXPECT_TRUE(cl->options.yes);

  cl = ParseBatchCommandLine(Args({"--batch", "dns"}), error);
  ASSERT_TRUE(cl);
  EXPECT_FALSE(cl->options.dns);

  cl = ParseBatchCommandLine(
      Args({"--batch", "--json", "--wait-back", "86400", "--station", "upgrade"}), error);
  ASSERT_TRUE(cl);
  EXPECT_TRUE(cl->options.json && cl->options.station);
  EXPECT_EQ(cl->options.waitBackSeconds, 86400);
  cl = ParseBatchCommandLine(Args({"--batch", "verify", "5_2_0_11"}), error);
  ASSERT_TRUE(cl);
  EXPECT_EQ(cl->options.verifyVersion, "5.2.0.11");

  EXPECT_TRUE(ParseBatchCommandLine(Args({"--help"}), error)->help);
  EXPECT_TRUE(ParseBatchCommandLine(Args({"--version"}), error)->version);

  for (auto bad : {Args({"--batch"}), Args({"--batch", "fly"}), Args({"--batch", "restore"}),
                   Args({"--batch", "dns", "1.1.1.1"}), Args({"--batch", "version", "x"}),
                   Args({"--batch", "upgrade", "--frobnicate"}), Args({"upgrade", "--yes"}),
                   Args({"--batch", "--wait-back", "0", "reset"}),
                   Args({"--batch", "--wait-back", "86401", "reset"}),
                   Args({"--batch", "--wait-back", "60", "version"}),
                   Args({"--batch", "--station", "restore", "5.2.0.11"})}) {
    error.clear();
    EXPECT_FALSE(ParseBatchCommandLine(bad, error));
    EXPECT_FALSE(error.empty());
  }
}

TEST(ConsoleUi, StatusProgressBoxesAndAnswers) {
  std::ostringstream out, err;
  BatchOptions o;
  ConsoleUi ui(out, err, o, [] { return std::string("T"); });
  ui.status("Trying");
  ui.status("");  // a cleared line prints nothing
  ui.progress(40);
  ui.progress(40);
  EXPECT_EQ(out.str(), "[T] Trying\n[T] progress 40%\n");

  EXPECT_EQ(ui.msgBox("line one\r\nline two", 48, "Title"), MsgOk);
  EXPECT_EQ(err.str(), "[T] warning: Title\n    line one\n    line two\n");
  EXPECT_EQ(ui.msgBox("Proceed?", 52, "Q"), MsgNo);
  o.yes = true;
  EXPECT_EQ(ui.msgBox("Proceed?", 52, "Q"), MsgYes);

  o.restoreVersion = "5.2.0.1";  // a prefix of a listed one is no match
  EXPECT_FALSE(ui.chooseRestoreVersion({"5.2.0.12", "5.2.0.11"}));
  EXPECT_NE(err.str().find("Available: 5.2.0.12, 5.2.0.11"), std::string::npos);
  o.restoreVersion = "5.2.0.11";
  EXPECT_EQ(ui.chooseRestoreVersion({"5.2.0.12", "5.2.0.11"}), "5.2.0.11");

  o.dns = std::make_pair("10.0.0.1", "10.0.0.2");
  auto review = ui.reviewDns("1.1.1.1", "2.2.2.2");
  EXPECT_EQ(review.choice, DnsReview::Choice::Modify);
  EXPECT_EQ(review.secondary, "10.0.0.2");
  // Shown again after the modem refused them: not sent a second time.
  EXPECT_EQ(ui.reviewDns("1.1.1.1", "2.2.2.2").choice, DnsReview::Choice::Dismissed);
  o.dns.reset();  // read only: the modem keeps them
  EXPECT_EQ(ui.reviewDns("1.1.1.1", "2.2.2.2").choice, DnsReview::Choice::Keep);
}

TEST(BatchMode, ExitCodesFromWhatTheSubsystemsReport) {
  using Op = BatchOptions::Operation;
  struct Case {
    const char* what;
    Op operation;
    std::function<void(Harness&)> setup;
    int code;
    const char* out;
    const char* err;  // empty: nothing on standard error
  } cases[] = {
      {"version", Op::Version, [](Harness&) {}, 0, "] Modem software version: 5.2.0.12\n", ""},
      {"unreachable", Op::Version,
       [](Harness& h) {
         h.unplugZing();
         h.unplugFtpPort();
       },
       3, "] Connection failed.\n", "Please check the cable connection."},
      {"no image", Op::Version,
       [](Harness& h) { std::filesystem::remove(h.home.path() / "kova_5_2_0_13.bin"); }, 2, "",
       "Unable to find the binary file"},
      // A warning that stops nothing fails nothing.
      {"no backup directory", Op::Version, [](Harness& h) { h.home.write("Backup", "file"); }, 0,
       "] Software version was retrieved!\n", "Unable to create the backup directory"},
      {"log", Op::Log, [](Harness& h) { h.platform.ftp.files["/ram0/syslog.log"] = "log"; }, 0,
       "] Log saved to ", ""},
      {"no log", Op::Log, [](Harness&) {}, 1, "] Log file doesn't exist.\n", ""},
      // A modem that took the image but still runs the old one has not been upgraded.
      {"upgrade not taken", Op::Upgrade, [](Harness&) {}, 1,
       "] The modem reports version 5.2.0.12 after the upgrade, not 5.2.0.13.\n", ""},
      // Taken as a URL, this would log in to 127.0.0.1 and fetch its log.
      {"no address to connect to", Op::Log,
       [](Harness& h) {
         h.settings.initialAddress = "1@127.0.0.1";
         h.platform.ftp.files["/ram0/syslog.log"] = "log";
       },
       3, "] Connection failed.\n", "Can not connect to Satellite IP Modem."},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.what);
    Batch b;
    b.options.operation = c.operation;
    c.setup(b.h);
    EXPECT_EQ(b.run(), c.code);
    EXPECT_NE(b.out.str().find(c.out), std::string::npos) << b.out.str();
    if (*c.err)
      EXPECT_NE(b.err.str().find(c.err), std::string::npos) << b.err.str();
    else
      EXPECT_EQ(b.err.str(), "");
  }
}

TEST(BatchMode, ResetGoesThroughTheRestartAndTheNewQuery) {
  Batch b;
  b.options.operation = BatchOptions::Operation::Reset;
  long start = b.h.clock().nowMs();
  EXPECT_EQ(b.run(), 0);
  EXPECT_GE(b.h.clock().nowMs() - start, 25000);
  EXPECT_EQ(b.h.zing->requests, (std::vector<int>{4, 13, 4}));
  std::string o = b.out.str();
  EXPECT_LT(o.find("Resetting modem. Wait 20 seconds."), o.rfind("Software version was retrieved!"));
}

TEST(BatchMode, SecondInterruptAbandonsTheRun) {
  Batch b;
  b.options.operation = BatchOptions::Operation::Reset;
  // Ctrl+C twice while the reset is under way.
  b.h.clock().schedule(3000, [&] { b.interrupts = 1; });
  b.h.clock().schedule(6000, [&] { b.interrupts = 2; });
  EXPECT_EQ(b.run(), 1);
  EXPECT_NE(b.out.str().find("cannot be interrupted now"), std::string::npos);
  EXPECT_NE(b.out.str().find("Abandoned."), std::string::npos);
  EXPECT_TRUE(b.form->closed());
  EXPECT_LT(b.h.clock().nowMs(), 25000);
}
