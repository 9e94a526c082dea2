// The window itself: start-up, the controls while busy, the hidden log
// download, the close sequence and the history of its operations.
#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "app/UpgradePrompt.h"
#include "firmware/ImageStore.h"
#include "at/ModemAddressDialog.h"
#include "netconfig/NetworkCommands.h"
#include "netconfig/PcAddressCheck.h"
#include "operations/ModemSession.h"
#include "sim/ConsoleBatch.h"
#include "transfer/FtpChain.h"
#include "transfer/TelnetSession.h"

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kAll = {"cmdGetSoftwareVersion", "cmdSetDNS", "cmdResetModem",
                                       "cmdUpgrade", "cmdRestore", "cmdPICupgrade",
                                       "cmdUpgradeMenu", "cmdRestoreMenu", "cmdPicUpgradeMenu",
                                       "cmdSetModemIP", "mnuFileExit", "txtIPAddress"};
// The operation controls that are enabled, by name.
std::vector<std::string> Enabled(MainWindow& f) {
  std::vector<std::string> on;
  for (const auto& n : kAll)
    if (f.find(n)->enabled()) on.push_back(n);
  return on;
}
// After an FTP time-out only what cannot harm the image stays usable.
const std::vector<std::string> kLocked = {"cmdGetSoftwareVersion", "cmdSetDNS", "cmdResetModem",
                                          "cmdSetModemIP", "mnuFileExit"};
// Ctrl+B then Ctrl+N: the hidden log download, run to its end.
void LogKeys(Harness& h) {
  h.f().onKeyPress(kCtrlB);
  h.f().onKeyPress(kCtrlN);
  h.clock().advanceUntil([&h] { return h.f().idle(); }, 400000);
}
int Downloads(Harness& h) {
  int n = 0;
  for (auto& c : h.platform.ftp.log) n += c.rfind("GET /ram0/syslog.log ", 0) == 0;
  return n;
}
// The user lets the address check move the PC into the modem's subnet;
// returns the commands that undo the switch.
std::vector<std::string> SwitchPcAddress(Harness& h, MainWindow& w) {
  auto commands = MakeSystemNetworkCommands();
  // A listing in which both the netsh and the nmcli parsers find the connection.
  h.platform.console().results[commands->listCommand()] = {
      ConsoleResult::Ran, 0,
      "\"Local Area Connection\"\nLocal Area Connection:802-3-ethernet:eth0\n"};
  h.platform.names().answers["fieldpc"] = {std::vector{Resolver::Address{10, 0, 0, 5}},
                                           std::vector{Resolver::Address{192, 168, 128, 101}}};
  h.ui().answers = {MsgYes};
  w.pcAddressCheck().verifyLocalAddress("fieldpc");
  h.platform.console().commands.clear();
  h.ui().boxes.clear();
  return commands->setDhcpCommands("\"Local Area Connection\"");
}
}  // namespace

TEST(Startup, HomeBackupDirectoryImageFirstQueryAndTheControlsWhileBusy) {
  Harness h;
  h.home.write("Backup/kova_1_0.bin", "old");  // an existing backup stays
  h.home.write("subdir/kova_9_9.bin", "not in the home itself");
  fs::create_directory(h.home.path() / "kova_7_7.bin");  // a directory is no image
  h.settings.workingDirectory = h.home.str() + "/";
  auto& f = h.load();
  EXPECT_EQ(f.session().homeDir, h.home.str() + ImageStore::kSeparator);
  EXPECT_TRUE(h.home.exists("Backup/kova_1_0.bin"));
  EXPECT_EQ(f.txtNewSoftwareVersion.text(), "5.2.0.13");
  EXPECT_EQ(f.AutoPicLabel.caption(), "No PIC file to upgrade in this version.");
  EXPECT_FALSE(f.AutoPic.enabled());
  EXPECT_EQ(h.ui().shown, std::vector<std::string>{"frmMain"});
  EXPECT_TRUE(h.ui().boxes.empty());
  EXPECT_TRUE(h.busy());
  EXPECT_EQ(h.platform.network.connectLog, std::vector<std::string>{"127.0.0.1:1827"});
  h.advance(1000);
  EXPECT_EQ(Enabled(f), kAll);
  // The hidden log download takes Ctrl+B then Ctrl+N, and only while idle.
  for (int key : {kCtrlB, int('a'), kCtrlN, kCtrlN, kCtrlB, kCtrlB, kCtrlN}) f.onKeyPress(key);
  EXPECT_EQ(Downloads(h), 0);
  f.cmdResetModem.click();
  h.advance(10);
  EXPECT_TRUE(Enabled(f).empty());  // Exit too, and the address field
  // Nor does anything else get in: the reset stays the one operation.
  const auto connects = h.platform.network.connectLog;
  EXPECT_FALSE(f.modem().runner().run(f.modem().versionRead()));
  h.advance(10);
  EXPECT_EQ(h.platform.network.connectLog, connects);
  // While busy a download would take over the running chain; half typed
  // while busy and finished when idle is nothing either.
  f.onKeyPress(kCtrlB);
  f.onKeyPress(kCtrlN);
  f.onKeyPress(kCtrlB);
  h.advance(40000);
  f.onKeyPress(kCtrlN);
  EXPECT_EQ(Downloads(h), 0);
  LogKeys(h);
  EXPECT_EQ(Downloads(h), 1);
}

// Started with -u the user is asked first: "Later" ends the program without
// a word, before anything is contacted.
TEST(Startup, UpgradeLaterEndsSilentlyBeforeAnythingElse) {
  for (bool later : {false, true}) {
    Harness h;
    h.settings.commandLine = "-u";
    h.ui().modalScripts["frmUpgrade"] = [later](Form& form) {
      auto& prompt = static_cast<UpgradePrompt&>(form);
      if (later) prompt.UpgradeLater.click();
      prompt.OKButton.click();
    };
    EXPECT_EQ(h.load().closed(), later);
    EXPECT_EQ(h.ui().modalLog, std::vector<std::string>{"frmUpgrade"});
    EXPECT_TRUE(h.ui().boxes.empty());
    EXPECT_EQ(h.platform.network.connectLog.empty(), later);
  }
}

// Started from the menu the working directory is the user's home, with no
// image: the folder chosen before is taken, else the user picks one, which is
// remembered. A folder with the image is used as ever, and without asking
// (batch mode, --home) none is looked for.
TEST(Startup, AFolderWithoutTheImageLeadsToTheFirmwareFolder) {
  struct Case {  // folders by letter: c the working directory, f the firmware, e an empty one
    bool ask = true, cwdHasImage = false;
    std::string remembered = "";  // or "blocked": no place to remember in
    std::string picks = "";       // then Cancel
    std::string home = "f";       // c: refused, as ever, unless it has the image
    std::string asked = "";       // where each chooser started
    std::size_t boxes = 0;
    std::string memory = "";  // remembered afterwards
  } cases[] = {
      {.cwdHasImage = true, .home = "c"},
      {.ask = false, .home = "c", .boxes = 1},
      {.remembered = "f", .memory = "f"},
      {.picks = "ef", .asked = "ce", .boxes = 1, .memory = "f"},
      {.remembered = "e", .picks = "f", .asked = "e", .memory = "f"},
      {.home = "c", .asked = "c", .boxes = 1},
      {.remembered = "blocked", .picks = "f", .asked = "c", .boxes = 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.picks + c.remembered);
    Harness h;
    TempDir user, empty;
    auto dir = [&](char x) { return x == 'c' ? user.str() : x == 'f' ? h.home.str() : empty.str(); };
    if (c.cwdHasImage) user.write("kova_5_2_0_13.bin", "image");
    if (c.remembered == "blocked") user.write("config", "a file where the folder should be");
    else if (!c.remembered.empty())
      user.write("config/kova-upgrader/home", dir(c.remembered[0]) + "\n");
    h.settings.workingDirectory = user.str();
    h.settings.askForHome = c.ask;
    h.settings.homeMemoryFile = (user.path() / "config" / "kova-upgrader" / "home").string();
    for (char p : c.picks) h.ui().folders.push_back(dir(p));
    auto& f = h.load();
    EXPECT_EQ(f.closed(), c.home == "c" && !c.cwdHasImage);
    EXPECT_EQ(f.session().homeDir, Workbench::HomeDirectory(dir(c.home[0])));
    std::vector<std::string> asked;
    for (char a : c.asked) asked.push_back(dir(a));
    EXPECT_EQ(h.ui().foldersAsked, asked);
    EXPECT_EQ(h.ui().boxes.size(), c.boxes);
    EXPECT_EQ(RecallHome(h.settings.homeMemoryFile).value_or(""),
              c.memory.empty() ? "" : dir(c.memory[0]));
  }
}

// Folders are taken as given: "DIR " (with its blank) is not DIR. The
// remembered folder is one absolute path on one line of a regular file;
// anything else there is passed over and the user is asked. It is written
// whole, never through a link.
TEST(Startup, FoldersAreTakenAsGivenAndTheRememberedOneKeptWithCare) {
  TempDir user;
  const std::string blank = (user.path() / "fw ").string(), plain = (user.path() / "fw").string();
  user.write("fw/kova_5_2_0_13.bin", "image");
  fs::create_directory(blank);
  struct Case {
    std::string what;
    std::function<void(const fs::path& memory)> plant;
    std::string recalled;  // "" when nothing is
  } cases[] = {
      {"one line", [&](auto& m) { user.write(m.string(), plain + "\n"); }, plain},
      {"a trailing blank kept", [&](auto& m) { user.write(m.string(), blank + "\n"); }, blank},
      {"relative", [&](auto& m) { user.write(m.string(), "fw\n"); }, ""},
      {"two lines", [&](auto& m) { user.write(m.string(), plain + "\nx\n"); }, ""},
      {"no line end", [&](auto& m) { user.write(m.string(), plain); }, ""},
      {"over 4 KiB", [&](auto& m) { user.write(m.string(), "/" + std::string(5000, 'a') + "\n"); }, ""},
#ifndef _WIN32
      {"a FIFO", [](auto& m) { ASSERT_EQ(mkfifo(m.c_str(), 0600), 0); }, ""},
      {"a link to /dev/zero", [](auto& m) { fs::create_symlink("/dev/zero", m); }, ""},
#endif
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir config;
    const fs::path memory = config.path() / "home";
    c.plant(memory);
    EXPECT_EQ(RecallHome(memory.string()).value_or(""), c.recalled);
  }
  // Given as "fw ", which holds no image: refused, never taken for "fw".
  Harness h;
  h.settings.workingDirectory = blank;
  EXPECT_TRUE(h.load().closed());
  EXPECT_EQ(h.f().session().homeDir, blank + ImageStore::kSeparator);

  TempDir config, elsewhere;
  const std::string memory = (config.path() / "home").string();
  Text error;
  EXPECT_FALSE(RememberHome(memory, (config.path() / "a\nb").string(), error));
  EXPECT_EQ(error, "its name holds a line break");
  elsewhere.write("target", "kept");
#ifndef _WIN32
  fs::create_symlink(elsewhere.path() / "target", memory + ".new");
#endif
  EXPECT_TRUE(RememberHome(memory, elsewhere.str(), error)) << error;
  EXPECT_EQ(elsewhere.read("target"), "kept");
  EXPECT_EQ(RecallHome(memory).value_or(""), elsewhere.str());
}

// The log on disk is replaced only by a whole new one, and the status line
// tells when the one there is from an earlier download.
TEST(HiddenLogDownload, EndsAsTheModemAnswers) {
  struct Case {
    const char* what;
    std::function<void(Harness&)> setup;
    const char* seen;    // a status shown on the way
    std::string status;  // at the end; EARLIER: the note on the earlier log
    const char* box;     // how the one box starts; empty: none
    const char* log;
    bool locked;  // the upgrade controls locked
  };
  const std::vector<Case> cases = {
      {"log present", [](Harness&) {}, "Downloading Log", "Log downloaded", "", "boot\n", false},
      {"no log", [](Harness& h) { h.platform.ftp.files.clear(); }, "Downloading Log",
       "Log file doesn't exist. EARLIER", "", "older log\n", false},
      // The re-query after the watchdog reports the time-out first, even a
      // slow one.
      {"stalled", [](Harness& h) {
         h.platform.ftp.faults["GET /ram0/syslog.log"] = SimFtpServer::Fault{};
         h.zing->replyDelayMs = 4000;
       },
       "Timer expired. Checking connection....", "Software version was retrieved! EARLIER",
       "FTP timeout.", "older log\n", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Harness h;
    h.platform.ftp.files["/ram0/syslog.log"] = "boot\n";
    h.home.write("Backup/sylog.log", "older log\n");
    c.setup(h);
    auto& f = h.load();
    h.advance(5000);
    LogKeys(h);
    std::string status = c.status;
    if (auto at = status.find("EARLIER"); at != std::string::npos)
      status.replace(at, 7, "Log not downloaded: " + f.session().backupDir +
                                ImageStore::kSeparator + "sylog.log is from an earlier download.");
    EXPECT_TRUE(h.sawStatus(c.seen));
    EXPECT_EQ(f.status(), status);
    const auto boxes = h.boxTexts();
    ASSERT_EQ(boxes.size(), *c.box ? 1u : 0u);
    if (*c.box) {
      EXPECT_EQ(boxes[0].rfind(c.box, 0), 0u);
    }
    EXPECT_FALSE(h.busy());
    EXPECT_EQ(Enabled(f), c.locked ? kLocked : kAll);
    EXPECT_EQ(h.home.read("Backup/sylog.log"), c.log);
    EXPECT_EQ(std::distance(fs::directory_iterator(h.home.path() / "Backup"), {}), 1);
  }
}

TEST(HiddenLogDownload, OwnLimitOfThreeMinutes) {
  Harness h;
  h.platform.ftp.faults["GET /ram0/syslog.log"] = SimFtpServer::Fault{};
  auto& f = h.load();
  h.advance(1000);
  // Only the download's own limit ends the stall once the request watchdog
  // is silenced (the sim's timers are the only way to reach it).
  for (auto* t : h.platform.timers)
    if (t->interval() == FtpChain::kRequestLimitMs) t->onTick = [] {};
  bool executingDuringBox = true;
  h.ui().onMsgBox = [&](const MsgRecord&) {
    executingDuringBox = h.platform.ftpClients.at(0)->stillExecuting();
  };
  LogKeys(h);
  ASSERT_EQ(h.ui().boxes.size(), 1u);
  const auto& box = h.ui().boxes[0];
  EXPECT_EQ(box.atMs, 1000 + 181000);  // the first round past 180 s
  EXPECT_EQ(box.text, "Syslog file downloading failed.  Click OK and close the upgrader.  Check "
                      "connection before retrying.");
  EXPECT_EQ(box.style, 48);
  EXPECT_EQ(box.title, "Satellite IP Modem Upgrader");
  EXPECT_FALSE(executingDuringBox);  // cancelled before the user is told
  EXPECT_TRUE(f.idle());
  EXPECT_FALSE(h.busy());
  EXPECT_FALSE(h.home.exists("Backup/sylog.log"));
}

// The user cannot close the window while an operation runs; the end of the
// session closes it all the same, leaving nothing running, puts the PC back
// on DHCP after its switch to the modem's network, and starts the sibling
// program asked for.
TEST(CloseSequence, RefusedWhileBusyButNeverAtTheEndOfTheSession) {
  auto silent = std::make_shared<BasicPeer>(), mute = std::make_shared<BasicPeer>();
  silent->mode = SimPeer::Accept::Ignore;
  const std::tuple<const char*, int Settings::*, std::shared_ptr<SimPeer>,
                   std::function<void(MainWindow&)>>
      cases[] = {
          {"reset: connection open, restart pending", &Settings::zingPort, nullptr,
           [](MainWindow& w) { w.cmdResetModem.click(); }},
          {"DNS: connect guard", &Settings::atPort, silent,
           [](MainWindow& w) { w.cmdSetDNS.click(); }},
          {"DNS: reply time-out", &Settings::atPort, mute,
           [](MainWindow& w) { w.cmdSetDNS.click(); }},
      };
  for (auto& [what, port, peer, start] : cases) {
    SCOPED_TRACE(what);
    Harness h;
    h.settings.commandLine = "/ModemInfo";
    if (peer) h.platform.network.listen(Harness::kModem, h.settings.*port, peer);
    auto& w = h.load();
    h.advance(1000);
    const auto dhcp = SwitchPcAddress(h, w);
    start(w);
    h.advance(10);
    ASSERT_TRUE(h.busy());
    EXPECT_FALSE(w.requestClose(Form::kCloseByUser));
    EXPECT_FALSE(w.requestClose(Form::kCloseByProgram));
    EXPECT_TRUE(h.platform.console().started.empty());
    EXPECT_TRUE(h.platform.console().commands.empty());
    EXPECT_TRUE(w.requestClose(Form::kCloseBySystem));
    EXPECT_EQ(h.platform.console().commands, dhcp);
    const auto dir = (h.home.path().parent_path() / "ModemInfo").lexically_normal();
    EXPECT_EQ(h.platform.console().started,
              (decltype(h.platform.console().started){
                  {(dir / MainWindow::kModemInfoProgram).string(), dir.string()}}));
    h.advance(0);
    for (auto& conn : h.platform.network.peer(Harness::kModem, h.settings.*port)->connections)
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

// An address that a URL or a resolver would read as something else is never
// connected to, on any channel: it fails as an unreachable modem does.
TEST(ModemAddress, WhatIsNoAddressIsNeverConnectedTo) {
  for (const char* address : {"1@127.0.0.2", "127.0.0.9@127.0.0.2", "127.0.0.2#x", "1/x",
                              "a b", "x:21", "modem-1.local"}) {
    SCOPED_TRACE(address);
    const bool hostName = std::string(address) == "modem-1.local";
    Harness h;
    h.settings.initialAddress = address;
    auto& f = h.load();
    h.advance(7100);  // the version query, then the FTP-port probe
    f.modem().telnet().prepareForDownload(nullptr);
    h.advance(5000);
    f.cmdSetDNS.click();
    h.advance(5000);
    LogKeys(h);
    h.advance(100);
    EXPECT_EQ(h.platform.network.connectLog.empty(), !hostName);
    if (hostName) continue;
    std::vector<std::string> firstLines;
    for (const auto& text : h.boxTexts()) firstLines.push_back(text.substr(0, text.find('\r')));
    const std::string noAt = "Can not Connect to AT interface. ";
    EXPECT_EQ(firstLines,
              (std::vector<std::string>{
                  "Unable to get Satellite IP Modem's software version.", noAt, noAt,
                  "Can not connect to Satellite IP Modem. Please check cable connection and "
                  "retry."}));
    EXPECT_EQ(h.platform.ftp.logins, 0);
    EXPECT_FALSE(h.busy());
  }
}

// The window records its own operations once each has ended whole: the
// upgrade after its re-query, the address change at once; a read is no change.
TEST(WindowHistory, EachOperationThatChangesTheModemIsRecordedOnceItEnded) {
  WorkflowModem h;
  h.platform.interfaces.neighbours["127.0.0.1 "] = "02:00:5e:10:00:01";
  h.ui().modalScripts["UpdateModemIP"] = [](Form& form) {
    static_cast<ModemAddressDialog&>(form).cmdUpdate.click();
  };
  h.start();
  h.platform.ftp.loginOk = false;
  h.f().cmdUpgrade.click();
  h.settle();
  h.platform.ftp.loginOk = true;
  h.f().cmdUpgrade.click();
  EXPECT_EQ(History(h).size(), 1u);  // the reset and re-query are still to come
  h.settle();
  h.advance(200);
  h.f().cmdSetModemIP.click();
  h.advance(200);
  h.f().cmdGetSoftwareVersion.click();
  h.settle();
  h.advance(200);
  EXPECT_EQ(HistoryRows(h), (std::vector<std::string>{"upgrade failed 5.2.0.12",
                                                      "upgrade done 5.2.0.13",
                                                      "address done 5.2.0.13"}));
  auto history = History(h);
  ASSERT_EQ(history.size(), 3u);
  EXPECT_EQ(history[1].modemAddress, Harness::kModem);
  EXPECT_EQ(history[2].modemAddress, "192.168.128.100");
  // The same unit at its new address: still known by its MAC.
  EXPECT_EQ(history[1].modemMac + history[2].modemMac, "02:00:5e:10:00:0102:00:5e:10:00:01");
  EXPECT_NEAR(history[1].durationSeconds, 30.4, 0.5);  // click to re-query
}

// Under the progress bar: the bytes, rate and time left of the image going
// up, the countdown to the version read after the restart, the time the PIC
// reflash has run; nothing once the upgrade has ended.
TEST(WindowDetail, TheLineUnderTheBarFollowsTheUpgrade) {
  WorkflowModem h;
  h.home.write("kova_5_2_0_13.bin", "KOVA-IMAGE 5.2.0.13\n" + std::string(3 << 20, 'k'));
  h.home.write("pic.hex", ":00000001FF\n");
  h.platform.ftp.commandMs = 2000;
  h.start();
  std::vector<std::string> shown;
  // The light is green only while the modem answers: red while it restarts.
  std::vector<long> lightWhileRestarting;
  h.f().lblDetail.changed.add([&] {
    shown.push_back(h.f().lblDetail.caption());
    if (shown.back() == "Modem restarting: its version is read again in 20 s.")
      lightWhileRestarting.push_back(h.f().statusLED.fillColor());
  });
  h.click(Entry::Upgrade);
  h.settle();
  auto seen = [&](const std::string& line) {
    return std::find(shown.begin(), shown.end(), line) != shown.end();
  };
  for (const char* line :
       {"kova_5_2_0_12.bin: 0.0 of 0.0 MiB, 0.0 MiB/s, 3 s left",
        "kova_5_2_0_13.bin: 1.5 of 3.0 MiB, 1.5 MiB/s, 1 s left",
        "kova_5_2_0_13.bin: 3.0 of 3.0 MiB, 1.5 MiB/s",
        "Modem restarting: its version is read again in 30 s.",
        "Modem restarting: its version is read again in 1 s.", "PIC reflash running for 20 s."})
    EXPECT_TRUE(seen(line)) << line << "\n" << ::testing::PrintToString(shown);
  EXPECT_EQ(h.f().lblDetail.caption(), "");
  // Both restarts: the one ordered after the upload, the one after the reflash.
  EXPECT_EQ(lightWhileRestarting, (std::vector<long>{kLedRed, kLedRed}));
  EXPECT_EQ(h.f().statusLED.fillColor(), kLedGreen);

  // An upload that stops moving says so, and counts from its last byte.
  h.platform.ftp.faults["PUT /bin/kova.bin"] = {SimFtpServer::Fault::Cut, 0, "", 20000};
  shown.clear();
  h.click(Entry::Upgrade);
  h.settle();
  for (const char* line : {"kova_5_2_0_13.bin: 1.5 of 3.0 MiB, 1.5 MiB/s, 1 s left",
                           "kova_5_2_0_13.bin: 1.5 of 3.0 MiB, no data for 3 s",
                           "kova_5_2_0_13.bin: 1.5 of 3.0 MiB, no data for 19 s"})
    EXPECT_TRUE(seen(line)) << line << "\n" << ::testing::PrintToString(shown);
  EXPECT_EQ(h.f().statusLED.fillColor(), kLedGreen);  // the version was read again
  // An exchange the modem does not answer (here its AT port) turns it red.
  h.f().cmdSetDNS.click();
  h.settle();
  EXPECT_EQ(h.f().statusLED.fillColor(), kLedRed) << h.f().sbUpgrade.text();
}
