// The FTP component on the real platform: the command texts run as libcurl
// transfers on a CurlMultiDriver. Nothing here blocks the loop except the
// short waits libcurl itself makes for a final server reply (see .cpp).
#pragma once

#include <QObject>
#include <string>

#include <curl/curl.h>

#include "platform/FtpCommandText.h"
#include "platform/Platform.h"
#include "platform/qt/CurlMultiDriver.h"

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
  void driveNow() { driver_.driveNow(); }
  // Whether the socket notifiers watch exactly what libcurl waits on.
  bool watchesInSync() const { return driver_.watchesInSync(); }

 private:
  // libcurl callbacks (userp is this).
  static size_t onWrite(char* data, size_t size, size_t n, void* userp);
  static size_t onRead(char* buffer, size_t size, size_t n, void* userp);
  static size_t onHeader(char* data, size_t size, size_t n, void* userp);

  void stalled();
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

  CURL* easy_ = nullptr;  // reused for every command
  curl_slist* quote_ = nullptr;
  char errorBuffer_[CURL_ERROR_SIZE] = {};
  CurlMultiDriver driver_;  // one session: its multi handle owns the connection

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
