#include <gtest/gtest.h>

#include <algorithm>

#include "sim/Harness.h"
#include "sim/TelnetPeer.h"
#include "transfer/TelnetSession.h"

namespace {
using Outcome = TelnetSession::Outcome;
const std::string kSorryText =
    "Telnet did not respond.\r\nPlease terminate any active Telnet connections.";
const std::string kCompletedText =
    "Upgrade Completed.\r\nClick OK and wait until we get software version.";
const std::string kPicFailedText =
    "PIC Upgrade failed.  Click OK and try again.  If it fail again, call support.";
const std::string kPicConnectText =
    "Can not send command to upgrade the PIC. \r\n"
    "Please check cable connections, remove and reapply power to the modem.\r\n"
    "Repeat upgrade process.";
const std::string kReflashing = "PIC reflashing.... Wait up to 1 minute.   DO NOT INTERRUPT";

// A started window with a telnet console at the modem; times are counted
// from the moment the test starts the telnet operation (t0).
struct TelnetCase : Harness {
  std::shared_ptr<TelnetPeer> console = std::make_shared<TelnetPeer>();
  std::vector<Outcome> outcomes;
  long t0 = 0;

  TelnetCase() {
    platform.network.listen(kModem, settings.telnetPort, console);
    load();
    advance(100);
    f().telnet().onOutcome.add([this](Outcome o) { outcomes.push_back(o); });
  }
  void prepare() {
    t0 = clock().nowMs();
    f().telnet().prepareForDownload();
  }
  // As the FTP chain and the version reply start it: busy already on.
  void reflash() {
    f().setBusy(true);
    t0 = clock().nowMs();
    f().telnet().startPicReflash();
  }
  void to(long ms) { advance(t0 + ms - clock().nowMs()); }
  std::string received() { return console->received; }
  // The modem's end of the latest session is still open.
  bool open() { return !console->connections.empty() && console->connections.back()->open(); }
  bool idle() { return f().telnet().idle(); }
  std::vector<MsgRecord>& boxes() { return ui().boxes; }
};
}  // namespace

// ---- Prepare for download ----

TEST(TelnetPrepare, PromptThenCommandThenFirstAnswerEndsTheExchange) {
  TelnetCase h;
  ASSERT_FALSE(h.busy());
  h.prepare();
  EXPECT_TRUE(h.busy());
  EXPECT_EQ(h.f().sbUpgrade.text(), "Connecting .....");
  EXPECT_EQ(h.platform.network.connectLog.back(), "127.0.0.1:23");
  h.to(14);  // banner without the prompt: nothing sent yet
  EXPECT_EQ(h.received(), "");
  h.to(15);
  EXPECT_EQ(h.received(), "mmi_prepare_for_download\r\n");
  EXPECT_TRUE(h.busy());
  h.to(35);  // the answer, with a second prompt in it
  EXPECT_FALSE(h.busy());
  EXPECT_EQ(h.received(), "mmi_prepare_for_download\r\n");
  EXPECT_FALSE(h.open());
  EXPECT_TRUE(h.idle());
  EXPECT_EQ(h.outcomes, std::vector<Outcome>{Outcome::Prepared});
  EXPECT_TRUE(h.boxes().empty());
  // Nothing left running that could end anything later.
  h.to(200000);
  EXPECT_TRUE(h.boxes().empty());
  EXPECT_EQ(h.console->connections.size(), 1u);
}

TEST(TelnetPrepare, PromptSplitOverTwoArrivalsIsNotSeen) {
  TelnetCase h;
  h.console->banner = {{"-", 5}, {">", 10}, {"\r\n-> ", 3000}};
  h.prepare();
  h.to(2999);
  EXPECT_EQ(h.received(), "");
  EXPECT_TRUE(h.busy());
  h.to(3015);
  EXPECT_EQ(h.received(), "mmi_prepare_for_download\r\n");
  h.to(3035);
  EXPECT_FALSE(h.busy());
}

TEST(TelnetPrepare, SorryEndsTheSessionButPromptWinsOverIt) {
  {
    TelnetCase h;
    h.console->banner = {{"Sorry, console busy\r\n", 5}};
    h.prepare();
    h.to(5);
    EXPECT_FALSE(h.busy());
    ASSERT_EQ(h.boxes().size(), 1u);
    EXPECT_EQ(h.boxes()[0].text, kSorryText);
    EXPECT_EQ(h.boxes()[0].style, 48);
    EXPECT_EQ(h.boxes()[0].title, "Satellite IP Modem Upgrader");
    EXPECT_EQ(h.f().sbUpgrade.text(), "Command failed.");
    EXPECT_FALSE(h.open());
    EXPECT_TRUE(h.idle());
    EXPECT_EQ(h.outcomes, std::vector<Outcome>{Outcome::ConsoleBusy});
    EXPECT_EQ(h.received(), "");
    // A prompt after the refusal sends nothing.
    h.to(20000);
    EXPECT_EQ(h.received(), "");
    EXPECT_EQ(h.boxes().size(), 1u);
  }
  {
    TelnetCase h;
    h.console->banner = {{"Sorry? -> ", 5}};
    h.prepare();
    h.to(5);
    EXPECT_EQ(h.received(), "mmi_prepare_for_download\r\n");
    h.to(25);
    EXPECT_FALSE(h.busy());
    EXPECT_TRUE(h.boxes().empty());
  }
}

// The console accepts and then says nothing: the window is not held.
TEST(TelnetPrepare, SilentConsoleIsGivenUpAtTheBound) {
  const long limit = TelnetSession::kSilenceLimitMs;
  {
    TelnetCase h;
    h.console->banner = {};
    h.prepare();
    h.to(limit - 1);
    EXPECT_TRUE(h.busy());
    h.to(limit);
    EXPECT_FALSE(h.busy());
    EXPECT_EQ(h.f().sbUpgrade.text(), "No telnet prompt from the modem within 10 seconds.");
    EXPECT_FALSE(h.open());
    EXPECT_TRUE(h.idle());
    EXPECT_EQ(h.outcomes, std::vector<Outcome>{Outcome::PrepareSkipped});
    // A prepare that did not happen is no failure box: the workflow goes on.
    EXPECT_TRUE(h.boxes().empty());
    EXPECT_EQ(h.received(), "");
  }
  {
    // Prompt at 15 ms, then no answer to the command: the bound counts
    // again from the command.
    TelnetCase h;
    h.console->prepareAnswer = {};
    h.prepare();
    h.to(15 + limit - 1);
    EXPECT_TRUE(h.busy());
    h.to(15 + limit);
    EXPECT_FALSE(h.busy());
    EXPECT_EQ(h.f().sbUpgrade.text(), "No answer to the prepare command within 10 seconds.");
    EXPECT_EQ(h.received(), "mmi_prepare_for_download\r\n");
    EXPECT_FALSE(h.open());
    EXPECT_EQ(h.outcomes, std::vector<Outcome>{Outcome::PrepareSkipped});
    EXPECT_TRUE(h.boxes().empty());
  }
}

TEST(TelnetPrepare, ErrorInASessionClosesItAndTheNextConnectsCleanly) {
  TelnetCase h;
  h.console->banner = {{"\r\nKOVA console\r\n", 5}};
  h.prepare();
  h.to(10);
  ASSERT_EQ(h.console->connections.size(), 1u);
  h.console->connections[0]->fail(10054, "Connection reset by peer");
  h.to(11);
  EXPECT_FALSE(h.busy());
  EXPECT_EQ(h.f().sbUpgrade.text(), "Telnet Error Connection reset by peer");
  EXPECT_TRUE(h.idle());
  EXPECT_EQ(h.outcomes, std::vector<Outcome>{Outcome::PrepareSkipped});
  // The connect guard was stopped by the connection: it stays quiet.
  h.to(6000);
  EXPECT_TRUE(h.boxes().empty());

  h.console->banner = {{"-> ", 5}};
  h.prepare();
  h.to(5);
  EXPECT_EQ(h.console->connections.size(), 2u);
  EXPECT_EQ(h.console->connections[1]->received(), "mmi_prepare_for_download\r\n");
  h.to(25);
  EXPECT_FALSE(h.busy());
  EXPECT_TRUE(h.boxes().empty());
}

TEST(TelnetPrepare, ModemHangingUpEndsTheExchangeAtOnce) {
  TelnetCase h;
  h.console->banner = {{"\r\nKOVA console\r\n", 5}};
  h.prepare();
  h.to(10);
  h.console->connections[0]->close();
  h.to(11);
  EXPECT_FALSE(h.busy());
  EXPECT_EQ(h.f().sbUpgrade.text(), "Telnet connection closed by the modem.");
  EXPECT_TRUE(h.idle());
  EXPECT_TRUE(h.boxes().empty());
  EXPECT_EQ(h.received(), "");
  // An answer followed at once by the hang-up is a normal end.
  h.console->banner = {{"-> ", 5}};
  h.console->prepareAnswer = {{"ok\r\n", 5}};
  h.prepare();
  h.to(10);
  h.console->connections[1]->close();
  h.to(30);
  EXPECT_FALSE(h.busy());
  EXPECT_EQ(h.f().sbUpgrade.text(), "Connecting .....");
  EXPECT_EQ(h.console->connections[1]->received(), "mmi_prepare_for_download\r\n");
  EXPECT_EQ(h.outcomes, (std::vector<Outcome>{Outcome::PrepareSkipped, Outcome::Prepared}));
}

// ---- PIC reflash ----

TEST(TelnetReflash, CompletedAfterTheEchoWaitsForTheRestart) {
  TelnetCase h;
  h.f().Progress.setValue(40);
  h.reflash();
  h.to(15);
  EXPECT_EQ(h.received(), "pic_driver_reflash 1\r\n");
  h.to(20);
  EXPECT_EQ(h.f().sbUpgrade.text(), kReflashing);
  EXPECT_TRUE(h.f().telnet().reflashRunning());
  // One tick every 10 s from the command.
  std::vector<int> progress;
  for (long t : {10014L, 10015L, 20015L, 30015L}) {
    h.to(t);
    progress.push_back(h.f().Progress.value());
  }
  EXPECT_EQ(progress, (std::vector<int>{40, 70, 80, 90}));
  h.to(30020);
  EXPECT_EQ(h.f().Progress.value(), 100);
  EXPECT_EQ(h.f().sbUpgrade.text(), "PIC reflash completed. Wait for restart...");
  ASSERT_EQ(h.boxes().size(), 1u);
  EXPECT_EQ(h.boxes()[0].text, kCompletedText);
  EXPECT_EQ(h.boxes()[0].style, 48);
  EXPECT_EQ(h.boxes()[0].title, "Satellite IP Modem Upgrader");
  EXPECT_TRUE(h.idle());
  EXPECT_FALSE(h.open());
  EXPECT_EQ(h.outcomes, std::vector<Outcome>{Outcome::ReflashCompleted});
  // Busy until the version is read again 25 s later.
  EXPECT_TRUE(h.busy());
  auto requests = h.zing->requests.size();
  h.to(30020 + 25000 - 1);
  EXPECT_TRUE(h.busy());
  EXPECT_EQ(h.zing->requests.size(), requests);
  EXPECT_TRUE(h.clock().advanceUntil([&] { return !h.busy(); }, 1000));
  EXPECT_EQ(h.zing->requests.back(), 4);
  EXPECT_EQ(h.boxes().size(), 1u);
  EXPECT_EQ(h.received(), "pic_driver_reflash 1\r\n");
  EXPECT_EQ(h.console->lines, std::vector<std::string>{"pic_driver_reflash 1"});
}

// A quick modem puts the end mark in the same piece as the echo.
TEST(TelnetReflash, CompletedWithTheEchoIsAFinishedReflash) {
  TelnetCase h;
  h.console->reflashAnswer = {{"pic_driver_reflash 1\r\nCompleted\r\n-> ", 5}};
  h.reflash();
  h.to(20);
  EXPECT_EQ(h.f().sbUpgrade.text(), "PIC reflash completed. Wait for restart...");
  EXPECT_EQ(h.boxTexts(), std::vector<std::string>{kCompletedText});
  EXPECT_EQ(h.f().Progress.value(), 100);
  EXPECT_TRUE(h.idle());
  EXPECT_TRUE(h.sawStatus(kReflashing));
  // No failure report later, and no second command for the new prompt.
  h.to(200000);
  EXPECT_EQ(h.boxTexts(), std::vector<std::string>{kCompletedText});
  EXPECT_FALSE(h.busy());
  EXPECT_EQ(h.received(), "pic_driver_reflash 1\r\n");
}

TEST(TelnetReflash, EleventhTickGivesUp) {
  TelnetCase h;
  h.console->reflashAnswer = {{"pic_driver_reflash 1\r\n", 5}, {"-> ", 10}};
  h.reflash();
  h.to(110014);
  EXPECT_TRUE(h.busy());
  EXPECT_EQ(h.f().Progress.value(), 100);
  EXPECT_TRUE(h.boxes().empty());
  h.to(110015);
  EXPECT_FALSE(h.busy());
  EXPECT_EQ(h.boxTexts(), std::vector<std::string>{kPicFailedText});
  EXPECT_EQ(h.boxes()[0].style, 48);
  EXPECT_EQ(h.boxes()[0].title, "Satellite IP Modem Upgrader");
  EXPECT_EQ(h.f().sbUpgrade.text(), "");
  EXPECT_EQ(h.f().Progress.value(), 100);
  EXPECT_TRUE(h.idle());
  EXPECT_FALSE(h.open());
  EXPECT_EQ(h.outcomes, std::vector<Outcome>{Outcome::ReflashFailed});
  // The second prompt sent nothing; nothing further happens.
  EXPECT_EQ(h.received(), "pic_driver_reflash 1\r\n");
  h.to(300000);
  EXPECT_EQ(h.boxes().size(), 1u);
}

TEST(TelnetReflash, ProgressAlreadyFullStaysPut) {
  TelnetCase h;
  h.console->reflashAnswer = {{"pic_driver_reflash 1\r\n", 5}, {"Completed", 45000}};
  h.f().Progress.setValue(100);
  h.reflash();
  for (long t : {10015L, 20015L}) {
    h.to(t);
    EXPECT_EQ(h.f().Progress.value(), 100);
  }
  h.to(45020);
  EXPECT_EQ(h.boxTexts(), std::vector<std::string>{kCompletedText});
}

// An error or a hang-up after the command: the modem may still be
// flashing, so the ticks decide; the socket is closed at once.
TEST(TelnetReflash, SessionLostDuringTheReflashIsEndedByTheTicks) {
  for (bool hangUp : {false, true}) {
    SCOPED_TRACE(hangUp ? "hang-up" : "error");
    TelnetCase h;
    h.console->reflashAnswer = {{"pic_driver_reflash 1\r\n", 5}};
    h.reflash();
    h.to(1000);
    if (hangUp)
      h.console->connections[0]->close();
    else
      h.console->connections[0]->fail(10053, "Software caused connection abort");
    h.to(1001);
    EXPECT_EQ(h.f().sbUpgrade.text(),
              hangUp ? kReflashing : "Telnet Error Software caused connection abort");
    EXPECT_FALSE(h.open());
    h.to(110014);
    EXPECT_TRUE(h.busy());
    h.to(110015);
    EXPECT_FALSE(h.busy());
    EXPECT_EQ(h.boxTexts(), std::vector<std::string>{kPicFailedText});
  }
}

// Before the prompt the reflash cannot start, and the user is told so
// at once: on an error, or when the console stays silent up to the bound.
TEST(TelnetReflash, NoPromptEndsWithThePicText) {
  {
    TelnetCase h;
    h.console->banner = {};
    h.reflash();
    h.to(TelnetSession::kSilenceLimitMs - 1);
    EXPECT_TRUE(h.busy());
    h.to(TelnetSession::kSilenceLimitMs);
    EXPECT_FALSE(h.busy());
    EXPECT_EQ(h.boxTexts(), std::vector<std::string>{kPicConnectText});
    EXPECT_EQ(h.received(), "");
  }
  TelnetCase h;
  h.console->banner = {};
  h.reflash();
  h.to(100);
  h.console->connections[0]->fail(10054, "Connection reset by peer");
  h.to(101);
  EXPECT_FALSE(h.busy());
  EXPECT_EQ(h.boxTexts(), std::vector<std::string>{kPicConnectText});
  EXPECT_EQ(h.f().sbUpgrade.text(), "Telnet Error Connection reset by peer");
  EXPECT_TRUE(h.idle());
  EXPECT_EQ(h.outcomes, std::vector<Outcome>{Outcome::ReflashFailed});
  h.to(200000);
  EXPECT_EQ(h.boxes().size(), 1u);
}

// ---- The PIC button ----

TEST(TelnetPicButton, UploadThenReflashThenVersion) {
  TelnetCase h;
  h.home.write("pic.hex", ":10000000PIC\n");
  h.f().cmdPICupgrade.click();
  EXPECT_TRUE(h.busy());
  EXPECT_EQ(h.f().sbUpgrade.text(), "Uploading PIC software! Wait...");
  ASSERT_TRUE(h.clock().advanceUntil([&] { return !h.received().empty(); }, 5000));
  EXPECT_EQ(h.received(), "pic_driver_reflash 1\r\n");
  EXPECT_EQ(h.platform.ftp.files["/pic.hex"], ":10000000PIC\n");
  ASSERT_GE(h.platform.ftp.log.size(), 2u);
  EXPECT_EQ(h.platform.ftp.log[0], "PUT pic.hex /pic.hex");
  EXPECT_EQ(h.platform.ftp.log[1], "CLOSE");
  EXPECT_EQ(h.f().Progress.value(), 40);
  ASSERT_TRUE(h.clock().advanceUntil([&] { return !h.busy(); }, 120000));
  EXPECT_EQ(h.boxTexts(), std::vector<std::string>{kCompletedText});
  EXPECT_EQ(h.f().Progress.value(), 100);
  std::vector<std::string> want = {"Uploading PIC software! Wait...",
                                   "PIC successfully uploaded! Wait...",
                                   "Connecting .....",
                                   "Sending PIC reflash command.",
                                   kReflashing,
                                   "PIC reflash completed. Wait for restart..."};
  auto it = h.statuses.begin();
  for (auto& w : want) {
    it = std::find(it, h.statuses.end(), w);
    EXPECT_NE(it, h.statuses.end()) << w;
  }
}

TEST(TelnetPicButton, WithoutPicFileTellsWhereToPutIt) {
  TelnetCase h;
  h.f().cmdPICupgrade.click();
  EXPECT_FALSE(h.busy());
  ASSERT_EQ(h.boxes().size(), 1u);
  const std::string home = h.f().session().homeDir;
  EXPECT_EQ(h.boxes()[0].text, "Unable to find pic.hex in home directory " + home +
                                   ".\r\nPlease copy PIC file in " + home);
  EXPECT_EQ(h.boxes()[0].style, 48);
  EXPECT_EQ(h.boxes()[0].title, "KOVA Upgrader");
  EXPECT_EQ(h.f().Progress.value(), 0);
  h.advance(100000);
  EXPECT_TRUE(h.platform.ftp.log.empty());
  EXPECT_TRUE(h.console->connections.empty());
}

TEST(TelnetPicButton, EmptyAddressSendsNothing) {
  Harness h;
  h.settings.initialAddress = "";
  h.home.write("pic.hex", "pic");
  h.load();
  h.advance(100);
  h.ui().boxes.clear();
  auto connects = h.platform.network.connectLog.size();
  h.f().cmdPicUpgradeMenu.click();
  EXPECT_FALSE(h.busy());
  std::vector<MsgRecord>& boxes = h.ui().boxes;
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Please enter Satellite IP Modem's IP address.");
  EXPECT_EQ(boxes[0].style, 64);
  EXPECT_EQ(boxes[0].title, "KOVA Upgrader");
  h.advance(100000);
  EXPECT_TRUE(h.platform.ftp.log.empty());
  EXPECT_EQ(h.platform.network.connectLog.size(), connects);
  EXPECT_EQ(boxes.size(), 1u);
}
