// A production line's own views: the report over its records, the unit's
// identity flags, the line stop and the program run after each unit.
#include <gtest/gtest.h>

#include <map>

#include "app/StationSupervisor.h"
#include "sim/ConsoleBatch.h"

namespace {

bool Has(const std::string& all, const std::string& text) {
  return all.find(text) != std::string::npos;
}

// Units of two stations over two days, in the forms the history has held:
// a line of an older run (no station, MAC or interface), a damaged line,
// an upload that never ended, a skipped unit, a station name a CSV reader
// must get whole, an operation that is no unit.
const char* const kHistory =
    R"({"time":"2026-12-08T06:00:00Z","modem":"127.0.0.1","mac":"02:00:00:00:00:01","interface":"eth1","station":"pc-a","operation":"upgrade","version_before":"5.2.0.12","version_after":"5.2.0.13","image":null,"outcome":"done","duration_s":100})"
    "\n"
    R"({"time":"2026-12-08T06:10:00Z","modem":"127.0.0.1","operation":"reset","version_before":"5.2.0.13","version_after":"5.2.0.13","image":null,"outcome":"done","duration_s":31})"
    "\n"
    R"({"time":"2026-12-08T06:30:00Z","modem":"127.0.0.1","operation":"upgrade","version_before":"5.2.0.12","version_after":"5.2.0.12","image":null,"outcome":"failed","duration_s":20})"
    "\n"
    R"({"time":"2026-12-08T06:40:00Z","modem")"
    "\n"
    R"({"time":"2026-12-08T07:00:00Z","modem":"127.0.0.1","mac":"02:00:00:00:00:01","interface":"eth2","station":"pc, \"b\"","operation":"upgrade","version_before":"5.2.0.12","version_after":"5.2.0.13","image":null,"outcome":"done","duration_s":60})"
    "\n"
    R"({"time":"2026-12-08T07:10:00Z","modem":"127.0.0.1","mac":"02:00:00:00:00:02","interface":"eth2","station":"pc-b","operation":"upgrade","version_before":"5.2.0.12","version_after":"","image":{"name":"kova_5_2_0_13.bin","size":9,"sha256":"ab"},"outcome":"began","duration_s":0,"attempt":"u1"})"
    "\n"
    R"({"time":"2026-12-08T07:20:00Z","modem":"127.0.0.1","mac":"02:00:00:00:00:03","interface":"eth2","station":"pc-b","operation":"upgrade","version_before":"5.2.0.12","version_after":"5.2.0.12","image":null,"outcome":"failed","duration_s":30,"reason_code":"ftp-timeout"})"
    "\n"
    R"({"time":"2026-12-08T08:00:00Z","modem":"127.0.0.1","mac":"02:00:00:00:00:04","interface":"eth1","station":"pc-a","operation":"upgrade","version_before":"5.2.0.13","version_after":"5.2.0.13","image":null,"outcome":"skipped","duration_s":0})"
    "\n"
    R"({"time":"2026-12-10T00:00:00Z","modem":"127.0.0.1","mac":"02:00:00:00:00:06","interface":"eth2","station":"pc-b","operation":"upgrade","version_before":"5.2.0.12","version_after":"","image":{"name":"kova_5_2_0_13.bin","size":9,"sha256":"ab"},"outcome":"began","duration_s":0,"attempt":"c1"})"
    "\n"
    R"({"time":"2026-12-10T00:00:00Z","modem":"127.0.0.1","mac":"02:00:00:00:00:07","interface":"eth2","station":"pc-b","operation":"upgrade","version_before":"5.2.0.12","version_after":"5.2.0.13","image":null,"outcome":"done","duration_s":40,"attempt":"c1"})"
    "\n"
    R"({"time":"2026-12-09T00:00:10Z","modem":"127.0.0.1","mac":"02:00:00:00:00:05","interface":"eth1","station":"pc-a","operation":"upgrade","version_before":"5.2.0.12","version_after":"5.2.0.13","image":null,"outcome":"done","duration_s":80})"
    "\n";
}  // namespace

TEST(LineReport, TotalsBreakdownsBoundsAndForms) {
  struct Row {
    std::vector<std::string> args;
    std::vector<std::string> lines;  // each in the output
  };
  const Row rows[] = {
      {{"report"},
       {"Units from the first record to the last: 4 done, 3 failed, 1 skipped; yield 57.1 %; "
        "0.1 units per hour, median 70.0 s per unit.\n",
        // Named by neither station nor interface: the line of the older run.
        "\n-           0       1        0    0.0 %      0.0   0.0 s\n",
        "\npc, \"b\"     1       0        0  100.0 %     60.0  60.0 s\n",
        "\n2026-12-08T07:00     1       2        0   33.3 %      2.9   60.0 s\n",
        "\nftp-timeout         1\nunfinished          1\nunknown             1\n",
        "\n02:00:00:00:00:01            2     2       0        0\n"}},
      {{"report", "--until", "2026-12-08"},
       {"Units from the first record to 2026-12-08T23:59:59Z: 2 done, 3 failed, 1 skipped; "
        "yield 40.0 %; 1.0 units per hour, median 80.0 s per unit.\n"}},
      {{"report", "--since", "2026-12-08T07:00", "--until", "2026-12-08T07:59:59Z"},
       {"Units from 2026-12-08T07:00:00Z to 2026-12-08T07:59:59Z: 1 done, 2 failed, 0 skipped; "
        "yield 33.3 %; 2.9 units per hour, median 60.0 s per unit.\n"}},
      {{"report", "--csv", "--until", "2026-12-08"},
       {"section,name,done,failed,skipped,yield,units_per_hour,median_s,units\n"
        "total,,2,3,1,0.4000,1.00,80.0,6\n",
        "\nstation,,0,1,0,0.0000,0.00,0.0,1\n", "\nstation,\"pc, \"\"b\"\"\",1,0,0,1.0000,60.00,60.0,1\n",
        "\nhour,2026-12-08T07:00,1,2,0,0.3333,2.93,60.0,3\n", "\nreason,unfinished,,,,,,,1\n",
        "\nduplicate,02:00:00:00:00:01,2,0,0,1.0000,1.97,80.0,2\n"}},
  };
  for (const auto& row : rows) {
    Batch b;
    b.h.home.write("Backup/history.jsonl", kHistory);
    ASSERT_TRUE(b.parse(row.args));
    EXPECT_EQ(b.run(), 0);
    for (const auto& line : row.lines)
      EXPECT_TRUE(Has(b.out.str(), line)) << "missing:\n" << line << "in:\n" << b.out.str();
    EXPECT_TRUE(Has(b.err.str(), "line 4 of ")) << b.err.str();
  }
  // A name a spreadsheet would run as a formula stays text.
  {
    Batch b;
    std::string line = kHistory;
    line = line.substr(0, line.find('\n') + 1);
    line.replace(line.find("pc-a"), 4, "=cmd|' /C calc'!A0");
    b.h.home.write("Backup/history.jsonl", line);
    ASSERT_TRUE(b.parse({"report", "--csv"}));
    EXPECT_EQ(b.run(), 0);
    EXPECT_TRUE(Has(b.out.str(), "\nstation,'=cmd|' /C calc'!A0,1,")) << b.out.str();
  }
  // JSON: one object, a station unknown as null.
  Batch b;
  b.h.home.write("Backup/history.jsonl", kHistory);
  ASSERT_TRUE(b.parse({"report", "--json"}));
  EXPECT_EQ(b.run(), 0);
  auto events = Events(b.out.str());
  ASSERT_EQ(events.size(), 1u);
  const JsonValue& report = events[0];
  EXPECT_EQ(report.get("total")->get("failed")->asNumber(), 3);
  EXPECT_EQ(report.get("total")->get("yield")->asNumber(), 0.571);
  ASSERT_EQ(report.get("mac_changed")->asArray().size(), 1u);
  EXPECT_EQ(TextField(report.get("mac_changed")->asArray()[0], "mac_before"), "02:00:00:00:00:06");
  EXPECT_TRUE(report.get("stations")->asArray().at(0).get("station")->isNull());
  std::map<std::string, double> reasons;
  for (const auto& r : report.get("reasons")->asArray())
    reasons[TextField(r, "reason_code")] = r.get("units")->asNumber();
  EXPECT_EQ(reasons, (std::map<std::string, double>{
                         {"ftp-timeout", 1}, {"unfinished", 1}, {"unknown", 1}}));
  ASSERT_EQ(report.get("duplicates")->asArray().size(), 1u);
  EXPECT_EQ(TextField(report.get("duplicates")->asArray()[0], "mac"), "02:00:00:00:00:01");
}

namespace {
// A station where Enter is pressed after each unit, so the same modem is
// taken again: each unit ends as outcomes says (D done, F failed), then
// Ctrl+C. The modem's MAC is known.
struct Line {
  Batch b;
  std::map<std::string, std::string> fresh;
  std::size_t units = 0;

  int run(const std::string& outcomes, std::vector<std::string> options) {
    options.insert(options.begin(), {"--station", "upgrade"});
    EXPECT_TRUE(b.parse(options));
    b.h.platform.interfaces.neighbours["127.0.0.1 "] = "02:00:5e:10:00:01";
    fresh = b.h.platform.ftp.files;
    auto prepare = [this, outcomes] {
      b.h.platform.ftp.files = fresh;
      b.h.zing->versionText = "5.2.0.12,build 7";
      b.h.platform.ftp.loginOk = outcomes.at(units) == 'D';
    };
    prepare();
    b.enterPressed = [this, outcomes, prepare] {
      if (++units >= outcomes.size()) {
        b.interrupts = 1;
        return false;
      }
      prepare();
      return true;
    };
    b.h.clock().schedule(3600000, [] { throw std::runtime_error("the station did not stop"); });
    return b.run();
  }
};
}  // namespace

// Each rule stops the line exactly at its threshold and not one unit before.
TEST(LineStop, AtTheThresholdAndNotBelow) {
  struct Row {
    std::vector<std::string> options;
    std::string outcomes;
    std::string stop;  // "" for none
  };
  const Row rows[] = {
      {{"--stop-after-failures", "3"}, "FFFF", "3 units failed in a row (--stop-after-failures 3)"},
      {{"--stop-after-failures", "3"}, "FFDFF", ""},
      {{"--max-failure-rate", "2/3"}, "FDFF", "2 of the last 3 units failed (--max-failure-rate 2/3)"},
      {{"--max-failure-rate=2/3"}, "FDDF", ""},
  };
  for (const auto& row : rows) {
    Line line;
    EXPECT_EQ(line.run(row.outcomes, row.options), 1);
    const std::string out = line.b.out.str();
    const std::size_t units = row.stop.empty() ? row.outcomes.size() : 3;
    EXPECT_TRUE(Has(out, "Unit " + std::to_string(units) + ": ")) << out;
    EXPECT_FALSE(Has(out, "Unit " + std::to_string(units + 1) + ": ")) << out;
    EXPECT_EQ(Has(out, "] Line stopped: " + row.stop + ".\n"), !row.stop.empty()) << out;
    if (!row.stop.empty()) {
      EXPECT_TRUE(Has(out, " Stopped: " + row.stop + ".\n")) << out;
    }
  }
}

// The same modem twice in a run, and a MAC that differs after the restart,
// are flagged in the unit's line and its event; the program after each unit
// gets the unit in its environment, and its end is recorded: its exit code
// and output, or its end at the time limit, which the station's end waits
// for no longer.
TEST(UnitIdentityAndHook, FlagsEnvironmentExitStatusAndTimeLimit) {
  // A program that never ends holds up no unit: the next one ends when it
  // would without it.
  std::string secondUnit[2];
  for (bool hook : {false, true}) {
    Line line;
    EXPECT_EQ(line.run("DD", hook ? std::vector<std::string>{"--on-unit", "/opt/line/label"}
                                  : std::vector<std::string>{}),
              0);
    const std::string out = line.b.out.str();
    EXPECT_TRUE(Has(out, ". The same modem (02:00:5e:10:00:01) as unit 1.\n")) << out;
    const auto at = out.find("] Unit 2: done");
    ASSERT_NE(at, std::string::npos) << out;
    secondUnit[hook] = out.substr(out.rfind('[', at), at - out.rfind('[', at));
  }
  EXPECT_EQ(secondUnit[1], secondUnit[0]);
  enum class Plays { Prints, Fails, Hangs };
  for (Plays plays : {Plays::Prints, Plays::Fails, Plays::Hangs}) {
    Batch b;
    ASSERT_TRUE(b.parse({"--station", "upgrade", "--json", "--on-unit", "/opt/line/label",
                         "--on-unit-timeout", "5"}));
    auto& neighbours = b.h.platform.interfaces.neighbours;
    neighbours["127.0.0.1 "] = "02:00:5e:10:00:01";
    // Another unit answers after the restart.
    b.h.clock().schedule(15000, [&] { neighbours["127.0.0.1 "] = "02:00:5e:10:00:99"; });
    long hookStarted = -1;
    b.h.platform.onChildStarted = [&](SimChildProcess& hook) {
      hookStarted = b.h.clock().nowMs();
      if (plays == Plays::Hangs) return;
      hook.write("label printed");
      hook.exit(plays == Plays::Prints ? 0 : 3);
    };
    // Between two modems, before the program's limit.
    b.h.clock().schedule(32000, [&] { b.interrupts = 1; });
    b.h.clock().schedule(600000, [] { throw std::runtime_error("the station did not stop"); });
    EXPECT_EQ(b.run(), 0);
    ASSERT_EQ(b.h.platform.children.size(), 1u);
    const auto& started = b.h.platform.children[0];
    EXPECT_EQ(started.program, "/opt/line/label");
    EXPECT_TRUE(started.arguments.empty());
    std::map<std::string, std::string> environment(started.environment.begin(),
                                                   started.environment.end());
    for (auto [name, value] :
         {std::pair{"KOVA_UNIT_NUMBER", "1"}, {"KOVA_UNIT_OUTCOME", "done"},
          {"KOVA_UNIT_MAC", "02:00:5e:10:00:01"}, {"KOVA_UNIT_MAC_AFTER", "02:00:5e:10:00:99"},
          {"KOVA_UNIT_MAC_CHANGED", "1"}, {"KOVA_UNIT_VERSION_BEFORE", "5.2.0.12"},
          {"KOVA_UNIT_VERSION_AFTER", "5.2.0.13"}, {"KOVA_UNIT_REASON_CODE", ""},
          {"KOVA_UNIT_DURATION_S", "30.6"}})
      EXPECT_EQ(environment[name], value) << name;
    std::map<std::string, JsonValue> last;
    for (const auto& e : Events(b.out.str())) last[TextField(e, "event")] = e;
    EXPECT_TRUE(last["unit"].get("mac_changed")->asBool());
    EXPECT_TRUE(Has(TextField(last["unit"], "text"), "changed over the restart"))
        << TextField(last["unit"], "text");
    const JsonValue& hook = last["hook"];
    EXPECT_EQ(hook.get("timed_out")->asBool(), plays == Plays::Hangs);
    if (plays == Plays::Hangs) {
      EXPECT_EQ(started.kills, 1);
      EXPECT_TRUE(hook.get("exit_code")->isNull());
      EXPECT_EQ(hook.get("duration_s")->asNumber(), 5.0);
      // The station's end waited for it, and no longer.
      EXPECT_EQ(b.h.clock().nowMs(), hookStarted + 5000);
    } else {
      EXPECT_EQ(hook.get("exit_code")->asNumber(), plays == Plays::Prints ? 0 : 3);
      EXPECT_EQ(TextField(hook, "output"), "label printed");
      EXPECT_EQ(started.kills, 0);
    }
  }
}

// A station that stops its line stops the whole line: the others finish
// the unit in hand and take no other, and the summary says why.
TEST(LineStop, OneStationStopsTheWholeLine) {
  Stations s;
  const std::vector<std::string> args = {"--batch", "--station", "--interface", "eth1,eth2",
                                         "--stop-after-failures", "2", "upgrade"};
  s.clock().schedule(1000, [&] {
    s.child(0).write(
        R"j({"event":"line-stop","reason":"2 units failed in a row (--stop-after-failures 2)",)j"
        R"j("text":"Line stopped: 2 units failed in a row (--stop-after-failures 2)."})j");
    s.child(0).exit(1);
  });
  s.clock().schedule(2000, [&] { s.child(1).exit(0); });
  s.clock().schedule(600000, [] { throw std::runtime_error("the line did not stop"); });
  EXPECT_EQ(RunStations(s.platform, s.ui, s.options, args, "/usr/bin/kova-upgrader", s.interrupts),
            1);
  EXPECT_EQ(s.platform.children.size(), 2u);  // none restarted
  EXPECT_EQ(s.platform.children[1].interrupts, 1);
  EXPECT_TRUE(Has(s.out.str(), "eth1: Line stopped: 2 units failed in a row")) << s.out.str();
  EXPECT_TRUE(Has(s.out.str(),
                  " Line stopped: eth1: 2 units failed in a row (--stop-after-failures 2).\n"))
      << s.out.str();
}
