// A production line in network namespaces of the test's own: three
// simulated modems, each at the factory address 192.168.128.100 behind a
// veth pair with a MAC of its own, and a station namespace holding the other
// ends, where the tool runs one station per interface. Nothing is added to
// the machine's own namespace; everything goes at the end, also on failure.
#include <signal.h>
#include <unistd.h>

#include <QThread>
#include <map>

#include "core/Files.h"
#include "e2e/E2e.h"

namespace {

// The interface names of a namespace ("" for the machine's own).
Lines Links(const std::string& ns) {
  std::istringstream lines(Shell("ip " + (ns.empty() ? "" : "-n " + ns + " ") + "-br link").second);
  Lines names;
  for (std::string line, name; std::getline(lines, line);)  // "v1@if3  UP  ..."
    if (std::istringstream(line) >> name) names.push_back(name.substr(0, name.find('@')));
  std::sort(names.begin(), names.end());
  return names;
}

class StationLab {
 public:
  explicit StationLab(int modems) {
    const std::string tag = std::to_string(::getpid());
    station = "kova-st-" + tag;
    hostLinks_ = Links("");
    if (!run("ip netns add " + station)) return;
    names_.push_back(station);
    run("ip -n " + station + " link set lo up");
    run("ip netns exec " + station + " sysctl -qw net.ipv4.conf.all.rp_filter=2");
    for (int i = 1; i <= modems && error.empty(); ++i) {
      const std::string ns = "kova-m" + std::to_string(i) + "-" + tag;
      const std::string v = "v" + std::to_string(i), m = "m" + std::to_string(i);
      if (!run("ip netns add " + ns)) break;
      names_.push_back(ns);
      const std::string inStation = "ip -n " + station + " ", inModem = "ip -n " + ns + " ";
      // Made in the station's namespace, the peer moved straight into the modem's.
      run(inStation + "link add " + v + " type veth peer name " + m + " netns " + ns + " && " +
          inModem + "link set lo up && " + inModem + "link set " + m + " address " + Mac(i) +
          " && " + inModem + "addr add 192.168.128.100/24 dev " + m + " && " + inModem +
          "link set " + m + " up && " + inStation + "addr add 192.168.128." +
          std::to_string(10 + i) + "/24 dev " + v + " && ip netns exec " + station +
          " sysctl -qw net.ipv4.conf." + v + ".rp_filter=2 && " + inStation + "link set " + v +
          " up");
      modems_.push_back(ns);
      veths_.push_back(v);
    }
  }
  ~StationLab() {
    sims_.clear();  // before their namespaces
    for (const auto& ns : names_) Shell("ip netns del " + ns);  // its veths go with it
  }

  static std::string Mac(int i) { return "02:00:5e:10:00:0" + std::to_string(i); }
  bool ok() const { return error.empty(); }
  // The station's namespace has only loopback and the veths, and no way out;
  // the machine's own namespace is as it was.
  ::testing::AssertionResult isolated() const {
    Lines expected{"lo"};
    expected.insert(expected.end(), veths_.begin(), veths_.end());
    if (Links(station) != expected)
      return ::testing::AssertionFailure() << ::testing::PrintToString(Links(station));
    const auto route = Shell("ip -n " + station + " route show default");
    if (route.first != 0 || !route.second.empty())
      return ::testing::AssertionFailure() << "a default route: " << route.second;
    if (Links("") != hostLinks_)
      return ::testing::AssertionFailure() << "the machine's own links changed";
    return ::testing::AssertionSuccess();
  }
  // The simulated modem in namespace i (from 1), 5.2.0.12 on the usual ports.
  bool startModem(int i, Lines options) {
    options.insert(options.end(), {"--own-namespace", "--host", "192.168.128.100", "--zing-port",
                                   "1827", "--ftp-port", "21", "--telnet-port", "23", "--at-port",
                                   "1829"});
    return sims_.emplace_back(std::make_unique<ModemSim>(Lines{}, options, modems_.at(i - 1)))
        ->ready();
  }
  const ModemSim& modem(int i) const { return *sims_.at(i - 1); }

  std::string station;
  std::string error;

 private:
  bool run(const std::string& command) {
    if (!error.empty()) return false;
    const auto [code, out] = Shell(command);
    if (code != 0) error = command + ": " + out;
    return code == 0;
  }
  Lines names_, modems_, veths_, hostLinks_;
  std::vector<std::unique_ptr<ModemSim>> sims_;
};

// The tool in the station's namespace, at the factory address there, its
// JSON lines read as they come.
class LabTool {
 public:
  LabTool(const StationLab& lab, const TempDir& home, const QStringList& args) {
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("KOVA_MODEM_ADDRESS", "192.168.128.100");  // inside the namespace only
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(home.str() + "/.config"));
    for (const char* port : {"KOVA_PORT_ZING", "KOVA_PORT_FTP", "KOVA_PORT_TELNET", "KOVA_PORT_AT"})
      env.remove(port);
    env.remove("DISPLAY");
    tool.setProcessEnvironment(env);
    tool.setWorkingDirectory(QString::fromStdString(home.str()));
    tool.start("ip", QStringList{"netns", "exec", QString::fromStdString(lab.station),
                                 KOVA_UPGRADER_BIN} + args);
    tool.waitForStarted(10000);
  }
  // Hands each event to each until it says so (true), the tool ends or ms pass.
  bool readUntil(const std::function<bool(const JsonValue&)>& each, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
      for (std::size_t end; (end = pending_.find('\n')) != std::string::npos;) {
        auto e = ParseJson(pending_.substr(0, end));
        pending_.erase(0, end + 1);
        if (!e || !e->isObject() || !e->get("event")) continue;
        events.push_back(*e);
        if (each(events.back())) return true;
      }
      if (tool.state() == QProcess::NotRunning && !tool.bytesAvailable()) return false;
      tool.waitForReadyRead(200);
      pending_ += tool.readAllStandardOutput().toStdString();
    }
    return false;
  }
  // Its exit code once it ended (within ms), the rest of its events read.
  int finish(int ms) {
    if (tool.state() != QProcess::NotRunning && !tool.waitForFinished(ms)) return -1;
    pending_ += tool.readAllStandardOutput().toStdString();
    readUntil([](const JsonValue&) { return false; }, 1);
    err += tool.readAllStandardError().toStdString();
    return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -2;
  }
  void signal(int number) const { ::kill(static_cast<pid_t>(tool.processId()), number); }

  QProcess tool;
  std::vector<JsonValue> events;
  std::string err;

 private:
  std::string pending_;
};

// Skips where namespaces cannot be made; else the lab, isolated, with its
// modems started (options by modem, from 1).
#define KOVA_LAB(lab, count, options)                                                    \
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to create network namespaces";       \
  if (Shell("ip netns list").first != 0) GTEST_SKIP() << "no 'ip netns' here";              \
  StationLab lab(count);                                                                \
  if (!lab.ok() && lab.error.find("ip netns add") == 0)                                 \
    GTEST_SKIP() << "cannot create network namespaces here: " << lab.error;             \
  ASSERT_TRUE(lab.ok()) << lab.error;                                                   \
  ASSERT_TRUE(lab.isolated());                                                          \
  for (int i = 1; i <= (count); ++i) ASSERT_TRUE(lab.startModem(i, (options)(i)))

Lines Plain(int) { return {}; }
Lines SlowSecond(int i) { return i == 2 ? Lines{"--ftp-rate", "100000"} : Lines{}; }

}  // namespace

// Three modems on three interfaces are upgraded at once, each recorded with
// its own MAC. The station killed in the middle of its upload is reported,
// its unit failed (the station died) in the results, the summary and the
// history, and restarted. The first Ctrl+C comes while it upgrades its unit
// again and the others are busy too: each finishes its unit and takes no other.
TEST(StationsEndToEnd, ThreeInterfacesAtOnceOneStationKilledMidRun) {
  // The second one's transfers take seconds: its station dies in the upload.
  // (Not in the backup: a sibling may have kept the shared pair first.)
  KOVA_LAB(lab, 3, SlowSecond);
  TempDir home;
  PrepareHome(home, false);
  LabTool run(lab, home, {"--batch", "--json", "--station", "--interface", "v1,v2,v3", "upgrade"});
  long v2 = 0;
  int uploads = 0;  // of v2
  EXPECT_TRUE(run.readUntil(
      [&](const JsonValue& e) {
        const std::string kind = Field(e, "event"), where = Field(e, "interface");
        if (kind == "station" && where == "v2") v2 = static_cast<long>(e.get("pid")->asNumber());
        if (kind != "phase" || where != "v2" || Field(e, "name") != "upload") return false;
        // Once the image is on its way: its upload is on record by then.
        if (++uploads == 1 && v2 > 0 && lab.modem(2).waitJournal("FTP STOR /bin/kova.bin", 20000))
          ::kill(static_cast<pid_t>(v2), SIGKILL);
        return uploads == 2;
      },
      150000));
  run.signal(SIGINT);
  EXPECT_EQ(run.finish(150000), 1) << run.err;  // one unit failed
  ASSERT_TRUE(!run.events.empty() && Field(run.events.back(), "event") == "summary");
  EXPECT_EQ(run.events.back().get("done")->asNumber(), 3);
  EXPECT_EQ(run.events.back().get("failed")->asNumber(), 1);
  Lines stations, failed;
  for (const auto& e : run.events) {
    const std::string where = Field(e, "interface");
    if (Field(e, "event") == "station") stations.push_back(where + " " + Field(e, "state"));
    if (Field(e, "event") != "result") continue;
    if (e.get("exit_code")->asNumber() == 0)
      EXPECT_EQ(Field(e, "mac"), StationLab::Mac(where[1] - '0')) << where;
    else
      failed.push_back(where + " " + Field(e, "reason"));
  }
  EXPECT_TRUE(InOrder(stations, {"v2 started", "v2 crashed", "v2 started"}));
  EXPECT_EQ(failed, Lines{"v2 the station died"});
  // Each unit recorded with its own MAC, the death as a failed attempt (and
  // the killed station's upload as one that never ended); each holds the
  // new image; one backup pair for all, nothing half-written left.
  Lines recorded;
  for (const auto& h : HistoryOperations(HistoryIn(home)))
    recorded.push_back(h.interfaceName + " " + h.modemMac + " " + h.operation + " " + h.outcome);
  std::sort(recorded.begin(), recorded.end());
  EXPECT_EQ(recorded, (Lines{"v1 " + StationLab::Mac(1) + " upgrade done",
                             "v2  upgrade failed",
                             "v2 " + StationLab::Mac(2) + " upgrade done",
                             "v2 " + StationLab::Mac(2) + " upgrade unfinished",
                             "v3 " + StationLab::Mac(3) + " upgrade done"}));
  for (int i = 1; i <= 3; ++i)
    EXPECT_TRUE(lab.modem(i).file("/bin/kova.bin") == home.read("kova_5_2_0_13.bin")) << i;
  EXPECT_EQ(FilesUnder(home.path() / "Backup"),
            (Lines{"chk_5_2_0_12.txt", "history.jsonl", "kova_5_2_0_12.bin"}));
}

// Two names of one interface are refused before anything starts; without
// --interface the unit is known by the MAC on the link its connection took,
// though another unit at the same address is in the neighbour table too.
TEST(StationsEndToEnd, AnAltnameIsRefusedAndTheMacIsTheRoutesOwn) {
  KOVA_LAB(lab, 2, Plain);
  TempDir home;
  PrepareHome(home, false);
  if (Shell("ip -n " + lab.station + " link property add dev v1 altname kova-alt1").first != 0)
    GTEST_SKIP() << "no alternative interface names here";
  LabTool twice(lab, home, {"--batch", "--station", "--interface", "v1,kova-alt1", "upgrade"});
  EXPECT_EQ(twice.finish(30000), 2);
  EXPECT_TRUE(Has(twice.err, "Cannot use the interfaces v1 and kova-alt1: they are one interface"))
      << twice.err;
  EXPECT_TRUE(twice.events.empty());

  // Both units in the neighbour table, complete.
  for (const char* link : {"v1", "v2"}) {
    LabTool look(lab, home, {"--batch", "--interface", link, "version"});
    ASSERT_EQ(look.finish(60000), 0) << link << look.err;
  }
  LabTool run(lab, home, {"--batch", "--json", "upgrade"});
  ASSERT_EQ(run.finish(120000), 0) << run.err;
  ASSERT_FALSE(run.events.empty());
  const int upgraded = lab.modem(1).file("/bin/kova.bin") == home.read("kova_5_2_0_13.bin") ? 1 : 2;
  EXPECT_TRUE(lab.modem(upgraded).file("/bin/kova.bin") == home.read("kova_5_2_0_13.bin"));
  EXPECT_EQ(Field(run.events.back(), "mac"), StationLab::Mac(upgraded));
  const auto history = HistoryIn(home);
  ASSERT_FALSE(history.empty());
  EXPECT_EQ(history.back().modemMac, StationLab::Mac(upgraded));
}

// A backup folder held by another process: each station waits without
// blocking, says after 2 s what it waits for and sends nothing meanwhile;
// its supervisor killed, it ends too.
TEST(StationsEndToEnd, AHeldBackupFolderIsWaitedForAndNamed) {
  KOVA_LAB(lab, 2, Plain);
  TempDir home;
  PrepareHome(home, false);
  std::filesystem::create_directories(home.path() / "Backup");
  const std::string note = "another upgrade is storing a backup of 5.2.0.12 in this folder (pid " +
                           std::to_string(::getpid()) + ")";
  Text error;
  FolderLock held((home.path() / "Backup").string(), note, error);
  ASSERT_TRUE(held) << error;
  const std::string before = lab.modem(1).file("/bin/kova.bin");
  LabTool run(lab, home, {"--batch", "--json", "--station", "--interface", "v1,v2", "upgrade"});
  std::map<std::string, long> pids;
  std::map<std::string, bool> waiting;
  ASSERT_TRUE(run.readUntil(
      [&](const JsonValue& e) {
        if (Field(e, "event") == "station")
          pids[Field(e, "interface")] = static_cast<long>(e.get("pid")->asNumber());
        if (Field(e, "event") == "status" &&
            Field(e, "text") == "Waiting for the backup folder: " + note)
          waiting[Field(e, "interface")] = true;
        return waiting.size() == 2;
      },
      90000))
      << run.err;
  for (int i = 1; i <= 2; ++i) EXPECT_TRUE(lab.modem(i).file("/bin/kova.bin") == before) << i;
  ASSERT_TRUE(pids["v1"] > 0 && pids["v2"] > 0);
  run.signal(SIGKILL);
  run.finish(10000);
  // Each station is gone (or a zombie waiting for its new parent) soon after.
  auto alive = [](long pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    return std::getline(in, line) && line.substr(line.rfind(')') + 2, 1) != "Z";
  };
  for (const char* where : {"v1", "v2"}) {
    for (int i = 0; i < 100 && alive(pids[where]); ++i) QThread::msleep(100);
    EXPECT_FALSE(alive(pids[where])) << where;
  }
}
