#include "platform/qt/CurlFtpClient.h"

#include "platform/qt/ProcessStamp.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

// How libcurl's outcome becomes the component's notification and number:
//
//   libcurl result                               state  responseCode
//   CURLE_OK                                     12     0
//   CURLE_OPERATION_TIMEDOUT (28), and our own   11     12002 time-out
//     idle check: no data or reply for requestTimeoutMs
//   CURLE_REMOTE_FILE_NOT_FOUND (78)             11     12003 server refused;
//   CURLE_REMOTE_ACCESS_DENIED (9)                            responseInfo is
//   CURLE_FTP_COULDNT_RETR_FILE (19)                          the server's
//   CURLE_QUOTE_ERROR (21, a refused DELE)                    reply line
//   CURLE_UPLOAD_FAILED (25)
//   CURLE_REMOTE_DISK_FULL (70), CURLE_REMOTE_FILE_EXISTS (73)
//   CURLE_LOGIN_DENIED (67)                      11     12014 login refused
//   CURLE_COULDNT_CONNECT (7)                    11     12029 cannot connect
//   CURLE_SEND_ERROR (55), CURLE_RECV_ERROR (56) 10     -  the session is gone
//   CURLE_GOT_NOTHING (52), CURLE_PARTIAL_FILE (18)
//     (when no live control connection is left; else as "anything else")
//   local file cannot be read / created          11     13026 / 13023
//   CURLE_FILESIZE_EXCEEDED (63): more than      11     13063
//     kMaxDownloadBytes, or than the disk holds
//   anything else                                11     13000 + libcurl code
//
// "CLOSE" always ends in 10, whatever the server answers to QUIT.
//
// libcurl waits without returning in two places: for the final reply after
// a data transfer (226; a modem writes the image to flash first, and libcurl
// allows it a minute), and for the reply to the QUIT it sends when it drops
// a connection itself after some errors. Both happen on the worker thread.
// When we drop a connection (cancel, time-out, CLOSE) the sockets are shut
// down first, from whichever thread, so that such a wait ends at once.

namespace {

// libcurl receives a download into a buffer of this size: with 1 MiB
// a 64 MiB read-back took about a quarter less time than with 256 KiB.
// Only commands that receive a file get it: the others read replies of a
// line, and an upload would otherwise map and unmap a megabyte between
// the final reply and its completion.
constexpr long kDownloadBuffer = 1L << 20;
// The receiving socket's buffer. With the system's default each read took
// about 93 KiB, whatever libcurl's buffer (the queue held no more): with
// this, reads fill the whole buffer, a tenth as many of them, and
// on a loaded machine a 64 MiB read-back took 7-12% less time. (A larger
// send buffer made uploads slower, so uploads keep the system's.)
constexpr int kReceiveSocketBuffer = 4 << 20;
constexpr std::size_t kCompareWindow = 256 << 10;
// libcurl may hand a download over 16 KiB at a time; a write() for each cost a
// 64 MiB image more than copying it into pieces of this size first.
constexpr std::size_t kWritePiece = 256 << 10;
// libcurl's own default, and the curl tool's: measured on a quiet machine,
// 128 and 256 KiB made a 16 MiB upload 5-10% slower, larger images no
// faster.
constexpr long kUploadBuffer = 64L << 10;
// A NAT between the PC and the modem forgets a connection that is quiet
// for a few minutes, e.g. while the modem writes the image to flash.
constexpr long kKeepAliveSeconds = 60;
constexpr auto kProgressInterval = std::chrono::milliseconds(100);

bool isReplyLine(const std::string& line) {
  return line.size() >= 3 && std::isdigit(static_cast<unsigned char>(line[0])) &&
         std::isdigit(static_cast<unsigned char>(line[1])) &&
         std::isdigit(static_cast<unsigned char>(line[2])) &&
         (line.size() == 3 || line[3] == ' ');
}

bool isErrorReply(const std::string& line) {
  return isReplyLine(line) && (line[0] == '4' || line[0] == '5');
}

std::string systemError(int err) { return std::strerror(err); }

// Before the connection is made, so that the window is offered from the
// start. A refusal only costs speed.
int sizeReceiveBuffer(void*, curl_socket_t s, curlsocktype) {
  const int size = kReceiveSocketBuffer;
  (void)::setsockopt(s, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
  return CURL_SOCKOPT_OK;
}

// The error number of a local file that could not be written.
int writeError(int err) {
  return err == ENOSPC || err == EDQUOT ? FtpClient::kDiskFull
                                        : CurlFtpClient::kOtherBase + CURLE_WRITE_ERROR;
}

// The folder's entry of a file just renamed into it reaches the disk.
int syncFolder(const std::filesystem::path& file) {
  std::filesystem::path folder = file.parent_path();
  if (folder.empty()) folder = ".";
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  const int err = fd < 0 || ::fsync(fd) != 0 ? errno : 0;
  if (fd >= 0) ::close(fd);
  return err;
}

// Why a download larger than limit was refused; space: the limit is the
// disk's free space.
Text tooLarge(const std::string& remote, long long limit, bool space) {
  return Text(space ? "The modem's file %1 is larger than %2 MiB, the space left on the disk: it "
                      "was not downloaded."_t
                    : "The modem's file %1 is larger than %2 MiB, more than a modem image or log "
                      "can be: it was not downloaded."_t)
      .arg(remote)
      .arg(limit >> 20);
}

// The callers check the modem address before they connect; this keeps a
// host text that a URL would read as user, port, path or fragment ("1@x",
// "x:21", "1/x") from ever reaching libcurl, whoever the caller is.
bool isPlainHost(const std::string& host) {
  if (host.empty()) return false;
  for (unsigned char c : host) {
    if (!std::isalnum(c) && c != '-' && c != '.') return false;
  }
  return true;
}

}  // namespace

// What the worker thread owns of one command, from execute() until the
// request is done or dropped.
struct CurlFtpClient::Job {
  FtpCommand cmd;
  std::string url;
  std::string interfaceName;  // the connections' interface; empty: any
  CurlMultiDriver* driver = nullptr;
  int fd = -1;  // local file
  curl_off_t size = 0;
  curl_off_t limit = 0;    // the most it may receive
  bool limitIsSpace = false;  // the disk's free space sets it
  bool overLimit = false;     // more arrived than the limit
  curl_off_t written = 0;
  std::vector<char> pending;  // GET: received, not yet written
  // COMPARE: each piece is set against the local file as it arrives, so
  // the check ends with the last byte and nothing is written. A compare
  // costs a fraction of a hash: the read-back keeps pace with the upload.
  std::vector<char> window;  // the local file's bytes from windowAt
  curl_off_t windowAt = 0;
  bool differs = false;
  // Progress reports, when the client's user wants them: at most one per
  // kProgressInterval from the worker thread.
  CurlFtpClient* progressTo = nullptr;
  curl_off_t taken = 0;  // PUT: bytes the server acknowledged, as last told
  unsigned generation = 0;
  std::chrono::steady_clock::time_point lastProgress{};
  curl_slist* quote = nullptr;
  std::string lastReply;  // last final reply line of the server
  Text localError;
  bool diskFull = false;  // localError: the disk has no room for the file
  char errorBuffer[CURL_ERROR_SIZE] = {};

  Job() = default;
  Job(const Job&) = delete;
  Job& operator=(const Job&) = delete;
  ~Job() {
    closeFile();
    curl_slist_free_all(quote);
  }
  // Writes what is pending; false with localError set.
  bool flush() {
    std::size_t done = 0;
    while (done < pending.size()) {
      ssize_t w = ::write(fd, pending.data() + done, pending.size() - done);
      if (w < 0) {
        if (errno == EINTR) continue;
        diskFull = writeError(errno) == FtpClient::kDiskFull;
        localError =
            Text("Cannot write local file %1: %2"_t).arg(cmd.local).arg(systemError(errno));
        return false;
      }
      done += static_cast<size_t>(w);
    }
    pending.clear();
    return true;
  }
  // COMPARE: the piece that arrived is the local file's at this offset.
  // libcurl hands a download over 16 KiB at a time; the local file is read
  // ahead a window at a time, so that a system call serves many pieces.
  bool sameAsFile(const char* data, std::size_t size) {
    curl_off_t offset = written;
    while (size > 0) {
      if (offset < windowAt || offset >= windowAt + static_cast<curl_off_t>(window.size())) {
        if (!readWindow(offset)) return false;
      }
      const std::size_t at = static_cast<std::size_t>(offset - windowAt);
      const std::size_t n = std::min(size, window.size() - at);
      if (std::memcmp(window.data() + at, data, n) != 0) return false;
      data += n;
      size -= n;
      offset += static_cast<curl_off_t>(n);
    }
    return true;
  }
  // The window from offset; false when the file ends there (the modem's
  // file is longer) or cannot be read.
  bool readWindow(curl_off_t offset) {
    window.resize(kCompareWindow);
    std::size_t got = 0;
    while (got < window.size()) {
      const ssize_t r = ::pread(fd, window.data() + got, window.size() - got,
                                static_cast<off_t>(offset) + static_cast<off_t>(got));
      if (r < 0 && errno == EINTR) continue;
      if (r <= 0) break;
      got += static_cast<std::size_t>(r);
    }
    window.resize(got);
    windowAt = offset;
    return got > 0;
  }
  // The error number of close(), 0 when fine.
  int closeFile() {
    if (fd < 0) return 0;
    int err = ::close(fd) == 0 ? 0 : errno;
    fd = -1;
    return err;
  }
};

CurlFtpClient::CurlFtpClient(int port, std::string user, std::string password,
                             int requestTimeoutMs, long long maxDownloadBytes, QObject* parent)
    : QObject(parent),
      port_(port),
      user_(std::move(user)),
      password_(std::move(password)),
      timeoutMs_(requestTimeoutMs > 0 ? requestTimeoutMs : 60000),
      maxDownload_(maxDownloadBytes) {
  idleTimer_.setSingleShot(true);
  connect(&idleTimer_, &QTimer::timeout, this, &CurlFtpClient::idleCheck);
}

CurlFtpClient::~CurlFtpClient() {
  driver_.stop();  // no hook runs and nothing is posted from here on
  dropTempFile();
}

void CurlFtpClient::execute(const std::string& command) {
  if (busy_) throw PlatformError(kStillExecuting, "Still executing last request");
  FtpCommand cmd = ParseFtpCommand(command);

  busy_ = true;
  current_ = cmd;
  sameAsLocal_ = false;

  if (!isPlainHost(host_) && cmd.kind != FtpCommand::Close) {
    finish(ErrorState, kOtherBase + CURLE_URL_MALFORMAT,
           host_.empty() ? "No remote host set" : "Not a host name: " + host_);
    return;
  }
  auto job = std::make_shared<Job>();
  if (!openLocalFile(cmd, job->fd)) return;
  if (cmd.kind == FtpCommand::Get) {
    std::error_code ec;
    const auto space = std::filesystem::space(std::filesystem::path(tempPath_).parent_path(), ec);
    job->limit = maxDownload_;
    if (!ec && static_cast<long long>(space.available) < job->limit) {
      job->limit = static_cast<curl_off_t>(space.available);
      job->limitIsSpace = true;
    }
  }
  if (cmd.kind == FtpCommand::Put || cmd.kind == FtpCommand::Compare) {
    struct stat st {};
    ::fstat(job->fd, &st);
    job->size = st.st_size;
  }
  // A compare writes nothing, so the download cap is no bound for it: one
  // byte more than the local file already tells that the modem's differs.
  if (cmd.kind == FtpCommand::Compare) job->limit = job->size + 1;
  const bool hasFile = cmd.movesFile();
  job->url = url(hasFile ? cmd.remote : std::string());
  job->interfaceName = interfaceName();
  job->cmd = std::move(cmd);
  job->driver = &driver_;

  const unsigned gen = generation_;
  if (onProgress && job->cmd.movesFile()) {
    job->progressTo = this;
    job->generation = gen;
  }
  driver_.run({[this, job, gen](CURL* easy, CurlMultiDriver& driver) {
                 if (job->cmd.kind == FtpCommand::Close && !driver.sessionAlive()) {
                   driver.closeSession();
                   post(gen, {Disconnected, 0, {}, false});
                   return false;
                 }
                 return startTransfer(*job, easy);
               },
               [this, job, gen](CURLcode result, CurlMultiDriver& driver) {
                 Outcome outcome = transferDone(*job, result, driver);
                 // The whole file, told before the completion.
                 if (outcome.state == ResponseCompleted && job->progressTo) {
                   const long long size =
                       job->cmd.kind == FtpCommand::Put ? job->size : job->written;
                   postProgress(gen, size, size);
                 }
                 post(gen, std::move(outcome));
               }});
  idleTimer_.start(timeoutMs_);
}

void CurlFtpClient::cancel() {
  ++generation_;
  idleTimer_.stop();
  driver_.abandon();
  dropTempFile();
  busy_ = false;
}

// --- Qt thread ----------------------------------------------------------------

bool CurlFtpClient::openLocalFile(const FtpCommand& cmd, int& fd) {
  namespace fs = std::filesystem;
  if (cmd.kind == FtpCommand::Put || cmd.kind == FtpCommand::Compare) {
    fd = ::open(cmd.local.c_str(), O_RDONLY | O_CLOEXEC);
    const int err = errno;
    struct stat st {};
    if (fd >= 0 && ::fstat(fd, &st) == 0 && !S_ISREG(st.st_mode)) {
      finish(ErrorState, kOtherBase + CURLE_READ_ERROR,
             Text("Cannot open local file %1: %2"_t).arg(cmd.local).arg("not a regular file"_t));
      return false;  // the job closes fd
    }
    if (fd < 0) {
      finish(ErrorState, kOtherBase + CURLE_READ_ERROR,
             Text("Cannot open local file %1: %2"_t).arg(cmd.local).arg(systemError(err)));
      return false;
    }
    return true;
  }
  if (cmd.kind != FtpCommand::Get) return true;

  // Written beside the target and renamed over it once complete, so a
  // broken transfer never leaves a partial file under the real name.
  fs::path target(cmd.local);
  std::error_code ec;
  if (!target.has_filename() || fs::is_directory(target, ec)) {
    finish(ErrorState, kOtherBase + CURLE_WRITE_ERROR,
           Text("Cannot create local file %1: %2"_t).arg(cmd.local).arg("not a file name"_t));
    return false;
  }
  static unsigned counter = 0;
  int err = 0;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    fs::path temp = target;
    // Appended piece by piece: GCC 12 warns (-Wrestrict, falsely) on the
    // chain of operator+ here in release builds.
    std::string name = ".";
    name += target.filename().string();
    name += ".kova-";
    name += ProcessStamp();
    name += '-';
    name += std::to_string(++counter);
    name += ".part";
    temp.replace_filename(name);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    err = errno;
    if (fd >= 0) tempPath_ = temp.string();
    if (fd < 0 && err != EEXIST) break;
  }
  if (fd < 0) {
    finish(ErrorState, writeError(err),
           Text("Cannot create local file %1: %2"_t).arg(cmd.local).arg(systemError(err)));
    return false;
  }
  return true;
}

std::string CurlFtpClient::url(const std::string& remote) const {
  std::string u = "ftp://" + host_ + ":" + std::to_string(port_) + "/";
  // Every byte but the unreserved ones is escaped, the slashes included:
  // with CURLFTPMETHOD_NOCWD libcurl then hands the decoded path to
  // RETR/STOR exactly as the command named it ("/bin/kova.bin").
  for (unsigned char c : remote) {
    if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
      u += static_cast<char>(c);
    } else {
      char buf[4];
      std::snprintf(buf, sizeof buf, "%%%02X", c);
      u += buf;
    }
  }
  return u;
}

void CurlFtpClient::finish(int state, int code, Text info) {
  post(generation_, {state, code, std::move(info), false});
}

void CurlFtpClient::post(unsigned generation, Outcome outcome) {
  // Always through the loop: the caller of execute() and the code that is
  // still unwinding never see the handler run, and outcomes keep their order.
  QMetaObject::invokeMethod(
      this, [this, generation, outcome = std::move(outcome)] { deliver(generation, outcome); },
      Qt::QueuedConnection);
}

void CurlFtpClient::postProgress(unsigned generation, long long done, long long total) {
  QMetaObject::invokeMethod(
      this,
      [this, generation, done, total] {
        if (generation == generation_ && busy_ && onProgress) onProgress(done, total);
      },
      Qt::QueuedConnection);
}

void CurlFtpClient::deliver(unsigned generation, const Outcome& outcome) {
  if (generation != generation_) return;  // cancelled meanwhile
  idleTimer_.stop();
  int state = outcome.state, code = outcome.code;
  Text info = outcome.info;
  sameAsLocal_ = outcome.sameAsLocal;
  if (!tempPath_.empty()) {
    if (!outcome.keepFile) {
      ::unlink(tempPath_.c_str());
    } else if (::rename(tempPath_.c_str(), current_.local.c_str()) != 0) {
      const int err = errno;
      ::unlink(tempPath_.c_str());
      state = ErrorState;
      code = writeError(err);
      info = Text("Cannot store local file %1: %2"_t).arg(current_.local).arg(systemError(err));
    } else if (const int err = syncFolder(current_.local); err != 0) {
      state = ErrorState;
      code = writeError(err);
      info = Text("Cannot store local file %1: %2"_t).arg(current_.local).arg(systemError(err));
    }
    tempPath_.clear();
  }
  busy_ = false;
  code_ = code;
  info_ = std::move(info);
  auto handler = onStateChanged;  // the handler may destroy us
  if (handler) handler(state);
}

void CurlFtpClient::idleCheck() {
  if (!busy_) return;
  using namespace std::chrono;
  auto idle = duration_cast<milliseconds>(steady_clock::now() - driver_.lastActivity()).count();
  if (idle < timeoutMs_) {
    idleTimer_.start(static_cast<int>(timeoutMs_ - idle) + 1);
    return;
  }
  // The state of the connection is unknown now; whatever the worker still
  // reports about this command is stale.
  ++generation_;
  driver_.abandon();
  if (current_.kind == FtpCommand::Close) {
    finish(Disconnected);
  } else {
    finish(ErrorState, kTimeout,
           "The operation timed out: no progress for " + std::to_string(timeoutMs_) +
               " ms");
  }
}

void CurlFtpClient::dropTempFile() {
  if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
  tempPath_.clear();
}

// --- worker thread --------------------------------------------------------------

bool CurlFtpClient::startTransfer(Job& job, CURL* e) const {
  curl_easy_setopt(e, CURLOPT_URL, job.url.c_str());
  curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "ftp");
  curl_easy_setopt(e, CURLOPT_USERNAME, user_.c_str());
  curl_easy_setopt(e, CURLOPT_PASSWORD, password_.c_str());
  curl_easy_setopt(e, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
  // Data connections go to the address the user gave, never elsewhere.
  curl_easy_setopt(e, CURLOPT_FTP_SKIP_PASV_IP, 1L);
  curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(e, CURLOPT_ERRORBUFFER, job.errorBuffer);
  // Control and data connections through that interface ("if!": a device
  // name, never taken for an address or host name).
  if (!job.interfaceName.empty())
    curl_easy_setopt(e, CURLOPT_INTERFACE, ("if!" + job.interfaceName).c_str());
  else
    curl_easy_setopt(e, CURLOPT_INTERFACE, nullptr);
  // KOVA_FTP_TRACE=1: libcurl's own account of each command on stderr.
  if (const char* trace = std::getenv("KOVA_FTP_TRACE"); trace && *trace == '1')
    curl_easy_setopt(e, CURLOPT_VERBOSE, 1L);
  curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeoutMs_));
  // libcurl 7.88 holds the data connection after EPSV until the control
  // connection's happy-eyeballs timer (200 ms) runs out. With 0 every
  // address family starts at once; the modem has a single IPv4 address.
  curl_easy_setopt(e, CURLOPT_HAPPY_EYEBALLS_TIMEOUT_MS, 0L);
  // A backstop for libcurl's own waits; the idle check normally fires first.
  curl_easy_setopt(e, CURLOPT_SERVER_RESPONSE_TIMEOUT,
                   static_cast<long>((timeoutMs_ + 999) / 1000 + 1));
  curl_easy_setopt(e, CURLOPT_TCP_KEEPALIVE, 1L);
  curl_easy_setopt(e, CURLOPT_TCP_KEEPIDLE, kKeepAliveSeconds);
  curl_easy_setopt(e, CURLOPT_TCP_KEEPINTVL, kKeepAliveSeconds);
  curl_easy_setopt(e, CURLOPT_UPLOAD_BUFFERSIZE, kUploadBuffer);
  curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &CurlFtpClient::onHeader);
  curl_easy_setopt(e, CURLOPT_HEADERDATA, &job);
  if (job.progressTo) {
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, &CurlFtpClient::onTransferInfo);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, &job);
  }

  switch (job.cmd.kind) {
    case FtpCommand::Get:
    case FtpCommand::Compare:
      curl_easy_setopt(e, CURLOPT_BUFFERSIZE, kDownloadBuffer);
      curl_easy_setopt(e, CURLOPT_SOCKOPTFUNCTION, &sizeReceiveBuffer);
      curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &CurlFtpClient::onWrite);
      curl_easy_setopt(e, CURLOPT_WRITEDATA, &job);
      // A size the server announces beyond the limit is refused at once.
      curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, job.limit);
      break;
    case FtpCommand::Put:
      curl_easy_setopt(e, CURLOPT_UPLOAD, 1L);
      curl_easy_setopt(e, CURLOPT_READFUNCTION, &CurlFtpClient::onRead);
      curl_easy_setopt(e, CURLOPT_READDATA, &job);
      curl_easy_setopt(e, CURLOPT_INFILESIZE_LARGE, job.size);
      break;
    case FtpCommand::Delete:
      job.quote = curl_slist_append(nullptr, ("DELE " + job.cmd.remote).c_str());
      curl_easy_setopt(e, CURLOPT_QUOTE, job.quote);
      curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
      break;
    case FtpCommand::Close:
      // The server answers and hangs up; the session is then dropped.
      job.quote = curl_slist_append(nullptr, "QUIT");
      curl_easy_setopt(e, CURLOPT_QUOTE, job.quote);
      curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
      break;
  }
  return true;
}

CurlFtpClient::Outcome CurlFtpClient::transferDone(Job& job, CURLcode result,
                                                   CurlMultiDriver& driver) const {
  if (job.cmd.kind == FtpCommand::Close) {
    driver.closeSession();
    return {Disconnected, 0, {}, false};
  }

  if (result == CURLE_OK && job.cmd.kind == FtpCommand::Get && !job.flush()) {
    job.closeFile();
    return {ErrorState, job.diskFull ? kDiskFull : kOtherBase + CURLE_WRITE_ERROR,
            job.localError};
  }
  // A modem's file shorter or longer than the local one differs too; a
  // longer one is not read past the bound.
  const bool longer = result == CURLE_FILESIZE_EXCEEDED || job.overLimit;
  if (job.cmd.kind == FtpCommand::Compare && (result == CURLE_OK || longer)) {
    job.closeFile();
    return {ResponseCompleted, 0, {}, false, !longer && !job.differs && job.written == job.size};
  }
  if (result == CURLE_OK) {
    // On the disk before it takes its name: a power cut leaves the old
    // file or the whole new one.
    int err = job.cmd.kind == FtpCommand::Get && ::fsync(job.fd) != 0 ? errno : 0;
    if (int closed = job.closeFile(); err == 0) err = closed;
    if (err != 0) {
      return {ErrorState, writeError(err),
              Text("Cannot store local file %1: %2"_t).arg(job.cmd.local).arg(systemError(err))};
    }
    return {ResponseCompleted, 0, {}, true};
  }

  job.closeFile();
  const std::string curlText = job.errorBuffer[0] ? job.errorBuffer : curl_easy_strerror(result);
  const std::string reply = isErrorReply(job.lastReply) ? job.lastReply : curlText;
  switch (result) {
    case CURLE_OPERATION_TIMEDOUT:
      driver.closeSession();
      return {ErrorState, kTimeout, Text("The operation timed out: %1"_t).arg(curlText)};
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_FTP_COULDNT_RETR_FILE:
    case CURLE_QUOTE_ERROR:
    case CURLE_UPLOAD_FAILED:
    case CURLE_REMOTE_DISK_FULL:
    case CURLE_REMOTE_FILE_EXISTS:
      return {ErrorState, kServerRefused, reply};
    case CURLE_LOGIN_DENIED:
      return {ErrorState, kLoginRefused, reply};
    case CURLE_FILESIZE_EXCEEDED:
      return {ErrorState, job.limitIsSpace ? kDiskFull : kOtherBase + static_cast<int>(result),
              tooLarge(job.cmd.remote, job.limit, job.limitIsSpace)};
    case CURLE_COULDNT_CONNECT:
      driver.closeSession();
      return {ErrorState, kCannotConnect, curlText};
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
      if (!driver.sessionAlive()) {
        driver.closeSession();
        return {Disconnected, 0, {}, false};
      }
      break;
    default:
      break;
  }
  return {ErrorState, job.diskFull ? kDiskFull : kOtherBase + static_cast<int>(result),
          job.localError.empty() ? Text(curlText) : job.localError};
}

size_t CurlFtpClient::onWrite(char* data, size_t size, size_t n, void* userp) {
  auto* job = static_cast<Job*>(userp);
  job->driver->touch();
  const size_t total = size * n;
  if (job->written + static_cast<curl_off_t>(total) > job->limit) {
    job->overLimit = true;
    job->localError = tooLarge(job->cmd.remote, job->limit, job->limitIsSpace);
    job->diskFull = job->limitIsSpace;
    return CURL_WRITEFUNC_ERROR;
  }
  if (job->cmd.kind == FtpCommand::Compare) {
    if (!job->differs) job->differs = !job->sameAsFile(data, total);
    job->written += static_cast<curl_off_t>(total);
    return total;
  }
  job->written += static_cast<curl_off_t>(total);
  if (job->pending.capacity() < kWritePiece) job->pending.reserve(kWritePiece);
  job->pending.insert(job->pending.end(), data, data + total);
  if (job->pending.size() >= kWritePiece && !job->flush()) return 0;
  return total;
}

size_t CurlFtpClient::onRead(char* buffer, size_t size, size_t n, void* userp) {
  auto* job = static_cast<Job*>(userp);
  job->driver->touch();
  for (;;) {
    ssize_t r = ::read(job->fd, buffer, size * n);
    if (r >= 0) return static_cast<size_t>(r);
    if (errno == EINTR) continue;
    job->localError =
        Text("Cannot read local file %1: %2"_t).arg(job->cmd.local).arg(systemError(errno));
    return CURL_READFUNC_ABORT;
  }
}

int CurlFtpClient::onTransferInfo(void* userp, curl_off_t dltotal, curl_off_t dlnow,
                                  curl_off_t /*ultotal*/, curl_off_t ulnow) {
  auto* job = static_cast<Job*>(userp);
  const auto now = std::chrono::steady_clock::now();
  if (now - job->lastProgress < kProgressInterval) return 0;
  job->lastProgress = now;
  if (job->cmd.kind != FtpCommand::Put)
    job->progressTo->postProgress(job->generation, dlnow, dltotal > 0 ? dltotal : -1);
  else {
    // What the modem took, not what our send buffers hold: they take
    // megabytes at once, and a modem that died would have "received" them.
    const curl_off_t queued = job->driver->unacknowledgedBytes();
    job->taken = std::max(job->taken, std::max<curl_off_t>(0, ulnow - queued));
    job->progressTo->postProgress(job->generation, job->taken, job->size);
  }
  return 0;
}

size_t CurlFtpClient::onHeader(char* data, size_t size, size_t n, void* userp) {
  auto* job = static_cast<Job*>(userp);
  job->driver->touch();
  const size_t total = size * n;
  std::string line(data, total);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  if (isReplyLine(line)) job->lastReply = std::move(line);
  return total;
}
