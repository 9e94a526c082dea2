// A production line in network namespaces of the test's own: three
// simulated modems, each at the factory address 192.168.128.100 behind a
// veth pair with a MAC of its own, and a station namespace holding the other
// ends, where the tool runs one station per interface. Nothing is added to
// the machine's own namespace; everything goes at the end, also on failure.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <memory>

#include "core/JsonLine.h"
#include "core/UpgradeHistory.h"
#include "e2e/E2e.h"

namespace {

// A command's exit code and output (standard error included).
std::pair<int, std::string> Sh(const std::string& command) {
  std::string out;
  if (FILE* p = ::popen((command + " 2>&1").c_str(), "r")) {
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    const int status = ::pclose(p);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
  }
  return {-1, "cannot run " + command};
}

// The interface names of a namespace ("" for the machine's own).
Lines Links(const std::string& ns) {
  const auto [code, out] = Sh("ip " + (ns.empty() ? "" : "-n " + ns + " ") + "-o link show");
  Lines names;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {  // "2: v1@if3: <...>"
    std::istringstream words(line);
    std::string number, name;
    if (words >> number >> name) names.push_back(name.substr(0, name.find_first_of("@:")));
  }
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
    }
  }
  ~StationLab() {
    for (auto& p : sims_) {
      p->terminate();
      if (!p->waitForFinished(5000)) p->kill();
      p->waitForFinished(5000);
    }
    for (const auto& ns : names_) Sh("ip netns del " + ns);  // its veths go with it
  }

  static std::string Mac(int i) { return "02:00:5e:10:00:0" + std::to_string(i); }
  bool ok() const { return error.empty(); }
  // The station's namespace has only loopback and the veths, and no way out;
  // the machine's own namespace is as it was.
  ::testing::AssertionResult isolated() const {
    Lines expected{"lo"};
    for (std::size_t i = 1; i <= modems_.size(); ++i) expected.push_back("v" + std::to_string(i));
    if (Links(station) != expected)
      return ::testing::AssertionFailure() << ::testing::PrintToString(Links(station));
    const auto route = Sh("ip -n " + station + " route show default");
    if (route.first != 0 || !route.second.empty())
      return ::testing::AssertionFailure() << "a default route: " << route.second;
    if (Links("") != hostLinks_)
      return ::testing::AssertionFailure() << "the machine's own links changed";
    return ::testing::AssertionSuccess();
  }
  // The simulated modem in namespace i (from 1), 5.2.0.12 on the usual ports.
  bool startModem(int i, const Lines& options = {}) {
    const std::string root = dir_.str() + "/modem" + std::to_string(i);
    QStringList args{"netns", "exec", QString::fromStdString(modems_.at(i - 1)), KOVA_PYTHON,
                     QString(KOVA_SOURCE_DIR) + "/tools/modemsim/modemsim.py", "--init",
                     "--own-namespace", "--host", "192.168.128.100",
                     "--root", QString::fromStdString(root), "--version", "5.2.0.12",
                     "--reboot-time", "1", "--reflash-time", "1", "--zing-port", "1827",
                     "--ftp-port", "21", "--telnet-port", "23", "--at-port", "1829"};
    for (auto& o : options) args << QString::fromStdString(o);
    auto p = std::make_unique<QProcess>();
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start("ip", args);
    QByteArray out;
    while (!out.contains("READY") && p->waitForReadyRead(20000)) out += p->readAllStandardOutput();
    sims_.push_back(std::move(p));
    return out.contains("READY");
  }
  std::string modemFile(int i, const std::string& remote) const {
    return dir_.read("modem" + std::to_string(i) + remote);
  }

  std::string station;
  std::string error;

 private:
  bool run(const std::string& command) {
    if (!error.empty()) return false;
    const auto [code, out] = Sh(command);
    if (code != 0) error = command + ": " + out;
    return code == 0;
  }
  Lines names_, modems_, hostLinks_;
  TempDir dir_;
  std::vector<std::unique_ptr<QProcess>> sims_;
};

}  // namespace

// Three modems on three interfaces are upgraded at once, each recorded once
// with its own MAC; the station killed in the middle of its upload is
// reported and restarted while the others finish, and its unit is done too.
TEST(StationsEndToEnd, ThreeInterfacesAtOnceOneStationKilledMidRun) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to create network namespaces: skipped";
  if (Sh("ip netns list").first != 0) GTEST_SKIP() << "no 'ip netns' here: skipped";
  StationLab lab(3);
  if (!lab.ok() && lab.error.find("ip netns add") == 0)
    GTEST_SKIP() << "cannot create network namespaces here: " << lab.error;
  ASSERT_TRUE(lab.ok()) << lab.error;
  ASSERT_TRUE(lab.isolated());
  // The second one's transfers take seconds: its station dies in the upload.
  // (Not in the backup: a sibling may have kept the shared pair first.)
  for (int i = 1; i <= 3; ++i)
    ASSERT_TRUE(lab.startModem(i, i == 2 ? Lines{"--ftp-rate", "100000"} : Lines{}));
  TempDir home;
  PrepareHome(home, false);

  auto env = QProcessEnvironment::systemEnvironment();
  env.insert("KOVA_MODEM_ADDRESS", "192.168.128.100");  // inside the namespace only
  for (const char* port : {"KOVA_PORT_ZING", "KOVA_PORT_FTP", "KOVA_PORT_TELNET", "KOVA_PORT_AT"})
    env.remove(port);
  env.remove("DISPLAY");
  QProcess tool;
  tool.setProcessEnvironment(env);
  tool.setWorkingDirectory(QString::fromStdString(home.str()));
  tool.start("ip", {"netns", "exec", QString::fromStdString(lab.station), KOVA_UPGRADER_BIN,
                    "--batch", "--json", "--station", "--interface", "v1,v2,v3", "upgrade"});
  ASSERT_TRUE(tool.waitForStarted(10000));

  std::vector<JsonValue> events;
  std::map<std::string, int> done;  // by interface
  Lines stations;                   // "interface state"
  long killed = 0, v2 = 0;
  std::string pending;
  QElapsedTimer clock;
  clock.start();
  auto finished = [&] {
    return done["v1"] && done["v2"] && done["v3"] && killed &&
           std::count(stations.begin(), stations.end(), "v2 started") == 2;
  };
  while (!finished() && clock.elapsed() < 150000 && tool.state() == QProcess::Running) {
    tool.waitForReadyRead(500);
    pending += tool.readAllStandardOutput().toStdString();
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
      auto e = ParseJson(pending.substr(0, end));
      pending.erase(0, end + 1);
      ASSERT_TRUE(e && e->isObject());
      const std::string kind = e->get("event")->asString();
      const std::string where = e->get("interface") ? e->get("interface")->asString() : "";
      if (kind == "station") {
        stations.push_back(where + " " + e->get("state")->asString());
        if (where == "v2") v2 = static_cast<long>(e->get("pid")->asNumber());
      }
      if (kind == "phase" && where == "v2" && e->get("name")->asString() == "upload" && !killed) {
        ASSERT_GT(v2, 0);
        ::kill(static_cast<pid_t>(killed = v2), SIGKILL);
      }
      if (kind == "result" && e->get("exit_code")->asNumber() == 0) ++done[where];
      events.push_back(std::move(*e));
    }
  }
  ASSERT_TRUE(finished()) << ::testing::PrintToString(stations) << tool.readAllStandardError().toStdString();
  ::kill(static_cast<pid_t>(tool.processId()), SIGINT);  // between units: all end
  ASSERT_TRUE(tool.waitForFinished(60000));
  EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
  pending += tool.readAllStandardOutput().toStdString();
  auto summary = ParseJson(pending.substr(pending.rfind('\n', pending.size() - 2) + 1));
  ASSERT_TRUE(summary && summary->get("done")) << pending;
  EXPECT_EQ(summary->get("done")->asNumber(), 3);
  EXPECT_EQ(summary->get("failed")->asNumber(), 0);
  EXPECT_TRUE(InOrder(stations, {"v2 started", "v2 crashed", "v2 started"}));

  for (const auto& e : events)
    if (e.get("event")->asString() == "result") {
      const std::string where = e.get("interface")->asString();
      EXPECT_EQ(e.get("mac")->asString(), StationLab::Mac(where[1] - '0')) << where;
    }
  // Each unit recorded once with its own MAC; each holds the new image; one
  // backup pair for all, nothing half-written left.
  // The station killed in its upload left that attempt unfinished.
  auto history =
      HistoryOperations(ReadHistory((home.path() / "Backup/history.jsonl").string()).entries);
  Lines recorded;
  for (const auto& h : history)
    recorded.push_back(h.interfaceName + " " + h.modemMac + " " + h.operation + " " + h.outcome);
  std::sort(recorded.begin(), recorded.end());
  EXPECT_EQ(recorded, (Lines{"v1 " + StationLab::Mac(1) + " upgrade done",
                             "v2 " + StationLab::Mac(2) + " upgrade done",
                             "v2 " + StationLab::Mac(2) + " upgrade unfinished",
                             "v3 " + StationLab::Mac(3) + " upgrade done"}));
  for (int i = 1; i <= 3; ++i)
    EXPECT_TRUE(lab.modemFile(i, "/bin/kova.bin") == home.read("kova_5_2_0_13.bin")) << i;
  EXPECT_EQ(FilesUnder(home.path() / "Backup"),
            (Lines{"chk_5_2_0_12.txt", "history.jsonl", "kova_5_2_0_12.bin"}));
}
