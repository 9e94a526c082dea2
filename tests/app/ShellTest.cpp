// Menus of the window, the hidden log download and the close sequence.
#include <gtest/gtest.h>

#include <filesystem>

#include "netconfig/PcAddressCheck.h"
#include "sim/Harness.h"
#include "transfer/FtpChain.h"

namespace fs = std::filesystem;

namespace {
SimFtpServer::Fault Stall() {
  SimFtpServer::Fault f;
  f.kind = SimFtpServer::Fault::Stall;
  return f;
}

constexpr int kCtrlB = 2;
constexpr int kCtrlN = 14;
const char* kLogFailed =
    "Syslog file downloading failed.  Click OK and close the upgrader.  Check connection before "
    "retrying.";

struct LogDownload : ::testing::Test {
  Harness h;
  frmMain* f = nullptr;
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
  std::string logPath() const { return (h.home.path() / "Backup" / "sylog.log").string(); }
  // Everything in the backup directory, to see that nothing half-done stays.
  std::vector<std::string> backupFiles() const {
    std::vector<std::string> names;
    for (auto& e : fs::directory_iterator(h.home.path() / "Backup"))
      names.push_back(e.path().filename().string());
    return names;
  }
};
}  // namespace

TEST_F(LogDownload, KeySequence) {
  keys({kCtrlB, 'a', kCtrlN});
  keys({kCtrlN});
  keys({kCtrlB, kCtrlB, kCtrlN});
  EXPECT_EQ(downloads(), 0);
  EXPECT_EQ(f->intLogKeyState, 0);
  keys({kCtrlB});
  EXPECT_EQ(f->intLogKeyState, 1);
  keys({kCtrlN});
  EXPECT_EQ(downloads(), 1);
  EXPECT_EQ(f->intLogKeyState, 0);
  keys({kCtrlB, kCtrlN});
  EXPECT_EQ(downloads(), 2);
}

TEST_F(LogDownload, KeySequenceIgnoredWhileBusy) {
  f->SetBusyState(1);
  f->lngFTPState = FtpChain::PUT_NEW_BIN_CMD;  // as if an upgrade chain ran
  keys({kCtrlB, kCtrlN});
  // Half typed while busy, finished when idle: still nothing.
  keys({kCtrlB});
  f->SetBusyState(0);
  keys({kCtrlN});
  EXPECT_EQ(downloads(), 0);
  EXPECT_EQ(f->lngFTPState, FtpChain::PUT_NEW_BIN_CMD);
  keys({kCtrlB, kCtrlN});
  EXPECT_EQ(downloads(), 1);
}

TEST_F(LogDownload, LogPresentAndReplacedByTheNextDownload) {
  bool busyDuring = false;
  h.clock().schedule(500, [&] { busyDuring = h.busy(); });
  long t0 = h.clock().nowMs();
  keys({kCtrlB, kCtrlN});
  EXPECT_TRUE(busyDuring);
  EXPECT_FALSE(h.busy());
  EXPECT_EQ(h.clock().nowMs() - t0, 1000);  // one wait round
  ASSERT_GE(h.platform.ftp.log.size(), 2u);
  EXPECT_EQ(h.platform.ftp.log[0], "GET /ram0/syslog.log \"" + logPath() + "\"");
  EXPECT_EQ(h.platform.ftp.log[1], "CLOSE");
  EXPECT_EQ(h.home.read("Backup/sylog.log"), "boot\nlink up\n");
  EXPECT_TRUE(h.sawStatus("Downloading Log"));
  EXPECT_EQ(f->sbUpgrade.text(), "Log downloaded");
  EXPECT_TRUE(h.ui().boxes.empty());
  EXPECT_TRUE(f->cmdUpgrade.enabled());

  h.platform.ftp.files["/ram0/syslog.log"] = "second boot\n";
  keys({kCtrlB, kCtrlN});
  EXPECT_EQ(h.home.read("Backup/sylog.log"), "second boot\n");
  EXPECT_EQ(backupFiles(), (std::vector<std::string>{"sylog.log"}));
}

TEST_F(LogDownload, MissingLogKeepsTheOldOne) {
  h.home.write("Backup/sylog.log", "older log\n");
  h.platform.ftp.files.erase("/ram0/syslog.log");
  keys({kCtrlB, kCtrlN});
  EXPECT_EQ(f->sbUpgrade.text(), "Log file doesn't exist.");
  EXPECT_TRUE(h.ui().boxes.empty());
  EXPECT_FALSE(h.busy());
  EXPECT_EQ(h.home.read("Backup/sylog.log"), "older log\n");
  EXPECT_EQ(backupFiles(), (std::vector<std::string>{"sylog.log"}));
}

TEST_F(LogDownload, StalledServerEndsByTheWatchdog) {
  h.home.write("Backup/sylog.log", "older log\n");
  h.platform.ftp.faults["GET /ram0/syslog.log"] = Stall();
  long t0 = h.clock().nowMs();
  keys({kCtrlB, kCtrlN});
  EXPECT_EQ(h.clock().nowMs() - t0, 65000);
  EXPECT_TRUE(h.sawStatus("Timer expired. Checking connection...."));
  // The version query that follows holds the busy state until it ends,
  // and its lock of the upgrade controls stays.
  EXPECT_TRUE(h.busy());
  h.advance(1000);
  EXPECT_FALSE(h.busy());
  ASSERT_EQ(h.ui().boxes.size(), 1u);
  EXPECT_EQ(h.ui().boxes[0].text.rfind("FTP timeout.", 0), 0u);
  EXPECT_FALSE(f->cmdUpgrade.enabled());
  EXPECT_TRUE(f->cmdGetSoftwareVersion.enabled());
  EXPECT_EQ(h.home.read("Backup/sylog.log"), "older log\n");
  EXPECT_EQ(backupFiles(), (std::vector<std::string>{"sylog.log"}));
}

TEST_F(LogDownload, OwnLimitOfThreeMinutes) {
  // Without the watchdog only the download's own limit ends the stall.
  f->tmrFTPReq->onTick = [] {};
  h.platform.ftp.faults["GET /ram0/syslog.log"] = Stall();
  long t0 = h.clock().nowMs();
  keys({kCtrlB, kCtrlN});
  ASSERT_EQ(h.ui().boxes.size(), 1u);
  const auto& box = h.ui().boxes[0];
  EXPECT_EQ(box.atMs - t0, 181000);  // the first round past 180 s
  EXPECT_EQ(box.text, kLogFailed);
  EXPECT_EQ(box.style, 48);
  EXPECT_EQ(box.title, "Satellite IP Modem Upgrader");
  EXPECT_EQ(f->sbUpgrade.text(), "");
  EXPECT_FALSE(h.busy());
  EXPECT_TRUE(f->blnFTPDone);
  EXPECT_FALSE(f->tmrFTPReq->enabled());
  EXPECT_FALSE(f->inetFTP->stillExecuting());
  EXPECT_FALSE(h.home.exists("Backup/sylog.log"));
}

TEST_F(LogDownload, CommandRefusedAtOnce) {
  // A command still outstanding on the client refuses the GET.
  h.platform.ftp.faults["DELETE /config.txt"] = Stall();
  f->inetFTP->execute("DELETE /config.txt");
  long t0 = h.clock().nowMs();
  keys({kCtrlB, kCtrlN});
  EXPECT_EQ(h.clock().nowMs(), t0);
  ASSERT_EQ(h.ui().boxes.size(), 1u);
  EXPECT_EQ(h.ui().boxes[0].text.rfind("An unexpected FTP error occurred.", 0), 0u);
  EXPECT_FALSE(h.busy());
  EXPECT_TRUE(f->blnFTPDone);
}

TEST_F(LogDownload, CloseRefusedWhileDownloading) {
  h.platform.ftp.commandMs = 5000;
  bool refused = false;
  h.clock().schedule(2000, [&] { refused = !f->requestClose(Form::kCloseByUser); });
  keys({kCtrlB, kCtrlN});
  EXPECT_TRUE(refused);
  EXPECT_FALSE(f->closed());
  EXPECT_EQ(f->sbUpgrade.text(), "Log downloaded");
  EXPECT_EQ(h.home.read("Backup/sylog.log"), "boot\nlink up\n");
}

TEST_F(LogDownload, EndOfSessionDuringADownloadEndsTheWait) {
  f->tmrFTPReq->onTick = [] {};
  h.platform.ftp.faults["GET /ram0/syslog.log"] = Stall();
  h.clock().schedule(3500, [&] { f->requestClose(Form::kCloseBySystem); });
  long t0 = h.clock().nowMs();
  keys({kCtrlB, kCtrlN});
  EXPECT_TRUE(f->closed());
  EXPECT_EQ(h.clock().nowMs() - t0, 4000);
  EXPECT_FALSE(f->inetFTP->stillExecuting());
  EXPECT_TRUE(h.ui().boxes.empty());
}

TEST(Menus, AboutBox) {
  Harness h;
  auto& f = h.load();
  f.SetBusyState(1);  // usable while busy
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
  f.SetBusyState(1);
  f.cmdDisableAutoPicMenu.click();
  EXPECT_EQ(f.AutoPic.value(), 0);
  EXPECT_TRUE(f.AutoPic.enabled());
  EXPECT_EQ(f.AutoPicLabel.caption(), "");
}

// ---- Close sequence ----

namespace {
// Records the order in which the tool closes its connections.
class ClosePeer : public BasicPeer {
 public:
  ClosePeer(std::string name, std::vector<std::string>& order) : name_(std::move(name)), order_(order) {}
  void onClientClose(SimConnection&) override { order_.push_back(name_); }

 private:
  std::string name_;
  std::vector<std::string>& order_;
};

std::vector<Timer*> AllTimers(frmMain& f) {
  return {f.tmrConnect.get(),    f.tmrResponse.get(),      f.tmrConneTest.get(),
          f.tmrResetDelay.get(), f.tmrFiveSecDelay.get(),  f.tmrFTPReq.get(),
          f.tmrTelnetConnect.get(), f.tmrPicUpgrCnt.get()};
}

struct CloseSequence : ::testing::Test {
  Harness h;
  frmMain* f = nullptr;
  std::vector<std::string> closeOrder;

  void load(const std::string& commandLine = "") {
    h.settings.commandLine = commandLine;
    f = &h.load();
    h.advance(1000);
    ASSERT_FALSE(h.busy());
    f->pcAddress = std::make_unique<PcAddressCheck>(*f, MakeNetshCommands());
  }
  // sckZING, sckTest and Telnet connected; At still connecting.
  void connectSockets() {
    auto& net = h.platform.network;
    auto s = h.settings;
    net.listen(Harness::kModem, s.zingPort, std::make_shared<ClosePeer>("sckZING", closeOrder));
    net.listen(Harness::kModem, s.ftpPort, std::make_shared<ClosePeer>("sckTest", closeOrder));
    net.listen(Harness::kModem, s.telnetPort, std::make_shared<ClosePeer>("Telnet", closeOrder));
    auto silent = std::make_shared<BasicPeer>();
    silent->mode = SimPeer::Accept::Ignore;
    net.listen(Harness::kModem, s.atPort, silent);
    // Start the telnet one first: the order of closing must not follow it.
    for (auto* sock : {f->Telnet.get(), f->At.get(), f->sckTest.get(), f->sckZING.get()}) {
      // Opened outside any dialogue: keep the subsystems' handlers out.
      sock->onConnect = nullptr;
      sock->onDataArrival = nullptr;
      sock->onClose = nullptr;
      sock->onError = nullptr;
      sock->setRemoteHost(Harness::kModem);
      sock->connect();
    }
    h.advance(10);
  }
};
}  // namespace

TEST_F(CloseSequence, RefusedWhileBusyForUserAndProgram) {
  load("/ModemInfo");
  connectSockets();
  f->blnStaticSet = true;
  f->strConnectionName = "\"Local Area Connection\"";
  for (auto* t : AllTimers(*f)) t->setEnabled(true);
  f->SetBusyState(1);

  EXPECT_FALSE(f->requestClose(Form::kCloseByUser));
  EXPECT_FALSE(f->requestClose(Form::kCloseByProgram));
  h.advance(0);
  EXPECT_FALSE(f->closed());
  EXPECT_TRUE(h.platform.console().commands.empty());
  EXPECT_TRUE(h.platform.console().started.empty());
  EXPECT_TRUE(closeOrder.empty());
  EXPECT_EQ(f->sckZING->state(), TcpSocket::Connected);
  EXPECT_TRUE(f->blnStaticSet);
  for (auto* t : AllTimers(*f)) EXPECT_TRUE(t->enabled());

  // The end of the session is never refused.
  EXPECT_TRUE(f->requestClose(Form::kCloseBySystem));
  EXPECT_TRUE(f->closed());
  EXPECT_EQ(h.platform.console().commands,
            (std::vector<std::string>{
                "netsh interface ip set address \"Local Area Connection\" dhcp"}));
  EXPECT_EQ(h.platform.console().started.size(), 1u);
}

TEST_F(CloseSequence, IdleCloseReleasesEverything) {
  load();
  connectSockets();
  ASSERT_EQ(f->At->state(), TcpSocket::Connecting);
  h.platform.ftp.faults["GET /ram0/syslog.log"] = Stall();
  f->inetFTP->execute("GET /ram0/syslog.log \"x.log\"");
  ASSERT_TRUE(f->inetFTP->stillExecuting());
  for (auto* t : AllTimers(*f)) t->setEnabled(true);

  f->mnuFileExit.click();  // by program
  h.advance(0);
  EXPECT_TRUE(f->closed());
  EXPECT_EQ(closeOrder, (std::vector<std::string>{"sckZING", "sckTest", "Telnet"}));
  EXPECT_EQ(f->At->state(), TcpSocket::Connecting);  // not connected: left alone
  EXPECT_FALSE(f->inetFTP->stillExecuting());
  for (auto* t : AllTimers(*f)) {
    if (t == f->tmrTelnetConnect.get())
      EXPECT_TRUE(t->enabled());
    else
      EXPECT_FALSE(t->enabled());
  }
  // Nothing was switched, so nothing is restored.
  EXPECT_TRUE(h.platform.console().commands.empty());
  EXPECT_FALSE(h.sawStatus("Restoring DHCP for Local Area Connection. Wait...."));
  EXPECT_TRUE(h.platform.console().started.empty());
  EXPECT_TRUE(h.ui().boxes.empty());
}

TEST_F(CloseSequence, SiblingProgramOnlyForTheExactSwitch) {
  for (std::string arg : {"/modeminfo", "/ModemInfo ", " /ModemInfo", "/ModemInfo /Factory"}) {
    SCOPED_TRACE(arg);
    Harness other;
    other.settings.commandLine = arg;
    auto& f = other.load();
    other.advance(1000);
    EXPECT_TRUE(f.requestClose(Form::kCloseByUser));
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
