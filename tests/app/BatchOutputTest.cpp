// Batch mode for scripts and production lines: the JSON stream, the upgrade
// history, verify, the wait for a slow modem and station mode, each against
// a whole simulated modem.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "core/JsonLine.h"
#include "core/Sha256.h"
#include "core/UpgradeHistory.h"
#include "at/ModemAddressDialog.h"
#include "sim/ConsoleBatch.h"

namespace {
using Op = BatchOptions::Operation;

std::string Sha(const std::string& bytes) {
  Sha256 sha;
  sha.update(bytes.data(), bytes.size());
  return sha.hexDigest();
}

// Every line of the stream, parsed; fails the test on a line that is no
// JSON object with an event.
std::vector<JsonValue> Events(const std::string& out) {
  std::vector<JsonValue> events;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    auto value = ParseJson(line);
    EXPECT_TRUE(value && value->isObject() && value->get("event")) << line;
    if (value) events.push_back(*value);
  }
  return events;
}

std::string Text(const JsonValue& object, const char* key) {
  const JsonValue* v = object.get(key);
  return v && v->isString() ? v->asString() : "(missing)";
}

// The modem leaves the network (restarting, or unplugged) and comes back.
void Unplug(WorkflowModem& h) {
  h.unplugZing();
  h.unplugFtpPort();
  h.platform.network.unlisten(Harness::kModem, h.settings.telnetPort);
  h.platform.ftp.reachable = false;
}
void Plug(WorkflowModem& h, const std::string& version) {
  h.zing->versionText = version + ",build 7";
  h.platform.network.listen(Harness::kModem, h.settings.zingPort, h.zing);
  h.platform.network.listen(Harness::kModem, h.settings.ftpPort, h.ftpPort);
  h.platform.network.listen(Harness::kModem, h.settings.telnetPort, h.console);
  h.platform.ftp.reachable = true;
}

std::vector<HistoryEntry> History(WorkflowModem& h) {
  return ReadHistory((h.home.path() / "Backup" / "history.jsonl").string()).entries;
}
}  // namespace

TEST(BatchJson, AWholeUpgradeIsOneValidObjectPerLineEndingInATrueResult) {
  Batch b;
  b.options.operation = Op::Upgrade;
  b.options.json = true;
  b.h.zing->afterReset = "5.2.0.13,build 1";
  const std::string oldImage = b.h.platform.ftp.files["/bin/kova.bin"];
  const std::string oldChecksum = b.h.platform.ftp.files["/checksum.txt"];
  ASSERT_EQ(b.run(), 0);
  auto events = Events(b.out.str());
  ASSERT_FALSE(events.empty());
  for (const auto& e : events) {
    const std::string kind = Text(e, "event");
    EXPECT_TRUE(kind == "status" || kind == "progress" || kind == "box" || kind == "note" ||
                kind == "result")
        << kind;
  }
  const JsonValue& r = events.back();
  ASSERT_EQ(Text(r, "event"), "result");
  EXPECT_EQ(Text(r, "operation"), "upgrade");
  EXPECT_EQ(Text(r, "outcome"), "done");
  EXPECT_EQ(r.get("exit_code")->asNumber(), 0);
  EXPECT_EQ(Text(r, "modem"), Harness::kModem);
  EXPECT_EQ(Text(r, "version_before"), "5.2.0.12");
  EXPECT_EQ(Text(r, "version_after"), "5.2.0.13");
  EXPECT_GE(r.get("duration_s")->asNumber(), 30.0);
  // Each file as it lies on both sides.
  const auto& ftp = b.h.platform.ftp.files;
  struct Moved {
    const char* direction;
    const char* remote;
    std::string bytes;
  };
  const std::vector<Moved> expected = {
      {"download", "/bin/kova.bin", oldImage},
      {"download", "/checksum.txt", oldChecksum},
      {"upload", "/bin/kova.bin", ftp.at("/bin/kova.bin")},
      {"upload", "/checksum.txt", ftp.at("/checksum.txt")},
  };
  const auto& files = r.get("files")->asArray();
  ASSERT_EQ(files.size(), expected.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Text(files[i], "direction"), expected[i].direction);
    EXPECT_EQ(Text(files[i], "remote"), expected[i].remote);
    EXPECT_EQ(files[i].get("size")->asNumber(), static_cast<double>(expected[i].bytes.size()));
    EXPECT_EQ(Text(files[i], "sha256"), Sha(expected[i].bytes));
    std::ifstream local(Text(files[i], "local"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(local), {}), expected[i].bytes);
  }
  EXPECT_EQ(ftp.at("/bin/kova.bin"), b.h.home.read("kova_5_2_0_13.bin"));
  // The history has it too.
  auto history = History(b.h);
  ASSERT_EQ(history.size(), 1u);
  EXPECT_EQ(history[0].operation, "upgrade");
  EXPECT_EQ(history[0].outcome, "done");
  EXPECT_EQ(history[0].versionBefore, "5.2.0.12");
  EXPECT_EQ(history[0].versionAfter, "5.2.0.13");
  EXPECT_EQ(history[0].imageName, "kova_5_2_0_13.bin");
  EXPECT_EQ(history[0].imageSha256, Sha(b.h.home.read("kova_5_2_0_13.bin")));
}

// A failed upgrade and a restore after a power cut cut the last line short:
// both are recorded, and the history shows them with a warning.
TEST(BatchHistory, FailuresAndRestoresAreRecordedPastADamagedLine) {
  Batch b;
  b.h.home.write("Backup/history.jsonl", "{\"time\":\"2026-12-0");
  b.h.store("5_2_0_11");
  b.options.operation = Op::Upgrade;
  b.h.platform.ftp.loginOk = false;
  EXPECT_EQ(b.run(), 1);
  b.h.platform.ftp.loginOk = true;
  b.h.zing->afterReset = "5.2.0.11,build 3";
  b.options.operation = Op::Restore;
  b.options.restoreVersion = "5.2.0.11";
  EXPECT_EQ(b.run(), 0);

  auto history = History(b.h);
  ASSERT_EQ(history.size(), 2u);
  EXPECT_EQ(history[0].operation, "upgrade");
  EXPECT_EQ(history[0].outcome, "failed");
  EXPECT_EQ(history[1].operation, "restore");
  EXPECT_EQ(history[1].outcome, "done");
  EXPECT_EQ(history[1].versionAfter, "5.2.0.11");
  EXPECT_EQ(history[1].imageName, "kova_5_2_0_11.bin");

  for (bool json : {false, true}) {
    b.out.str("");
    b.err.str("");
    b.options = BatchOptions{};
    b.options.operation = Op::History;
    b.options.json = json;
    EXPECT_EQ(b.run(), 0);
    EXPECT_NE(b.err.str().find("line 1 of"), std::string::npos) << b.err.str();
    if (json) {
      std::istringstream lines(b.out.str());
      std::vector<std::string> operations;
      for (std::string line; std::getline(lines, line);) {
        auto v = ParseJson(line);
        ASSERT_TRUE(v && v->isObject()) << line;
        operations.push_back(Text(*v, "operation"));
      }
      EXPECT_EQ(operations, (std::vector<std::string>{"upgrade", "restore"}));
    } else {
      EXPECT_NE(b.out.str().find("restore"), std::string::npos) << b.out.str();
    }
  }
}

TEST(BatchVerify, ComparesTheModemsImageAndLeavesNothingBehind) {
  struct Case {
    const char* what;
    std::string onModem;
    std::string version;  // "" : the new image
    int code;
    const char* verdict;
  };
  const std::vector<Case> cases = {
      {"the new image", "KOVA-IMAGE 5.2.0.13\nimage bytes", "", 0, "] match\n"},
      {"another image", "KOVA-IMAGE 5.2.0.12\nold image", "", 1, "] differs\n"},
      {"a backup", "KOVA-IMAGE 5_2_0_11", "5.2.0.11", 0, "] match\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Batch b;
    b.h.store("5_2_0_11");
    b.h.platform.ftp.files["/bin/kova.bin"] = c.onModem;
    b.options.operation = Op::Verify;
    b.options.verifyVersion = c.version;
    EXPECT_EQ(b.run(), c.code);
    EXPECT_NE(b.out.str().find(c.verdict), std::string::npos) << b.out.str();
    EXPECT_NE(b.out.str().find("] modem     " + Sha(c.onModem)), std::string::npos);
    EXPECT_EQ(b.h.platform.ftp.files["/bin/kova.bin"], c.onModem);
    std::vector<std::string> backup;
    for (auto& e : std::filesystem::directory_iterator(b.h.home.path() / "Backup"))
      backup.push_back(e.path().filename().string());
    std::sort(backup.begin(), backup.end());
    EXPECT_EQ(backup, (std::vector<std::string>{"chk_5_2_0_11.txt", "kova_5_2_0_11.bin"}));
    EXPECT_TRUE(History(b.h).empty());  // nothing changed on the modem
  }
}

TEST(BatchWaitBack, ASlowModemIsAskedAgainUntilItAnswersOrTimeIsUp) {
  struct Case {
    long awayMs;      // how long the restarting modem stays silent
    int waitBack;     // seconds; 0: no --wait-back
    int code;
  };
  for (const Case& c : {Case{60000, 120, 0}, Case{60000, 0, 3}, Case{600000, 20, 3}}) {
    SCOPED_TRACE(c.waitBack);
    Batch b;
    b.options.operation = Op::Reset;
    b.options.waitBackSeconds = c.waitBack;
    b.h.zing->onReset = [&b, c] {
      // Off the network once the order is out, as a restarting modem is.
      b.h.clock().schedule(1, [&b, c] {
        Unplug(b.h);
        b.h.clock().schedule(c.awayMs, [&b] { Plug(b.h, "5.2.0.12"); });
      });
    };
    EXPECT_EQ(b.run(), c.code);
    EXPECT_EQ(b.out.str().find("Waiting for the modem to come back") != std::string::npos,
              c.waitBack > 0);
    EXPECT_EQ(b.out.str().find("] Modem software version: 5.2.0.12") != std::string::npos,
              c.code == 0);
  }
}

// Modems come and go at one address: two are upgraded, one that already
// runs the new version is skipped, and Ctrl+C between modems ends the line.
TEST(BatchStation, UpgradesEachModemConnectedOneAfterTheOther) {
  Batch b;
  b.options.operation = Op::Upgrade;
  b.options.station = true;
  b.options.json = true;
  b.h.zing->afterReset = "5.2.0.13,build 1";
  auto& clock = b.h.clock();
  const std::map<std::string, std::string> fresh = b.h.platform.ftp.files;
  clock.schedule(60000, [&] { Unplug(b.h); });
  clock.schedule(90000, [&] {
    b.h.platform.ftp.files = fresh;
    Plug(b.h, "5.2.0.12");
  });
  clock.schedule(160000, [&] { Unplug(b.h); });
  clock.schedule(190000, [&] { Plug(b.h, "5.2.0.13"); });
  // The operator presses Enter instead of unplugging the third modem: it is
  // taken for the next one, and skipped again.
  bool pressed = false;
  b.enterPressed = [&] {
    if (pressed || clock.nowMs() < 220000) return false;
    return pressed = true;
  };
  clock.schedule(260000, [&] { b.interrupts = 1; });
  EXPECT_EQ(b.run(), 0);
  auto events = Events(b.out.str());
  std::vector<std::string> results;
  for (const auto& e : events)
    if (Text(e, "event") == "result") results.push_back(Text(e, "outcome"));
  EXPECT_EQ(results, (std::vector<std::string>{"done", "done"}));
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(Text(events.back(), "event"), "summary");
  EXPECT_EQ(events.back().get("done")->asNumber(), 2);
  EXPECT_EQ(events.back().get("skipped")->asNumber(), 2);
  EXPECT_EQ(History(b.h).size(), 2u);
}

// The window records its own operations once each has ended whole: the
// upgrade after its re-query, the address change at once.
TEST(WindowHistory, EachOperationThatChangesTheModemIsRecordedOnceItEnded) {
  WorkflowModem h;
  h.zing->afterReset = "5.2.0.13,build 1";
  h.ui().modalScripts["UpdateModemIP"] = [](Form& form) {
    static_cast<ModemAddressDialog&>(form).cmdUpdate.click();
  };
  h.start();
  h.f().cmdUpgrade.click();
  EXPECT_TRUE(History(h).empty());  // the reset and re-query are still to come
  h.settle();
  h.advance(200);
  h.f().cmdSetModemIP.click();
  h.advance(200);
  h.f().cmdGetSoftwareVersion.click();  // reads, changes nothing
  h.settle();
  h.advance(200);
  auto history = History(h);
  ASSERT_EQ(history.size(), 2u);
  EXPECT_EQ(history[0].operation, "upgrade");
  EXPECT_EQ(history[0].outcome, "done");
  EXPECT_EQ(history[0].versionAfter, "5.2.0.13");
  EXPECT_EQ(history[0].modemAddress, Harness::kModem);
  EXPECT_GE(history[0].durationSeconds, 30.0);
  EXPECT_EQ(history[1].operation, "address");
  EXPECT_EQ(history[1].modemAddress, "192.168.128.100");
}

// A history that cannot be written is a warning, never a failed operation.
TEST(BatchHistory, AnUnwritableHistoryOnlyWarns) {
  Batch b;
  std::filesystem::create_directories(b.h.home.path() / "Backup" / "history.jsonl");
  b.options.operation = Op::Reset;
  EXPECT_EQ(b.run(), 0);
  EXPECT_NE(b.err.str().find("The upgrade history could not be written."), std::string::npos)
      << b.err.str();
}
