// Batch mode for scripts and production lines, each run against a whole
// simulated modem: exit codes, console and JSON output, the upgrade
// history, verify, the wait for a slow modem and station mode.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>

#include "app/BatchReport.h"
#include "app/StationPace.h"
#include "app/StationSupervisor.h"
#include "core/FailureCode.h"
#include "core/Files.h"
#include "core/OperationKind.h"
#include "sim/ConsoleBatch.h"

namespace {
using Op = BatchOptions::Operation;

std::vector<std::string> Args(std::initializer_list<const char*> a) { return {a.begin(), a.end()}; }

bool Has(const std::ostringstream& s, const std::string& text) {
  return s.str().find(text) != std::string::npos;
}

const HistoryEntry kReset = {"2026-12-08T08:00:00Z", "127.0.0.1", "", "", "reset", "5.2.0.12",
                             "5.2.0.12", "", -1, "", "done", 31, "", "", "", ""};
// An upload to the modem that another run began and never ended.
const HistoryEntry kBegan = {"2026-12-08T08:00:00Z", "127.0.0.1", "", "", "upgrade", "5.2.0.12",
                             "", "kova_5_2_0_13.bin", 29, "", "began", 0, "a1"};
}  // namespace

TEST(BatchCommandLine, OperationsAndUsageErrors) {
  // The other operations and their arguments are parsed by the batch rows below.
  std::string error;
  EXPECT_EQ(ParseBatchCommandLine(Args({"--batch", "--wait-back", "86400", "upgrade"}), error)
                ->options.waitBackSeconds,
            86400);
  // Versions are typed as in file names or with dots.
  for (const char* typed : {"5_2_0_11", "5.2.0.11"})
    EXPECT_EQ(ParseBatchCommandLine(Args({"--batch", "verify", typed}), error)
                  ->options.verifyVersion->fileForm(),
              "5_2_0_11");
  EXPECT_EQ(BatchVersionText(), "KOVA Satellite IP Modem Upgrader, Version 2.6 October 15, 2006\n");
  EXPECT_EQ(ParseBatchCommandLine(Args({"--batch", "dns", "2001:db8::53", "10.0.0.1"}), error)
                ->options.dns,
            std::make_pair(std::string("2001:db8::53"), std::string("10.0.0.1")));

  const std::string waitBack = "--wait-back needs a number of seconds from 1 to 86400";
  const std::pair<std::vector<std::string>, std::string> bad[] = {
      {Args({"--batch"}), "no operation given"},
      {Args({"--batch", "fly"}), "unknown operation fly"},
      {Args({"--batch", "restore"}), "restore needs the version to restore"},
      {Args({"--batch", "dns", "1.1.1.1"}), "dns needs both addresses, or none to read them"},
      // Refused before the modem is reached, each fault on its own.
      {Args({"--batch", "dns", "1.1.1.1", "8.8.8.8\""}), "dns: \"8.8.8.8\"\" is no IPv4"},
      {Args({"--batch", "dns", "1.1.1.256", "8.8.8.8"}), "dns: \"1.1.1.256\" is no IPv4"},
      {Args({"--batch", "dns", "1.1.1", "8.8.8.8"}), "dns: \"1.1.1\" is no IPv4"},
      {Args({"--batch", "dns", "1.1.1.1.", "8.8.8.8"}), "dns: \"1.1.1.1.\" is no IPv4"},
      {Args({"--batch", "dns", "", "8.8.8.8"}), "dns: \"\" is no IPv4"},
      {Args({"--batch", "dns", "8.8.8.8", "dns.example"}), "dns: \"dns.example\" is no IPv4"},
      {Args({"--batch", "dns", "8.8.8.8", "fe80::1\x1b"}), "dns: \"fe80::1\\x1B\" is no IPv4"},
      {Args({"--batch", "version", "x"}), "unexpected argument x"},
      {Args({"--batch", "upgrade", "--frobnicate"}), "unknown option --frobnicate"},
      {Args({"upgrade", "--yes"}), "the options need --batch"},
      // 0 is refused at once, not passed over for the next number.
      {Args({"--batch", "--wait-back", "0", "5", "reset"}), waitBack},
      {Args({"--batch", "--wait-back", "86401", "reset"}), waitBack},
      {Args({"--batch", "--wait-back", "60", "version"}), "--wait-back goes with upgrade"},
      {Args({"--batch", "--station", "reset"}), "--station goes with upgrade"},
      {Args({"--batch", "--reinstall", "restore", "5.2.0.11"}), "--reinstall goes with upgrade"},
      {Args({"--batch", "--interface", "eth1,eth2", "upgrade"}),
       "several interfaces go with --station upgrade"},
      {Args({"--batch", "--interface", "eth1,../x", "--station", "upgrade"}),
       "--interface: \"../x\" is no interface name"},
      {Args({"--batch", "--interface", "eth1,", "--station", "upgrade"}),
       "--interface: \"\" is no interface name"},
      {Args({"--batch", "--interface", "eth1,eth1", "--station", "upgrade"}),
       "--interface: eth1 is named twice"},
      {Args({"--batch", "version", "--interface"}), "--interface needs the name"},
      {Args({"--batch", "report", "--since", "2026-02-29"}),
       "--since: \"2026-02-29\" is no UTC time (2026-12-08T06:00:00Z) or date (2026-12-08)"},
      {Args({"--batch", "report", "--since", "2026-12-09", "--until", "2026-12-08T23:00"}),
       "--since 2026-12-09T00:00:00Z comes after --until 2026-12-08T23:00:00Z"},
      {Args({"--batch", "report", "--csv", "--json"}), "--csv and --json: choose one"},
      {Args({"--batch", "history", "--csv"}), "--csv goes with report"},
      {Args({"--batch", "upgrade", "--stop-after-failures", "3"}),
       "--stop-after-failures goes with --station upgrade"},
      {Args({"--batch", "--station", "upgrade", "--stop-after-failures", "0"}),
       "--stop-after-failures needs a number of units from 1 to 100000"},
      {Args({"--batch", "--station", "upgrade", "--max-failure-rate", "4/3"}),
       "--max-failure-rate needs R/N"},
      {Args({"--batch", "--station", "upgrade", "--on-unit-timeout", "5"}),
       "--on-unit-timeout goes with --on-unit"},
      {Args({"--batch", "--station", "upgrade", "--on-unit"}), "--on-unit needs a value"},
  };
  for (const auto& [args, message] : bad) {
    error.clear();
    EXPECT_FALSE(ParseBatchCommandLine(args, error));
    EXPECT_EQ(error.rfind(message, 0), 0u) << error;
  }
  // A script that asked for JSON reads the refusal as a whole result line.
  EXPECT_EQ(UsageFailureLine(Args({"--batch", "dns", "1.1.1.1"}), "dns needs both"), "");
  auto line = ParseJson(UsageFailureLine(Args({"--batch", "--json", "dns", "1.1.1.1"}), "x"));
  ASSERT_TRUE(line && line->isObject());
  EXPECT_EQ(line->asObject().size(), 16u);
  EXPECT_EQ(
      TextField(*line, "operation") + TextField(*line, "outcome") + TextField(*line, "reason_code"),
      "dnsfailedbad-argument");
  EXPECT_EQ(line->get("exit_code")->asNumber(), 2);
  EXPECT_TRUE(line->get("version_before")->isNull());
}

// --home and --lang come out of the arguments before the window or batch
// mode reads them, so the window's switches keep their exact text.
TEST(BatchCommandLine, HomeAndLanguageOptionsAndWhereTheChosenFolderIsKept) {
  // The arguments, what is left of them and the folder, or the refusal.
  const std::tuple<std::vector<std::string>, std::vector<std::string>, std::string> cases[] = {
      {Args({"--home", "/fw", "-u"}), Args({"-u"}), "/fw"},
      {Args({"--batch", "--home=/f w", "version"}), Args({"--batch", "version"}), "/f w"},
      {Args({"--batch", "--home", "--json"}), {}, "--home needs a folder"},
      {Args({"--home=/a", "--home", "/b"}), {}, "--home is given twice"},
  };
  for (auto [args, rest, outcome] : cases) {
    std::optional<std::string> home;
    std::string error;
    const bool taken = TakeHomeOption(args, home, error);
    EXPECT_EQ(taken ? std::pair(args, *home) : std::pair(rest, error), std::pair(rest, outcome));
  }
  const std::tuple<std::vector<std::string>, std::vector<std::string>, std::string> languages[] = {
      {Args({"--lang", "ar", "-u"}), Args({"-u"}), "ar"},
      {Args({"--batch", "--lang=pt_BR", "version"}), Args({"--batch", "version"}), "pt_BR"},
      {Args({"--lang"}), {}, "--lang needs a language code (fr, es, pt_BR, ru, ar or en)"},
      {Args({"--lang=fr", "--lang", "es"}), {}, "--lang is given twice"},
  };
  for (auto [args, rest, outcome] : languages) {
    std::string language, error;
    const bool taken = TakeLanguageOption(args, language, error);
    EXPECT_EQ(taken ? std::pair(args, language) : std::pair(rest, error), std::pair(rest, outcome));
  }
  const std::pair<std::map<std::string, const char*>, std::string> places[] = {
#ifndef _WIN32
      {{{"HOME", "/home/ann"}}, "/home/ann/.config/kova-upgrader/home"},
      {{{"HOME", "/home/ann"}, {"XDG_CONFIG_HOME", "/cfg"}}, "/cfg/kova-upgrader/home"},
      {{{"HOME", "/home/ann"}, {"XDG_CONFIG_HOME", "cfg"}}, "/home/ann/.config/kova-upgrader/home"},
#else
      {{{"APPDATA", "C:\\Users\\ann\\AppData"}}, "C:\\Users\\ann\\AppData\\kova-upgrader\\home"},
#endif
  };
  for (const auto& [env, file] : places) {
    std::string error;
    auto settings = SettingsFromEnvironment(
        [&env](const char* n) { return env.count(n) ? env.at(n) : nullptr; }, error);
    EXPECT_EQ(settings->homeMemoryFile, file);
    // The journal of uploads lies beside it.
    EXPECT_EQ(settings->uploadJournal, file.substr(0, file.size() - 4) + "uploads.jsonl");
  }
}

TEST(ConsoleUi, StatusProgressBoxesAndAnswers) {
  std::ostringstream out, err;
  BatchOptions o;
  ConsoleUi ui(out, err, o, [] { return std::string("T"); });
  ui.setStatus("Trying");
  ui.setStatus("");  // a cleared line prints nothing
  ui.setProgress(40);
  ui.setProgress(40);
  EXPECT_EQ(out.str(), "[T] Trying\n[T] progress 40%\n");

  EXPECT_EQ(ui.msgBox("line one\r\nline two", 48, "Title"), MsgOk);
  EXPECT_EQ(err.str(), "[T] warning: Title\n    line one\n    line two\n");
  EXPECT_EQ(ui.msgBox("Proceed?", 52, "Q"), MsgNo);
  o.yes = true;
  EXPECT_EQ(ui.msgBox("Proceed?", 52, "Q"), MsgYes);
  // Quiet (a station asking whether a modem is there): nothing printed.
  err.str("");
  ui.setQuiet(true);
  ui.msgBox("No modem", 16, "Q");
  ui.setQuiet(false);
  EXPECT_EQ(err.str(), "");
  // The JSON stream knows four kinds: a plain box is information.
  o.json = true;
  out.str("");
  ui.msgBox("Plain", 0, "P");
  EXPECT_NE(out.str().find("\"kind\":\"information\""), std::string::npos) << out.str();

  o.dns = std::make_pair("10.0.0.1", "10.0.0.2");
  auto review = ui.reviewDns("1.1.1.1", "2.2.2.2");
  EXPECT_EQ(review.choice, DnsReview::Choice::Modify);
  EXPECT_EQ(review.secondary, "10.0.0.2");
  // Shown again after the modem refused them: not sent a second time.
  EXPECT_EQ(ui.reviewDns("1.1.1.1", "2.2.2.2").choice, DnsReview::Choice::Dismissed);
  o.dns.reset();  // read only: the modem keeps them
  EXPECT_EQ(ui.reviewDns("1.1.1.1", "2.2.2.2").choice, DnsReview::Choice::Keep);
}

// A file's transfer on the console: a line every 5 s in a log, redrawn in
// place on a terminal, and its end told once, again when the same file is
// sent anew (the next unit of a station).
TEST(ConsoleUi, TransferLines) {
  using ms = std::chrono::milliseconds;
  for (bool terminal : {false, true}) {
    std::ostringstream out, err;
    BatchOptions o;
    ConsoleUi ui(out, err, o, [] { return std::string("T"); });
    ui.setTerminal(terminal);
    Operation::Transfer t;
    t.direction = FileMoved::Direction::Upload;
    t.local = "/home/u/kova_5_2_0_13.bin";
    t.total = 4 << 20;
    for (int unit = 0; unit < 2; ++unit) {
      const long base = unit * 60000;
      t.started = ms(base);
      for (long at : {0L, 50L, 1000L, 5000L, 8000L, 8000L}) {
        t.done = at == 8000 ? t.total : (t.total / 8) * (at / 1000);
        t.lastMoved = ms(base + at);
        ui.transfer(t, ms(base + at));
      }
    }
    const std::string once =
        terminal ? "\r[T] kova_5_2_0_13.bin: 0.0 of 4.0 MiB\x1B[K"
                   "\r[T] kova_5_2_0_13.bin: 0.5 of 4.0 MiB, 0.5 MiB/s, 7 s left\x1B[K"
                   "\r[T] kova_5_2_0_13.bin: 2.5 of 4.0 MiB, 0.5 MiB/s, 3 s left\x1B[K"
                   "\r[T] kova_5_2_0_13.bin: 4.0 of 4.0 MiB, 0.5 MiB/s\x1B[K\n"
                 : "[T] kova_5_2_0_13.bin: 0.0 of 4.0 MiB\n"
                   "[T] kova_5_2_0_13.bin: 2.5 of 4.0 MiB, 0.5 MiB/s, 3 s left\n"
                   "[T] kova_5_2_0_13.bin: 4.0 of 4.0 MiB, 0.5 MiB/s\n";
    EXPECT_EQ(out.str(), once + once) << terminal;
  }
  // A file whose size the server did not tell: how far it is, no end. Then
  // nothing moves: a stall, not a falling rate.
  std::ostringstream out, err;
  BatchOptions o;
  ConsoleUi ui(out, err, o, [] { return std::string("T"); });
  Operation::Transfer t;
  t.local = "/home/u/sylog.log";
  t.done = 3 << 20;
  t.started = ms(0);
  t.lastMoved = ms(2000);
  ui.transfer(t, ms(2000));
  ui.transfer(t, ms(9000));
  EXPECT_EQ(out.str(),
            "[T] sylog.log: 3.0 MiB, 1.5 MiB/s\n[T] sylog.log: 3.0 MiB, no data for 7 s\n");
}

// Each operation's exit code, output and history entry, from what the
// modem and the home directory hold; run again with --json, the failure's
// one code as a script reads it in the result line and the history.
TEST(BatchMode, ExitCodesOutputAndHistory) {
  using Fault = SimFtpServer::Fault;
  const std::string image = "kova_5_2_0_13.bin";
  // Nothing answers once the run is under way, and the interface may be gone.
  const auto silent = [](bool gone) {
    return [gone](Batch& b) {
      b.h.zing->replyDelayMs = 60000;  // the query under way never hears back
      b.h.clock().schedule(1, [&b, gone] {  // after the check at start
        b.h.unplugFtpPort();
        if (gone) b.h.platform.interfaces.bindProblems["eth1"] = "there is no interface eth1";
      });
    };
  };
  // Another process of this tool holds the modem.
  SimProcess other;
  const auto inUse = [&other](Batch& b) {
    std::string holder;
    other.lock("modem-127.0.0.1-" + std::to_string(b.h.settings.ftpPort) + "-any",
               "process 4343 (upgrade)", holder);
  };
  // Held by a run that named eth1, the interface this one's route takes.
  const auto inUseThroughEth1 = [&other](Batch& b) {
    b.h.platform.interfaces.routes["127.0.0.1"] = "eth1";
    std::string holder;
    other.lock("modem-127.0.0.1-" + std::to_string(b.h.settings.ftpPort) + "-eth1",
               "process 4343 (upgrade)", holder);
  };
  // The restarted modem stays away for ten minutes.
  const auto slowBack = [](Batch& b) {
    b.h.zing->onReset = [&b] {
      b.h.clock().schedule(1, [&b] {
        b.h.unplug();
        b.h.clock().schedule(600000, [&b] { b.h.plug("5.2.0.13"); });
      });
    };
  };
  const char* kNotBack = "Unable to get Satellite IP Modem's software version.";
  const std::string inUseText =
      "Another process of this tool is working on the Satellite IP Modem at 127.0.0.1: process "
      "4343 (upgrade).";
  struct Case {
    const char* what;
    std::vector<std::string> args;  // after --batch
    std::function<void(Batch&)> setup;
    int code;
    const char* reason;  // in the JSON result and the history; "" when done, nullptr: no result
    std::string out;
    const char* err;  // empty: nothing on standard error
    std::vector<std::string> history;
  } cases[] = {
      {"version", {"version"}, [](Batch&) {}, 0, "", "] Modem software version: 5.2.0.12\n", "",
       {}},
#ifndef _WIN32  // Windows allows neither in a file name.
      // A path that cannot go into a command text, or would split a line.
      {"image name with a quote", {"version"},
       [&](Batch& b) { b.h.removeHomeFile(image), b.h.home.write("kova_5\"2.bin", "x"); }, 2,
       "folder-unusable", "", "kova_5\"2.bin cannot be used", {}},
      {"image name with a line break", {"version"},
       [&](Batch& b) { b.h.removeHomeFile(image), b.h.home.write("kova_5\n2.bin", "x"); }, 2,
       "folder-unusable", "", "kova_5\\x0A2.bin cannot be used", {}},
#endif
      // What the modem says reaches the terminal as visible text only; the
      // code goes by the client's error number, whatever the message says.
      {"FTP error with escape sequences", {"upgrade"},
       [](Batch& b) {
         b.h.platform.ftp.faults["GET /bin/kova.bin"] = {
             Fault::Error, 12031, "No space left on device\x1B]0;owned\x07\x1B[2J\x9B", -1};
       },
       1, "ftp-error", "",
       "Error Code:  12031 : No space left on device\\x1B]0;owned\\x07\\x1B[2J\\x9B",
       {"upgrade failed "}},
      {"disk full", {"upgrade"},
       [](Batch& b) {
         b.h.platform.ftp.faults["GET /bin/kova.bin"] = {Fault::Error, FtpClient::kDiskFull,
                                                          "Cannot write local file: disk", -1};
       },
       1, "disk-full", "", "hint: the disk of ", {"upgrade failed "}},
      // The backup under way is dropped, the modem is as it was.
      {"interrupted during the backup", {"upgrade"},
       [](Batch& b) {
         b.h.platform.ftp.faults["GET /checksum.txt"] = {Fault::Stall, 0, "", -1};
         b.h.clock().schedule(3000, [&b] { b.interrupts = 2; });
       },
       130, "interrupted", "] Abandoned.",
       "] warning: kova_5_2_0_13.bin is not signed: no trusted key is set up",
       {"upgrade interrupted 5.2.0.12"}},
      // Abandoned while the image goes up: told as an upload that broke is.
      {"interrupted during the upload", {"upgrade"},
       [](Batch& b) {
         b.h.platform.ftp.faults["PUT /bin/kova.bin"] = {Fault::Stall, 0, "", -1};
         b.h.clock().schedule(20000, [&b] { b.interrupts = 2; });
       },
       130, "interrupted", " in 20 s; the modem's software image is incomplete.\n",
       "] hint: do not switch the modem off", {"upgrade interrupted 5.2.0.12"}},
      {"restore comes back with another version", {"restore", "5_2_0_11"},
       [](Batch& b) { b.h.store("5_2_0_11"), b.h.zing->afterReset = "5.2.0.12,build 7"; }, 1,
       "wrong-version-after", "",
       "    The modem reports version 5.2.0.12 after the restore, not 5.2.0.11.\n",
       {"restore failed 5.2.0.12"}},
      {"reset, history a FIFO", {"reset"},
       [](Batch& b) {
         std::filesystem::create_directories(b.h.home.path() / "Backup");
#ifdef _WIN32
         std::filesystem::create_directory(b.h.home.path() / "Backup/history.jsonl");
#else
         ASSERT_EQ(::mkfifo((b.h.home.path() / "Backup/history.jsonl").c_str(), 0600), 0);
#endif
       },
       0, "", "] Resetting modem. Wait 20 seconds.", "history.jsonl: it is not a regular file", {}},
      {"unreachable", {"version"}, [](Batch& b) { b.h.unplugZing(), b.h.unplugFtpPort(); }, 3,
       "unreachable", "] Connection failed.\n",
       "] hint: nothing answers at 127.0.0.1: check the cable, the modem's power", {}},
      // Held by another run: no fault of the modem's, told once.
      {"modem in use, version", {"version"}, inUse, 1, "modem-in-use", "", inUseText.c_str(), {}},
      {"modem in use, reset", {"reset"}, inUse, 1, "modem-in-use", "", inUseText.c_str(), {}},
      {"modem in use, upgrade", {"upgrade"}, inUse, 1, "modem-in-use", "", inUseText.c_str(),
       {}},
      {"modem in use through the interface named by the other run", {"upgrade"},
       inUseThroughEth1, 1, "modem-in-use", "", inUseText.c_str(), {}},
      // Verified, then not back in time: the version is unknown, the modem
      // was there; the reflash that waited for it is named.
      {"upgrade, slow to come back", {"upgrade"}, slowBack, 1, "version-unknown", "",
       kNotBack, {"upgrade failed "}},
      {"upgrade with PIC, slow to come back", {"upgrade"},
       [&](Batch& b) {
         slowBack(b);
         b.h.home.write("pic.hex", ":00000001FF\n");
       },
       1, "version-unknown",
       "] The PIC was not reflashed: the modem did not answer after its restart.", kNotBack,
       {"upgrade failed "}},
      // The modem is blamed unless the interface is gone (an adapter pulled out).
      {"silent through an interface", {"--interface", "eth1", "version"}, silent(false), 3,
       "unreachable", "", "hint: nothing answers at", {}},
      {"interface gone", {"--interface", "eth1", "version"}, silent(true), 1, "interface-gone",
       "", "hint: the interface eth1 is gone (there is no interface eth1)", {}},
      // No image, or more than one: what needs none runs, an upgrade is
      // refused before anything is contacted or created.
      {"no image, version", {"version"}, [&](Batch& b) { b.h.removeHomeFile(image); }, 0, "",
       "] Modem software version: 5.2.0.12\n", "", {}},
      {"no image, upgrade", {"upgrade"}, [&](Batch& b) { b.h.removeHomeFile(image); }, 2,
       "folder-unusable", "", "Unable to find the binary file", {}},
      {"two images", {"upgrade"}, [](Batch& b) { b.h.home.write("kova_2_0.bin", "x"); }, 2,
       "folder-unusable", "", "Unable to find the binary file", {}},
      {"no home", {"version"},
       [](Batch& b) { b.h.settings.workingDirectory = b.h.home.str() + "/missing"; }, 2,
       "folder-unusable", "", "Unable to find upgrade program home directory", {}},
      {"interface unusable", {"--interface", "eth9", "version"},
       [](Batch& b) { b.h.platform.interfaces.bindProblems["eth9"] = "no interface eth9"; },
       2, "interface-unusable", "", "Cannot use the interface eth9: no interface eth9.",
       {}},
      // A warning that stops nothing fails nothing.
      {"no backup directory", {"version"}, [](Batch& b) { b.h.home.write("Backup", "file"); }, 0,
       "", "] Software version was retrieved!\n", "Unable to create the backup directory", {}},
      {"log", {"log"}, [](Batch& b) { b.h.platform.ftp.files["/ram0/syslog.log"] = "log"; }, 0, "",
       "] Log saved to ", "", {}},
      {"no log", {"log"}, [](Batch&) {}, 1, "file-missing", "] Log file doesn't exist.\n", "", {}},
      // A modem that took the image but still runs the old one has not been upgraded.
      {"upgrade not taken", {"upgrade"},
       [](Batch& b) { b.h.zing->afterReset = "5.2.0.12,build 7"; }, 1, "wrong-version-after", "",
       "    The modem reports version 5.2.0.12 after the upgrade, not 5.2.0.13.\n",
       {"upgrade failed 5.2.0.12"}},
      {"login refused", {"upgrade"}, [](Batch& b) { b.h.platform.ftp.loginOk = false; }, 1,
       "ftp-login-refused", "", "] hint: the modem refused the FTP login of the user kovauser.",
       {"upgrade failed 5.2.0.12"}},
      // After a power cut left the last line short.
      {"restore", {"restore", "5_2_0_11"},
       [](Batch& b) {
         b.h.home.write("Backup/history.jsonl", "{\"time\":\"2026-12-0");
         b.h.store("5_2_0_11");
         b.h.zing->afterReset = "5.2.0.11,build 3";
       },
       0, "", "] Modem software version: 5.2.0.11\n", "", {"restore done 5.2.0.11"}},
      // A usage error (a prefix of a kept version is no match): the modem
      // is as it was, nothing is recorded.
      {"restore of a version not kept", {"restore", "5.2.0.1"},
       [](Batch& b) { b.h.store("5_2_0_11"); }, 2, "no-backup", "",
       "Version 5.2.0.1 is not in the backup directory. Available: 5.2.0.11\n", {}},
      {"PIC without a PIC file", {"pic"}, [](Batch&) {}, 1, "file-missing", "",
       "Unable to find pic.hex", {"pic failed 5.2.0.12"}},
      // Success is no warning: the window's "Click OK" stays in the window.
      {"PIC reflash", {"pic"}, [](Batch& b) { b.h.home.write("pic.hex", ":00000001FF\n"); }, 0, "",
       "PIC reflash completed", "", {"pic done 5.2.0.12"}},
      {"PIC reflash never started", {"pic"},
       [](Batch& b) {
         b.h.home.write("pic.hex", ":00000001FF\n");
         b.h.console->banner = {{"Sorry, console busy\r\n", 5}};
       },
       1, "console-busy", "", "hint: another telnet session holds the modem's console",
       {"pic failed 5.2.0.12"}},
      // Only a second Ctrl+C abandons a reset under way.
      {"interrupted twice", {"reset"},
       [](Batch& b) {
         b.h.clock().schedule(3000, [&b] { b.interrupts = 1; });
         b.h.clock().schedule(6000, [&b] { b.interrupts = 2; });
       },
       130, "interrupted", "cannot be interrupted now", "", {"reset interrupted "}},
      // The modem runs the old image, not the one in the home directory.
      {"verify", {"verify"}, [](Batch&) {}, 1, "verify-mismatch", "] differs\n", "", {}},
      {"verify a backup", {"verify", "5_2_0_11"},
       [](Batch& b) {
         b.h.store("5_2_0_11");
         b.h.platform.ftp.files["/bin/kova.bin"] = "KOVA-IMAGE 5.2.0.11";
       },
       0, "", "] match\n", "", {}},
      {"verify a version not kept", {"verify", "5_2_0_9"}, [](Batch&) {}, 2, "bad-argument", "",
       "There is no image ", {}},
      {"history, a damaged line skipped", {"history"},
       [](Batch& b) {
         b.h.home.write("Backup/history.jsonl",
                        "{\"time\":\"2026-12-0\n" + HistoryLine(kReset) + "\n");
       },
       0, nullptr, HistoryTable({kReset}), "] error: line 1 of ", {"reset done 5.2.0.12"}},
      {"DNS without an AT port", {"dns"}, [](Batch&) {}, 1, "port-unreachable", "",
       "AT interface", {"dns failed 5.2.0.12"}},
      // A backup pair that cannot stand under its names: nothing goes up.
      {"backup pair cannot be kept", {"upgrade"},
       [](Batch& b) {
         std::filesystem::create_directories(b.h.home.path() / "Backup/kova_5_2_0_12.bin/x");
       },
       1, "backup-failed", "", "could not be stored", {"upgrade failed 5.2.0.12"}},
      // The modem runs the new version already: nothing is sent unless asked.
      {"upgrade to the running version", {"upgrade"},
       [](Batch& b) { b.h.zing->versionText = "5.2.0.13,build 1"; }, 0, "",
       "] The modem already runs 5.2.0.13: skipped", "is not signed", {}},
      {"reinstall of the running version", {"--reinstall", "upgrade"},
       [](Batch& b) { b.h.zing->versionText = "5.2.0.13,build 1"; }, 0, "",
       "] Modem software version: 5.2.0.13\n", "is not signed", {"upgrade done 5.2.0.13"}},
      // A history that cannot be written is a warning, never a failed operation.
      {"reset, history unwritable", {"reset"},
       [](Batch& b) {
         std::filesystem::create_directories(b.h.home.path() / "Backup/history.jsonl");
       },
       0, "", "] Resetting modem. Wait 20 seconds.",
       "] warning: KOVA Upgrader\n    The upgrade history could not be written.", {}},
      // A station's unit left incomplete is not to be unplugged; one that
      // runs the new version over an unfinished upload is completed.
      {"station, unit left incomplete", {"--station", "upgrade"},
       [](Batch& b) {
         b.h.platform.ftp.faults["PUT /bin/kova.bin"] = {Fault::Cut, 0, "", -1};
         b.h.platform.ftp.goneAfterCut = true;
         b.h.clock().schedule(60000, [&b] { b.interrupts = 1; });
       },
       1, nullptr, "] Leave the modem connected and powered: press Enter to repeat the upgrade.\n",
       "] hint: do not switch the modem off", {"upgrade failed "}},
      {"station, unfinished upload", {"--station", "upgrade"},
       [](Batch& b) {
         b.h.home.write("Backup/history.jsonl", HistoryLine(kBegan) + "\n");
         b.h.zing->versionText = "5.2.0.13,build 1";
         b.h.clock().schedule(60000, [&b] { b.interrupts = 1; });
       },
       0, nullptr, "] Station: 1 done, 0 failed, 0 skipped", "is not signed",
       {"upgrade unfinished ", "upgrade done 5.2.0.13"}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.what);
    other.unlockAll();
    Batch b;
    ASSERT_TRUE(b.parse(c.args));
    c.setup(b);
    EXPECT_EQ(b.run(), c.code);
    EXPECT_TRUE(Has(b.out, c.out)) << b.out.str();
    if (*c.err) {
      EXPECT_TRUE(Has(b.err, c.err)) << b.err.str();
      const std::string err = b.err.str();
      EXPECT_EQ(err.find(c.err, err.find(c.err) + 1), std::string::npos) << "told twice: " << err;
    } else {
      EXPECT_EQ(b.err.str(), "");
    }
    EXPECT_EQ(HistoryRows(b.h), c.history);
    EXPECT_EQ(b.out.str().find('\x1B') + b.err.str().find('\x1B'), 2 * std::string::npos);
    // Nothing half-written is left behind, whatever the end.
    for (const auto& name : b.h.backups())
      EXPECT_TRUE(name.starts_with("kova_") || name.starts_with("chk_") || name == "sylog.log")
          << name;
    // A usage error sends nothing; one told before the folder is read (all
    // but a restore's or a verify's, which need the backups) touches nothing at all.
    if (c.code == 2) {
      EXPECT_TRUE(b.h.platform.ftp.log.empty());
    }
    if (c.code == 2 && c.args.front() != "restore" && c.args.front() != "verify") {
      EXPECT_TRUE(b.h.platform.network.connectLog.empty());
      EXPECT_FALSE(b.h.home.exists("Backup"));
    }
    if (!c.reason) continue;
    // Text mode ends every operation with one line that names its end.
    const std::string out = b.out.str();
    const std::string op = *std::find_if(c.args.begin(), c.args.end(), [](const auto& a) {
      return OperationKindNamed(a).has_value();
    });
    const std::string end = c.code == 130           ? "Interrupted: " + op + " (interrupted)"
                            : *c.reason             ? "Failed: " + op + " (" + c.reason + ")"
                            : Has(b.out, "skipped") ? "Skipped: " + op
                                                    : "Done: " + op;
    EXPECT_TRUE(Has(b.out, "] " + end)) << out;
    EXPECT_EQ(out.find('\n', out.find("] " + end)), out.size() - 1) << out;
    Batch json;
    std::vector<std::string> args = {"--json"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    ASSERT_TRUE(json.parse(args));
    c.setup(json);
    json.run();
    const auto events = Events(json.out.str());
    ASSERT_FALSE(events.empty());
    ASSERT_EQ(TextField(events.back(), "event"), "result");
    const JsonValue* reason = events.back().get("reason_code");
    ASSERT_TRUE(reason);
    EXPECT_EQ(reason->isNull() ? "" : reason->asString(), c.reason);
    const auto history = History(json.h);
    ASSERT_EQ(history.size(), c.history.size());
    if (!history.empty()) {
      EXPECT_EQ(history.back().reasonCode, c.reason);
      // What the flash holds, as the history keeps it.
      const JsonValue* holds = events.back().get("modem_holds");
      ASSERT_TRUE(holds);
      EXPECT_EQ(holds->isNull() ? "" : holds->asString(), history.back().holds);
    }
  }
}

// Abandoned while the image goes up: the flash may hold part of it, so the
// history keeps the upload open and no later run restarts the modem.
TEST(BatchMode, AnUploadAbandonedStaysUnfinished) {
  Batch b;
  ASSERT_TRUE(b.parse({"upgrade"}));
  b.h.platform.ftp.faults["PUT /bin/kova.bin"] = {SimFtpServer::Fault::Stall, 0, "", -1};
  b.h.clock().schedule(20000, [&b] { b.interrupts = 2; });
  EXPECT_EQ(b.run(), 130);
  const auto entries = ReadHistory((b.h.home.path() / "Backup" / "history.jsonl").string()).entries;
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries.back().outcome + " " + entries.back().holds, "interrupted incomplete");
  EXPECT_TRUE(UnfinishedUpload(entries, "", Harness::kModem));
  // The next run finds the modem silent: nothing it says advises a power cycle.
  Batch next;
  ASSERT_TRUE(next.parse({"version"}));
  next.h.home.write("Backup/history.jsonl", b.h.home.read("Backup/history.jsonl"));
  next.h.unplugZing(), next.h.unplugFtpPort();
  EXPECT_EQ(next.run(), 3);
  EXPECT_TRUE(Has(next.err,
                  "] hint: do not switch the modem off: its software image is "
                  "incomplete (an upload that began at "))
      << next.err.str();
  EXPECT_FALSE(Has(next.err, "power")) << next.err.str();
}

// The list of codes: each has its own wire text, and the manual page
// explains each and no other.
TEST(BatchMode, FailureCodesAreDistinctAndInTheManualPage) {
  std::ifstream page(KOVA_SOURCE_DIR "/packaging/kova-upgrader.1.scd");
  std::set<std::string> documented;
  for (std::string line; std::getline(page, line);)
    if (line.starts_with("|  *")) documented.insert(line.substr(4, line.size() - 5));
  std::set<std::string> texts;
  for (const auto& row : FailureCodes()) {
    EXPECT_TRUE(texts.insert(row.text).second) << row.text;
    EXPECT_EQ(FailureCodeNamed(row.text), row.code) << row.text;
  }
  EXPECT_EQ(texts, documented);
}

TEST(BatchWaitBack, ASlowModemIsAskedAgainEveryFiveSecondsUntilItAnswersOrTimeIsUp) {
  struct Case {
    Op op;
    long awayMs;   // how long the restarting modem stays silent
    int waitBack;  // seconds; 0: no --wait-back
    int code;
    int asked;     // times the modem was asked again
    std::string back = "5.2.0.12";  // the version it comes back with
  };
  for (const Case& c : {Case{Op::Reset, 58000, 120, 0, 7}, Case{Op::Reset, 58000, 0, 3, 0},
                        Case{Op::Reset, 600000, 20, 3, 4},
                        Case{Op::Upgrade, 58000, 120, 0, 7, "5.2.0.13"},
                        Case{Op::Upgrade, 58000, 120, 1, 7},  // back with the old image
                        Case{Op::Restore, 58000, 120, 0, 7, "5.2.0.11"}}) {
    SCOPED_TRACE(std::to_string(static_cast<int>(c.op)) + " " + c.back);
    Batch b;
    b.options.operation = c.op;
    b.options.waitBackSeconds = c.waitBack;
    b.options.restoreVersion = ModemVersion::FromDisplayForm("5.2.0.11");
    b.h.store("5_2_0_11");
    b.h.zing->onReset = [&b, c] {
      // Off the network once the order is out, as a restarting modem is.
      b.h.clock().schedule(1, [&b, c] {
        b.h.unplug();
        b.h.clock().schedule(c.awayMs, [&b, c] { b.h.plug(c.back); });
      });
    };
    EXPECT_EQ(b.run(), c.code);
    int asked = 0;
    for (auto at = b.out.str().find("Waiting for the modem to come back"); at != std::string::npos;
         at = b.out.str().find("Waiting for the modem to come back", at + 1))
      ++asked;
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(Has(b.out, "] Modem software version: " + c.back), c.code != 3);
    // Boxes of the queries that found it not back yet are no news once it
    // answers; an upgrade's release is not signed, which one line says.
    std::string boxes = b.err.str();
    const std::string notSigned = "so the release is not checked.\n";
    if (auto at = boxes.find(notSigned); at != std::string::npos) boxes.erase(0, at + notSigned.size());
    EXPECT_EQ(boxes.empty(), c.code == 0);
  }
}

// Modems come and go at one address: two are upgraded, one that already
// runs the new version is skipped, one that fails does not stop the line but
// its exit code, and Ctrl+C between modems ends the line.
// Each output line is a JSON object; a result names each file as it lies on
// both sides, as the history does.
TEST(BatchStation, UpgradesEachModemConnectedOneAfterTheOther) {
  Batch b;
  ASSERT_TRUE(b.parse({"--json", "--station", "upgrade"}));
  auto& clock = b.h.clock();
  const std::map<std::string, std::string> fresh = b.h.platform.ftp.files;
  // The first unit's MAC is known; the next one's is not (never the first's).
  auto& neighbours = b.h.platform.interfaces.neighbours;
  neighbours["127.0.0.1 "] = "02:00:5e:10:00:01";
  clock.schedule(60000, [&] { b.h.unplug(); });
  // The second fails before anything is sent: its backup is refused.
  clock.schedule(90000, [&] {
    b.h.platform.ftp.files = fresh;
    b.h.platform.ftp.loginOk = false;
    neighbours.clear();
    b.h.plug("5.2.0.11");
  });
  clock.schedule(160000, [&] { b.h.unplug(); });
  clock.schedule(190000, [&] { b.h.plug("5.2.0.13"); });
  // The operator presses Enter instead of unplugging the third modem: it is
  // taken for the next one, and skipped again.
  bool pressed = false;
  b.enterPressed = [&] {
    if (pressed || clock.nowMs() < 220000) return false;
    return pressed = true;
  };
  clock.schedule(260000, [&] { b.interrupts = 1; });
  // A station that never stops fails here instead of hanging.
  clock.schedule(600000, [] { throw std::runtime_error("the station did not stop"); });
  EXPECT_EQ(b.run(), 1);
  auto events = Events(b.out.str());
  std::vector<JsonValue> results;
  std::vector<std::string> waits;  // when a modem was taken for gone
  int skips = 0;
  for (const auto& e : events) {
    if (TextField(e, "event") == "result") results.push_back(e);
    skips += TextField(e, "text") == "The modem already runs 5.2.0.13: skipped.";
    if (TextField(e, "text") == "Waiting for a modem at 127.0.0.1...")
      waits.push_back(TextField(e, "time"));
  }
  EXPECT_EQ(skips, 2);
  // Taken for gone only 10 s after its last answer (the looks come every
  // second): waits at the start, after each unplugging, after Enter.
  ASSERT_EQ(waits.size(), 4u) << ::testing::PrintToString(waits);
  for (int i : {1, 2}) {
    EXPECT_GE(std::stol(waits[i]), i * 100000 - 31000) << waits[i];
    EXPECT_LT(std::stol(waits[i]), i * 100000 - 10000) << waits[i];
  }
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(TextField(results[1], "outcome"), "failed");
  EXPECT_EQ(TextField(results[0], "mac") + "|" + TextField(results[1], "mac"),
            "02:00:5e:10:00:01|");
  const JsonValue& r = results[0];
  for (auto [key, value] : {std::pair{"operation", "upgrade"}, {"outcome", "done"},
                             {"modem", Harness::kModem}, {"version_before", "5.2.0.12"},
                             {"version_after", "5.2.0.13"}})
    EXPECT_EQ(TextField(r, key), value) << key;
  EXPECT_EQ(r.get("exit_code")->asNumber(), 0);
  EXPECT_GE(r.get("duration_s")->asNumber(), 30.0);
  // "direction remote size sha256" of each file; the local copy holds the same bytes.
  auto row = [](const char* direction, const char* remote, const std::string& bytes) {
    return std::string(direction) + " " + remote + " " + std::to_string(bytes.size()) + " " +
           Sha(bytes);
  };
  std::vector<std::string> files;
  for (const auto& file : r.get("files")->asArray()) {
    std::ifstream local(TextField(file, "local"), std::ios::binary);
    EXPECT_EQ(Sha(std::string(std::istreambuf_iterator<char>(local), {})),
              TextField(file, "sha256"));
    files.push_back(TextField(file, "direction") + " " + TextField(file, "remote") + " " +
                    std::to_string(static_cast<long>(file.get("size")->asNumber())) + " " +
                    TextField(file, "sha256"));
  }
  const auto& ftp = b.h.platform.ftp.files;
  EXPECT_EQ(files, (std::vector<std::string>{
                       row("download", "/bin/kova.bin", fresh.at("/bin/kova.bin")),
                       row("download", "/checksum.txt", fresh.at("/checksum.txt")),
                       row("upload", "/bin/kova.bin", b.h.home.read("kova_5_2_0_13.bin")),
                       row("upload", "/checksum.txt", b.h.home.read("chk_5_2_0_13.txt"))}));
  EXPECT_EQ(ftp.at("/bin/kova.bin"), fresh.at("/bin/kova.bin"));  // the failed unit's
  ASSERT_EQ(TextField(events.back(), "event"), "summary");
  EXPECT_EQ(events.back().get("done")->asNumber(), 1);
  EXPECT_EQ(events.back().get("failed")->asNumber(), 1);
  EXPECT_EQ(events.back().get("skipped")->asNumber(), 2);
  // A skipped unit is on record too, for the line's report.
  EXPECT_EQ(HistoryRows(b.h),
            (std::vector<std::string>{"upgrade done 5.2.0.13", "upgrade failed 5.2.0.11",
                                      "upgrade skipped 5.2.0.13", "upgrade skipped 5.2.0.13"}));
  auto history = History(b.h);
  ASSERT_EQ(history.size(), 4u);
  // Each a row of its own in the records database, which keys rows by attempt.
  std::set<std::string> attempts;
  for (const auto& entry : history)
    if (!entry.attempt.empty()) attempts.insert(entry.attempt);
  EXPECT_EQ(attempts.size(), history.size());
  EXPECT_EQ(history[0].versionBefore, "5.2.0.12");
  EXPECT_EQ(history[0].modemMac + "|" + history[1].modemMac, "02:00:5e:10:00:01|");
  EXPECT_EQ(history[0].imageName, "kova_5_2_0_13.bin");
  EXPECT_EQ(history[0].imageSha256, Sha(b.h.home.read("kova_5_2_0_13.bin")));
  EXPECT_EQ(history[0].durationSeconds, r.get("duration_s")->asNumber());
}

// In text mode each unit's line says its seconds and phases, and the
// summary the station's pace. On an interface whose link can be read, a
// pulled cable is the unit gone at once, and nothing is asked without a
// link. The first Ctrl+C while a unit is under way lets it end, and the
// station takes no other.
TEST(BatchStation, EachUnitsTimeThePaceThePulledCableAndCtrlC) {
  const std::string waiting = "Waiting for a modem at 127.0.0.1...";
  const std::string unit = "[30665] Unit 1: done in 30.6 s (prepare 0.0 s, backup 0.2 s, upload "
                           "0.2 s, verify 0.2 s, restart 30.0 s, requery 0.0 s).";
  for (long stopMs : {60000, 10000}) {
    Batch b;
    ASSERT_TRUE(b.parse({"--station", "--interface", "eth1", "upgrade"}));
    auto& link = b.h.platform.interfaces.carriers["eth1"] = true;
    b.h.clock().schedule(45000, [&] {
      link = false;
      b.h.unplug();
    });
    std::size_t connects = 0;
    b.h.clock().schedule(46500, [&] { connects = b.h.platform.network.connectLog.size(); });
    b.h.clock().schedule(stopMs, [&] { b.interrupts = 1; });
    b.h.clock().schedule(300000, [] { throw std::runtime_error("the station did not stop"); });
    EXPECT_EQ(b.run(), 0);
    std::vector<std::string> lines;
    std::istringstream out(b.out.str());
    for (std::string line; std::getline(out, line);)
      for (const char* kind : {"] Unit ", "] Station:", "] Waiting", "] Stopping"})
        if (line.find(kind) != std::string::npos) lines.push_back(line);
    EXPECT_EQ(HistoryRows(b.h), (std::vector<std::string>{"upgrade done 5.2.0.13"}));
    if (stopMs == 10000) {
      EXPECT_EQ(lines, (std::vector<std::string>{
                           "[10] " + waiting,
                           "[10000] Stopping after this unit. Press Ctrl+C again to abandon it.",
                           unit, "[30665] Station: 1 done, 0 failed, 0 skipped; 117.4 units per "
                                 "hour, median 30.6 s per unit."}));
      continue;
    }
    EXPECT_EQ(b.h.platform.network.connectLog.size(), connects);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "[10] " + waiting, unit,
                         "[45815] " + waiting,  // within a second of the cable
                         "[60000] Station: 1 done, 0 failed, 0 skipped; 60.0 units per hour, "
                         "median 30.6 s per unit."}));
  }
}

// A unit that never came back from its restart leaves its PIC reflash
// undone: the next unit on the line gets its own, after its own upload.
TEST(BatchStation, AReflashLeftPendingIsNotTheNextUnits) {
  Batch b;
  ASSERT_TRUE(b.parse({"--station", "upgrade"}));
  b.h.home.write("pic.hex", ":00000001FF\n");
  const std::map<std::string, std::string> fresh = b.h.platform.ftp.files;
  const auto restartAsUsual = b.h.zing->onReset;
  b.h.zing->onReset = [&b] { b.h.clock().schedule(1, [&b] { b.h.unplug(); }); };
  std::size_t before = 0;
  b.h.clock().schedule(300000, [&] {
    b.h.platform.ftp.files = fresh;
    b.h.zing->onReset = restartAsUsual;
    before = b.h.console->lines.size();
    b.h.plug("5.2.0.12");
  });
  b.h.clock().schedule(500000, [&b] { b.interrupts = 1; });
  b.h.clock().schedule(900000, [] { throw std::runtime_error("the station did not stop"); });
  b.run();
  const Lines& console = b.h.console->lines;
  ASSERT_GT(console.size(), before);
  EXPECT_EQ(console[before], "mmi_prepare_for_download") << b.out.str();
  EXPECT_EQ(HistoryRows(b.h).back(), "upgrade done 5.2.0.13") << b.out.str();
}

// The time stamp of the first line holding text, -1 when none does.
long At(const std::ostringstream& s, const std::string& text) {
  const std::string all = s.str();
  const auto found = all.find(text);
  if (found == std::string::npos) return -1;
  const auto open = all.rfind('[', found);
  return open == std::string::npos ? -1 : std::stol(all.substr(open + 1));
}

// Another process holds the backup folder when the backup is whole: the
// upgrade never blocks on it. It tries every 200 ms, says after 2 s what it
// waits for, and stops after 60 s before anything is sent; a Ctrl+C ends
// the wait as any other.
TEST(BatchBackupFolder, AHeldFolderIsWaitedForWithoutBlockingAndWithinBounds) {
  const std::string note = "another upgrade is storing a backup of 5.2.0.12 in this folder (pid 77)";
  struct Case {
    long releaseMs;  // -1: never
    long interruptMs;
    int code;
    bool told;
  } cases[] = {{900, -1, 0, false}, {7000, -1, 0, true}, {-1, -1, 1, true}, {-1, 10000, 130, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.releaseMs);
    Batch b;
    ASSERT_TRUE(b.parse({"upgrade"}));
    std::filesystem::create_directories(b.h.home.path() / "Backup");
    Text error;
    auto held = std::make_unique<FolderLock>((b.h.home.path() / "Backup").string(), note, error);
    ASSERT_TRUE(*held) << error;
    if (c.releaseMs >= 0) b.h.clock().schedule(c.releaseMs, [&held] { held.reset(); });
    if (c.interruptMs >= 0) b.h.clock().schedule(c.interruptMs, [&b] { b.interrupts = 2; });
    EXPECT_EQ(b.run(), c.code);
    const long told = At(b.out, "Waiting for the backup folder: " + note);
    EXPECT_EQ(told >= 0, c.told) << b.out.str();
    // The backup was whole 2 s before the user was told.
    const long whole = told - 2000;
    bool sent = false;
    for (const auto& command : b.h.platform.ftp.log) sent |= command.rfind("PUT", 0) == 0;
    EXPECT_EQ(sent, c.code == 0);
    if (c.releaseMs > 2000) {
      const long upload = At(b.out, "Upgrading Satellite IP Modem with version");
      EXPECT_GE(upload, c.releaseMs) << b.out.str();
      EXPECT_LT(upload, c.releaseMs + 200 + b.h.platform.ftp.commandMs);
    }
    if (c.releaseMs < 0 && c.interruptMs < 0) {
      EXPECT_EQ(At(b.err, "The backup folder was not free within 60 seconds: " + note), whole + 60000)
          << b.err.str();
    }
    if (c.interruptMs >= 0) {
      EXPECT_LT(b.h.clock().nowMs(), c.interruptMs + 1000);
    }
    for (const auto& name : b.h.backups())  // nothing half-kept
      EXPECT_EQ(name.find(".pending"), std::string::npos) << name;
  }
}

// One station per interface, each a child process: their events passed on,
// a crashed one restarted (later when it died young), Ctrl+C passed to
// each once, one summary of all; a failed unit makes the exit code 1.
TEST(BatchStations, OneChildPerInterfaceRestartedWhenItDies) {
  for (bool json : {true, false}) {
    Stations s;
    s.options.json = json;
    const auto args = Args({"--batch", "--station", "--interface", "eth1,eth2", "upgrade"});
    s.platform.interfaces.reversePathFilters["eth2"] = 1;
    auto& started = s.platform.children;
    auto& clock = s.clock();
    auto child = [&](std::size_t i) { return &s.child(i); };
    const std::string result = R"({"event":"result","operation":"upgrade","outcome":"done",)"
                               R"("exit_code":0,"mac":"02:00:5e:10:00:01","interface":"eth1",)"
                               R"("version_before":"5.2.0.12","version_after":"5.2.0.13",)"
                               R"("duration_s":30})";
    clock.schedule(1000, [&] {
      child(0)->write(result);
      child(0)->write(R"({"event":"note","text":"The modem already runs 5.2.0.13: skipped.",)"
                      R"("skipped":true,"interface":"eth1"})");
      child(1)->write("[1000] hint: the modem refused the FTP login", true);
      // The station's own warning of its filter: told once, by the line.
      child(1)->write("[1000] warning: " + StrictReversePathWarning("eth2"), true);
    });
    clock.schedule(2000, [&] { child(1)->exit(9, true); });
    clock.schedule(9000, [&] {
      child(2)->write(R"({"event":"result","operation":"upgrade","outcome":"failed",)"
                      R"("exit_code":1,"interface":"eth2","duration_s":2})");
    });
    clock.schedule(10000, [&] { s.interrupts = 1; });
    clock.schedule(11000, [&] {
      for (std::size_t i : {0, 2}) {
        child(i)->write(R"({"event":"summary","done":0})");
        child(i)->exit(0);
      }
    });
    EXPECT_EQ(RunStations(s.platform, s.ui, s.options, args, "/usr/bin/kova-upgrader", s.interrupts),
              1);
    ASSERT_EQ(started.size(), 3u);
    EXPECT_EQ(started[2].arguments, Args({"--json", "--batch", "--station", "--interface", "eth2",
                                          "upgrade"}));
    for (std::size_t i : {0, 2}) EXPECT_EQ(started[i].interrupts, 1);
    EXPECT_TRUE(Has(s.err, "warning: eth2 drops replies")) << s.err.str();
    EXPECT_FALSE(Has(s.err, "eth2: [1000] warning: eth2 drops")) << s.err.str();
    EXPECT_TRUE(Has(s.err, "eth2: [1000] hint: the modem refused"));
    if (!json) {
      for (const char* line :
           {"[1000] eth1: upgrade done in 30.0 s, 5.2.0.12 -> 5.2.0.13, modem 02:00:5e:10:00:01\n",
            "[2000] Station eth2 crashed (process 5002, signal 9).\n",
            "[3000] Station eth2 started (process 5003).\n",
            "[11000] Stations: eth1 1 done, 0 failed, 1 skipped; eth2 0 done, 1 failed, 0 "
            "skipped; all 1 done, 1 failed, 1 skipped; 327.3 units per hour, median 30.0 s per "
            "unit.\n"})
        EXPECT_TRUE(Has(s.out, line)) << line << s.out.str();
      continue;
    }
    std::vector<std::string> seen;
    const auto events = Events(s.out.str());
    for (const auto& e : events)
      seen.push_back(TextField(e, "event") + " " +
                     (e.get("interface") ? TextField(e, "interface") + " " : "") +
                     (e.get("state") ? TextField(e, "state") : ""));
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "station eth1 started", "station eth2 started", "result eth1 ",
                        "note eth1 ", "station eth2 crashed", "station eth2 started",
                        "result eth2 ", "station eth1 ended", "station eth2 ended", "summary "}));
    EXPECT_EQ(events.back().get("interfaces")->get("eth1")->get("skipped")->asNumber(), 1);
  }
  // An interface that cannot be bound, or one named twice under two of its
  // names (an alternative name): no station starts.
  for (bool altname : {false, true}) {
    Stations s({"eth1", "eth9"});
    if (altname)
      s.platform.interfaces.indexes = {{"eth1", 4}, {"eth9", 4}};
    else
      s.platform.interfaces.bindProblems["eth9"] = "there is no interface eth9";
    EXPECT_EQ(RunStations(s.platform, s.ui, s.options, {}, "kova-upgrader", s.interrupts), 2);
    EXPECT_TRUE(s.platform.children.empty());
    EXPECT_TRUE(Has(s.err, altname ? "Cannot use the interfaces eth1 and eth9: they are one "
                                   "interface (index 4)."
                                 : "Cannot use the interface eth9"))
        << s.err.str();
  }
}

// A line left without stations ends at once with its summary (exit 2), a
// refused start counted as no unit; a station that keeps dying is started
// again ever later (1, 2, 4, 8 s) and given up at its fifth death within
// 2 minutes; one that dies in the middle of a unit fails that unit, in the
// summary and the history.
TEST(BatchStations, DeathsBackOffAndTheEndOfTheLine) {
  using Script = std::function<void(SimChildProcess&, SimLoop&)>;
  const Script refused = [](SimChildProcess& c, SimLoop&) {
    c.write(R"({"event":"result","operation":"upgrade","outcome":"failed","exit_code":2})");
    c.exit(2);
  };
  const Script crashes = [](SimChildProcess& c, SimLoop& clock) {
    clock.schedule(10, [&c] { c.exit(11, true); });
  };
  int starts = 0;
  const Script killedInUnit = [&starts](SimChildProcess& c, SimLoop& clock) {
    if (starts++ > 0) return;
    clock.schedule(1000, [&c] { c.write(R"({"event":"phase","name":"prepare"})"); });
    clock.schedule(2000, [&c] { c.exit(9, true); });
  };
  // Its interface became unusable in the middle of a unit: it stays down.
  const Script unusableInUnit = [](SimChildProcess& c, SimLoop& clock) {
    clock.schedule(1000, [&c] { c.write(R"({"event":"phase","name":"prepare"})"); });
    clock.schedule(2000, [&c] { c.exit(2); });
  };
  struct Case {
    std::string what;
    Script eth1;
    long interruptMs;  // -1: none
    int code;
    std::vector<std::string> lines;
    std::vector<std::string> history;
    int presses = 1;  // of Ctrl+C, at interruptMs
  } cases[] = {
      {"none left", refused, -1, 2,
       {"[0] Station eth1 ended (process 5001, exit code 2).",
        "[0] Stations: eth1 0 done, 0 failed, 0 skipped; eth2 0 done, 0 failed, 0 skipped;"},
       {}},
      {"crash loop", crashes, -1, 2,
       {"[10] Station eth1 crashed (process 5001, signal 11).",
        "[1010] Station eth1 started (process 5003).", "[3020] Station eth1 started (process 5004).",
        "[7030] Station eth1 started (process 5005).", "[15040] Station eth1 started (process 5006).",
        "[15050] Station eth1 ended (process 5006, signal 11): given up: it died 5 times within 2 "
        "minutes.",
        "[15050] Stations: "},
       {}},
      {"killed in a unit", killedInUnit, 5000, 1,
       {"[2000] eth1: upgrade failed in 1.0 s: the station died",
        "[2000] Station eth1 crashed (process 5001, signal 9).",
        "[3000] Station eth1 started (process 5003).",
        "] Stations: eth1 0 done, 1 failed, 0 skipped;"},
       {"upgrade failed  eth1"}},
      {"exit 2 in a unit", unusableInUnit, -1, 2,
       {"[2000] eth1: upgrade failed in 1.0 s: the station died",
        "[2000] Station eth1 ended (process 5001, exit code 2).",
        "] Stations: eth1 0 done, 1 failed, 0 skipped;"},
       {"upgrade failed  eth1"}},
      // Abandoned: the stations end what they do, the line exits as a shell expects.
      {"Ctrl+C twice", killedInUnit, 1500, 130, {"] Stations: "}, {"upgrade failed  eth1"}, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    starts = 0;
    Stations s;
    TempDir home;
    const std::string history = (home.path() / "history.jsonl").string();
    auto& clock = s.clock();
    std::map<std::string, SimChildProcess*> latest;  // an earlier one is gone
    s.platform.onChildStarted = [&](SimChildProcess& child) {
      const std::string name = child.arguments().at(4);
      latest[name] = &child;
      (name == "eth1" ? c.eth1 : refused)(child, clock);
    };
    if (c.interruptMs >= 0) {
      clock.schedule(c.interruptMs, [&] { s.interrupts = c.presses; });
      clock.schedule(c.interruptMs + 100, [&] {
        for (auto& [name, child] : latest)
          if (child->running) child->exit(0);
      });
    }
    clock.schedule(600000, [] { throw std::runtime_error("the supervisor did not end"); });
    const std::string queue = home.str() + "/records-queue-supervisor.jsonl";
    EXPECT_EQ(RunStations(s.platform, s.ui, s.options,
                          {"--batch", "--station", "--interface", "eth1,eth2", "upgrade"},
                          "kova-upgrader", s.interrupts, history, "192.168.128.100", queue),
              c.code);
    for (const auto& line : c.lines) EXPECT_TRUE(Has(s.out, line)) << line << "\n" << s.out.str();
    std::vector<std::string> rows;
    for (const auto& e : ReadHistory(history).entries) {
      rows.push_back(e.operation + " " + e.outcome + " " + e.versionAfter + " " + e.interfaceName);
      EXPECT_EQ(e.attempt.size(), 36u) << "every attempt on record has its id";
    }
    EXPECT_EQ(rows, c.history);
    // What the history got waits for the records database too, by its station.
    EXPECT_EQ(ReadHistory(queue).entries, ReadHistory(history).entries);
    for (const auto& e : ReadHistory(queue).entries) EXPECT_EQ(e.station, "fieldpc");
  }
}

// The JSON stream of a whole upgrade, line by line where it says how far
// the operation is: each phase as it begins, each file four times a second
// at most and once whole, and the time of each phase in the result. Bound
// to an interface: every connection goes out through it, every line names
// it, the result and the history carry the modem's MAC.
TEST(BatchJson, PhasesAndTransfersOfAnUpgradeThroughAnInterface) {
  Batch b;
  ASSERT_TRUE(b.parse({"--json", "--interface", "eth1", "upgrade"}));
  b.h.platform.interfaces.neighbours["127.0.0.1 eth1"] = "02:00:5e:10:00:01";
  b.h.platform.interfaces.reversePathFilters["eth1"] = 1;
  b.h.home.write("kova_5_2_0_13.bin", "KOVA-IMAGE 5.2.0.13\n" + std::string((1 << 20) - 20, 'k'));
  b.h.platform.ftp.commandMs = 1000;
  EXPECT_EQ(b.run(), 0);
  std::vector<std::string> lines;
  const JsonValue* phases = nullptr;
  std::string phase;
  const auto events = Events(b.out.str());
  for (const auto& e : events) {
    const std::string event = TextField(e, "event");
    EXPECT_EQ(TextField(e, "interface"), "eth1") << event;
    if (event == "phase") lines.push_back("phase " + TextField(e, "name"));
    if (event == "phase") phase = TextField(e, "name");
    // The backup under the names it is kept by, never a temporary's.
    if (event == "transfer" && phase == "backup") {
      EXPECT_EQ(
          TextField(e, "local"),
          (b.h.home.path() / "Backup" /
           (TextField(e, "remote") == "/bin/kova.bin" ? "kova_5_2_0_12.bin" : "chk_5_2_0_12.txt"))
              .string());
    }
    if (event == "transfer")
      lines.push_back(TextField(e, "direction") + " " + TextField(e, "remote") + " " +
                      std::to_string(static_cast<long>(e.get("bytes")->asNumber())) + "/" +
                      std::to_string(static_cast<long>(e.get("total")->asNumber())));
    if (event == "result") {
      phases = e.get("phases");
      // The image the modem holds, as read back.
      EXPECT_EQ(TextField(e, "modem_holds"), "new-image");
      EXPECT_TRUE(e.get("reason_code") && e.get("reason_code")->isNull());
      EXPECT_EQ(TextField(e, "verified_sha256"), Sha(b.h.home.read("kova_5_2_0_13.bin")));
      EXPECT_EQ(TextField(e, "mac"), "02:00:5e:10:00:01");
    }
  }
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "phase prepare", "phase backup", "download /bin/kova.bin 2/29",
                       "download /bin/kova.bin 11/29", "download /bin/kova.bin 20/29",
                       "download /bin/kova.bin 29/29", "download /checksum.txt 1/17",
                       "download /checksum.txt 6/17", "download /checksum.txt 11/17",
                       "download /checksum.txt 17/17", "phase upload",
                       "upload /bin/kova.bin 104857/1048576", "upload /bin/kova.bin 419430/1048576",
                       "upload /bin/kova.bin 734003/1048576", "upload /bin/kova.bin 1048576/1048576",
                       "upload /checksum.txt 1/17", "upload /checksum.txt 6/17",
                       "upload /checksum.txt 11/17", "upload /checksum.txt 17/17", "phase verify",
                       "download /bin/kova.bin 104857/1048576",
                       "download /bin/kova.bin 419430/1048576",
                       "download /bin/kova.bin 734003/1048576",
                       "download /bin/kova.bin 1048576/1048576", "download /checksum.txt 1/17",
                       "download /checksum.txt 6/17", "download /checksum.txt 11/17",
                       "download /checksum.txt 17/17", "phase restart", "phase requery"}));
  ASSERT_TRUE(phases && phases->isObject());
  std::vector<std::string> timed;
  for (const auto& [name, seconds] : phases->asObject())
    timed.push_back(name + " " + std::to_string(seconds.asNumber()).substr(0, 4));
  EXPECT_EQ(timed, (std::vector<std::string>{"prepare 0.03", "backup 2.00", "upload 2.00",
                                             "verify 2.00", "restart 30.0", "requery 0.01"}));
  EXPECT_TRUE(Has(b.err, "warning: eth1 drops replies that the routing table expects"))
      << b.err.str();
  for (const auto& c : b.h.platform.network.connectLog) EXPECT_NE(c.find(" via eth1"), c.npos) << c;
  for (const auto& c : b.h.platform.ftp.log) EXPECT_NE(c.find(" via eth1"), c.npos) << c;
  auto history = History(b.h);
  ASSERT_EQ(history.size(), 1u);
  EXPECT_EQ(history[0].modemMac + " " + history[0].interfaceName, "02:00:5e:10:00:01 eth1");
}
