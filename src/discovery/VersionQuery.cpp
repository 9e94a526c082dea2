#include "discovery/VersionQuery.h"

#include "core/ModemAddress.h"
#include "core/TextUtilities.h"

namespace {
constexpr std::int32_t kVersionReply = 4100;
}

VersionQuery::VersionQuery(const Context& context, int zingPort, FtpProbe& probe)
    : context_(context),
      probe_(probe),
      socket_(context.platform.createSocket(zingPort)),
      connectTimer_(context.timer(kConnectLimitMs)),
      responseTimer_(context.timer(kResponseLimitMs)),
      settleTimer_(context.timer(kReplySettleMs)) {
  settleTimer_->onTick = [this] {
    settleTimer_->setEnabled(false);
    handleVersionReply();
  };
  socket_->onConnect = [this] { connected(); };
  socket_->onDataArrival = [this](std::size_t) { dataArrived(); };
  socket_->onError = [this](int, const std::string& d) { socketError(d); };
  socket_->onClose = [this] { closedByPeer(); };
  connectTimer_->onTick = [this] { connectionWatchdog(); };
  responseTimer_->onTick = [this] { responseWatchdog(); };
  probeObserver_ = probe_.onResult.add(
      [this](FtpProbe::Result r, const std::string& d) { probeResult(r, d); });
}

VersionQuery::~VersionQuery() {
  probe_.onResult.remove(probeObserver_);
  socket_->clearHandlers();
}

bool VersionQuery::idle() const {
  return !connectTimer_->enabled() && !responseTimer_->enabled() && !settleTimer_->enabled() &&
         !probing_;
}

void VersionQuery::clearExchange() {
  socket_->close();
  connectTimer_->setEnabled(false);
  responseTimer_->setEnabled(false);
  settleTimer_->setEnabled(false);
  reply_.clear();
}

void VersionQuery::cancel() {
  clearExchange();
  probing_ = false;
  probe_.cancel();
}

void VersionQuery::connect() {
  // A socket the modem closed, or one still connecting, would refuse the
  // new connect: close it in every state.
  socket_->close();
  reply_.clear();
  settleTimer_->setEnabled(false);
  try {
    connectTimer_->setEnabled(true);
    // An address that is no address fails as a silent modem does.
    if (!IsUsableModemAddress(context_.session.modemAddress)) return;
    socket_->setRemoteHost(context_.session.modemAddress);
    socket_->connect();
  } catch (const PlatformError&) {
    failureEnding();
  }
}

void VersionQuery::query(bool reportFtpTimeout) {
  if (reportFtpTimeout) ftpTimeoutPending_ = true;
  if (socket_->state() == TcpSocket::Connected) socket_->close();
  context_.view.setBusy(true);
  context_.session.runningVersion = kUnknownVersion;
  context_.view.showRunningVersion(kUnknownVersionText);
  if (!context_.session.modemAddress.empty()) {
    context_.view.setStatus("Trying to retrieve Satellite IP Modem software version...");
    request_ = Request::ReadVersion;
    connect();
    return;
  }
  context_.ui().msgBox("Please enter Satellite IP Modem's IP address.", MsgInformation,
                       kAppTitle);
  failureEnding();
  onOutcome(Outcome::NoAddress);
}

void VersionQuery::sendResetOrder() {
  if (socket_->state() == TcpSocket::Connected) socket_->close();
  context_.view.showRunningVersion(kUnknownVersionText);
  context_.session.runningVersion = kUnknownVersion;
  context_.view.setBusy(true);
  request_ = Request::Reset;
  connect();
}

void VersionQuery::failureEnding() {
  context_.view.setBusy(false);
  context_.view.setStatus("Check Satellite IP Modem software version.");
}

void VersionQuery::send(Request request) {
  const auto code = static_cast<std::int32_t>(request);
  const char bytes[4] = {0, 0, static_cast<char>((code >> 8) & 0xFF),
                         static_cast<char>(code & 0xFF)};
  try {
    socket_->sendData(std::string_view(bytes, 4));
  } catch (const PlatformError&) {
    // Not connected after all: the response watchdog ends the exchange.
  }
  responseTimer_->setEnabled(true);
}

void VersionQuery::connected() {
  connectTimer_->setEnabled(false);
  send(request_);
  if (request_ == Request::Reset) {
    responseTimer_->setEnabled(false);
    request_ = Request::ResetOrderSent;
    onOutcome(Outcome::ResetOrderSent);
    context_.view.setStatus("Resetting modem. Wait 20 seconds.");
  }
}

void VersionQuery::dataArrived() {
  std::string piece = socket_->getData();
  if (reply_.size() < kMaxReply) reply_ += piece.substr(0, kMaxReply - reply_.size());
  // Too short to carry a reply code: wait for more; the response watchdog
  // ends the exchange if nothing follows.
  if (reply_.size() < 4) return;
  if (BytesToLong(reply_, 4, 0) != kVersionReply) {
    // Not a version reply: ignored, and the response watchdog keeps running
    // so that the usual fallback follows.
    reply_.clear();
    return;
  }
  responseTimer_->setEnabled(false);
  bool complete = reply_.size() > 8 && reply_.find('\0', 8) != std::string::npos;
  if (complete || reply_.size() >= kMaxReply) {
    settleTimer_->setEnabled(false);
    handleVersionReply();
    return;
  }
  // The rest of the text may still be on its way.
  settleTimer_->setEnabled(false);
  settleTimer_->setEnabled(true);
}

void VersionQuery::handleVersionReply() {
  std::string bytes;
  bytes.swap(reply_);
  std::int16_t index = 8;
  std::string raw = BytesToString(bytes, static_cast<std::int32_t>(bytes.size()) - 8, index);
  std::string version = ExtractVersion(raw);
  const bool readable = !version.empty();
  if (readable) {
    context_.view.showRunningVersion(version);
    context_.session.runningVersion = ReplaceChar(version, ".", "_");
    // A modem that now names its version is held to its release series,
    // whatever an earlier query could not read.
    reachableWithoutVersion_ = false;
    context_.view.setStatus("Software version was retrieved!");
  } else {
    // The modem answered without a version: it stays unknown.
    context_.view.showRunningVersion(kUnknownVersionText);
    context_.session.runningVersion = kUnknownVersion;
    context_.view.setStatus("Check Satellite IP Modem software version.");
  }
  socket_->close();
  Outcome outcome = readable ? Outcome::VersionRead : Outcome::NoVersionInReply;
  if (ftpTimeoutPending_) {
    reportFtpTimeout();
    outcome = Outcome::FtpTimeoutReported;
  } else if (!(replyFollowUp && replyFollowUp())) {
    context_.view.setProgress(100);
    context_.view.setBusy(false);
  }
  context_.view.setConnected(true);
  onOutcome(outcome);
}

void VersionQuery::reportFtpTimeout() {
  ftpTimeoutPending_ = false;
  context_.ui().msgBox(std::string("FTP timeout.") + kCrLf + kCrLf +
                           "Remove power and reapply power to the Satellite IP Modem." + kCrLf +
                           "Get software version using Tools menu before retrying." + kCrLf +
                           "Close and restart Upgrader if error repeats.",
                       MsgExclamation, kUpgraderTitle);
  context_.view.setBusy(false);
  context_.view.lockUpgradeControls();
}

void VersionQuery::socketError(const std::string& description) {
  // A modem that restarts after the reset order resets the connection: the
  // expected end of a reset, not an error.
  if (request_ == Request::ResetOrderSent) {
    connectionWatchdog();
    return;
  }
  connectionWatchdog();
  context_.ui().msgBox(description, MsgExclamation, kAppTitle);
  onOutcome(Outcome::SocketError);
}

void VersionQuery::connectionWatchdog() {
  clearExchange();
  switch (request_) {
    case Request::ReadVersion:
      context_.session.runningVersion = kUnknownVersion;
      context_.view.showRunningVersion(kUnknownVersionText);
      probing_ = true;
      probe_.start();  // ignored while one runs
      context_.view.setStatus("ZING Connection failed.");
      return;
    case Request::Reset:
      context_.view.setBusy(false);
      context_.ui().msgBox(std::string("Unable to reset Satellite IP Modem.") + kCrLf + kCrLf +
                               "Remove power and reapply power to the Satellite IP Modem.",
                           MsgExclamation, kUpgraderTitle);
      context_.view.setStatus("");
      onOutcome(Outcome::ResetFailed);
      return;
    case Request::ResetOrderSent:
      // The modem dropped the connection while restarting.
      onOutcome(Outcome::ConnectionDropped);
      return;
  }
}

void VersionQuery::responseWatchdog() {
  socket_->close();
  responseTimer_->setEnabled(false);
  settleTimer_->setEnabled(false);
  reply_.clear();
  probing_ = true;
  probe_.start();  // ignored while one runs
}

void VersionQuery::closedByPeer() {
  // The rest of a version reply will not come now: take what arrived.
  if (settleTimer_->enabled()) {
    settleTimer_->setEnabled(false);
    handleVersionReply();
    return;
  }
  // A modem that restarts after the reset order closes the connection.
  if (request_ == Request::ResetOrderSent) {
    connectionWatchdog();
    return;
  }
  context_.ui().msgBox("Satellite IP Modem closed the connection. Connection lost.", MsgCritical,
                       "Error");
  onOutcome(Outcome::ConnectionClosed);
}

void VersionQuery::probeResult(FtpProbe::Result result, const std::string& errorDescription) {
  probing_ = false;
  const bool query = request_ == Request::ReadVersion;
  Outcome outcome;
  if (result == FtpProbe::Result::Reachable) {
    context_.view.setConnected(true);
    if (query && ftpTimeoutPending_) {
      ftpTimeoutPending_ = false;
      context_.ui().msgBox(std::string("FTP timeout.") + kCrLf + kCrLf +
                               "Remove power and reapply power to the Satellite IP Modem." +
                               kCrLf + "Get software version using Tools menu before retrying." +
                               kCrLf + "Close and restart Upgrader if error repeats." + kCrLf,
                           MsgExclamation, kAppTitle);
      context_.view.setBusy(false);
      context_.view.lockUpgradeControls();
      outcome = Outcome::FtpTimeoutReported;
    } else {
      if (query) {
        reachableWithoutVersion_ = true;
        context_.ui().msgBox(std::string("Unable to get Satellite IP Modem's software version.") +
                                 kCrLf + kCrLf + "Upgrade process can be continued.",
                             MsgInformation, kUpgraderTitle);
      }
      context_.view.setBusy(false);
      outcome = Outcome::ReachableOnly;
    }
    context_.view.setStatus("Connection succeed.");
  } else {
    context_.view.setConnected(false);
    if (query) {
      if (!ftpTimeoutPending_) {
        context_.ui().msgBox(
            std::string("Unable to get Satellite IP Modem's software version.") + kCrLf + kCrLf +
                "Please check the cable connection." + kCrLf +
                "Remove power and reapply power to the Satellite IP Modem." + kCrLf +
                "Get software version using Tools menu before retrying." + kCrLf +
                "Close and restart Upgrader if error repeats.",
            MsgExclamation, kUpgraderTitle);
      } else {
        ftpTimeoutPending_ = false;
        context_.ui().msgBox(std::string("FTP timeout.") + kCrLf +
                                 "Can not connect to the Satellite IP Modem." + kCrLf + kCrLf +
                                 "Please check the cable connection." + kCrLf +
                                 "Remove power and reapply power to the Satellite IP Modem." +
                                 kCrLf + "Get software version using Tools menu before retrying." +
                                 kCrLf + "Close and restart Upgrader if error repeats.",
                             MsgExclamation, kUpgraderTitle);
      }
    }
    context_.view.setStatus("Connection failed.");
    context_.view.setBusy(false);
    context_.view.lockUpgradeControls();
    outcome = Outcome::Unreachable;
  }
  if (!errorDescription.empty()) {
    context_.ui().msgBox(errorDescription, MsgExclamation, kAppTitle);
    onOutcome(outcome);
    onOutcome(Outcome::SocketError);
    return;
  }
  onOutcome(outcome);
}
