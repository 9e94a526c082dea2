#include "platform/qt/CurlFtpClient.h"

#include <QTimer>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

// How libcurl's outcome becomes the component's notification and number:
//
//   libcurl result                               state  responseCode
//   CURLE_OK                                     12     0
//   CURLE_OPERATION_TIMEDOUT (28), and our own   11     12002 time-out
//     watchdog: no socket activity for requestTimeoutMs
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
//   anything else                                11     13000 + libcurl code
//
// "CLOSE" always ends in 10, whatever the server answers to QUIT.
//
// libcurl waits without returning to the loop in two places: for the final
// reply after a data transfer (226), and for the reply to the QUIT it sends
// when it drops a connection itself after some errors. Both are short on a
// healthy server and bounded by CURLOPT_SERVER_RESPONSE_TIMEOUT. When we drop
// a connection (cancel, time-out, CLOSE) the sockets are shut down first so
// that libcurl's QUIT fails at once instead of waiting.

namespace {

constexpr long kDownloadBuffer = 256L << 10;  // libcurl reads up to 100 of these per call
// 256 KiB: each send wakes the receiving side once, and with 64 KiB chunks
// those wake-ups, not the link, set the pace of a large upload on a fast
// path. Much more costs a PUT milliseconds of page faults on a fresh buffer
// before the first byte goes out.
constexpr long kUploadBuffer = 256L << 10;

void globalInit() {
  static const CURLcode rc = curl_global_init(CURL_GLOBAL_DEFAULT);
  (void)rc;
}

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

}  // namespace

CurlFtpClient::CurlFtpClient(int port, std::string user, std::string password,
                             int requestTimeoutMs, QObject* parent)
    : QObject(parent),
      port_(port),
      user_(std::move(user)),
      password_(std::move(password)),
      timeoutMs_(requestTimeoutMs > 0 ? requestTimeoutMs : 60000),
      driver_(timeoutMs_) {
  globalInit();
  easy_ = curl_easy_init();
  driver_.onDone = [this](CURL*, CURLcode result) { transferDone(result); };
  driver_.onStalled = [this] { stalled(); };
}

CurlFtpClient::~CurlFtpClient() {
  closeSession();
  closeLocalFile(false);
  if (easy_) curl_easy_cleanup(easy_);
  curl_slist_free_all(quote_);
}

void CurlFtpClient::execute(const std::string& command) {
  if (busy_) throw PlatformError(kStillExecuting, "Still executing last request");
  FtpCommand cmd = ParseFtpCommand(command);

  busy_ = true;
  current_ = cmd;
  lastReply_.clear();
  localError_.clear();
  errorBuffer_[0] = '\0';

  if (cmd.kind == FtpCommand::Close && !sessionAlive()) {
    closeSession();
    finish(Disconnected);
    return;
  }
  if (host_.empty()) {
    finish(ErrorState, kOtherBase + CURLE_URL_MALFORMAT, "No remote host set");
    return;
  }
  if (!easy_) {
    finish(ErrorState, kOtherBase + CURLE_FAILED_INIT, "Cannot initialise libcurl");
    return;
  }
  if (!openLocalFile(cmd)) return;
  startTransfer(cmd);
}

void CurlFtpClient::cancel() {
  ++generation_;
  closeSession();
  closeLocalFile(false);
  busy_ = false;
}

// --- one command ------------------------------------------------------------

bool CurlFtpClient::openLocalFile(const FtpCommand& cmd) {
  namespace fs = std::filesystem;
  if (cmd.kind == FtpCommand::Put) {
    fd_ = ::open(cmd.local.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && !S_ISREG(st.st_mode)) {
      closeLocalFile(false);
      finish(ErrorState, kOtherBase + CURLE_READ_ERROR,
             "Cannot open local file " + cmd.local + ": not a regular file");
      return false;
    }
    if (fd_ < 0) {
      finish(ErrorState, kOtherBase + CURLE_READ_ERROR,
             "Cannot open local file " + cmd.local + ": " + systemError(errno));
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
           "Cannot create local file " + cmd.local + ": not a file name");
    return false;
  }
  static unsigned counter = 0;
  int err = 0;
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    fs::path temp = target;
    // Appended piece by piece: GCC 12 warns (-Wrestrict, falsely) on the
    // chain of operator+ here in release builds.
    std::string name = ".";
    name += target.filename().string();
    name += '.';
    name += std::to_string(::getpid());
    name += '-';
    name += std::to_string(++counter);
    name += ".part";
    temp.replace_filename(name);
    fd_ = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    err = errno;
    if (fd_ >= 0) tempPath_ = temp.string();
    if (fd_ < 0 && err != EEXIST) break;
  }
  if (fd_ < 0) {
    finish(ErrorState, kOtherBase + CURLE_WRITE_ERROR,
           "Cannot create local file " + cmd.local + ": " + systemError(err));
    return false;
  }
  return true;
}

std::string CurlFtpClient::url(const std::string& remote) const {
  std::string host = host_;
  if (host.find(':') != std::string::npos && host.front() != '[') host = "[" + host + "]";
  std::string u = "ftp://" + host + ":" + std::to_string(port_) + "/";
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

bool CurlFtpClient::startTransfer(const FtpCommand& cmd) {
  if (!driver_.open()) {
    closeLocalFile(false);
    finish(ErrorState, kOtherBase + CURLE_FAILED_INIT, "Cannot initialise libcurl");
    return false;
  }

  CURL* e = easy_;
  curl_easy_reset(e);
  curl_slist_free_all(quote_);
  quote_ = nullptr;

  const bool hasFile = cmd.kind == FtpCommand::Get || cmd.kind == FtpCommand::Put;
  const std::string address = url(hasFile ? cmd.remote : std::string());
  curl_easy_setopt(e, CURLOPT_URL, address.c_str());
  curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "ftp");
  curl_easy_setopt(e, CURLOPT_USERNAME, user_.c_str());
  curl_easy_setopt(e, CURLOPT_PASSWORD, password_.c_str());
  curl_easy_setopt(e, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
  // Data connections go to the address the user gave, never elsewhere.
  curl_easy_setopt(e, CURLOPT_FTP_SKIP_PASV_IP, 1L);
  curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(e, CURLOPT_ERRORBUFFER, errorBuffer_);
  // KOVA_FTP_TRACE=1: libcurl's own account of each command on stderr.
  if (const char* trace = std::getenv("KOVA_FTP_TRACE"); trace && *trace == '1')
    curl_easy_setopt(e, CURLOPT_VERBOSE, 1L);
  curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeoutMs_));
  // libcurl 7.88 holds the data connection after EPSV until the control
  // connection's happy-eyeballs timer (200 ms) runs out. With 0 every
  // address family starts at once; the modem has a single IPv4 address.
  curl_easy_setopt(e, CURLOPT_HAPPY_EYEBALLS_TIMEOUT_MS, 0L);
  // A backstop for libcurl's own waits; the watchdog below normally fires
  // first.
  curl_easy_setopt(e, CURLOPT_SERVER_RESPONSE_TIMEOUT,
                   static_cast<long>((timeoutMs_ + 999) / 1000 + 1));
  curl_easy_setopt(e, CURLOPT_BUFFERSIZE, kDownloadBuffer);
  curl_easy_setopt(e, CURLOPT_UPLOAD_BUFFERSIZE, kUploadBuffer);
  curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &CurlFtpClient::onHeader);
  curl_easy_setopt(e, CURLOPT_HEADERDATA, this);
  driver_.hookSockets(e);

  switch (cmd.kind) {
    case FtpCommand::Get:
      curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &CurlFtpClient::onWrite);
      curl_easy_setopt(e, CURLOPT_WRITEDATA, this);
      break;
    case FtpCommand::Put: {
      struct stat st {};
      ::fstat(fd_, &st);
      curl_easy_setopt(e, CURLOPT_UPLOAD, 1L);
      curl_easy_setopt(e, CURLOPT_READFUNCTION, &CurlFtpClient::onRead);
      curl_easy_setopt(e, CURLOPT_READDATA, this);
      curl_easy_setopt(e, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(st.st_size));
      break;
    }
    case FtpCommand::Delete:
      quote_ = curl_slist_append(nullptr, ("DELE " + cmd.remote).c_str());
      curl_easy_setopt(e, CURLOPT_QUOTE, quote_);
      curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
      break;
    case FtpCommand::Close:
      // The server answers and hangs up; closeSession() then drops our end.
      quote_ = curl_slist_append(nullptr, "QUIT");
      curl_easy_setopt(e, CURLOPT_QUOTE, quote_);
      curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
      break;
  }

  CURLMcode mc = driver_.add(e);
  if (mc != CURLM_OK) {
    closeLocalFile(false);
    finish(ErrorState, kOtherBase + CURLE_FAILED_INIT, curl_multi_strerror(mc));
    return false;
  }
  return true;
}

void CurlFtpClient::transferDone(CURLcode result) {
  if (current_.kind == FtpCommand::Close) {
    closeSession();
    finish(Disconnected);
    return;
  }

  if (result == CURLE_OK) {
    if (current_.kind == FtpCommand::Get) {
      int fd = fd_;
      fd_ = -1;
      int err = ::close(fd) == 0 ? 0 : errno;
      if (err == 0 && ::rename(tempPath_.c_str(), current_.local.c_str()) != 0) err = errno;
      if (err != 0) {
        closeLocalFile(false);
        finish(ErrorState, kOtherBase + CURLE_WRITE_ERROR,
               "Cannot store local file " + current_.local + ": " + systemError(err));
        return;
      }
      tempPath_.clear();
    } else {
      closeLocalFile(true);
    }
    finish(ResponseCompleted);
    return;
  }

  closeLocalFile(false);
  const std::string curlText = errorBuffer_[0] ? errorBuffer_ : curl_easy_strerror(result);
  switch (result) {
    case CURLE_OPERATION_TIMEDOUT:
      closeSession();
      finish(ErrorState, kTimeout, "The operation timed out: " + curlText);
      return;
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_FTP_COULDNT_RETR_FILE:
    case CURLE_QUOTE_ERROR:
    case CURLE_UPLOAD_FAILED:
    case CURLE_REMOTE_DISK_FULL:
    case CURLE_REMOTE_FILE_EXISTS:
      finish(ErrorState, kServerRefused, isErrorReply(lastReply_) ? lastReply_ : curlText);
      return;
    case CURLE_LOGIN_DENIED:
      finish(ErrorState, kLoginRefused, isErrorReply(lastReply_) ? lastReply_ : curlText);
      return;
    case CURLE_COULDNT_CONNECT:
      closeSession();
      finish(ErrorState, kCannotConnect, curlText);
      return;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
      if (!sessionAlive()) {
        closeSession();
        finish(Disconnected);
        return;
      }
      break;
    default:
      break;
  }
  finish(ErrorState, kOtherBase + result, localError_.empty() ? curlText : localError_);
}

void CurlFtpClient::finish(int state, int code, std::string info) {
  // Always through the loop: the caller of execute() and the code that is
  // still unwinding from a libcurl call never see the handler run.
  QTimer::singleShot(0, this, [this, gen = generation_, state, code,
                               info = std::move(info)] {
    if (gen != generation_) return;  // cancelled meanwhile
    busy_ = false;
    code_ = code;
    info_ = info;
    auto handler = onStateChanged;  // the handler may destroy us
    if (handler) handler(state);
  });
}

void CurlFtpClient::stalled() {
  closeSession();  // the state of the connection is unknown now
  closeLocalFile(false);
  if (current_.kind == FtpCommand::Close) {
    finish(Disconnected);
  } else {
    finish(ErrorState, kTimeout,
           "The operation timed out: no progress for " + std::to_string(timeoutMs_) +
               " ms");
  }
}

// --- session ----------------------------------------------------------------

bool CurlFtpClient::sessionAlive() const {
  if (!driver_.isOpen() || driver_.attached()) return false;
  // Between commands only the control connection is open. It is alive when
  // nothing is waiting on it: neither the server's goodbye nor its EOF.
  for (curl_socket_t s : driver_.sockets()) {
    char c;
    ssize_t n = ::recv(s, &c, 1, MSG_PEEK | MSG_DONTWAIT);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
  }
  return false;
}

void CurlFtpClient::closeSession() { driver_.close(); }

void CurlFtpClient::closeLocalFile(bool keep) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!keep && !tempPath_.empty()) ::unlink(tempPath_.c_str());
  tempPath_.clear();
}

// --- libcurl callbacks ------------------------------------------------------

size_t CurlFtpClient::onWrite(char* data, size_t size, size_t n, void* userp) {
  auto* self = static_cast<CurlFtpClient*>(userp);
  const size_t total = size * n;
  size_t done = 0;
  while (done < total) {
    ssize_t w = ::write(self->fd_, data + done, total - done);
    if (w < 0) {
      if (errno == EINTR) continue;
      self->localError_ =
          "Cannot write local file " + self->current_.local + ": " + systemError(errno);
      return 0;
    }
    done += static_cast<size_t>(w);
  }
  return total;
}

size_t CurlFtpClient::onRead(char* buffer, size_t size, size_t n, void* userp) {
  auto* self = static_cast<CurlFtpClient*>(userp);
  for (;;) {
    ssize_t r = ::read(self->fd_, buffer, size * n);
    if (r >= 0) return static_cast<size_t>(r);
    if (errno == EINTR) continue;
    self->localError_ =
        "Cannot read local file " + self->current_.local + ": " + systemError(errno);
    return CURL_READFUNC_ABORT;
  }
}

size_t CurlFtpClient::onHeader(char* data, size_t size, size_t n, void* userp) {
  auto* self = static_cast<CurlFtpClient*>(userp);
  const size_t total = size * n;
  std::string line(data, total);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  if (isReplyLine(line)) self->lastReply_ = std::move(line);
  return total;
}
