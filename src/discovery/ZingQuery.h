// The ZING software-version query and the two watchdogs of its exchange.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class frmMain;
class Timer;

class ZingQuery {
 public:
  explicit ZingQuery(frmMain& f);
  ~ZingQuery();
  void QuerySoftwareVersion();
  void SendZingRequest(std::int32_t code);
  // Opens sckZING for the exchange named by lngZingCommand.
  void Connect();

  // How long a version reply cut short without its zero byte may take to
  // be completed by a further piece.
  static constexpr int kReplySettleMs = 300;
  // Upper bound of the bytes kept of one reply.
  static constexpr std::size_t kMaxReply = 4096;

 private:
  void sckZING_Connect();
  void sckZING_DataArrival(std::size_t bytesTotal);
  void sckZING_Error(int number, const std::string& description);
  void sckZING_Close();
  void tmrConnect_Timer();
  void tmrResponse_Timer();
  void ConnectionWatchdog();
  void HandleVersionReply();
  void FailureEnding();

  frmMain& f;
  std::string reply_;  // pieces of the reply in progress
  std::unique_ptr<Timer> settle_;
};
