// libcurl's multi interface on a worker thread of its own. libcurl reads
// the final reply of a transfer (226 after the data) in one blocking call,
// and a modem that writes the image to flash first holds that reply for
// seconds: on the Qt thread that froze the window. The worker owns the
// multi handle, the easy handle and the connection; it runs one request at
// a time, in the order run() was called.
#pragma once

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <thread>

#include <curl/curl.h>

class CurlMultiDriver {
 public:
  // One command. Both hooks run on the worker thread; whatever they share
  // with other threads they own or post.
  struct Request {
    // Sets the options of the freshly reset easy handle (the sockets are
    // hooked already). false: nothing to transfer, the hook has reported.
    std::function<bool(CURL* easy, CurlMultiDriver& driver)> start;
    // The transfer has ended and is out of the multi handle. Not called
    // for a request that abandon() dropped.
    std::function<void(CURLcode result, CurlMultiDriver& driver)> done;
  };

  CurlMultiDriver();
  ~CurlMultiDriver();  // stop()
  CurlMultiDriver(const CurlMultiDriver&) = delete;
  CurlMultiDriver& operator=(const CurlMultiDriver&) = delete;

  // --- any thread but the worker

  void run(Request request);
  // Drops the request in progress (and any queued before this call) and
  // the session, without waiting: a libcurl call blocked on the peer
  // returns because its sockets are shut down here and now.
  void abandon();
  // abandon(), then ends the worker and waits for it.
  void stop();
  // Last time data or a reply moved, as the callbacks report it by touch()
  // (any thread).
  std::chrono::steady_clock::time_point lastActivity() const;
  void touch();

  // --- worker thread (the hooks and the libcurl callbacks)

  // The control connection is open and nothing (goodbye, EOF) waits on it.
  bool sessionAlive();
  // Drops the connections; libcurl's QUIT fails at once instead of waiting.
  void closeSession();
  // Bytes handed to the connections that their peers have not acknowledged
  // yet, those libcurl has closed included; 0 where the system cannot tell.
  long long unacknowledgedBytes();

 private:
  enum class Op { Run, Abandon, Quit };
  struct Task {
    Op op;
    Request request;
  };

  static curl_socket_t onOpenSocket(void* clientp, curlsocktype purpose,
                                    curl_sockaddr* address);
  static int onCloseSocket(void* clientp, curl_socket_t s);

  void post(Task task);
  void shutdownSockets();
  void loop();
  bool takeTasks();  // false: quit
  void startRequest(Request request);
  void drop();
  void collectDone();
  bool waitsOnNothing();
  void waitForWork();

  // Shared between the threads.
  std::mutex mutex_;
  std::deque<Task> tasks_;
  int wakeFd_ = -1;  // eventfd: tasks are queued
  std::mutex socketMutex_;
  std::set<curl_socket_t> sockets_;  // every socket libcurl has open
  // Sockets libcurl closed with data still on its way (an upload ends by
  // closing its data connection): shut for writing, so the peer sees the
  // end as before, and closed once the peer has taken all, or the request
  // ends. Until then their queues still count.
  std::set<curl_socket_t> draining_;
  void closeDrained(bool all);
  std::atomic<std::chrono::steady_clock::rep> lastActivity_{0};

  // The worker's alone.
  CURLM* multi_ = nullptr;  // one per session: it owns the connection cache
  CURL* easy_ = nullptr;    // reused for every request
  Request current_;         // the last request started; attached to multi_ when attached_
  bool attached_ = false;

  std::thread worker_;
};
