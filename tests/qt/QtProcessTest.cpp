// The real console runner and the start of the sibling program, with
// harmless commands only.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/qt/QtChildProcess.h"
#include "platform/qt/QtProcess.h"
#include "sim/Harness.h"

namespace fs = std::filesystem;

namespace {
int OpenDescriptors() {
  int n = 0;
  for ([[maybe_unused]] auto& e : fs::directory_iterator("/proc/self/fd")) ++n;
  return n;
}

// A shell script under dir, made executable.
std::string WriteScript(const TempDir& dir, const std::string& relative, const std::string& body) {
  dir.write(relative, "#!/bin/sh\n" + body);
  fs::permissions(dir.path() / relative, fs::perms::owner_all, fs::perm_options::add);
  return (dir.path() / relative).string();
}
}  // namespace

// Output comes back whole, in the order written, from a program found by
// the search rules and started without a shell; no descriptor is left.
TEST(QtProcess, RunsCommandLinesCapturesTheirOutputAndEndsAHungOne) {
  TempDir dir;
  const std::string script = WriteScript(dir, "dir with blank/stand in", "echo \"[$1][$2]\"\n");
  dir.write("plain.txt", "not a program\n");
  std::string numbers, interleaved;
  for (int i = 1; i <= 30000; ++i) numbers += std::to_string(i) + "\n";  // beyond the pipe's buffer
  for (int i = 0; i < 40; ++i)
    interleaved += "out" + std::to_string(i) + "\nerr" + std::to_string(i) + "\n";
  const struct {
    std::string line;
    ConsoleResult::Kind kind;
    std::string output;
  } rows[] = {
      {"seq 1 30000", ConsoleResult::Ran, numbers},
      {"sh -c \"i=0; while [ $i -lt 40 ]; do echo out$i; echo err$i >&2; i=$((i+1)); done\"",
       ConsoleResult::Ran, interleaved},
      // The empty argument adds the last blank.
      {"echo \"a  b\" $HOME;  x|y \"\"", ConsoleResult::Ran, "a  b $HOME; x|y \n"},
      {"\"" + script + "\" \"Local Area Connection\" two", ConsoleResult::Ran,
       "[Local Area Connection][two]\n"},
      {"cat", ConsoleResult::Ran, ""},  // would wait for ever on an open input
      {"kova-no-such-program-4711 arg", ConsoleResult::NotFound, ""},
      {"/nonexistent/kova/prog", ConsoleResult::NotFound, ""},
      {(dir.path() / "plain.txt").string(), ConsoleResult::NotFound, ""},
      {"   ", ConsoleResult::NotFound, ""},
  };
  QtProcess p;
  p.runConsole("true");  // whatever Qt sets up once is in place
  const int before = OpenDescriptors();
  for (const auto& row : rows) {
    const ConsoleResult r = p.runConsole(row.line);
    EXPECT_EQ(r.kind, row.kind) << row.line;
    EXPECT_TRUE(r.output == row.output) << row.line << ":\n" << r.output.substr(0, 200);
  }
  EXPECT_EQ(OpenDescriptors(), before);

  // No descriptor to be had for the pipe: told apart from a missing program.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
  const rlimit low{std::min<rlim_t>(saved.rlim_cur, 512), saved.rlim_max};
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
  std::vector<int> filler;
  for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;) filler.push_back(fd);
  const ConsoleResult r = p.runConsole("true");
  for (int fd : filler) ::close(fd);
  setrlimit(RLIMIT_NOFILE, &saved);
  EXPECT_EQ(r.kind, ConsoleResult::PipeFailed);
  EXPECT_EQ(r.errorCode, EMFILE);

  // A hung command is ended at the runner's limit, and the next one runs.
  p.setTimeLimit(300);
  const ConsoleResult hung =
      p.runConsole("sh -c \"echo early; sleep 2; echo late > '" + dir.str() + "/late'\"");
  EXPECT_EQ(hung.kind, ConsoleResult::TimedOut);
  EXPECT_EQ(hung.output, "early\n");
  EXPECT_EQ(p.runConsole("echo next").output, "next\n");
  QThread::msleep(2500);
  EXPECT_FALSE(dir.exists("late")) << "the command was left running";
}

// The sibling program starts in its own directory; a missing one is told.
TEST(QtProcess, StartsAProgramOnItsOwnInItsDirectory) {
  TempDir dir;
  const std::string program = WriteScript(dir, "ModemInfo/ModemInfoUpgrader", "pwd > pwd.txt\n");
  QtProcess p;
  EXPECT_TRUE(p.startDetached(program, dir.str() + "/ModemInfo"));
  for (int i = 0; i < 500 && !dir.read("ModemInfo/pwd.txt").ends_with('\n'); ++i)
    QThread::msleep(20);
  EXPECT_EQ(dir.read("ModemInfo/pwd.txt"), dir.str() + "/ModemInfo\n");
  EXPECT_FALSE(p.startDetached(dir.str() + "/nothing", dir.str()));
}

// A temporary's writer is taken for ended only when surely so: never this
// process, nor one in another PID namespace, nor a stamp that does not parse.
TEST(QtProcess, StampsTellAnEndedWriterFromALiveOne) {
  QtProcess p;
  const std::string self = p.processStamp();
  const std::string pid = self.substr(0, self.find('-'));
  const std::string space = self.substr(self.rfind('-'));
  const pid_t child = fork();
  if (child == 0) _exit(0);
  ASSERT_GT(child, 0);
  waitpid(child, nullptr, 0);
  const struct {
    std::string stamp;
    bool ended;
  } rows[] = {
      {self, false},
      {pid + "-1" + space, true},  // the same id, started at another time: reused
      {std::to_string(child) + "-1" + space, true},  // gone
      {std::to_string(child) + "-1-1", false},         // another namespace
      {pid + "-1", false},
      {"x-1" + space, false},
  };
  for (const auto& r : rows) EXPECT_EQ(p.ended(r.stamp), r.ended) << r.stamp;
}

// A child of ours with variables added to the environment it inherits;
// killed, it goes with what it started (its process group), and its end is
// reported as a crash.
TEST(QtChildProcess, AddedEnvironmentAndAKillOfItsWholeGroup) {
  TempDir dir;
  const std::string pidFile = (dir.path() / "sleeper").string();
  QtChildProcess child;
  std::vector<std::string> lines;
  std::optional<bool> crashed;
  child.onOutputLine = [&](const std::string& line) { lines.push_back(line); };
  child.onExit = [&](int, bool signal) { crashed = signal; };
  child.setEnvironment({{"KOVA_UNIT_MAC", "02:00:5e:10:00:01"}});
  ASSERT_TRUE(child.start("/bin/sh", {"-c", "echo \"$KOVA_UNIT_MAC $HOME\"; sleep 60 & echo $! >'" +
                                                pidFile + "'; wait"}));
  auto pump = [](const std::function<bool()>& until) {
    for (int i = 0; i < 500 && !until(); ++i) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      QThread::msleep(20);
    }
  };
  // Gone, or ended and not yet reaped by whoever took it over.
  auto ended = [](pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    const auto paren = text.rfind(')');
    return paren == std::string::npos || text.compare(paren, 3, ") Z") == 0;
  };
  pump([&] { return !lines.empty() && fs::exists(pidFile) && fs::file_size(pidFile) > 0; });
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "02:00:5e:10:00:01 " + std::string(std::getenv("HOME")));
  const pid_t sleeper = std::stoi(dir.read("sleeper"));
  child.kill();
  pump([&] { return crashed.has_value(); });
  EXPECT_EQ(crashed, std::optional<bool>(true));
  pump([&] { return ended(sleeper); });
  EXPECT_TRUE(ended(sleeper)) << "the program's own child outlived it";
}
