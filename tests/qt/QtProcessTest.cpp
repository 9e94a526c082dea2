// The real console runner and the start of the sibling program, with
// harmless commands only.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>

#include "app/MainWindow.h"
#include "platform/qt/QtFormView.h"
#include "platform/qt/QtPlatform.h"
#include "at/AtChannel.h"
#include "sim/Harness.h"
#include "transfer/TelnetSession.h"

namespace fs = std::filesystem;

namespace {
int OpenDescriptors() {
  int n = 0;
  for ([[maybe_unused]] auto& e : fs::directory_iterator("/proc/self/fd")) ++n;
  return n;
}

void WriteScript(const fs::path& path, const std::string& body) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << "#!/bin/sh\n" << body;
  fs::permissions(path, fs::perms::owner_all, fs::perm_options::add);
}

// Waits (without an event loop) until a file exists, at most limitMs.
bool WaitForFile(const fs::path& path, int limitMs) {
  QElapsedTimer clock;
  clock.start();
  while (!fs::exists(path)) {
    if (clock.elapsed() > limitMs) return false;
    QThread::msleep(20);
  }
  QThread::msleep(50);  // let the writer finish its line
  return true;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
}  // namespace

TEST(QtProcess, LongOutputComesBackWholeAndInOrder) {
  QtProcess p;
  // Far beyond one read block and beyond the pipe's own buffer.
  auto r = p.runConsole("seq 1 30000");
  ASSERT_EQ(r.kind, ConsoleResult::Ran);
  std::string expected;
  for (int i = 1; i <= 30000; ++i) expected += std::to_string(i) + "\n";
  EXPECT_EQ(r.output, expected);
}

TEST(QtProcess, StandardErrorInterleavedAsWritten) {
  QtProcess p;
  auto r = p.runConsole(
      "sh -c \"i=0; while [ $i -lt 40 ]; do echo out$i; echo err$i >&2; i=$((i+1)); done\"");
  ASSERT_EQ(r.kind, ConsoleResult::Ran);
  std::string expected;
  for (int i = 0; i < 40; ++i) expected += "out" + std::to_string(i) + "\nerr" + std::to_string(i) + "\n";
  EXPECT_EQ(r.output, expected);
}

TEST(QtProcess, QuotesKeepArgumentsTogetherAndNoShellIsInvolved) {
  QtProcess p;
  auto r = p.runConsole("echo \"a  b\" $HOME;  x|y \"\"");
  ASSERT_EQ(r.kind, ConsoleResult::Ran);
  EXPECT_EQ(r.output, "a  b $HOME; x|y \n");  // the empty argument adds the last blank

  TempDir dir;
  WriteScript(dir.path() / "dir with blank" / "stand in", "echo \"[$1][$2]\"\n");
  r = p.runConsole("\"" + (dir.path() / "dir with blank" / "stand in").string() +
                   "\" \"Local Area Connection\" two");
  ASSERT_EQ(r.kind, ConsoleResult::Ran);
  EXPECT_EQ(r.output, "[Local Area Connection][two]\n");
}

TEST(QtProcess, QuietCommandsAndNoStandardInput) {
  QtProcess p;
  auto r = p.runConsole("true");
  EXPECT_EQ(r.kind, ConsoleResult::Ran);
  EXPECT_EQ(r.output, "");
  // Would wait for ever on a terminal or an open pipe.
  r = p.runConsole("cat");
  EXPECT_EQ(r.kind, ConsoleResult::Ran);
  EXPECT_EQ(r.output, "");
  // A failing command's complaint is simply its output.
  r = p.runConsole("ls /nonexistent-kova-dir");
  EXPECT_EQ(r.kind, ConsoleResult::Ran);
  EXPECT_NE(r.output.find("nonexistent-kova-dir"), std::string::npos);
}

// A hung command is ended at the runner's limit, and the next one runs.
TEST(QtProcess, HungCommandIsEndedAtTheLimit) {
  QtProcess p;
  p.setTimeLimit(300);
  EXPECT_EQ(p.runConsole("sleep 30").kind, ConsoleResult::TimedOut);
  EXPECT_EQ(p.runConsole("echo next").output, "next\n");
}

TEST(QtProcess, MissingProgramIsNotFoundAndLeavesNoDescriptor) {
  QtProcess p;
  p.runConsole("true");  // whatever Qt sets up once is in place
  TempDir dir;
  dir.write("plain.txt", "not a program\n");
  const std::string plain = (dir.path() / "plain.txt").string();
  int before = OpenDescriptors();
  for (std::string line :
       {std::string("kova-no-such-program-4711 arg"), std::string("/nonexistent/kova/prog"), plain,
        std::string(""), std::string("   ")}) {
    SCOPED_TRACE(line);
    auto r = p.runConsole(line);
    EXPECT_EQ(r.kind, ConsoleResult::NotFound);
    EXPECT_EQ(r.output, "");
  }
  EXPECT_EQ(OpenDescriptors(), before);
}

TEST(QtProcess, NoDescriptorsLeftMeansPipeFailed) {
  QtProcess p;
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
  rlimit low = saved;
  low.rlim_cur = std::min<rlim_t>(saved.rlim_cur, 512);
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
  std::vector<int> filler;
  for (;;) {
    int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (fd < 0) break;
    filler.push_back(fd);
  }
  auto r = p.runConsole("true");
  for (int fd : filler) ::close(fd);
  setrlimit(RLIMIT_NOFILE, &saved);
  EXPECT_EQ(r.kind, ConsoleResult::PipeFailed);
  EXPECT_EQ(r.errorCode, EMFILE);
  EXPECT_EQ(p.runConsole("true").kind, ConsoleResult::Ran);
}

TEST(QtProcess, SiblingStartedFromItsDirectoryWithoutWaiting) {
  TempDir root;
  const fs::path dir = root.path() / "ModemInfo";
  // The sibling waits for the test to let it go: a start that waited for the
  // program to end would find it gone by its own time-out instead.
  WriteScript(dir / "ModemInfoUpgrader",
              "pwd > started.txt\n"
              "for i in $(seq 200); do [ -e release ] && { echo released > done.txt; exit 0; }; "
              "sleep 0.1; done\necho timed out > done.txt\n");
  QtProcess p;
  EXPECT_TRUE(p.startDetached((dir / "ModemInfoUpgrader").string(), dir.string()));
  std::ofstream(dir / "release").put('\n');
  ASSERT_TRUE(WaitForFile(dir / "done.txt", 30000));
  EXPECT_EQ(ReadFile(dir / "started.txt"), dir.string() + "\n");
  EXPECT_EQ(ReadFile(dir / "done.txt"), "released\n");

  EXPECT_FALSE(p.startDetached((root.path() / "Nothing" / "ModemInfoUpgrader").string(),
                               (root.path() / "Nothing").string()));
}

TEST(QtProcess, CloseOfTheMainWindowStartsTheSibling) {
  TempDir root;
  const fs::path home = root.path() / "Upgrader";
  fs::create_directories(home);
  const fs::path sibling = root.path() / "ModemInfo";
  WriteScript(sibling / "ModemInfoUpgrader", "pwd > started.txt\n");

  QtPlatform platform;
  Settings settings;
  settings.initialAddress = "127.0.0.1";
  settings.commandLine = "/ModemInfo";
  settings.workingDirectory = home.string() + "/";
  {
    MainWindow f(platform, settings);  // not started: nothing is contacted
    EXPECT_TRUE(f.requestClose(Form::kCloseByUser));
  }
  platform.ui().setPointer(Ui::kPointerDefault);
  ASSERT_TRUE(WaitForFile(sibling / "started.txt", 5000));
  EXPECT_EQ(ReadFile(sibling / "started.txt"), sibling.string() + "\n");
}

// Connections that open, deliver or drop while the window closes reach
// nothing of it (the sanitizer build tells a handler that ran too late).
TEST(QtProcess, ConnectionsCompletingAsTheWindowCloses) {
  // Boxes are answered at once: nobody sits at this window.
  struct AnsweringUi : Ui {
    int msgBox(const std::string&, int, const std::string&) override { return MsgOk; }
    void setPointer(int code) override { pointer_ = code; }
    int pointer() const override { return pointer_; }
    void showModal(Form& form) override { form.requestClose(Form::kCloseByUser); }
    void show(Form&) override {}
    int pointer_ = kPointerDefault;
  } ui;
  QTcpServer modem;
  ASSERT_TRUE(modem.listen(QHostAddress::LocalHost));
  QObject::connect(&modem, &QTcpServer::newConnection, [&modem] {
    while (QTcpSocket* c = modem.nextPendingConnection()) {
      c->write("->\r\n");  // something to read, then gone
      c->disconnectFromHost();
    }
  });
  TempDir home;
  home.write("kova_5_2_0_13.bin", "image");
  for (int closeAfterMs : {0, 1, 5, 20}) {
    QtPlatform platform(&ui);
    Settings settings;
    settings.initialAddress = "127.0.0.1";
    settings.zingPort = settings.ftpPort = settings.telnetPort = settings.atPort = modem.serverPort();
    settings.workingDirectory = home.str();
    {
      MainWindow f(platform, settings);
      f.start();
      f.telnet().prepareForDownload();
      f.atChannel().readDns();
      QElapsedTimer t;
      t.start();
      while (t.elapsed() < closeAfterMs) QCoreApplication::processEvents();
      f.requestClose(Form::kCloseBySystem);
    }
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 100) QCoreApplication::processEvents();
  }
}
