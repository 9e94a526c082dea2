// Simulated FTP server and the client the logic uses on the simulated
// platform. Local files are real (a test's temporary home); remote files
// live in memory.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "sim/SimLoop.h"

class SimFtpServer {
 public:
  explicit SimFtpServer(SimLoop& loop) : loop(loop) {}
  struct Fault {
    // Cut: half of an upload stays on the modem, then the session drops.
    enum Kind { Stall, Error, Disconnect, Cut } kind = Stall;
    int code = 0;       // for Error
    std::string info;   // for Error
    long afterMs = -1;  // when the outcome comes; -1: the usual delay
  };
  SimLoop& loop;
  std::map<std::string, std::string> files;  // remote path -> content
  bool reachable = true;                     // else 12029 at login
  bool loginOk = true;                       // else 12014
  long commandMs = 100;                      // time one command takes
  // Faults by command verb and remote path ("GET /bin/kova.bin",
  // "DELETE /config.txt", "PUT /pic.hex", "CLOSE"); used once each.
  std::map<std::string, Fault> faults;
  // Uploads of a remote path stored with one byte wrong though answered as
  // complete: how many more (-1: every one).
  std::map<std::string, int> flashErrors;
  // After a cut the server takes no more connections.
  bool goneAfterCut = false;
  // Relative local paths resolve against this directory (the home).
  std::string localBase;
  std::vector<std::string> log;  // command texts, as executed
  int logins = 0;
};

class SimFtpClient : public FtpClient {
 public:
  explicit SimFtpClient(SimFtpServer& server) : server_(server) {}
  ~SimFtpClient() override;
  void setRemoteHost(const std::string& host) override { host_ = host; }
  std::string remoteHost() const override { return host_; }
  void execute(const std::string& command) override;
  bool stillExecuting() const override { return busy_; }
  int responseCode() const override { return code_; }
  Text responseInfo() const override { return info_; }
  bool sameAsLocal() const override { return sameAsLocal_; }
  void cancel() override;

 private:
  void finish(long delayMs, int state, int code = 0, std::string info = {},
              bool sameAsLocal = false);
  // The bytes of a transfer that takes delayMs, ten times a second and at its end.
  void progress(long delayMs, long long size);
  SimFtpServer& server_;
  std::string host_;
  bool busy_ = false;
  bool session_ = false;
  int code_ = 0;
  std::string info_;
  bool sameAsLocal_ = false;
  SimLoop::Id pending_ = 0;
  unsigned generation_ = 0;  // bumped by each command and cancel: older reports drop
  long long transferSize_ = -1;  // the file moving, told whole at completion
};
