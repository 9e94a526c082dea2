// libcurl's multi interface driven by the Qt event loop: one QSocketNotifier
// per socket and direction, one QTimer for libcurl's timeouts. Runs one
// easy handle at a time and reports its end through onDone.
#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>
#include <map>
#include <set>

#include <curl/curl.h>

class QSocketNotifier;

class CurlMultiDriver : public QObject {
  Q_OBJECT
 public:
  // idleTimeoutMs: quiet time of a transfer before onStalled.
  explicit CurlMultiDriver(int idleTimeoutMs, QObject* parent = nullptr);
  ~CurlMultiDriver() override;
  CurlMultiDriver(const CurlMultiDriver&) = delete;
  CurlMultiDriver& operator=(const CurlMultiDriver&) = delete;

  // The transfer has ended; it is already out of the multi handle. The
  // handler may close() the driver.
  std::function<void(CURL* easy, CURLcode result)> onDone;
  // No socket activity for idleTimeoutMs; the transfer is still attached.
  std::function<void()> onStalled;

  // Makes the multi handle if there is none; false when libcurl cannot.
  bool open();
  bool isOpen() const { return multi_ != nullptr; }
  // Lets the driver see every socket the easy handle opens and closes.
  void hookSockets(CURL* easy);
  // Starts a transfer on the open multi handle.
  CURLMcode add(CURL* easy);
  bool attached() const { return attached_; }
  // Every socket libcurl has open.
  const std::set<curl_socket_t>& sockets() const { return sockets_; }
  // Drops the transfer and the multi handle with its connections.
  void close();

  // Drives libcurl by hand, as the nudge does for a quiet transfer.
  void driveNow();
  // Whether the socket notifiers watch exactly what libcurl waits on.
  bool watchesInSync() const;

 private:
  struct SocketWatch {
    QSocketNotifier* read = nullptr;
    QSocketNotifier* write = nullptr;
  };

  // libcurl callbacks (userp / clientp is this).
  static int onCurlSocket(CURL* easy, curl_socket_t s, int what, void* userp,
                          void* socketp);
  static int onCurlTimer(CURLM* multi, long timeoutMs, void* userp);
  static curl_socket_t onOpenSocket(void* clientp, curlsocktype purpose,
                                    curl_sockaddr* address);
  static int onCloseSocket(void* clientp, curl_socket_t s);

  void watch(curl_socket_t s, int what);
  void unwatch(curl_socket_t s);
  void socketReady(curl_socket_t s, int eventBits);
  void curlTimeout();
  void driveIfUnwatched();
  void idleCheck();
  void collectDone();
  void transferDone(CURLcode result);

  int timeoutMs_;
  CURLM* multi_ = nullptr;  // one per session: it owns the connection cache
  CURL* easy_ = nullptr;    // the transfer last added
  bool attached_ = false;   // easy_ is in multi_

  std::map<curl_socket_t, SocketWatch> watches_;
  std::set<curl_socket_t> sockets_;  // every socket libcurl has open
  QTimer curlTimer_;
  QTimer idleTimer_;
  // libcurl 7.88 sometimes fails to ask for the control socket again when
  // it reuses a connection, and the reply then sits unread; a quiet
  // transfer is driven by hand now and then (driveNow) so that it cannot
  // stall on that.
  QTimer nudgeTimer_;
  void nudge();
  std::chrono::steady_clock::time_point lastActivity_;
};
