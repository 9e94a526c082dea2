// The ZING channel: the software-version query and the reset order, with
// the two watchdogs of the exchange. When the ZING port stays silent the
// FTP-port probe tells whether the modem is there at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/Context.h"
#include "core/Observers.h"
#include "discovery/FtpProbe.h"

class VersionQuery {
 public:
  // The request in flight; the numbers are the request codes on the wire.
  enum class Request : std::int32_t { ResetOrderSent = 0, ReadVersion = 4, Reset = 13 };

  enum class Outcome {
    VersionRead,         // the modem told its version
    NoVersionInReply,    // it answered without a readable version
    ReachableOnly,       // no version, but the FTP port answered
    Unreachable,         // neither port answered
    FtpTimeoutReported,  // the failed transfer before the query was reported
    NoAddress,
    SocketError,         // the socket reported an error (shown in a box)
    ResetOrderSent,
    ResetFailed,
    ConnectionDropped,   // the connection ended after the reset order
    ConnectionClosed,    // the modem closed the connection (shown in a box)
  };

  static constexpr int kConnectLimitMs = 5000;
  static constexpr int kResponseLimitMs = 5000;
  // How long a version reply cut short without its zero byte may take to
  // be completed by a further piece.
  static constexpr int kReplySettleMs = 300;
  // Upper bound of the bytes kept of one reply.
  static constexpr std::size_t kMaxReply = 4096;

  VersionQuery(const Context& context, int zingPort, FtpProbe& probe);
  ~VersionQuery();

  // Reads the version (busy until the outcome). With reportFtpTimeout the
  // outcome also tells the user that the transfer before it timed out.
  void query(bool reportFtpTimeout = false);
  // Connects and sends the reset order (busy until the modem restarts).
  void sendResetOrder();
  // Ends the exchange quietly: socket closed, watchdogs off.
  void cancel();
  bool idle() const;

  // The version could not be read but the FTP port answered: an upgrade
  // may go on without knowing the running version (until a version is read).
  bool reachableWithoutVersion() const { return reachableWithoutVersion_; }

  // Runs after a version reply when no time-out is to be reported; returns
  // true when it started an exchange that keeps the busy state.
  std::function<bool()> replyFollowUp;

  Observers<Outcome> onOutcome;

 private:
  void connect();
  void send(Request request);
  void connected();
  void dataArrived();
  void socketError(const std::string& description);
  void closedByPeer();
  void connectionWatchdog();
  void responseWatchdog();
  void handleVersionReply();
  void failureEnding();
  void probeResult(FtpProbe::Result result, const std::string& errorDescription);
  void reportFtpTimeout();
  void clearExchange();

  Context context_;
  FtpProbe& probe_;
  std::unique_ptr<TcpSocket> socket_;
  std::unique_ptr<Timer> connectTimer_;
  std::unique_ptr<Timer> responseTimer_;
  std::unique_ptr<Timer> settleTimer_;
  Request request_ = Request::ResetOrderSent;
  std::string reply_;  // pieces of the reply in progress
  bool ftpTimeoutPending_ = false;
  bool reachableWithoutVersion_ = false;
  bool probing_ = false;
  int probeObserver_ = 0;
};
