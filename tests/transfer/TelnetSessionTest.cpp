#include <gtest/gtest.h>

#include <functional>

#include "operations/ModemSession.h"
#include "sim/WorkflowPeers.h"
#include "transfer/TelnetSession.h"

namespace {
using Outcome = TelnetSession::Outcome;
const std::string kPrepare = "mmi_prepare_for_download\r\n";
const std::string kReflash = "pic_driver_reflash 1\r\n";
const std::string kConnecting = "Connecting .....";
const std::string kCompleted = "PIC reflash completed. Wait for restart...";
const std::string kPicFailedBox =
    "PIC Upgrade failed.  Click OK and try again.  If it fail again, call support.";
const std::string kPicConnectBox =
    "Can not send command to upgrade the PIC. \r\n"
    "Please check cable connections, remove and reapply power to the modem.\r\n"
    "Repeat upgrade process.";
const std::string kReset = "Telnet Error Connection reset by peer";

// A started window; times count from the start of the telnet exchange (t0).
struct TelnetCase : WorkflowModem {
  std::vector<Outcome> outcomes;
  long t0 = 0;

  TelnetCase() {
    start();
    f().Progress.setValue(40);
    progress.clear();
  }
  void run(bool reflash) {
    t0 = clock().nowMs();
    auto heard = [this](Outcome o) { outcomes.push_back(o); };
    TelnetSession& telnet = f().modem().telnet();
    reflash ? telnet.startPicReflash(heard) : telnet.prepareForDownload(heard);
  }
  void to(long ms) { advance(t0 + ms - clock().nowMs()); }
};

// After arrange, the latest session is lost atMs after t0: by an error or a hang-up.
std::function<void(TelnetCase&)> Lose(std::function<void(TelnetCase&)> arrange, long atMs,
                                       bool hangUp) {
  return [=](TelnetCase& h) {
    arrange(h);
    h.clock().schedule(atMs, [&h, hangUp] {
      ASSERT_FALSE(h.console->connections.empty());
      SimConnection& c = *h.console->connections.back();
      hangUp ? c.close() : c.fail(10054, "Connection reset by peer");
    });
  };
}
}  // namespace

// One exchange per row: nothing ends before endMs; at endMs the outcome, the
// status, the box and the bytes received are final, nothing follows, and the
// next session connects.
TEST(TelnetSession, EachEndOfAnExchange) {
  struct Row {
    const char* what;
    bool reflash;
    std::function<void(TelnetCase&)> arrange;
    long endMs;
    Outcome outcome;
    std::string status;
    Lines boxes;
    std::string received;
    std::vector<int> progress;  // from 40
  };
  const auto banner = [](std::vector<TelnetPeer::Piece> pieces) {
    return [pieces](TelnetCase& h) { h.console->banner = pieces; };
  };
  const long silence = TelnetSession::kSilenceLimitMs;
  const long connect = TelnetSession::kConnectLimitMs;
  const long ticks = TelnetSession::kReflashTickMs * (TelnetSession::kReflashTicks + 1) + 15;
  const std::vector<Row> rows = {
      // A real console's replies come in pieces; a mark split over two counts.
      {"prompt split over two arrivals", false, banner({{"-", 5}, {">", 10}}), 35,
       Outcome::Prepared, kConnecting, {}, kPrepare, {}},
      {"console busy", false, banner({{"Sorry, console busy\r\n", 5}}), 5, Outcome::ConsoleBusy,
       "Command failed.",
       {"Telnet did not respond.\r\nPlease terminate any active Telnet connections."}, "", {}},
      {"the prompt wins over Sorry", false, banner({{"Sorry? -> ", 5}}), 25, Outcome::Prepared,
       kConnecting, {}, kPrepare, {}},
      {"silent console", false, banner({}), silence, Outcome::PrepareSkipped,
       "No telnet prompt from the modem within 10 seconds.", {}, "", {}},
      {"no answer to the command", false,
       [](TelnetCase& h) { h.console->prepareAnswer = {}; }, 15 + silence,
       Outcome::PrepareSkipped, "No answer to the prepare command within 10 seconds.", {},
       kPrepare, {}},
      // A console behind a telnet daemon echoes at once and runs the command later.
      {"the echo is no answer", false,
       [](TelnetCase& h) { h.console->prepareAnswer = {{kPrepare, 5}, {"ready\r\n-> ", 2000}}; },
       2020, Outcome::Prepared, kConnecting, {}, kPrepare, {}},
      {"hang-up before the prompt", false, Lose(banner({{"\r\nKOVA console\r\n", 5}}), 10, true),
       10, Outcome::PrepareSkipped, "Telnet connection closed by the modem.", {}, "", {}},
      {"answer followed at once by the hang-up", false,
       Lose(
           [](TelnetCase& h) {
             h.console->banner = {{"-> ", 5}};
             h.console->prepareAnswer = {{"ok\r\n", 5}};
           },
           10, true),
       10, Outcome::Prepared, kConnecting, {}, kPrepare, {}},
      {"connection refused", false,
       [](TelnetCase& h) { h.platform.network.unlisten(Harness::kModem, h.settings.telnetPort); },
       connect, Outcome::ConnectFailed, "Connection failed.",
       {"Can not Connect to AT interface. \r\nPlease check cable connections.\r\nRemove and "
        "reapply power to the modem.\r\nRepeat upgrade process."},
       "", {}},
      {"connection just in time", false, [](TelnetCase& h) { h.console->acceptDelay = 4900; },
       4935, Outcome::Prepared, kConnecting, {}, kPrepare, {}},
      {"reflash completed 30 s after the echo", true, nullptr, 30020, Outcome::ReflashCompleted,
       kCompleted, {kUpgradeCompleted}, kReflash, {70, 80, 90, 100}},
      {"reflash end mark split over two arrivals", true,
       [](TelnetCase& h) { h.console->reflashAnswer = {{kReflash + "Compl", 5}, {"eted\r\n", 5}}; },
       25, Outcome::ReflashCompleted, kCompleted, {kUpgradeCompleted}, kReflash, {100}},
      {"reflash completed in the echo's piece", true,
       [](TelnetCase& h) { h.console->reflashAnswer = {{kReflash + "Completed\r\n-> ", 5}}; },
       20, Outcome::ReflashCompleted, kCompleted, {kUpgradeCompleted}, kReflash, {100}},
      // A second prompt sends nothing.
      {"no end mark: the eleventh tick gives up", true,
       [](TelnetCase& h) { h.console->reflashAnswer = {{kReflash, 5}, {"-> ", 10}}; }, ticks,
       Outcome::ReflashFailed, "", {kPicFailedBox}, kReflash, {70, 80, 90, 100}},
      // The modem may still be flashing: the ticks decide.
      {"hang-up after the command", true,
       Lose([](TelnetCase& h) { h.console->reflashAnswer = {{kReflash, 5}}; }, 1000, true), ticks,
       Outcome::ReflashFailed, "", {kPicFailedBox}, kReflash, {70, 80, 90, 100}},
      {"reflash, error before the prompt", true,
       Lose(banner({}), 100, false), 100,
       Outcome::ReflashFailed, kReset, {kPicConnectBox}, "", {}},
      {"reflash, connection too late", true, [](TelnetCase& h) { h.console->acceptDelay = 5100; },
       connect, Outcome::ConnectFailed, "Connection failed.", {kPicConnectBox}, "", {}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    TelnetCase h;
    if (r.arrange) r.arrange(h);
    h.run(r.reflash);
    h.to(r.endMs - 1);
    EXPECT_TRUE(h.outcomes.empty());
    h.to(r.endMs);
    EXPECT_EQ(h.outcomes, std::vector<Outcome>{r.outcome});
    EXPECT_EQ(h.f().status(), r.status);
    EXPECT_EQ(h.boxTexts(), r.boxes);
    for (const MsgRecord& b : h.ui().boxes) {
      EXPECT_EQ(b.style, MsgExclamation);
      EXPECT_EQ(b.title, "Satellite IP Modem Upgrader");
    }
    EXPECT_EQ(h.console->received, r.received);
    EXPECT_EQ(h.progress, r.progress);
    EXPECT_EQ(h.sawStatus("PIC reflashing.... Wait up to 1 minute.   DO NOT INTERRUPT"),
              r.reflash && !r.received.empty());
    for (const auto& c : h.console->connections) EXPECT_FALSE(c->open());
    EXPECT_TRUE(h.f().modem().telnet().idle());
    h.to(r.endMs + 200000);
    EXPECT_EQ(h.outcomes, std::vector<Outcome>{r.outcome});
    EXPECT_EQ(h.boxTexts(), r.boxes);
    EXPECT_EQ(h.console->received, r.received);

    h.console = std::make_shared<TelnetPeer>();
    h.platform.network.listen(Harness::kModem, h.settings.telnetPort, h.console);
    h.run(false);
    h.to(35);
    EXPECT_EQ(h.console->received, kPrepare);
  }
}
