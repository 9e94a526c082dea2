// The FTP component on the real platform: libcurl's multi interface driven
// by the Qt event loop (one QSocketNotifier per socket and direction, one
// QTimer for libcurl's timeouts). Nothing here blocks the loop except the
// short waits libcurl itself makes for a final server reply (see .cpp).
#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <map>
#include <set>
#include <string>

#include <curl/curl.h>

#include "platform/Platform.h"
#include "transfer/FtpCommandText.h"

class QSocketNotifier;

class CurlFtpClient : public QObject, public FtpClient {
  Q_OBJECT
 public:
  // PlatformError numbers of execute().
  static constexpr int kStillExecuting = 35764;
  // responseCode() for failures outside the published numbers:
  // kOtherBase + the libcurl code (local file trouble included).
  static constexpr int kOtherBase = 13000;

  explicit CurlFtpClient(int port, std::string user = "kovauser",
                         std::string password = "moonstone",
                         int requestTimeoutMs = 60000, QObject* parent = nullptr);
  ~CurlFtpClient() override;
  CurlFtpClient(const CurlFtpClient&) = delete;
  CurlFtpClient& operator=(const CurlFtpClient&) = delete;

  void setRemoteHost(const std::string& host) override { host_ = host; }
  std::string remoteHost() const override { return host_; }
  void execute(const std::string& command) override;
  bool stillExecuting() const override { return busy_; }
  int responseCode() const override { return code_; }
  std::string responseInfo() const override { return info_; }
  void cancel() override;

  int port() const { return port_; }

  // Drives libcurl by hand, as the nudge does for a quiet command.
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
  static size_t onWrite(char* data, size_t size, size_t n, void* userp);
  static size_t onRead(char* buffer, size_t size, size_t n, void* userp);
  static size_t onHeader(char* data, size_t size, size_t n, void* userp);

  void watch(curl_socket_t s, int what);
  void unwatch(curl_socket_t s);
  void socketReady(curl_socket_t s, int eventBits);
  void curlTimeout();
  void driveIfUnwatched();
  void idleCheck();
  void collectDone();

  bool startTransfer(const FtpCommand& cmd);
  bool openLocalFile(const FtpCommand& cmd);
  void transferDone(CURLcode result);
  void finish(int state, int code = 0, std::string info = {});
  void abortTransfer();
  void closeSession();
  bool sessionAlive() const;
  void closeLocalFile(bool keep);
  std::string url(const std::string& remote) const;

  int port_;
  std::string user_;
  std::string password_;
  int timeoutMs_;
  std::string host_;

  CURLM* multi_ = nullptr;  // one per session: it owns the connection cache
  CURL* easy_ = nullptr;    // reused for every command
  bool attached_ = false;   // easy_ is in multi_
  curl_slist* quote_ = nullptr;
  char errorBuffer_[CURL_ERROR_SIZE] = {};

  std::map<curl_socket_t, SocketWatch> watches_;
  std::set<curl_socket_t> sockets_;  // every socket libcurl has open
  QTimer curlTimer_;
  QTimer idleTimer_;
  // libcurl 7.88 sometimes fails to ask for the control socket again when
  // it reuses a connection, and the reply then sits unread; a quiet command
  // is driven by hand now and then (driveNow) so that it cannot stall on
  // that.
  QTimer nudgeTimer_;
  void nudge();
  std::chrono::steady_clock::time_point lastActivity_;

  FtpCommand current_;
  bool busy_ = false;
  unsigned generation_ = 0;  // bumped by cancel(): drops queued outcomes
  int code_ = 0;
  std::string info_;
  std::string lastReply_;  // last final reply line of the server
  std::string localError_;

  int fd_ = -1;            // local file of the command in progress
  std::string tempPath_;   // GET: the temporary beside the target
};
