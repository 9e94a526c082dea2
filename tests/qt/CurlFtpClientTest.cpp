// The real FTP client against a real FTP server (pyftpdlib) on loopback.
#include "platform/qt/CurlFtpClient.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// ftp_test_server.py in a child process; it exits when we close its stdin.
class FtpServer {
 public:
  FtpServer(const fs::path& root, const fs::path& log, const QStringList& extra)
      : log_(log) {
    QStringList args{QString(KOVA_SOURCE_DIR) + "/tests/qt/ftp_test_server.py",
                     "--root", QString::fromStdString(root.string()),
                     "--log", QString::fromStdString(log.string()),
                     "--max-seconds", "120"};
    args += extra;
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(KOVA_PYTHON, args);
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
    if (!process_.waitForFinished(3000)) {
      process_.kill();
      process_.waitForFinished(3000);
    }
  }
  int port() const { return port_; }
  std::vector<std::string> log() const {
    std::vector<std::string> lines;
    std::ifstream in(log_);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  int count(const std::string& line) const {
    int n = 0;
    for (const auto& l : log()) n += l == line;
    return n;
  }
  int countPrefix(const std::string& prefix) const {
    int n = 0;
    for (const auto& l : log()) n += l.rfind(prefix, 0) == 0;
    return n;
  }

 private:
  QProcess process_;
  fs::path log_;
  int port_ = 0;
};

void writeRandomFile(const fs::path& path, std::size_t size, std::uint64_t seed) {
  std::vector<char> buf(1 << 20);
  std::ofstream out(path, std::ios::binary);
  std::uint64_t x = seed | 1;
  while (size > 0) {
    std::size_t n = std::min(size, buf.size());
    for (std::size_t i = 0; i < n; i += 8) {
      x ^= x << 13;
      x ^= x >> 7;
      x ^= x << 17;
      std::memcpy(&buf[i], &x, std::min<std::size_t>(8, n - i));
    }
    out.write(buf.data(), static_cast<std::streamsize>(n));
    size -= n;
  }
}

bool sameContent(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  if (!fs::exists(a, ec) || !fs::exists(b, ec) || fs::file_size(a) != fs::file_size(b))
    return false;
  std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
  std::vector<char> ba(1 << 20), bb(1 << 20);
  while (fa && fb) {
    fa.read(ba.data(), static_cast<std::streamsize>(ba.size()));
    fb.read(bb.data(), static_cast<std::streamsize>(bb.size()));
    if (fa.gcount() != fb.gcount() ||
        std::memcmp(ba.data(), bb.data(), static_cast<std::size_t>(fa.gcount())) != 0)
      return false;
  }
  return true;
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

class CurlFtpClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp_.isValid());
    base_ = tmp_.path().toStdString();
    root_ = base_ / "root";
    local_ = base_ / "local";
    fs::create_directories(root_ / "bin");
    fs::create_directories(root_ / "ram0");
    fs::create_directories(local_);
    writeRandomFile(root_ / "bin" / "kova.bin", 300 * 1024, 1);
    writeText(root_ / "checksum.txt", "1234567\r\n");
    writeText(root_ / "config.txt", "dhcp=1\r\n");
    writeText(root_ / "ram0" / "syslog.log", "boot\nup\n");
  }

  void TearDown() override {
    if (HasFailure() && server_) {
      std::ostringstream all;
      for (const auto& line : server_->log()) all << "  " << line << "\n";
      std::cerr << "server log:\n" << all.str();
    }
  }

  void startServer(const QStringList& extra = {}) {
    server_ = std::make_unique<FtpServer>(root_, base_ / "server.log", extra);
    ASSERT_GT(server_->port(), 0) << "test FTP server did not start";
  }

  std::unique_ptr<CurlFtpClient> makeClient(int timeoutMs = 10000,
                                            const std::string& password = "moonstone",
                                            int port = 0) {
    auto c = std::make_unique<CurlFtpClient>(port ? port : server_->port(), "kovauser",
                                             password, timeoutMs);
    c->setRemoteHost("127.0.0.1");
    c->onStateChanged = [this](int state) {
      states_.push_back(state);
      if (loop_) loop_->quit();
    };
    return c;
  }

  // Executes a command and returns the notification it gets (-1: none).
  int run(CurlFtpClient& c, const std::string& command, int deadlineMs = 15000) {
    std::size_t before = states_.size();
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

  std::string quoted(const fs::path& p) const { return "\"" + p.string() + "\""; }

  QTemporaryDir tmp_;
  fs::path base_, root_, local_;
  std::unique_ptr<FtpServer> server_;
  std::vector<int> states_;
  QEventLoop* loop_ = nullptr;
};

TEST_F(CurlFtpClientTest, ChainOfCommandsInOneSessionWithExactPaths) {
  startServer();
  auto c = makeClient();
  const fs::path backup = local_ / "My Backups" / "kova 1_2_3_4.bin";
  fs::create_directories(backup.parent_path());
  writeText(backup, "older backup");  // replaced once the new copy is complete

  EXPECT_EQ(run(*c, "GET /bin/kova.bin " + quoted(backup)), FtpClient::ResponseCompleted);
  EXPECT_TRUE(sameContent(backup, root_ / "bin" / "kova.bin"));
  EXPECT_FALSE(c->stillExecuting());

  EXPECT_EQ(run(*c, "GET /checksum.txt " + quoted(local_ / "chk.txt")), 12);
  EXPECT_TRUE(sameContent(local_ / "chk.txt", root_ / "checksum.txt"));

  const fs::path image = local_ / "new image.bin";
  writeRandomFile(image, 200 * 1024, 2);
  EXPECT_EQ(run(*c, "PUT " + quoted(image) + " /bin/kova.bin"), 12);
  EXPECT_TRUE(sameContent(image, root_ / "bin" / "kova.bin"));

  // The PIC upload names a bare file in the working directory.
  writeText(local_ / "pic.hex", ":00000001FF\r\n");
  QString cwd = QDir::currentPath();
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

  EXPECT_EQ(server_->count("USER kovauser"), 1) << "one login for the whole chain";
  for (const char* line : {"RETR /bin/kova.bin", "RETR /checksum.txt", "STOR /bin/kova.bin",
                           "STOR /pic.hex", "DELE /config.txt", "RETR /ram0/syslog.log",
                           "QUIT"})
    EXPECT_EQ(server_->count(line), 1) << line;
  // libcurl may step back to the root ("CWD /"), never into a directory.
  EXPECT_EQ(server_->countPrefix("CWD"), server_->count("CWD /"));
  EXPECT_EQ(entries(backup.parent_path()), std::vector<std::string>{backup.filename()});

  // After CLOSE the next command opens a new session.
  EXPECT_EQ(run(*c, "GET /checksum.txt " + quoted(local_ / "chk2.txt")), 12);
  EXPECT_EQ(server_->count("USER kovauser"), 2);
  EXPECT_EQ(states_, (std::vector<int>{12, 12, 12, 12, 12, 12, 10, 12}));
}

TEST_F(CurlFtpClientTest, RefusedCommandsReportTheServerReply) {
  startServer();
  auto c = makeClient();
  const fs::path target = local_ / "kova.bin";
  EXPECT_EQ(run(*c, "GET /bin/missing.bin " + quoted(target)), FtpClient::ErrorState);
  EXPECT_EQ(c->responseCode(), FtpClient::kServerRefused);
  EXPECT_EQ(c->responseInfo().substr(0, 4), "550 ");
  EXPECT_TRUE(entries(local_).empty()) << "no target, no temporary";

  EXPECT_EQ(run(*c, "DELETE /nothing.txt"), 11);
  EXPECT_EQ(c->responseCode(), FtpClient::kServerRefused);
  EXPECT_EQ(c->responseInfo().substr(0, 4), "550 ");

  // libcurl drops the control connection after a refused RETR; the next
  // command logs in again and succeeds.
  EXPECT_EQ(run(*c, "GET /checksum.txt " + quoted(target)), 12);
}

TEST_F(CurlFtpClientTest, LoginAndConnectFailures) {
  startServer();
  auto wrong = makeClient(10000, "moonstonE");
  EXPECT_EQ(run(*wrong, "GET /checksum.txt " + quoted(local_ / "c.txt")), 11);
  EXPECT_EQ(wrong->responseCode(), FtpClient::kLoginRefused);
  EXPECT_EQ(wrong->responseInfo().substr(0, 4), "530 ");
  EXPECT_TRUE(entries(local_).empty());

  int freePort = 0;
  {
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    freePort = probe.serverPort();
  }
  auto nobody = makeClient(10000, "moonstone", freePort);
  EXPECT_EQ(run(*nobody, "DELETE /config.txt"), 11);
  EXPECT_EQ(nobody->responseCode(), FtpClient::kCannotConnect);
  EXPECT_FALSE(nobody->responseInfo().empty());
  // CLOSE without a session is answered all the same.
  EXPECT_EQ(run(*nobody, "CLOSE"), FtpClient::Disconnected);
}

TEST_F(CurlFtpClientTest, StalledServerTimesOut) {
  startServer({"--fault", "stall", "--fault-after", "65536", "--mute", "QUIT"});
  auto c = makeClient(2000);
  const fs::path target = local_ / "kova.bin";
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(run(*c, "GET /bin/kova.bin " + quoted(target)), 11);
  EXPECT_EQ(c->responseCode(), FtpClient::kTimeout);
  EXPECT_GE(clock.elapsed(), 1900);
  EXPECT_TRUE(entries(local_).empty());

  // The server stops reading: our buffers fill up, then nothing moves.
  const fs::path image = local_ / "image.bin";
  writeRandomFile(image, 32 << 20, 3);
  EXPECT_EQ(run(*c, "PUT " + quoted(image) + " /bin/kova.bin"), 11);
  EXPECT_EQ(c->responseCode(), FtpClient::kTimeout);
  EXPECT_EQ(server_->count("USER kovauser"), 2) << "a time-out ends the session";

  // A QUIT that is never answered still ends in 10.
  EXPECT_EQ(run(*c, "DELETE /config.txt"), 12);
  EXPECT_EQ(run(*c, "CLOSE"), FtpClient::Disconnected);
}

TEST_F(CurlFtpClientTest, ServerDroppingMidTransferEndsTheSession) {
  writeRandomFile(root_ / "bin" / "kova.bin", 4 << 20, 4);
  startServer({"--fault", "drop", "--fault-after", "1048576"});
  auto c = makeClient();
  EXPECT_EQ(run(*c, "GET /bin/kova.bin " + quoted(local_ / "kova.bin")),
            FtpClient::Disconnected);
  EXPECT_TRUE(entries(local_).empty());

  const fs::path image = base_ / "image.bin";
  writeRandomFile(image, 8 << 20, 5);
  EXPECT_EQ(run(*c, "PUT " + quoted(image) + " /bin/kova.bin"), FtpClient::Disconnected);
  EXPECT_EQ(server_->countPrefix("FAULT drop"), 2);
}

TEST_F(CurlFtpClientTest, ExecuteRefusedWhileBusyOrMalformed) {
  startServer();
  auto c = makeClient();
  try {
    c->execute("GET /bin/kova.bin \"unbalanced");
    ADD_FAILURE() << "malformed text accepted";
  } catch (const PlatformError& e) {
    EXPECT_EQ(e.number, kFtpCommandInvalid);
  }
  EXPECT_FALSE(c->stillExecuting());

  std::size_t before = states_.size();
  c->execute("GET /bin/kova.bin " + quoted(local_ / "kova.bin"));
  for (const char* text : {"DELETE /config.txt", "CLOSE", "nonsense"}) {
    try {
      c->execute(text);
      ADD_FAILURE() << text << " accepted while busy";
    } catch (const PlatformError& e) {
      EXPECT_EQ(e.number, CurlFtpClient::kStillExecuting);
    }
  }
  EXPECT_EQ(waitState(before, 10000), 12);
  pump(100);
  EXPECT_EQ(states_.size(), before + 1);
  EXPECT_TRUE(sameContent(local_ / "kova.bin", root_ / "bin" / "kova.bin"));
  EXPECT_EQ(server_->countPrefix("DELE"), 0);
  EXPECT_TRUE(fs::exists(root_ / "config.txt"));
}

TEST_F(CurlFtpClientTest, CancelAndDestroyMidTransferLeaveNothing) {
  writeRandomFile(root_ / "bin" / "kova.bin", 4 << 20, 6);
  // DELE is never answered, so its outcome cannot arrive before the cancel.
  startServer({"--fault", "stall", "--fault-on", "RETR", "--fault-after", "1048576", "--mute",
               "DELE"});
  auto c = makeClient();
  c->execute("GET /bin/kova.bin " + quoted(local_ / "kova.bin"));
  ASSERT_TRUE(pumpUntil([&] { return server_->countPrefix("FAULT") == 1; }, 10000));
  pump(200);
  EXPECT_EQ(entries(local_).size(), 1u) << "the temporary is being written";
  c->cancel();
  EXPECT_FALSE(c->stillExecuting());
  pump(500);
  EXPECT_TRUE(states_.empty()) << "no notification after cancel";
  EXPECT_TRUE(entries(local_).empty());

  // Usable again, in a new session.
  EXPECT_EQ(run(*c, "GET /checksum.txt " + quoted(local_ / "chk.txt")), 12);
  EXPECT_EQ(server_->count("USER kovauser"), 2);

  // A queued outcome is dropped by cancel too.
  c->execute("DELETE /config.txt");
  ASSERT_TRUE(pumpUntil([&] { return server_->count("DELE /config.txt") == 1; }, 10000));
  c->cancel();
  c->execute("CLOSE");
  c->cancel();
  pump(300);
  EXPECT_EQ(states_.size(), 1u);

  c->execute("GET /bin/kova.bin " + quoted(local_ / "again.bin"));
  ASSERT_TRUE(pumpUntil([&] { return server_->countPrefix("FAULT") == 2; }, 10000));
  pump(100);
  c.reset();
  EXPECT_EQ(entries(local_), std::vector<std::string>{"chk.txt"});
}

TEST_F(CurlFtpClientTest, LocalFileProblemsAreReportedWithoutTransfer) {
  startServer();
  auto c = makeClient();
  const std::string missing = (local_ / "no such image.bin").string();
  EXPECT_EQ(run(*c, "PUT \"" + missing + "\" /bin/kova.bin"), 11);
  EXPECT_EQ(c->responseCode(), CurlFtpClient::kOtherBase + CURLE_READ_ERROR);
  EXPECT_NE(c->responseInfo().find(missing), std::string::npos);

  EXPECT_EQ(run(*c, "PUT " + quoted(local_) + " /bin/kova.bin"), 11);
  EXPECT_NE(c->responseInfo().find("not a regular file"), std::string::npos);

  const std::string nowhere = (local_ / "no" / "dir" / "kova.bin").string();
  EXPECT_EQ(run(*c, "GET /bin/kova.bin \"" + nowhere + "\""), 11);
  EXPECT_EQ(c->responseCode(), CurlFtpClient::kOtherBase + CURLE_WRITE_ERROR);
  EXPECT_NE(c->responseInfo().find(nowhere), std::string::npos);

  EXPECT_EQ(run(*c, "GET /bin/kova.bin " + quoted(local_)), 11);
  EXPECT_EQ(server_->countPrefix("CONNECT"), 0) << "nothing was sent";
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
  startServer({"--fault", "hold", "--hold-seconds", "3"});
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
  int held = 0;
  for (const Case& k : cases) {
    ticks = 0;
    EXPECT_EQ(run(*c, k.command), FtpClient::ResponseCompleted) << k.command;
    EXPECT_EQ(server_->count("HOLD 226"), ++held);
    // 3 s of hold: about 300 ticks when nothing stops the loop.
    EXPECT_GE(ticks, 100) << k.command;
    EXPECT_TRUE(sameContent(k.copy, image)) << k.command;
  }

  // cancel() while the reply is held: the GET's data is all in its
  // temporary by then, and still nothing may appear under the real name.
  for (const Case& k : cases) {
    c->execute(k.command);
    ++held;
    ASSERT_TRUE(pumpUntil([&] { return server_->count("HOLD 226") == held; }, 10000));
    c->cancel();
    EXPECT_FALSE(c->stillExecuting());
  }
  EXPECT_EQ(entries(local_), std::vector<std::string>{"back.bin"});
  // Each next command ran in a new session and was done long before the
  // server would have let a held reply go.
  EXPECT_EQ(run(*c, "DELETE /config.txt"), FtpClient::ResponseCompleted);
  EXPECT_EQ(server_->count("RELEASE 226"), 2);
  EXPECT_EQ(server_->count("USER kovauser"), 3);
  ASSERT_TRUE(pumpUntil([&] { return server_->count("RELEASE 226") == 4; }, 10000));
  pump(100);
  EXPECT_EQ(states_, (std::vector<int>{12, 12, 12})) << "nothing of the cancelled commands";
}

}  // namespace
