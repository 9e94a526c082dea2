// Menus of the window, the hidden log download and the close sequence.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/LogDownload.h"
#include "netconfig/PcAddressCheck.h"
#include "sim/Harness.h"
#include "sim/TelnetPeer.h"
#include "transfer/FtpChain.h"
#include "transfer/TelnetSession.h"

namespace fs = std::filesystem;

namespace {
constexpr int kCtrlB = LogDownload::kCtrlB;
constexpr int kCtrlN = LogDownload::kCtrlN;
const SimFtpServer::Fault kStall{};

struct HiddenLogDownload : ::testing::Test {
  Harness h;
  MainWindow* f = nullptr;
  void SetUp() override {
    h.platform.ftp.files["/ram0/syslog.log"] = "boot\nlink up\n";
    f = &h.load();
    h.advance(1000);
    ASSERT_FALSE(h.busy());
  }
  void keys(std::initializer_list<int> codes) {
    for (int c : codes) f->onKeyPress(c);
  }
  int downloads() const {
    int n = 0;
    for (auto& c : h.platform.ftp.log) n += c.rfind("GET /ram0/syslog.log ", 0) == 0;
    return n;
  }
  std::string earlierLog() const {
    return "Log not downloaded: " + f->session().backupDir + "/sylog.log is from an earlier "
           "download.";
  }
  // The window's FTP session, as the modem's server sees it.
  SimFtpClient& client() { return *h.platform.ftpClients.at(0); }
  // Everything in the backup directory, to see that nothing half-done stays.
  std::vector<std::string> backupFiles() const {
    std::vector<std::string> names;
    for (auto& e : fs::directory_iterator(h.home.path() / "Backup"))
      names.push_back(e.path().filename().string());
    return names;
  }
};
}  // namespace

TEST_F(HiddenLogDownload, KeySequenceOnlyWhenIdle) {
  keys({kCtrlB, 'a', kCtrlN});
  keys({kCtrlN});
  keys({kCtrlB, kCtrlB, kCtrlN});
  EXPECT_EQ(downloads(), 0);
  keys({kCtrlB, kCtrlN});
  EXPECT_EQ(downloads(), 1);

  // While busy a download would take over the running chain; half typed
  // while busy and finished when idle is nothing either.
  f->setBusy(true);
  keys({kCtrlB, kCtrlN});
  keys({kCtrlB});
  f->setBusy(false);
  keys({kCtrlN});
  EXPECT_EQ(downloads(), 1);
  keys({kCtrlB, kCtrlN});
  EXPECT_EQ(downloads(), 2);
}

TEST_F(HiddenLogDownload, LogPresentAndReplacedByTheNextDownload) {
  bool busyDuring = false;
  h.clock().schedule(500, [&] { busyDuring = h.busy(); });
  long t0 = h.clock().nowMs();
  keys({kCtrlB, kCtrlN});
  EXPECT_TRUE(busyDuring);
  EXPECT_FALSE(h.busy());
  EXPECT_EQ(h.clock().nowMs() - t0, 1000);  // one wait round
  const std::string logPath = (h.home.path() / "Backup" / "sylog.log").string();
  EXPECT_EQ(h.platform.ftp.log,
            (std::vector<std::string>{"GET /ram0/syslog.log \"" + logPath + "\"", "CLOSE"}));
  EXPECT_EQ(h.home.read("Backup/sylog.log"), "boot\nlink up\n");
  EXPECT_TRUE(h.sawStatus("Downloading Log"));
  EXPECT_EQ(f->status(), "Log downloaded");
  EXPECT_TRUE(h.ui().boxes.empty());
  EXPECT_TRUE(f->cmdUpgrade.enabled());

  h.platform.ftp.files["/ram0/syslog.log"] = "second boot\n";
  keys({kCtrlB, kCtrlN});
  EXPECT_EQ(h.home.read("Backup/sylog.log"), "second boot\n");
  EXPECT_EQ(backupFiles(), (std::vector<std::string>{"sylog.log"}));
}

TEST_F(HiddenLogDownload, MissingLogKeepsTheOldOne) {
  h.home.write("Backup/sylog.log", "older log\n");
  h.platform.ftp.files.erase("/ram0/syslog.log");
  keys({kCtrlB, kCtrlN});
  // Nobody may read the old log as the modem's current one.
  EXPECT_EQ(f->status(), "Log file doesn't exist. " + earlierLog());
  EXPECT_TRUE(h.ui().boxes.empty());
  EXPECT_FALSE(h.busy());
  EXPECT_EQ(h.home.read("Backup/sylog.log"), "older log\n");
  EXPECT_EQ(backupFiles(), (std::vector<std::string>{"sylog.log"}));
}

TEST_F(HiddenLogDownload, StalledServerEndsByTheWatchdog) {
  h.home.write("Backup/sylog.log", "older log\n");
  h.platform.ftp.faults["GET /ram0/syslog.log"] = kStall;
  keys({kCtrlB, kCtrlN});
  EXPECT_TRUE(h.sawStatus("Timer expired. Checking connection...."));
  EXPECT_FALSE(client().stillExecuting());
  // The version query that follows reports the time-out and locks the
  // upgrade controls; then the status line tells that the log on disk is
  // an earlier one.
  EXPECT_FALSE(h.busy());
  EXPECT_EQ(f->status(), "Software version was retrieved! " + earlierLog());
  ASSERT_EQ(h.ui().boxes.size(), 1u);
  EXPECT_EQ(h.ui().boxes[0].text.rfind("FTP timeout.", 0), 0u);
  EXPECT_FALSE(f->cmdUpgrade.enabled());
  EXPECT_TRUE(f->cmdGetSoftwareVersion.enabled());
  EXPECT_EQ(h.home.read("Backup/sylog.log"), "older log\n");
  EXPECT_EQ(backupFiles(), (std::vector<std::string>{"sylog.log"}));
}

TEST_F(HiddenLogDownload, OwnLimitOfThreeMinutes) {
  // Only the download's own limit ends the stall once the request watchdog
  // is silenced (the sim's timers are the only way to reach it).
  for (auto* t : h.platform.timers)
    if (t->interval() == FtpChain::kRequestLimitMs) t->onTick = [] {};
  h.platform.ftp.faults["GET /ram0/syslog.log"] = kStall;
  bool executingDuringBox = true;
  h.ui().onMsgBox = [&](const MsgRecord&) { executingDuringBox = client().stillExecuting(); };
  long t0 = h.clock().nowMs();
  keys({kCtrlB, kCtrlN});
  ASSERT_EQ(h.ui().boxes.size(), 1u);
  const auto& box = h.ui().boxes[0];
  EXPECT_EQ(box.atMs - t0, 181000);  // the first round past 180 s
  EXPECT_EQ(box.text,
            "Syslog file downloading failed.  Click OK and close the upgrader.  Check connection "
            "before retrying.");
  EXPECT_EQ(box.style, 48);
  EXPECT_EQ(box.title, "Satellite IP Modem Upgrader");
  EXPECT_FALSE(executingDuringBox);  // cancelled before the user is told
  EXPECT_EQ(f->status(), "");
  EXPECT_FALSE(h.busy());
  EXPECT_TRUE(f->idle());
  EXPECT_FALSE(h.home.exists("Backup/sylog.log"));
}

TEST_F(HiddenLogDownload, CommandRefusedAtOnceFreesTheClientForARetry) {
  // The modem never answers the CLOSE of a first download, so the next GET
  // finds the client still executing.
  h.platform.ftp.faults["CLOSE"] = kStall;
  keys({kCtrlB, kCtrlN});
  ASSERT_EQ(f->status(), "Log downloaded");
  long t0 = h.clock().nowMs();
  keys({kCtrlB, kCtrlN});
  EXPECT_EQ(h.clock().nowMs(), t0);
  ASSERT_EQ(h.ui().boxes.size(), 1u);
  EXPECT_EQ(h.ui().boxes[0].text.rfind("An unexpected FTP error occurred.", 0), 0u);
  EXPECT_FALSE(h.busy());
  EXPECT_TRUE(f->ftpChain().done());
  keys({kCtrlB, kCtrlN});
  EXPECT_EQ(downloads(), 2);
  EXPECT_EQ(f->status(), "Log downloaded");
}

TEST_F(HiddenLogDownload, CloseRefusedWhileDownloading) {
  h.platform.ftp.commandMs = 5000;
  bool refused = false;
  h.clock().schedule(2000, [&] { refused = !f->requestClose(Form::kCloseByUser); });
  keys({kCtrlB, kCtrlN});
  EXPECT_TRUE(refused);
  EXPECT_FALSE(f->closed());
  EXPECT_EQ(f->status(), "Log downloaded");
  EXPECT_EQ(h.home.read("Backup/sylog.log"), "boot\nlink up\n");
}

TEST_F(HiddenLogDownload, EndOfSessionDuringADownloadEndsTheWait) {
  h.platform.ftp.faults["GET /ram0/syslog.log"] = kStall;
  h.clock().schedule(3500, [&] { f->requestClose(Form::kCloseBySystem); });
  long t0 = h.clock().nowMs();
  keys({kCtrlB, kCtrlN});
  EXPECT_TRUE(f->closed());
  EXPECT_EQ(h.clock().nowMs() - t0, 4000);
  EXPECT_FALSE(client().stillExecuting());
  h.advance(70000);  // the request watchdog went with the window
  EXPECT_TRUE(h.ui().boxes.empty());
}

TEST(Menus, AboutBox) {
  Harness h;
  auto& f = h.load();
  f.setBusy(true);  // usable while busy
  f.mnuHelpAbout.click();
  ASSERT_EQ(h.ui().boxes.size(), 1u);
  const auto& b = h.ui().boxes[0];
  EXPECT_EQ(b.style, 64);
  EXPECT_EQ(b.title, "Satellite IP Modem Upgrader");
  EXPECT_EQ(b.text.rfind(" Satellite IP Modem Upgrader\r\n", 0), 0u);
  const std::string last = "\r\n  Version 2.6 October 15, 2006";
  ASSERT_GE(b.text.size(), last.size());
  EXPECT_EQ(b.text.substr(b.text.size() - last.size()), last);
}

TEST(Menus, DisableAutoPicUpgrade) {
  Harness h;
  h.home.write("pic.hex", ":00000001FF\n");
  auto& f = h.load();
  ASSERT_EQ(f.AutoPic.value(), 1);
  ASSERT_EQ(f.AutoPicLabel.caption(), "Automatic PIC upgrade");
  f.setBusy(true);
  f.cmdDisableAutoPicMenu.click();
  EXPECT_EQ(f.AutoPic.value(), 0);
  EXPECT_TRUE(f.AutoPic.enabled());
  EXPECT_EQ(f.AutoPicLabel.caption(), "");
}

// ---- Close sequence ----

namespace {
struct CloseSequence : ::testing::Test {
  Harness h;
  MainWindow* f = nullptr;

  void load(const std::string& commandLine = "") {
    h.settings.commandLine = commandLine;
    f = &h.load();
    h.advance(1000);
    ASSERT_FALSE(h.busy());
  }
  // The PC's address check switches it to the static address; returns the
  // commands that undo the switch.
  std::vector<std::string> switchToStatic() {
    auto commands = MakeSystemNetworkCommands();
    // A listing both the netsh and the nmcli parsers find the connection in.
    h.platform.console().results[commands->listCommand()] = {
        ConsoleResult::Ran, 0,
        "\"Local Area Connection\"\nLocal Area Connection:802-3-ethernet:eth0\n"};
    h.platform.names().answers["fieldpc"] = {std::vector{Resolver::Address{10, 0, 0, 5}},
                                             std::vector{Resolver::Address{192, 168, 128, 101}}};
    h.ui().answers = {MsgYes};
    f->pcAddressCheck().verifyLocalAddress("fieldpc");
    EXPECT_TRUE(f->pcAddressCheck().staticAddressSet());
    h.platform.console().commands.clear();
    h.ui().boxes.clear();
    return commands->setDhcpCommands("\"Local Area Connection\"");
  }
};
}  // namespace

TEST_F(CloseSequence, RefusedWhileBusyButNeverAtTheEndOfTheSession) {
  load("/ModemInfo");
  auto dhcp = switchToStatic();
  f->cmdResetModem.click();
  h.advance(10);
  EXPECT_FALSE(f->requestClose(Form::kCloseByUser));
  EXPECT_FALSE(f->requestClose(Form::kCloseByProgram));
  h.advance(0);
  EXPECT_FALSE(f->closed());
  EXPECT_TRUE(h.platform.console().commands.empty());
  EXPECT_TRUE(h.platform.console().started.empty());
  // Nothing was cut short: the version is read again after the restart.
  h.advance(30000);
  EXPECT_EQ(h.zing->requests, (std::vector<int>{4, 13, 4}));
  EXPECT_FALSE(h.busy());

  f->cmdResetModem.click();
  h.advance(10);
  EXPECT_TRUE(f->requestClose(Form::kCloseBySystem));
  EXPECT_TRUE(f->closed());
  EXPECT_EQ(h.platform.console().commands, dhcp);
  EXPECT_EQ(h.platform.console().started.size(), 1u);
}

TEST(CloseSequenceAtSessionEnd, LeavesNothingRunning) {
  auto silent = std::make_shared<BasicPeer>();
  silent->mode = SimPeer::Accept::Ignore;
  auto mute = std::make_shared<TelnetPeer>();
  mute->banner.clear();
  struct Case {
    const char* what;
    int Settings::*port;
    std::shared_ptr<SimPeer> peer;  // null: the harness's own
    std::function<void(MainWindow&)> start;
  } cases[] = {
      {"reset: connection open, restart pending", &Settings::zingPort, nullptr,
       [](MainWindow& w) { w.cmdResetModem.click(); }},
      {"DNS: connect guard", &Settings::atPort, silent, [](MainWindow& w) { w.cmdSetDNS.click(); }},
      {"telnet: silent console", &Settings::telnetPort, mute,
       [](MainWindow& w) { w.telnet().prepareForDownload(); }},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.what);
    Harness h;
    const int port = h.settings.*c.port;
    if (c.peer) h.platform.network.listen(Harness::kModem, port, c.peer);
    auto& w = h.load();
    h.advance(1000);
    c.start(w);
    h.advance(10);
    ASSERT_TRUE(h.busy());
    EXPECT_TRUE(w.requestClose(Form::kCloseBySystem));
    h.advance(0);
    for (auto& conn : h.platform.network.peer(Harness::kModem, port)->connections)
      EXPECT_FALSE(conn->open());
    // Nothing fires later: no box, no connection, no status.
    const auto connects = h.platform.network.connectLog;
    const auto statuses = h.statuses;
    h.advance(60000);
    EXPECT_TRUE(h.ui().boxes.empty());
    EXPECT_EQ(h.platform.network.connectLog, connects);
    EXPECT_EQ(h.statuses, statuses);
  }
}

TEST_F(CloseSequence, ExitWhileIdleEndsWhatIsStillPending) {
  load();
  // A log download whose CLOSE the modem never answers: idle, but the
  // request watchdog still guards the CLOSE.
  h.platform.ftp.files["/ram0/syslog.log"] = "log";
  h.platform.ftp.faults["CLOSE"] = kStall;
  f->onKeyPress(kCtrlB);
  f->onKeyPress(kCtrlN);
  ASSERT_FALSE(h.busy());
  ASSERT_TRUE(h.platform.ftpClients.at(0)->stillExecuting());
  const auto connects = h.platform.network.connectLog.size();

  f->mnuFileExit.click();  // by program
  EXPECT_TRUE(f->closed());
  EXPECT_FALSE(h.platform.ftpClients.at(0)->stillExecuting());
  h.advance(70000);
  EXPECT_EQ(h.platform.network.connectLog.size(), connects);
  EXPECT_TRUE(h.ui().boxes.empty());
  // Nothing was switched, so nothing is restored.
  EXPECT_TRUE(h.platform.console().commands.empty());
  EXPECT_FALSE(h.sawStatus("Restoring DHCP for Local Area Connection. Wait...."));
  EXPECT_TRUE(h.platform.console().started.empty());
}

TEST_F(CloseSequence, SiblingProgramOnlyForTheExactSwitch) {
  for (std::string arg : {"/modeminfo", "/ModemInfo ", " /ModemInfo", "/ModemInfo /Factory"}) {
    SCOPED_TRACE(arg);
    Harness other;
    other.settings.commandLine = arg;
    auto& w = other.load();
    other.advance(1000);
    EXPECT_TRUE(w.requestClose(Form::kCloseByUser));
    EXPECT_TRUE(other.platform.console().started.empty());
  }

  load("/ModemInfo");
  h.platform.console().startSucceeds = false;  // a missing sibling does not stop the close
  EXPECT_TRUE(f->requestClose(Form::kCloseByUser));
  ASSERT_EQ(h.platform.console().started.size(), 1u);
  auto dir = (h.home.path().parent_path() / "ModemInfo").lexically_normal();
  EXPECT_EQ(h.platform.console().started[0].first, (dir / "ModemInfoUpgrader").string());
  EXPECT_EQ(h.platform.console().started[0].second, dir.string());
  EXPECT_TRUE(h.ui().boxes.empty());
}
