// The real FTP client against the simulated modem's FTP server
// (tools/modemsim/simftp.py) on loopback.
#include "platform/qt/CurlFtpClient.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <random>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// simftp.py in a child process; it ends when we close its standard input.
class FtpServer {
 public:
  FtpServer(const fs::path& root, const fs::path& journal, const QStringList& faults)
      : journal_(journal) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(KOVA_PYTHON,
                   QStringList{QString(KOVA_SOURCE_DIR) + "/tools/modemsim/simftp.py", "--root",
                               QString::fromStdString(root.string()), "--journal",
                               QString::fromStdString(journal.string())} +
                       faults);
    QByteArray out;
    QElapsedTimer clock;
    clock.start();
    while (!out.contains('\n') && clock.elapsed() < 10000 &&
           process_.state() != QProcess::NotRunning) {
      process_.waitForReadyRead(200);
      out += process_.readAllStandardOutput();
    }
    if (out.startsWith("PORT ")) port_ = out.mid(5).trimmed().toInt();
  }
  ~FtpServer() {
    process_.closeWriteChannel();
    if (!process_.waitForFinished(5000)) {
      process_.kill();
      process_.waitForFinished(3000);
    }
  }
  int port() const { return port_; }
  std::string journal() const {
    std::ifstream in(journal_);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Journal lines equal to `line` (or starting with it).
  int count(const std::string& line, bool prefix = false) const {
    std::istringstream in(journal());
    int n = 0;
    for (std::string l; std::getline(in, l);) n += prefix ? l.rfind(line, 0) == 0 : l == line;
    return n;
  }

 private:
  QProcess process_;
  fs::path journal_;
  int port_ = 0;
};

// Written a MiB at a time: the memory test must not see the file's size.
void writeRandomFile(const fs::path& path, std::size_t size, unsigned seed) {
  std::mt19937_64 gen(seed);
  std::vector<std::uint64_t> block(1 << 17);
  std::ofstream out(path, std::ios::binary);
  for (std::size_t left = size; left > 0;) {
    for (auto& word : block) word = gen();
    const std::size_t n = std::min(left, block.size() * sizeof block[0]);
    out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(n));
    left -= n;
  }
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool sameContent(const fs::path& a, const fs::path& b) {
  return fs::exists(a) && fs::exists(b) && readFile(a) == readFile(b);
}

void writeText(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> entries(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
  return names;
}

long peakRssKiB() {
  std::ifstream in("/proc/self/status");
  for (std::string line; std::getline(in, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

// Seconds left on the keep-alive timer of each established connection to
// 127.0.0.1:port, as the kernel shows it (-1: no keep-alive timer).
std::vector<long> keepAliveTimersTo(int port) {
  char peer[16];
  std::snprintf(peer, sizeof peer, "0100007F:%04X", port);
  std::vector<long> left;
  std::ifstream in("/proc/net/tcp");
  std::string line, slot, local, remote, state, queues, timer;
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    fields >> slot >> local >> remote >> state >> queues >> timer;
    if (state != "01" || remote != peer) continue;
    // "<kind>:<ticks left>"; kind 2 is the keep-alive timer.
    left.push_back(timer.rfind("02:", 0) == 0
                       ? std::stol(timer.substr(3), nullptr, 16) / ::sysconf(_SC_CLK_TCK)
                       : -1);
  }
  return left;
}

int refusal(CurlFtpClient& c, const std::string& command) {
  try {
    c.execute(command);
  } catch (const PlatformError& e) {
    return e.number;
  }
  return 0;
}

class CurlFtpClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp_.isValid());
    base_ = tmp_.path().toStdString();
    root_ = base_ / "root";
    local_ = base_ / "local";
    makeTrees();
  }

  void TearDown() override {
    if (HasFailure() && server_) std::cerr << "server journal:\n" << server_->journal();
  }

  // The modem's files, and an empty local directory.
  void makeTrees() {
    fs::remove_all(root_);
    fs::remove_all(local_);
    fs::create_directories(root_ / "bin");
    fs::create_directories(root_ / "ram0");
    fs::create_directories(local_);
    writeRandomFile(root_ / "bin" / "kova.bin", 300 * 1024, 1);
    writeText(root_ / "checksum.txt", "1234567\r\n");
    writeText(root_ / "config.txt", "dhcp=1\r\n");
    writeText(root_ / "ram0" / "syslog.log", "boot\nup\n");
  }

  void startServer(const QStringList& faults = {}) {
    server_.reset();
    fs::remove(base_ / "journal.log");
    server_ = std::make_unique<FtpServer>(root_, base_ / "journal.log", faults);
    ASSERT_GT(server_->port(), 0) << "the FTP server did not start";
  }

  std::unique_ptr<CurlFtpClient> makeClient(int timeoutMs = 10000, int port = 0) {
    auto c = std::make_unique<CurlFtpClient>(port ? port : server_->port(), "kovauser",
                                             "moonstone", timeoutMs);
    c->setRemoteHost("127.0.0.1");
    c->onStateChanged = [this](int state) {
      states_.push_back(state);
      if (loop_) loop_->quit();
    };
    return c;
  }

  // Executes a command and returns the notification it gets (-1: none).
  int run(CurlFtpClient& c, const std::string& command, int deadlineMs = 15000) {
    const std::size_t before = states_.size();
    c.execute(command);
    EXPECT_EQ(states_.size(), before) << "notified from inside execute()";
    EXPECT_TRUE(c.stillExecuting());
    return waitState(before, deadlineMs);
  }

  int waitState(std::size_t before, int deadlineMs) {
    QEventLoop loop;
    loop_ = &loop;
    QTimer::singleShot(deadlineMs, &loop, &QEventLoop::quit);
    if (states_.size() == before) loop.exec();
    loop_ = nullptr;
    return states_.size() > before ? states_[before] : -1;
  }

  void pump(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
  }

  bool pumpUntil(const std::function<bool()>& done, int deadlineMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < deadlineMs) pump(20);
    return done();
  }

  static std::string quoted(const fs::path& p) { return "\"" + p.string() + "\""; }

  QTemporaryDir tmp_;
  fs::path base_, root_, local_;
  std::unique_ptr<FtpServer> server_;
  std::vector<int> states_;
  QEventLoop* loop_ = nullptr;
};

TEST_F(CurlFtpClientTest, OneSessionCarriesAChainWithExactPaths) {
  startServer();
  auto c = makeClient();
  const fs::path backup = local_ / "My Backups" / "kova 1_2_3_4.bin";
  fs::create_directories(backup.parent_path());
  writeText(backup, "older backup");  // replaced once the new copy is complete
  EXPECT_EQ(run(*c, "GET /bin/kova.bin " + quoted(backup)), FtpClient::ResponseCompleted);
  EXPECT_TRUE(sameContent(backup, root_ / "bin" / "kova.bin"));
  EXPECT_EQ(entries(backup.parent_path()), std::vector<std::string>{backup.filename()});

  const fs::path image = local_ / "new image.bin";
  writeRandomFile(image, 200 * 1024, 2);
  EXPECT_EQ(run(*c, "PUT " + quoted(image) + " /bin/kova.bin"), 12);
  EXPECT_TRUE(sameContent(image, root_ / "bin" / "kova.bin"));

  // The PIC upload names a bare file in the working directory.
  writeText(local_ / "pic.hex", ":00000001FF\r\n");
  const QString cwd = QDir::currentPath();
  QDir::setCurrent(QString::fromStdString(local_.string()));
  EXPECT_EQ(run(*c, "PUT pic.hex /pic.hex"), 12);
  QDir::setCurrent(cwd);
  EXPECT_TRUE(sameContent(local_ / "pic.hex", root_ / "pic.hex"));

  EXPECT_EQ(run(*c, "DELETE /config.txt"), 12);
  EXPECT_FALSE(fs::exists(root_ / "config.txt"));
  // The control connection is quiet between commands (and while the modem
  // writes flash); the kernel probes it after a minute, before a NAT on the
  // way forgets it.
  const std::vector<long> timers = keepAliveTimersTo(server_->port());
  ASSERT_EQ(timers.size(), 1u);
  EXPECT_GT(timers[0], 50);
  EXPECT_LE(timers[0], 60);
  EXPECT_EQ(run(*c, "GET /ram0/syslog.log " + (local_ / "syslog.log").string()), 12);
  EXPECT_EQ(run(*c, "CLOSE"), FtpClient::Disconnected);
  EXPECT_EQ(c->responseCode(), 0);

  EXPECT_EQ(server_->count("FTP USER kovauser"), 1) << "one login for the whole chain";
  for (const char* line : {"FTP RETR /bin/kova.bin", "FTP STOR /bin/kova.bin", "FTP STOR /pic.hex",
                           "FTP DELE /config.txt", "FTP RETR /ram0/syslog.log", "FTP QUIT"})
    EXPECT_EQ(server_->count(line), 1) << line;
  // libcurl may step back to the root ("CWD /"), never into a directory.
  EXPECT_EQ(server_->count("FTP CWD", true), server_->count("FTP CWD /"));

  // After CLOSE the next command opens a new session.
  EXPECT_EQ(run(*c, "GET /checksum.txt " + quoted(local_ / "chk.txt")), 12);
  EXPECT_EQ(server_->count("FTP USER kovauser"), 2);
  EXPECT_EQ(states_, (std::vector<int>{12, 12, 12, 12, 12, 10, 12}));
}

// Every way a command fails, as the caller sees it; no file and no
// temporary is left, and the next command runs (in a new session where the
// failure ended the old one).
TEST_F(CurlFtpClientTest, FailuresReportStateNumberAndText) {
  const fs::path image = base_ / "image.bin";
  writeRandomFile(image, 32 << 20, 3);  // more than the socket buffers hold
  const std::string target = quoted(local_ / "kova.bin");
  const std::string noDir = (local_ / "no" / "dir" / "kova.bin").string();
  const std::string noImage = (local_ / "no such image.bin").string();
  constexpr int kRead = CurlFtpClient::kOtherBase + CURLE_READ_ERROR;
  constexpr int kWrite = CurlFtpClient::kOtherBase + CURLE_WRITE_ERROR;
  struct Row {
    QStringList faults;  // {"none"}: nobody listens
    std::string command;
    int state, code;
    std::string info;  // part of responseInfo()
    int next;          // what the next command gets
    int logins;        // USER commands the server saw in all (-1: libcurl's choice)
  } rows[] = {
      {{}, "GET /bin/missing.bin " + target, 11, FtpClient::kServerRefused, "550 ", 12, -1},
      {{}, "DELETE /nothing.txt", 11, FtpClient::kServerRefused, "550 ", 12, -1},
      {{"--wrong-password"}, "GET /checksum.txt " + target, 11, FtpClient::kLoginRefused, "530 ",
       11, 2},
      {{"none"}, "DELETE /config.txt", 11, FtpClient::kCannotConnect, "onnect", 11, 0},
      {{"--stall"}, "GET /bin/kova.bin " + target, 11, FtpClient::kTimeout, "timed out", 12, 2},
      {{"--stall"}, "PUT " + quoted(image) + " /bin/kova.bin", 11, FtpClient::kTimeout,
       "timed out", 12, 2},
      {{"--drop"}, "GET /bin/kova.bin " + target, 10, 0, "", 12, 2},
      {{"--drop"}, "PUT " + quoted(image) + " /bin/kova.bin", 10, 0, "", 12, 2},
      {{}, "PUT \"" + noImage + "\" /bin/kova.bin", 11, kRead, noImage, 12, 1},
      {{}, "PUT " + quoted(local_) + " /bin/kova.bin", 11, kRead, "not a regular file", 12, 1},
      {{}, "GET /bin/kova.bin \"" + noDir + "\"", 11, kWrite, noDir, 12, 1},
      {{}, "GET /bin/kova.bin " + quoted(local_), 11, kWrite, "not a file name", 12, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.command + " " + row.faults.join(" ").toStdString());
    makeTrees();
    const bool listening = row.faults != QStringList{"none"};
    int port = 0;
    if (listening) {
      startServer(row.faults);
    } else {
      QTcpServer probe;
      ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
      port = probe.serverPort();
    }
    auto c = makeClient(2000, port);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(run(*c, row.command), row.state);
    if (row.code == FtpClient::kTimeout) {
      EXPECT_GE(clock.elapsed(), 1900);
    }
    EXPECT_EQ(c->responseCode(), row.code);
    EXPECT_NE(c->responseInfo().find(row.info), std::string::npos) << c->responseInfo();
    EXPECT_TRUE(entries(local_).empty());
    EXPECT_EQ(run(*c, "DELETE /config.txt"), row.next);
    if (listening && row.logins >= 0) {
      EXPECT_EQ(server_->count("FTP USER kovauser"), row.logins);
    }
  }
}

TEST_F(CurlFtpClientTest, MalformedOrBusyExecuteIsRefusedAndSendsNothing) {
  startServer();
  auto c = makeClient();
  // A line break would put a second command on the wire.
  for (const char* text : {"GET /bin/kova.bin \"unbalanced", "DELETE /x\r\nDELE /config.txt"})
    EXPECT_EQ(refusal(*c, text), kFtpCommandInvalid) << text;
  EXPECT_FALSE(c->stillExecuting());

  const std::size_t before = states_.size();
  c->execute("GET /bin/kova.bin " + quoted(local_ / "kova.bin"));
  for (const char* text : {"DELETE /config.txt", "CLOSE", "nonsense"})
    EXPECT_EQ(refusal(*c, text), CurlFtpClient::kStillExecuting) << text;
  EXPECT_EQ(waitState(before, 10000), 12);
  pump(100);
  EXPECT_EQ(states_.size(), before + 1);
  EXPECT_TRUE(sameContent(local_ / "kova.bin", root_ / "bin" / "kova.bin"));
  EXPECT_EQ(server_->count("FTP DELE", true), 0);
  EXPECT_TRUE(fs::exists(root_ / "config.txt"));

  // A host text that would pick another port or add a command is refused
  // before anything is sent.
  for (const char* host : {"127.0.0.1:21", "127.0.0.1\r\nQUIT"}) {
    auto other = makeClient();
    other->setRemoteHost(host);
    EXPECT_EQ(run(*other, "DELETE /config.txt"), FtpClient::ErrorState) << host;
    EXPECT_EQ(other->responseCode(), CurlFtpClient::kOtherBase + CURLE_URL_MALFORMAT) << host;
  }
  EXPECT_EQ(server_->count("FTP connect"), 1);
}

TEST_F(CurlFtpClientTest, CancelAndDestroyMidTransferLeaveNothing) {
  startServer({"--stall", "/bin/kova.bin"});
  auto c = makeClient();
  c->execute("GET /bin/kova.bin " + quoted(local_ / "kova.bin"));
  ASSERT_TRUE(pumpUntil([&] { return server_->count("FTP stall /bin/kova.bin") == 1; }, 10000));
  pump(100);
  EXPECT_EQ(entries(local_).size(), 1u) << "the temporary is being written";
  c->cancel();
  EXPECT_FALSE(c->stillExecuting());
  pump(300);
  EXPECT_TRUE(states_.empty()) << "no notification after cancel";
  EXPECT_TRUE(entries(local_).empty());

  // An outcome already waiting in the loop's queue is dropped too.
  c->execute("DELETE /config.txt");
  for (int i = 0; i < 500 && fs::exists(root_ / "config.txt"); ++i) QThread::msleep(10);
  QThread::msleep(300);
  c->cancel();
  pump(300);
  EXPECT_TRUE(states_.empty());

  // Usable again, in a new session.
  EXPECT_EQ(run(*c, "GET /checksum.txt " + quoted(local_ / "chk.txt")), 12);
  EXPECT_EQ(server_->count("FTP USER kovauser"), 3);

  c->execute("GET /bin/kova.bin " + quoted(local_ / "again.bin"));
  ASSERT_TRUE(pumpUntil([&] { return server_->count("FTP stall /bin/kova.bin") == 2; }, 10000));
  pump(100);
  c.reset();
  EXPECT_EQ(entries(local_), std::vector<std::string>{"chk.txt"});
}

TEST_F(CurlFtpClientTest, LargeImageRoundTripInBoundedMemory) {
  const fs::path image = base_ / "kova_big.bin";
  writeRandomFile(image, 64 << 20, 7);
  startServer();
  auto c = makeClient(30000);
  // Warm up: libcurl's buffers and the first session are not growth.
  EXPECT_EQ(run(*c, "GET /checksum.txt " + quoted(local_ / "chk.txt")), 12);
  const long before = peakRssKiB();
  EXPECT_EQ(run(*c, "PUT " + quoted(image) + " /bin/kova.bin", 30000), 12);
  EXPECT_EQ(run(*c, "GET /bin/kova.bin " + quoted(local_ / "back.bin"), 30000), 12);
  const long growth = peakRssKiB() - before;
  EXPECT_LT(growth, 8 * 1024) << "peak RSS grew by " << growth << " KiB";
  EXPECT_TRUE(sameContent(image, root_ / "bin" / "kova.bin"));
  EXPECT_TRUE(sameContent(image, local_ / "back.bin"));
}

// A modem writes the image to flash before it sends the final reply of a
// transfer; libcurl waits for that reply in one call. The window's loop
// keeps running meanwhile, and cancel() ends such a wait at once.
TEST_F(CurlFtpClientTest, HeldFinalReplyNeitherFreezesTheLoopNorOutlivesCancel) {
  startServer({"--hold", "3"});
  auto c = makeClient();
  const fs::path image = base_ / "image.bin";
  writeRandomFile(image, 4 << 20, 8);
  int ticks = 0;
  QTimer ticker;
  ticker.setInterval(10);
  QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
  ticker.start();

  struct Case {
    std::string command;
    fs::path copy;
  } cases[] = {
      {"PUT " + quoted(image) + " /bin/kova.bin", root_ / "bin" / "kova.bin"},
      {"GET /bin/kova.bin " + quoted(local_ / "back.bin"), local_ / "back.bin"},
  };
  const std::string hold = "FTP hold /bin/kova.bin", release = "FTP release /bin/kova.bin";
  int held = 0;
  for (const Case& k : cases) {
    ticks = 0;
    EXPECT_EQ(run(*c, k.command), FtpClient::ResponseCompleted) << k.command;
    EXPECT_EQ(server_->count(hold), ++held);
    // 3 s of hold: about 300 ticks when nothing stops the loop.
    EXPECT_GE(ticks, 100) << k.command;
    EXPECT_TRUE(sameContent(k.copy, image)) << k.command;
  }

  // cancel() while the reply is held: the GET's data is all in its
  // temporary by then, and still nothing may appear under the real name.
  for (const Case& k : cases) {
    c->execute(k.command);
    ++held;
    ASSERT_TRUE(pumpUntil([&] { return server_->count(hold) == held; }, 10000));
    c->cancel();
    EXPECT_FALSE(c->stillExecuting());
  }
  EXPECT_EQ(entries(local_), std::vector<std::string>{"back.bin"});
  // Each next command ran in a new session and was done long before the
  // server would have let a held reply go.
  EXPECT_EQ(run(*c, "DELETE /config.txt"), FtpClient::ResponseCompleted);
  EXPECT_EQ(server_->count(release), 2);
  EXPECT_EQ(server_->count("FTP USER kovauser"), 3);
  ASSERT_TRUE(pumpUntil([&] { return server_->count(release) == 4; }, 10000));
  pump(100);
  EXPECT_EQ(states_, (std::vector<int>{12, 12, 12})) << "nothing of the cancelled commands";
}

}  // namespace
