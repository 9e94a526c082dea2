#include <gtest/gtest.h>

#include <sstream>

#include "app/BatchMode.h"
#include "sim/Harness.h"

namespace {
struct Batch {
  Harness h;
  std::ostringstream out, err;
  BatchOptions options;
  std::atomic<int> interrupts{0};
  std::unique_ptr<ConsoleUi> ui;
  std::unique_ptr<frmMain> form;

  int run() {
    ui = std::make_unique<ConsoleUi>(out, err, options,
                                     [this] { return std::to_string(h.clock().nowMs()); });
    // The console front end replaces the recorded one.
    platformUi = ui.get();
    form = std::make_unique<frmMain>(platform(), h.settings);
    return RunBatch(*form, *ui, options, interrupts);
  }

  // The simulated platform with the console as its Ui.
  struct ConsolePlatform : Platform {
    explicit ConsolePlatform(SimPlatform& sim, Ui*& ui) : sim(sim), ui_(ui) {}
    EventLoop& loop() override { return sim.loop(); }
    Ui& ui() override { return *ui_; }
    Process& process() override { return sim.process(); }
    Resolver& resolver() override { return sim.resolver(); }
    std::unique_ptr<Timer> createTimer() override { return sim.createTimer(); }
    std::unique_ptr<TcpSocket> createSocket(int port) override { return sim.createSocket(port); }
    std::unique_ptr<FtpClient> createFtpClient(int port) override {
      return sim.createFtpClient(port);
    }
    SimPlatform& sim;
    Ui*& ui_;
  };
  Ui* platformUi = nullptr;
  ConsolePlatform console{h.platform, platformUi};
  Platform& platform() { return console; }
};

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

  EXPECT_TRUE(ParseBatchCommandLine(Args({"--help"}), error)->help);
  EXPECT_TRUE(ParseBatchCommandLine(Args({"--version"}), error)->version);

  for (auto bad : {Args({"--batch"}), Args({"--batch", "fly"}), Args({"--batch", "restore"}),
                   Args({"--batch", "dns", "1.1.1.1"}), Args({"--batch", "version", "x"}),
                   Args({"--batch", "upgrade", "--frobnicate"}), Args({"upgrade", "--yes"})}) {
    error.clear();
    EXPECT_FALSE(ParseBatchCommandLine(bad, error));
    EXPECT_FALSE(error.empty());
  }
}

TEST(ConsoleUi, StatusProgressAndBoxes) {
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
  EXPECT_EQ(ui.failures(), 1);
  ui.msgBox("Upgrade Completed.\r\nClick OK", 48, "Title");  // a success notice
  ui.msgBox("fine", 64, "Title");
  EXPECT_EQ(ui.failures(), 1);
  EXPECT_EQ(ui.msgBox("Proceed?", 52, "Q"), MsgNo);
  o.yes = true;
  EXPECT_EQ(ui.msgBox("Proceed?", 52, "Q"), MsgYes);
  EXPECT_EQ(ui.failures(), 1);
}

TEST(BatchMode, VersionReadsAndExitsZero) {
  Batch b;
  b.options.operation = BatchOptions::Operation::Version;
  EXPECT_EQ(b.run(), 0);
  EXPECT_NE(b.out.str().find("] Software version was retrieved!\n"), std::string::npos);
  EXPECT_NE(b.out.str().find("] Modem software version: 5.2.0.12\n"), std::string::npos);
  EXPECT_EQ(b.err.str(), "");
}

TEST(BatchMode, VersionOfAnUnreachableModemFails) {
  Batch b;
  b.h.unplugZing();
  b.h.unplugFtpPort();
  EXPECT_EQ(b.run(), 1);
  EXPECT_NE(b.err.str().find("Please check the cable connection."), std::string::npos);
  EXPECT_NE(b.out.str().find("] Connection failed.\n"), std::string::npos);
}

TEST(BatchMode, NoImageIsAnEnvironmentError) {
  Batch b;
  std::filesystem::remove(b.h.home.path() / "kova_5_2_0_13.bin");
  EXPECT_EQ(b.run(), 2);
  EXPECT_NE(b.err.str().find("Unable to find the binary file"), std::string::npos);
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
