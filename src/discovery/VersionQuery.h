// The ZING channel: the software-version query and the reset order, with
// the two watchdogs of the exchange. When the ZING port stays silent the
// FTP-port probe tells whether the modem is there at all.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/Context.h"
#include "core/ModemLink.h"
#include "discovery/FtpProbe.h"
#include "discovery/ZingReply.h"

class VersionQuery {
 public:
  enum class Outcome {
    // Ends of a query.
    VersionRead,         // the modem told its version
    NoVersionInReply,    // it answered without a readable version
    ReachableOnly,       // no version, but the FTP port answered
    Unreachable,         // neither port answered
    FtpTimeoutReported,  // the failed transfer before the query was reported
    NoAddress,
    // The reset order: sent, then perhaps the connection ends as the modem
    // restarts; or it could not be delivered.
    ResetOrderSent,
    ConnectionDropped,
    ResetFailed,
  };
  using Listener = std::function<void(Outcome)>;

  static constexpr int kConnectLimitMs = 5000;
  static constexpr int kResponseLimitMs = 5000;
  // How long a version reply cut short without its zero byte may take to
  // be completed by a further piece.
  static constexpr int kReplySettleMs = 300;

  VersionQuery(const Context& context, int zingPort, int ftpPort);
  ~VersionQuery();

  // Reads the version; listener hears how the query ended. With
  // reportFtpTimeout the end also tells the user that the transfer before
  // it timed out.
  void query(bool reportFtpTimeout, Listener listener);
  // Connects and sends the reset order; listener hears of the order and of
  // the connection's end.
  void sendResetOrder(Listener listener);
  // Ends the exchange quietly: socket closed, watchdogs off, nobody told.
  void cancel();
  bool idle() const;

 private:
  // The request in flight; the numbers are the request codes on the wire.
  enum class Request : std::int32_t { ResetOrderSent = 0, ReadVersion = 4, Reset = 13 };

  void connect();
  void send(Request request);
  void connected();
  void dataArrived();
  void socketError(const std::string& description);
  void closedByPeer();
  void connectionWatchdog();
  void responseWatchdog();
  void handleVersionReply();
  void startProbe();
  void probeResult(FtpProbe::Result result, const std::string& errorDescription);
  void clearExchange();
  void tell(Outcome outcome);

  Context context_;
  FtpProbe probe_;
  ModemLink link_;
  std::unique_ptr<Timer> responseTimer_;
  std::unique_ptr<Timer> settleTimer_;
  ZingReplyReader reply_;
  Listener listener_;
  Request request_ = Request::ResetOrderSent;
  bool ftpTimeoutPending_ = false;
  bool probing_ = false;
};
