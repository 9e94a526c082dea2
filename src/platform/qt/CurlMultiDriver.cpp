#include "platform/qt/CurlMultiDriver.h"

#include <linux/sockios.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// Longest sleep of the worker while a transfer runs; libcurl's own timers
// wake it sooner.
constexpr int kPollMs = 1000;
// Calls of libcurl in a row while a transfer makes progress, before the
// worker waits (and looks at its tasks) again.
constexpr int kTurnsWithoutPoll = 16;

// libcurl's transfer buffers are allocated afresh for each transfer. On a
// virtual machine every first touch of a page is a costly fault; mapping
// the pages of a large buffer in one call costs a small part of that.
constexpr std::size_t kPopulateFrom = 64 << 10;

void* mallocPopulated(std::size_t size) {
  void* block = std::malloc(size);
#ifdef MADV_POPULATE_WRITE
  if (block && size >= kPopulateFrom) {
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto from = (reinterpret_cast<std::uintptr_t>(block) + page - 1) & ~(page - 1);
    const auto to = (reinterpret_cast<std::uintptr_t>(block) + size) & ~(page - 1);
    if (to > from) (void)::madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
  }
#endif
  return block;
}

void globalInit() {
  // Before any thread of ours uses libcurl: it is not thread-safe.
  static const CURLcode rc = curl_global_init_mem(CURL_GLOBAL_DEFAULT, &mallocPopulated, &std::free,
                                                  &std::realloc, &::strdup, &std::calloc);
  (void)rc;
}

}  // namespace

CurlMultiDriver::CurlMultiDriver() {
  globalInit();
  wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  touch();
  worker_ = std::thread([this] { loop(); });
}

CurlMultiDriver::~CurlMultiDriver() {
  stop();
  if (wakeFd_ >= 0) ::close(wakeFd_);
}

// --- any thread ----------------------------------------------------------------

void CurlMultiDriver::run(Request request) {
  touch();
  post({Op::Run, std::move(request)});
}

void CurlMultiDriver::abandon() {
  shutdownSockets();
  post({Op::Abandon, {}});
}

void CurlMultiDriver::stop() {
  if (!worker_.joinable()) return;
  shutdownSockets();
  post({Op::Quit, {}});
  worker_.join();
}

std::chrono::steady_clock::time_point CurlMultiDriver::lastActivity() const {
  using namespace std::chrono;
  return steady_clock::time_point(
      steady_clock::duration(lastActivity_.load(std::memory_order_relaxed)));
}

void CurlMultiDriver::touch() {
  lastActivity_.store(std::chrono::steady_clock::now().time_since_epoch().count(),
                      std::memory_order_relaxed);
}

void CurlMultiDriver::post(Task task) {
  {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  const std::uint64_t one = 1;
  if (wakeFd_ >= 0) (void)!::write(wakeFd_, &one, sizeof one);
}

void CurlMultiDriver::shutdownSockets() {
  // Under the lock a socket in the set is still open (closing takes the
  // lock too), so no number that libcurl has given back is hit.
  std::lock_guard lock(socketMutex_);
  for (curl_socket_t s : sockets_) ::shutdown(s, SHUT_RDWR);
  for (curl_socket_t s : draining_) ::shutdown(s, SHUT_RDWR);
}

// --- worker ------------------------------------------------------------------

void CurlMultiDriver::loop() {
  easy_ = curl_easy_init();
  while (takeTasks()) {
    for (int turn = 0; attached_ && turn < kTurnsWithoutPoll; ++turn) {
      const auto before = lastActivity_.load(std::memory_order_relaxed);
      int running = 0;
      curl_multi_perform(multi_, &running);
      collectDone();
      // Bytes moved: the socket is likely ready again, and libcurl looks
      // before it reads or sends. A wait in between would cost a system
      // call for every buffer of a transfer.
      if (lastActivity_.load(std::memory_order_relaxed) == before && !waitsOnNothing()) break;
    }
    // Made while idle, not when the next request is waiting for it.
    if (!multi_ && easy_) multi_ = curl_multi_init();
    waitForWork();
  }
  closeSession();
  if (easy_) curl_easy_cleanup(easy_);
  easy_ = nullptr;
  current_ = {};
}

bool CurlMultiDriver::takeTasks() {
  std::deque<Task> tasks;
  {
    std::lock_guard lock(mutex_);
    tasks.swap(tasks_);
  }
  // A request queued before an abandon is dropped unstarted.
  std::size_t from = 0;
  for (std::size_t i = 0; i < tasks.size(); ++i) {
    if (tasks[i].op == Op::Quit) return false;
    if (tasks[i].op == Op::Abandon) from = i;
  }
  for (std::size_t i = from; i < tasks.size(); ++i) {
    if (tasks[i].op == Op::Abandon)
      closeSession();
    else
      startRequest(std::move(tasks[i].request));
  }
  return true;
}

void CurlMultiDriver::startRequest(Request request) {
  drop();
  if (!multi_ && easy_) multi_ = curl_multi_init();
  if (!multi_) {
    if (request.done) request.done(CURLE_FAILED_INIT, *this);
    return;
  }
  curl_easy_reset(easy_);
  current_ = {};  // the easy handle no longer points into it
  curl_easy_setopt(easy_, CURLOPT_OPENSOCKETFUNCTION, &CurlMultiDriver::onOpenSocket);
  curl_easy_setopt(easy_, CURLOPT_OPENSOCKETDATA, this);
  curl_easy_setopt(easy_, CURLOPT_CLOSESOCKETFUNCTION, &CurlMultiDriver::onCloseSocket);
  curl_easy_setopt(easy_, CURLOPT_CLOSESOCKETDATA, this);
  touch();
  if (!request.start || !request.start(easy_, *this)) return;
  if (curl_multi_add_handle(multi_, easy_) != CURLM_OK) {
    curl_easy_reset(easy_);
    if (request.done) request.done(CURLE_FAILED_INIT, *this);
    return;
  }
  current_ = std::move(request);
  attached_ = true;
}

void CurlMultiDriver::drop() {
  if (!attached_) return;
  curl_multi_remove_handle(multi_, easy_);
  attached_ = false;
  curl_easy_reset(easy_);  // no pointer into the request is left
  current_ = {};
}

void CurlMultiDriver::collectDone() {
  int left = 0;
  while (CURLMsg* msg = curl_multi_info_read(multi_, &left)) {
    if (msg->msg != CURLMSG_DONE || msg->easy_handle != easy_ || !attached_) continue;
    const CURLcode result = msg->data.result;
    curl_multi_remove_handle(multi_, easy_);
    attached_ = false;
    // The request stays until the next one starts, as the idle easy handle
    // still points into it: resetting the handle here would hold the
    // outcome back while libcurl frees its buffers.
    closeDrained(true);
    if (current_.done) current_.done(result, *this);  // may close the session
    return;
  }
}

bool CurlMultiDriver::waitsOnNothing() {
  // libcurl 7.88 reads an EPSV reply that is already there in the call that
  // sent EPSV, then returns asking for no socket and with no timer set: the
  // data connection would wait for the poll's time-out. One more call opens
  // it at once.
  if (!attached_) return false;
  long timeoutMs = -1;
  curl_multi_timeout(multi_, &timeoutMs);
  if (timeoutMs >= 0 && timeoutMs < kPollMs) return false;
  fd_set r, w, x;
  FD_ZERO(&r);
  FD_ZERO(&w);
  FD_ZERO(&x);
  int maxFd = -1;
  curl_multi_fdset(multi_, &r, &w, &x, &maxFd);
  return maxFd < 0;
}

void CurlMultiDriver::waitForWork() {
  // Without an eventfd (out of descriptors) the worker looks for tasks
  // every few milliseconds instead.
  const bool canWake = wakeFd_ >= 0;
  curl_waitfd wake{wakeFd_, CURL_WAIT_POLLIN, 0};
  if (attached_) {
    curl_multi_poll(multi_, &wake, canWake ? 1 : 0, canWake ? kPollMs : 10, nullptr);
  } else {
    pollfd p{wakeFd_, POLLIN, 0};
    ::poll(&p, canWake ? 1 : 0, canWake ? -1 : 10);
    wake.revents = p.revents;
  }
  if (wake.revents & CURL_WAIT_POLLIN) {
    std::uint64_t n;
    (void)!::read(wakeFd_, &n, sizeof n);
  }
}

bool CurlMultiDriver::sessionAlive() {
  if (!multi_ || attached_) return false;
  // Between commands only the control connection is open. It is alive when
  // nothing is waiting on it: neither the server's goodbye nor its EOF.
  std::lock_guard lock(socketMutex_);
  for (curl_socket_t s : sockets_) {
    char c;
    ssize_t n = ::recv(s, &c, 1, MSG_PEEK | MSG_DONTWAIT);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
  }
  return false;
}

void CurlMultiDriver::closeSession() {
  drop();
  shutdownSockets();
  if (multi_) {
    curl_multi_cleanup(multi_);
    multi_ = nullptr;
  }
  closeDrained(true);
  std::lock_guard lock(socketMutex_);
  sockets_.clear();
}

void CurlMultiDriver::closeDrained(bool all) {
  std::lock_guard lock(socketMutex_);
  for (auto it = draining_.begin(); it != draining_.end();) {
    int queued = 0;
    if (all || ::ioctl(*it, SIOCOUTQ, &queued) != 0 || queued <= 0) {
      ::close(*it);
      it = draining_.erase(it);
    } else {
      ++it;
    }
  }
}

long long CurlMultiDriver::unacknowledgedBytes() {
  // Windows has no SIOCOUTQ; GetPerTcpConnectionEStats (SndNxt - SndUna)
  // would tell the same there.
  closeDrained(false);
  long long total = 0;
  std::lock_guard lock(socketMutex_);
  for (const auto* set : {&sockets_, &draining_})
    for (curl_socket_t s : *set) {
      int queued = 0;
      if (::ioctl(s, SIOCOUTQ, &queued) == 0 && queued > 0) total += queued;
    }
  return total;
}

curl_socket_t CurlMultiDriver::onOpenSocket(void* clientp, curlsocktype,
                                            curl_sockaddr* address) {
  auto* self = static_cast<CurlMultiDriver*>(clientp);
  std::lock_guard lock(self->socketMutex_);
  curl_socket_t s =
      ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
  if (s != CURL_SOCKET_BAD) self->sockets_.insert(s);
  return s;
}

int CurlMultiDriver::onCloseSocket(void* clientp, curl_socket_t s) {
  auto* self = static_cast<CurlMultiDriver*>(clientp);
  std::lock_guard lock(self->socketMutex_);
  self->sockets_.erase(s);
  int queued = 0;
  if (::ioctl(s, SIOCOUTQ, &queued) == 0 && queued > 0 && ::shutdown(s, SHUT_WR) == 0) {
    self->draining_.insert(s);
    return 0;
  }
  return ::close(s);
}
