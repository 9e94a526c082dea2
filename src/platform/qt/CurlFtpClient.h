// The FTP component on the real platform: the command texts run as libcurl
// transfers on a CurlMultiDriver's worker thread; every outcome comes back
// to the Qt thread through its event queue, in order.
#pragma once

#include <QObject>
#include <QTimer>
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
  // No image or log of a modem comes near this: a larger download is a
  // server that streams without end, and is refused before it fills the disk.
  static constexpr long long kMaxDownloadBytes = 512LL << 20;

  explicit CurlFtpClient(int port, std::string user = "kovauser",
                         std::string password = "moonstone", int requestTimeoutMs = 60000,
                         long long maxDownloadBytes = kMaxDownloadBytes, QObject* parent = nullptr);
  ~CurlFtpClient() override;
  CurlFtpClient(const CurlFtpClient&) = delete;
  CurlFtpClient& operator=(const CurlFtpClient&) = delete;

  void setRemoteHost(const std::string& host) override { host_ = host; }
  std::string remoteHost() const override { return host_; }
  void execute(const std::string& command) override;
  bool stillExecuting() const override { return busy_; }
  int responseCode() const override { return code_; }
  Text responseInfo() const override { return info_; }
  bool sameAsLocal() const override { return sameAsLocal_; }
  void cancel() override;

  int port() const { return port_; }

 private:
  struct Job;  // one command on the worker thread
  struct Outcome {
    int state = 0;
    int code = 0;
    Text info;
    bool keepFile = false;  // GET: rename the temporary over the target
    bool sameAsLocal = false;  // COMPARE: every byte matched
  };

  // Worker thread: only the job, the driver and post().
  bool startTransfer(Job& job, CURL* easy) const;
  Outcome transferDone(Job& job, CURLcode result, CurlMultiDriver& driver) const;
  // libcurl callbacks (userp is the job).
  static size_t onWrite(char* data, size_t size, size_t n, void* userp);
  static size_t onRead(char* buffer, size_t size, size_t n, void* userp);
  static size_t onHeader(char* data, size_t size, size_t n, void* userp);
  static int onTransferInfo(void* userp, curl_off_t dltotal, curl_off_t dlnow, curl_off_t ultotal,
                            curl_off_t ulnow);

  // Any thread: queues the outcome of command `generation` for the Qt thread.
  void post(unsigned generation, Outcome outcome);
  // Any thread: queues how far command `generation` is.
  void postProgress(unsigned generation, long long done, long long total);

  // Qt thread.
  void deliver(unsigned generation, const Outcome& outcome);
  void finish(int state, int code = 0, Text info = {});
  bool openLocalFile(const FtpCommand& cmd, int& fd);
  void idleCheck();
  void dropTempFile();
  std::string url(const std::string& remote) const;

  const int port_;
  const std::string user_;
  const std::string password_;
  const int timeoutMs_;
  const long long maxDownload_;
  std::string host_;

  CurlMultiDriver driver_;  // one session: its multi handle owns the connection
  QTimer idleTimer_;        // no data or reply for timeoutMs_: time-out

  FtpCommand current_;
  bool busy_ = false;
  unsigned generation_ = 0;  // bumped by cancel(): drops queued outcomes
  int code_ = 0;
  Text info_;
  bool sameAsLocal_ = false;  // of the last COMPARE
  std::string tempPath_;  // GET: the temporary beside the target
};
