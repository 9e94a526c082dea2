// The real FTP client against the simulated modem's FTP server
// (tools/modemsim/simftp.py) on loopback.
#include "platform/qt/CurlFtpClient.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Streamed, so that the test itself holds no image in memory.
void writeRandomFile(const fs::path& path, std::size_t size) {
  std::ifstream random("/dev/urandom", std::ios::binary);
  std::ofstream out(path, std::ios::binary);
  std::copy_n(std::istreambuf_iterator<char>(random), size, std::ostreambuf_iterator<char>(out));
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Seconds left on the keep-alive timer ("02:<ticks>", else -1) of each
// established connection to 127.0.0.1:port, as the kernel shows it.
std::vector<long> keepAliveTimersTo(int port) {
  char peer[16];
  std::snprintf(peer, sizeof peer, "0100007F:%04X", port);
  std::vector<long> left;
  std::ifstream in("/proc/net/tcp");
  for (std::string line, slot, local, remote, state, queues, timer; std::getline(in, line);) {
    std::istringstream(line) >> slot >> local >> remote >> state >> queues >> timer;
    if (state == "01" && remote == peer)
      left.push_back(timer.starts_with("02:")
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
    base_ = tmp_.path().toStdString();
    root_ = base_ / "root";
    local_ = base_ / "local";
    fs::create_directories(root_ / "bin");
    fs::create_directories(local_);
    writeRandomFile(root_ / "bin" / "kova.bin", 300 * 1024);
    for (const char* name : {"checksum.txt", "config.txt", "syslog.log"})
      std::ofstream(root_ / name) << name << "\r\n";
  }

  void TearDown() override { stopServer(); }

  void startServer(const QStringList& faults = {}) {
    stopServer();
    journal_ = base_ / ("journal" + std::to_string(++servers_) + ".log");
    server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server_.start(KOVA_PYTHON, QStringList{QString(KOVA_SOURCE_DIR) + "/tools/modemsim/simftp.py",
                                           "--root", QString::fromStdString(root_.string()),
                                           "--journal", QString::fromStdString(journal_)} +
                                   faults);
    QByteArray out;  // "PORT <n>" once it listens
    while (!out.contains('\n') && server_.waitForReadyRead(10000))
      out += server_.readAllStandardOutput();
    port_ = out.startsWith("PORT ") ? out.mid(5).trimmed().toInt() : 0;
    ASSERT_GT(port_, 0) << "the FTP server did not start";
  }

  // The server ends when its standard input closes.
  void stopServer() {
    if (server_.state() == QProcess::NotRunning) return;
    server_.closeWriteChannel();
    if (!server_.waitForFinished(5000)) server_.kill();
    server_.waitForFinished();
  }

  // Journal lines equal to `line` (or starting with it).
  int count(const std::string& line, bool prefix = false) const {
    std::ifstream in(journal_);
    int n = 0;
    for (std::string l; std::getline(in, l);) n += prefix ? l.rfind(line, 0) == 0 : l == line;
    return n;
  }

  std::unique_ptr<CurlFtpClient> makeClient(
      int timeoutMs = 10000, long long maxDownload = CurlFtpClient::kMaxDownloadBytes) {
    auto c =
        std::make_unique<CurlFtpClient>(port_, "kovauser", "moonstone", timeoutMs, maxDownload);
    c->setRemoteHost("127.0.0.1");
    c->onStateChanged = [this](int state) { states_.push_back(state); };
    return c;
  }

  // Executes a command and returns the notification it gets (-1: none);
  // meanwhile a second one is refused (and the journal shows nothing of it).
  int run(CurlFtpClient& c, const std::string& command) {
    const std::size_t before = states_.size();
    c.execute(command);
    EXPECT_EQ(states_.size(), before) << "notified from inside execute()";
    EXPECT_TRUE(c.stillExecuting());
    EXPECT_EQ(refusal(c, "DELETE /config.txt"), CurlFtpClient::kStillExecuting);
    pumpUntil([&] { return states_.size() > before; });
    return states_.size() > before ? states_[before] : -1;
  }

  // Runs the loop until done() (true) or the deadline (false).
  bool pumpUntil(const std::function<bool()>& done, int deadlineMs = 30000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < deadlineMs) {
      QEventLoop loop;
      QTimer::singleShot(5, &loop, &QEventLoop::quit);
      loop.exec();
    }
    return done();
  }

  // Piece by piece: GCC 12 warns (-Wrestrict, falsely) on the operator+ chain at -O3.
  static std::string quoted(const fs::path& p) {
    std::string text = "\"";
    text += p.string();
    text += '"';
    return text;
  }

  QTemporaryDir tmp_;
  fs::path base_, root_, local_, journal_;
  QProcess server_;
  int servers_ = 0, port_ = 0;
  std::vector<int> states_;
};

TEST_F(CurlFtpClientTest, OneSessionCarriesAChainWithExactPaths) {
  startServer();
  auto c = makeClient();
  // A line break would put a second command on the wire.
  for (const char* text : {"GET /bin/kova.bin \"unbalanced", "DELETE /x\r\nDELE /config.txt"})
    EXPECT_EQ(refusal(*c, text), kFtpCommandInvalid) << text;
  const fs::path backup = local_ / "My Backups" / "kova 1_2_3_4.bin";
  fs::create_directories(backup.parent_path());
  std::ofstream(backup) << "older backup";  // replaced once the new copy is complete
  EXPECT_EQ(run(*c, "GET /bin/kova.bin " + quoted(backup)), FtpClient::ResponseCompleted);
  EXPECT_TRUE(readFile(backup) == readFile(root_ / "bin" / "kova.bin"));
  EXPECT_EQ(std::distance(fs::directory_iterator(backup.parent_path()), {}), 1);

  const fs::path image = local_ / "new image.bin";
  writeRandomFile(image, 600 * 1024);  // read back over several of the compare's windows
  EXPECT_EQ(run(*c, "PUT " + quoted(image) + " /bin/kova.bin"), 12);
  EXPECT_TRUE(readFile(image) == readFile(root_ / "bin" / "kova.bin"));
  // The modem's copy checked as it arrives against the file sent; nothing
  // is written on the PC. One byte changed, missing or added is a difference.
  const std::string compare = "COMPARE /bin/kova.bin " + quoted(image);
  const std::string stored = readFile(root_ / "bin" / "kova.bin");
  std::vector<std::string> modemCopies = {stored, stored.substr(0, stored.size() - 1),
                                          stored + 'x', stored.substr(256 * 1024) + 'x'};
  for (std::size_t at : {std::size_t{0}, std::size_t{150 * 1024}, std::size_t{256 * 1024 - 1},
                         std::size_t{256 * 1024}, std::size_t{512 * 1024 + 1}, stored.size() - 1}) {
    modemCopies.push_back(stored);
    modemCopies.back()[at] ^= 1;
  }
  for (const std::string& modemCopy : modemCopies) {
    std::ofstream(root_ / "bin" / "kova.bin", std::ios::binary) << modemCopy;
    EXPECT_EQ(run(*c, compare), 12);
    EXPECT_EQ(c->sameAsLocal(), modemCopy == stored) << modemCopy.size();
  }
  EXPECT_EQ(std::distance(fs::recursive_directory_iterator(local_), {}), 3);
  std::ofstream(root_ / "bin" / "kova.bin", std::ios::binary) << stored;

  EXPECT_EQ(run(*c, "DELETE /config.txt"), 12);
  // The kernel probes the quiet control connection after a minute, before a
  // NAT on the way forgets it (the modem may write flash for minutes).
  const std::vector<long> timers = keepAliveTimersTo(port_);
  ASSERT_EQ(timers.size(), 1u);
  EXPECT_GT(timers[0], 50);
  EXPECT_LE(timers[0], 60);
  EXPECT_EQ(run(*c, "GET /syslog.log " + (local_ / "syslog.log").string()), 12);
  EXPECT_EQ(run(*c, "CLOSE"), FtpClient::Disconnected);

  EXPECT_EQ(count("FTP USER kovauser"), 1) << "one login for the whole chain";
  for (const char* line : {"FTP STOR /bin/kova.bin", "FTP DELE /config.txt",
                           "FTP RETR /syslog.log", "FTP QUIT"})
    EXPECT_EQ(count(line), 1) << line;
  EXPECT_EQ(count("FTP RETR /bin/kova.bin"), 11);
  // libcurl may step back to the root ("CWD /"), never into a directory.
  EXPECT_EQ(count("FTP CWD", true), count("FTP CWD /"));

  // After CLOSE the next command opens a new session.
  EXPECT_EQ(run(*c, "GET /checksum.txt " + quoted(local_ / "chk.txt")), 12);
  EXPECT_EQ(count("FTP USER kovauser"), 2);
  EXPECT_FALSE(c->sameAsLocal()) << "only a COMPARE tells";
  std::vector<int> expected(14, 12);  // up to the syslog, then CLOSE and the new session's GET
  expected.insert(expected.end(), {10, 12});
  EXPECT_EQ(states_, expected);
}

// Every way a command fails, as the caller sees it; no file or temporary is
// left, and the next command runs (in a new session if the old one ended).
TEST_F(CurlFtpClientTest, FailuresReportStateNumberAndText) {
  const fs::path image = base_ / "image.bin";
  writeRandomFile(image, 32 << 20);  // more than the socket buffers hold
  using F = FtpClient;
  const QStringList stall{"--stall", "/bin/kova.bin"}, drop{"--drop", "/bin/kova.bin"};
  const std::string get = "GET /bin/kova.bin ", put = "PUT " + quoted(image) + " /bin/kova.bin";
  const std::string target = quoted(local_ / "kova.bin");
  const std::string noDir = (local_ / "no" / "dir" / "kova.bin").string();
  const std::string noImage = (local_ / "no such image.bin").string();
  constexpr int kRead = CurlFtpClient::kOtherBase + CURLE_READ_ERROR;
  constexpr int kWrite = CurlFtpClient::kOtherBase + CURLE_WRITE_ERROR;
  constexpr int kUrl = CurlFtpClient::kOtherBase + CURLE_URL_MALFORMAT;
  constexpr int kTooLarge = CurlFtpClient::kOtherBase + CURLE_FILESIZE_EXCEEDED;
  const QStringList endless{"--endless", "/bin/kova.bin"};
  struct Row {
    QStringList faults;  // {"none"}: nobody listens
    std::string command;
    int state, code;
    std::string info;  // part of responseInfo()
    int next;          // what the next command gets
    int logins;        // USER commands the server saw in all (-1: libcurl's choice)
    const char* host = "127.0.0.1";
    long long maxDownload = CurlFtpClient::kMaxDownloadBytes;
  } rows[] = {
      // A server that streams without end fills no disk: refused when it
      // announces the size, stopped at the bound when it does not.
      {endless, get + target, 11, kTooLarge, "larger than 512 MiB, more than a modem image", 12, -1},
      {endless + QStringList{"--no-size"}, get + target, 11, kWrite, "larger than 1 MiB", 12, -1,
       "127.0.0.1", 1 << 20},
      // A compare is bound by its local file: the modem's longer one differs.
      {endless, "COMPARE /bin/kova.bin " + quoted(image), 12, 0, "", 12, -1},
      {endless + QStringList{"--no-size"}, "COMPARE /bin/kova.bin " + quoted(image), 12, 0, "", 12,
       -1},
      {{}, "GET /bin/missing.bin " + target, 11, F::kServerRefused, "550 ", 12, -1},
      {{}, "COMPARE /bin/missing.bin " + quoted(image), 11, F::kServerRefused, "550 ", 12, -1},
      {drop, "COMPARE /bin/kova.bin " + quoted(image), 10, 0, "", 12, 2},
      {{}, "COMPARE /bin/kova.bin \"" + noImage + "\"", 11, kRead, noImage, 12, 1},
      {{}, "DELETE /nothing.txt", 11, F::kServerRefused, "550 ", 12, -1},
      {{"--wrong-password"}, "GET /checksum.txt " + target, 11, F::kLoginRefused, "530 ", 11, 2},
      {{"none"}, "DELETE /config.txt", 11, F::kCannotConnect, "onnect", 11, 0},
      {stall, get + target, 11, F::kTimeout, "timed out", 12, 2},
      {stall, put, 11, F::kTimeout, "timed out", 12, 2},
      {drop, get + target, 10, 0, "", 12, 2},
      {drop, put, 10, 0, "", 12, 2},
      {{}, "PUT \"" + noImage + "\" /bin/kova.bin", 11, kRead, noImage, 12, 1},
      {{}, "PUT " + quoted(local_) + " /bin/kova.bin", 11, kRead, "not a regular file", 12, 1},
      {{}, get + "\"" + noDir + "\"", 11, kWrite, noDir, 12, 1},
      {{}, get + quoted(local_), 11, kWrite, "not a file name", 12, 1},
      // Host texts that would pick another host or port or add a command.
      {{}, "DELETE /config.txt", 11, kUrl, "host name", 11, 0, "127.0.0.1:21"},
      {{}, "DELETE /config.txt", 11, kUrl, "host name", 11, 0, "127.0.0.1\r\nQUIT"},
      {{}, "DELETE /config.txt", 11, kUrl, "host name", 11, 0, "1@127.0.0.1"},
      {{}, "DELETE /config.txt", 11, kUrl, "host name", 11, 0, "127.0.0.1/x"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.command + " " + row.faults.join(" ").toStdString());
    const bool nobody = row.faults == QStringList{"none"};
    startServer(nobody ? QStringList{} : row.faults);
    if (nobody) stopServer();  // its port is free now
    auto c = makeClient(2000, row.maxDownload);
    c->setRemoteHost(row.host);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(run(*c, row.command), row.state);
    if (row.code == F::kTimeout) {
      EXPECT_GE(clock.elapsed(), 1900);
    }
    EXPECT_EQ(c->responseCode(), row.code);
    EXPECT_NE(c->responseInfo().english().find(row.info), std::string::npos) << c->responseInfo();
    EXPECT_TRUE(fs::is_empty(local_));
    EXPECT_FALSE(c->sameAsLocal());
    EXPECT_EQ(run(*c, "GET /checksum.txt " + quoted(base_ / "next.txt")), row.next);
    if (row.logins >= 0) {
      EXPECT_EQ(count("FTP USER kovauser"), row.logins);
    }
  }
}

// A read-back writes nothing: an image beyond the download cap compares
// whole, while a download of it is still refused.
TEST_F(CurlFtpClientTest, AReadBackIsBoundByItsLocalFileNotTheDownloadCap) {
  writeRandomFile(root_ / "bin" / "kova.bin", 3 << 20);
  const fs::path image = base_ / "image.bin";
  fs::copy_file(root_ / "bin" / "kova.bin", image);
  startServer();
  auto c = makeClient(10000, 1 << 20);
  EXPECT_EQ(run(*c, "COMPARE /bin/kova.bin " + quoted(image)), FtpClient::ResponseCompleted);
  EXPECT_TRUE(c->sameAsLocal());
  EXPECT_EQ(run(*c, "GET /bin/kova.bin " + quoted(local_ / "kova.bin")), FtpClient::ErrorState);
  EXPECT_NE(c->responseInfo().english().find("larger than 1 MiB"), std::string::npos)
      << c->responseInfo();
}

// An upload counts what the server took, not what our send buffers hold:
// while a slow server sleeps on its first 2 MiB the count says so, though
// libcurl handed all 3 MiB over at once (and closed the data connection,
// whose queue still counts).
TEST_F(CurlFtpClientTest, AnUploadCountsWhatTheServerTook) {
  startServer({"--rate", QString::number(1 << 20)});
  auto c = makeClient();
  const fs::path image = base_ / "image.bin";
  writeRandomFile(image, 3 << 20);
  std::vector<long long> told;
  c->onProgress = [&](long long done, long long) { told.push_back(done); };
  EXPECT_EQ(run(*c, "PUT " + quoted(image) + " /bin/kova.bin"), FtpClient::ResponseCompleted);
  ASSERT_GE(told.size(), 3u);
  EXPECT_EQ(told.back(), 3 << 20);
  EXPECT_TRUE(std::any_of(told.begin(), told.end() - 1,
                          [](long long done) { return done > 0 && done < 3 << 20; }))
      << ::testing::PrintToString(told);
}

// A modem writes flash before the final reply of a transfer, which libcurl
// awaits in one call: the loop keeps running, a large image arrives whole
// both ways (memory: bench/run), and a cancel or the end of the client leaves
// nothing behind.
TEST_F(CurlFtpClientTest, HeldFinalReplyLargeImageAndCancel) {
  startServer({"--hold", "3"});
  auto c = makeClient();
  const fs::path image = base_ / "image.bin";
  writeRandomFile(image, 16 << 20);
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
  ticker.start(10);
  EXPECT_EQ(run(*c, "DELETE /config.txt"), 12);
  const std::string put = "PUT " + quoted(image) + " /bin/kova.bin";
  const std::string get = "GET /bin/kova.bin " + quoted(local_ / "back.bin");
  for (const std::string& command : {put, get}) {
    ticks = 0;
    EXPECT_EQ(run(*c, command), FtpClient::ResponseCompleted) << command;
    // 3 s of hold: about 300 ticks when nothing stops the loop.
    EXPECT_GE(ticks, 100) << command;
  }
  EXPECT_TRUE(readFile(image) == readFile(root_ / "bin" / "kova.bin"));
  EXPECT_TRUE(readFile(image) == readFile(local_ / "back.bin"));
  fs::remove(local_ / "back.bin");

  // cancel() while the reply is held: the GET's data is all in its
  // temporary by then, and still nothing may appear under the real name.
  const std::string hold = "FTP hold /bin/kova.bin", release = "FTP release /bin/kova.bin";
  for (const std::string& command : {put, get}) {
    const int held = count(hold) + 1;
    c->execute(command);
    ASSERT_TRUE(pumpUntil([&] { return count(hold) == held; }));
    c->cancel();
  }
  // An outcome already queued (CLOSE without a session) is dropped too.
  c->execute("CLOSE");
  ::usleep(100000);
  c->cancel();
  // The next command runs in a new session, done before the held replies.
  EXPECT_EQ(run(*c, "DELETE /syslog.log"), FtpClient::ResponseCompleted);
  EXPECT_EQ(count(release), 2);
  EXPECT_EQ(count("FTP USER kovauser"), 3);
  ASSERT_TRUE(pumpUntil([&] { return count(release) == 4; }));
  pumpUntil([] { return false; }, 100);
  EXPECT_EQ(states_, (std::vector<int>{12, 12, 12, 12})) << "nothing of the cancelled commands";
  EXPECT_TRUE(fs::is_empty(local_));

  // The client ends in the middle of a download.
  c->execute(get);
  ASSERT_TRUE(pumpUntil([&] { return !fs::is_empty(local_); }));
  c.reset();
  EXPECT_TRUE(fs::is_empty(local_));
}

}  // namespace
