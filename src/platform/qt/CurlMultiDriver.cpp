#include "platform/qt/CurlMultiDriver.h"

#include <QSocketNotifier>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kNudgeMs = 200;  // quiet time before a transfer is driven by hand

}  // namespace

CurlMultiDriver::CurlMultiDriver(int idleTimeoutMs, QObject* parent)
    : QObject(parent), timeoutMs_(idleTimeoutMs) {
  curlTimer_.setSingleShot(true);
  idleTimer_.setSingleShot(true);
  connect(&curlTimer_, &QTimer::timeout, this, &CurlMultiDriver::curlTimeout);
  connect(&idleTimer_, &QTimer::timeout, this, &CurlMultiDriver::idleCheck);
  nudgeTimer_.setInterval(kNudgeMs);
  connect(&nudgeTimer_, &QTimer::timeout, this, &CurlMultiDriver::nudge);
}

CurlMultiDriver::~CurlMultiDriver() { close(); }

bool CurlMultiDriver::open() {
  if (multi_) return true;
  multi_ = curl_multi_init();
  if (!multi_) return false;
  curl_multi_setopt(multi_, CURLMOPT_SOCKETFUNCTION, &CurlMultiDriver::onCurlSocket);
  curl_multi_setopt(multi_, CURLMOPT_SOCKETDATA, this);
  curl_multi_setopt(multi_, CURLMOPT_TIMERFUNCTION, &CurlMultiDriver::onCurlTimer);
  curl_multi_setopt(multi_, CURLMOPT_TIMERDATA, this);
  return true;
}

void CurlMultiDriver::hookSockets(CURL* easy) {
  curl_easy_setopt(easy, CURLOPT_OPENSOCKETFUNCTION, &CurlMultiDriver::onOpenSocket);
  curl_easy_setopt(easy, CURLOPT_OPENSOCKETDATA, this);
  curl_easy_setopt(easy, CURLOPT_CLOSESOCKETFUNCTION, &CurlMultiDriver::onCloseSocket);
  curl_easy_setopt(easy, CURLOPT_CLOSESOCKETDATA, this);
}

CURLMcode CurlMultiDriver::add(CURL* easy) {
  CURLMcode mc = curl_multi_add_handle(multi_, easy);
  if (mc != CURLM_OK) return mc;
  easy_ = easy;
  attached_ = true;
  lastActivity_ = std::chrono::steady_clock::now();
  idleTimer_.start(timeoutMs_);
  nudgeTimer_.start();
  return CURLM_OK;
}

void CurlMultiDriver::nudge() {
  if (!multi_ || !attached_) {
    nudgeTimer_.stop();
    return;
  }
  using namespace std::chrono;
  if (steady_clock::now() - lastActivity_ < milliseconds(kNudgeMs)) return;
  driveNow();
}

void CurlMultiDriver::driveNow() {
  if (!multi_) return;
  // curl_multi_perform alone moves the transfer on but never reports which
  // sockets libcurl waits on next; the watches then stay stale and nothing
  // but this nudge drives the command, one buffer per 200 ms (a 64 MiB PUT
  // took 52 s). socket_all performs and then reports them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  int running = 0;
  curl_multi_socket_all(multi_, &running);
#pragma GCC diagnostic pop
  collectDone();
}

bool CurlMultiDriver::watchesInSync() const {
  if (!multi_) return watches_.empty();
  fd_set r, w, x;
  FD_ZERO(&r);
  FD_ZERO(&w);
  FD_ZERO(&x);
  int maxFd = -1;
  curl_multi_fdset(multi_, &r, &w, &x, &maxFd);
  for (int fd = 0; fd <= maxFd; ++fd) {
    if (!FD_ISSET(fd, &r) && !FD_ISSET(fd, &w)) continue;
    auto it = watches_.find(fd);
    if (it == watches_.end()) return false;
  }
  for (const auto& [fd, wt] : watches_) {
    const bool reading = wt.read && wt.read->isEnabled();
    const bool writing = wt.write && wt.write->isEnabled();
    if (fd >= FD_SETSIZE || reading != bool(FD_ISSET(fd, &r)) ||
        writing != bool(FD_ISSET(fd, &w)))
      return false;
  }
  return true;
}

void CurlMultiDriver::collectDone() {
  int left = 0;
  while (multi_) {
    CURLMsg* msg = curl_multi_info_read(multi_, &left);
    if (!msg) break;
    if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy_) {
      transferDone(msg->data.result);  // may tear the multi handle down
      return;
    }
  }
}

void CurlMultiDriver::transferDone(CURLcode result) {
  idleTimer_.stop();
  nudgeTimer_.stop();
  curl_multi_remove_handle(multi_, easy_);
  attached_ = false;
  if (onDone) onDone(easy_, result);
}

void CurlMultiDriver::idleCheck() {
  if (!attached_) return;
  using namespace std::chrono;
  auto idle = duration_cast<milliseconds>(steady_clock::now() - lastActivity_).count();
  if (idle < timeoutMs_) {
    idleTimer_.start(static_cast<int>(timeoutMs_ - idle) + 1);
    return;
  }
  if (onStalled) onStalled();
}

void CurlMultiDriver::close() {
  idleTimer_.stop();
  nudgeTimer_.stop();
  // Nothing libcurl does from here on can wait for the peer.
  for (curl_socket_t s : sockets_) ::shutdown(s, SHUT_RDWR);
  if (attached_) {
    curl_multi_remove_handle(multi_, easy_);
    attached_ = false;
  }
  if (multi_) {
    curl_multi_cleanup(multi_);
    multi_ = nullptr;
  }
  curlTimer_.stop();
  while (!watches_.empty()) unwatch(watches_.begin()->first);
  sockets_.clear();
}

// --- event loop glue ----------------------------------------------------------

void CurlMultiDriver::watch(curl_socket_t s, int what) {
  if (what == CURL_POLL_REMOVE) {
    unwatch(s);
    return;
  }
  const bool wantRead = what == CURL_POLL_IN || what == CURL_POLL_INOUT;
  const bool wantWrite = what == CURL_POLL_OUT || what == CURL_POLL_INOUT;
  SocketWatch& w = watches_[s];
  if (wantRead && !w.read) {
    QSocketNotifier* n = new QSocketNotifier(s, QSocketNotifier::Read, this);
    connect(n, &QSocketNotifier::activated, this, [this, s, n] {
      if (n->isEnabled()) socketReady(s, CURL_CSELECT_IN);
    });
    w.read = n;
  }
  if (wantWrite && !w.write) {
    QSocketNotifier* n = new QSocketNotifier(s, QSocketNotifier::Write, this);
    connect(n, &QSocketNotifier::activated, this, [this, s, n] {
      if (n->isEnabled()) socketReady(s, CURL_CSELECT_OUT);
    });
    w.write = n;
  }
  if (w.read) w.read->setEnabled(wantRead);
  if (w.write) w.write->setEnabled(wantWrite);
}

void CurlMultiDriver::unwatch(curl_socket_t s) {
  auto it = watches_.find(s);
  if (it == watches_.end()) return;
  // Possibly called from inside the notifier's own signal: disable now,
  // delete later.
  for (QSocketNotifier* n : {it->second.read, it->second.write}) {
    if (!n) continue;
    n->setEnabled(false);
    n->deleteLater();
  }
  watches_.erase(it);
}

void CurlMultiDriver::socketReady(curl_socket_t s, int eventBits) {
  if (!multi_) return;
  lastActivity_ = std::chrono::steady_clock::now();
  int running = 0;
  curl_multi_socket_action(multi_, s, eventBits, &running);
  collectDone();
  driveIfUnwatched();
}

void CurlMultiDriver::driveIfUnwatched() {
  // A command in progress always waits on a socket. When libcurl 7.88 has
  // moved on to opening the data connection after EPSV it asks for none and
  // sets no near timer, and would sit until some later timer; one more turn
  // opens the connection at once.
  if (!multi_ || !attached_ || !watches_.empty()) return;
  driveNow();
}

void CurlMultiDriver::curlTimeout() {
  if (!multi_) return;
  int running = 0;
  curl_multi_socket_action(multi_, CURL_SOCKET_TIMEOUT, 0, &running);
  collectDone();
  driveIfUnwatched();
}

int CurlMultiDriver::onCurlSocket(CURL*, curl_socket_t s, int what, void* userp, void*) {
  static_cast<CurlMultiDriver*>(userp)->watch(s, what);
  return 0;
}

int CurlMultiDriver::onCurlTimer(CURLM*, long timeoutMs, void* userp) {
  auto* self = static_cast<CurlMultiDriver*>(userp);
  if (timeoutMs < 0)
    self->curlTimer_.stop();
  else
    self->curlTimer_.start(static_cast<int>(timeoutMs));
  return 0;
}

curl_socket_t CurlMultiDriver::onOpenSocket(void* clientp, curlsocktype,
                                            curl_sockaddr* address) {
  auto* self = static_cast<CurlMultiDriver*>(clientp);
  curl_socket_t s =
      ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
  if (s != CURL_SOCKET_BAD) self->sockets_.insert(s);
  return s;
}

int CurlMultiDriver::onCloseSocket(void* clientp, curl_socket_t s) {
  auto* self = static_cast<CurlMultiDriver*>(clientp);
  self->unwatch(s);
  self->sockets_.erase(s);
  return ::close(s);
}
