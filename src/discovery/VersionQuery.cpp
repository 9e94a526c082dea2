#include "discovery/VersionQuery.h"

#include "core/Texts.h"

VersionQuery::VersionQuery(const Context& context, int zingPort, int ftpPort)
    : context_(context),
      probe_(context, ftpPort),
      link_(context, zingPort, kConnectLimitMs),
      responseTimer_(context.timer(kResponseLimitMs)),
      settleTimer_(context.timer(kReplySettleMs)) {
  settleTimer_->onTick = [this] {
    settleTimer_->setEnabled(false);
    handleVersionReply();
  };
  link_.onConnected = [this] { connected(); };
  link_.onData = [this] { dataArrived(); };
  link_.onError = [this](const std::string& d) { socketError(d); };
  link_.onClosedByPeer = [this] { closedByPeer(); };
  link_.onConnectTimeout = [this] { connectionWatchdog(); };
  responseTimer_->onTick = [this] { responseWatchdog(); };
  probe_.onResult = [this](FtpProbe::Result r, const std::string& d) { probeResult(r, d); };
}

VersionQuery::~VersionQuery() = default;

bool VersionQuery::idle() const {
  return !link_.connecting() && !responseTimer_->enabled() && !settleTimer_->enabled() &&
         !probing_;
}

void VersionQuery::clearExchange() {
  link_.close();
  responseTimer_->setEnabled(false);
  settleTimer_->setEnabled(false);
  reply_.clear();
}

void VersionQuery::cancel() {
  clearExchange();
  probing_ = false;
  probe_.cancel();
  listener_ = nullptr;
}

// The listener hears last: the exchange is settled by then, so it may start
// the next one at once.
void VersionQuery::tell(Outcome outcome) {
  Listener listener = listener_;
  if (listener) listener(outcome);
}

void VersionQuery::connect() {
  reply_.clear();
  settleTimer_->setEnabled(false);
  link_.open();
}

void VersionQuery::query(bool reportFtpTimeout, Listener listener) {
  listener_ = std::move(listener);
  if (reportFtpTimeout) ftpTimeoutPending_ = true;
  context_.session.runningVersion = ModemVersion();
  context_.view.showRunningVersion(kUnknownVersionText);
  if (!context_.session.modemAddress.empty()) {
    context_.view.setStatus("Trying to retrieve Satellite IP Modem software version..."_t);
    request_ = Request::ReadVersion;
    connect();
    return;
  }
  link_.close();
  context_.report({Notice::Kind::EnterAddress});
  context_.view.setStatus("Check Satellite IP Modem software version."_t);
  tell(Outcome::NoAddress);
}

void VersionQuery::sendResetOrder(Listener listener) {
  listener_ = std::move(listener);
  context_.view.showRunningVersion(kUnknownVersionText);
  context_.session.runningVersion = ModemVersion();
  request_ = Request::Reset;
  connect();
}

void VersionQuery::send(Request request) {
  const auto code = static_cast<std::int32_t>(request);
  const char bytes[4] = {0, 0, static_cast<char>((code >> 8) & 0xFF),
                         static_cast<char>(code & 0xFF)};
  // Not sent after all: the response watchdog ends the exchange.
  link_.send(std::string_view(bytes, 4));
  responseTimer_->setEnabled(true);
}

void VersionQuery::connected() {
  // Something answers: the PC's neighbour table now knows its hardware
  // address, which tells one unit from the next at the same address.
  Session& session = context_.session;
  const std::string mac =
      context_.platform.networkInterfaces().hardwareAddress(session.modemAddress, session.interfaceName);
  if (!mac.empty()) {
    session.modemMac = mac;
    session.modemMacAddress = session.modemAddress;
  }
  send(request_);
  if (request_ == Request::Reset) {
    responseTimer_->setEnabled(false);
    request_ = Request::ResetOrderSent;
    context_.view.setStatus("Resetting modem. Wait 20 seconds."_t);
    tell(Outcome::ResetOrderSent);
  }
}

void VersionQuery::dataArrived() {
  switch (reply_.add(link_.read())) {
    case ZingReplyReader::Status::NeedMore:
      // The response watchdog ends the exchange if nothing follows.
      return;
    case ZingReplyReader::Status::NotAVersionReply:
      // Ignored: the response watchdog keeps running, so the usual fallback follows.
      return;
    case ZingReplyReader::Status::Partial:
      // The rest of the text may still be on its way.
      responseTimer_->setEnabled(false);
      settleTimer_->setEnabled(false);
      settleTimer_->setEnabled(true);
      return;
    case ZingReplyReader::Status::Complete:
      responseTimer_->setEnabled(false);
      settleTimer_->setEnabled(false);
      handleVersionReply();
      return;
  }
}

void VersionQuery::handleVersionReply() {
  const std::string version = reply_.version();
  reply_.clear();
  Session& session = context_.session;
  const bool readable = !version.empty();
  if (readable) {
    context_.view.showRunningVersion(version);
    session.runningVersion = ModemVersion::FromDisplayForm(version);
    // A modem that now names its version is held to its release series,
    // whatever an earlier query could not read.
    session.reachableWithoutVersion = false;
    context_.view.setStatus("Software version was retrieved!"_t);
  } else {
    // The modem answered without a version: it stays unknown.
    context_.view.showRunningVersion(kUnknownVersionText);
    session.runningVersion = ModemVersion();
    context_.view.setStatus("Check Satellite IP Modem software version."_t);
  }
  link_.close();
  Outcome outcome = readable ? Outcome::VersionRead : Outcome::NoVersionInReply;
  if (ftpTimeoutPending_) {
    ftpTimeoutPending_ = false;
    context_.report({Notice::Kind::FtpTimeoutAfterReply});
    outcome = Outcome::FtpTimeoutReported;
  }
  context_.view.setConnected(true);
  tell(outcome);
}

void VersionQuery::socketError(const std::string& description) {
  // A modem that restarts after the reset order resets the connection: the
  // expected end of a reset, not an error.
  if (request_ == Request::ResetOrderSent) {
    connectionWatchdog();
    return;
  }
  if (request_ == Request::Reset) {
    // The order could not be delivered; the socket's own words follow the box.
    clearExchange();
    context_.report({Notice::Kind::ResetNotDelivered});
    context_.view.setStatus("");
    context_.report({Notice::Kind::SocketError, description});
    tell(Outcome::ResetFailed);
    return;
  }
  connectionWatchdog();
  context_.report({Notice::Kind::SocketError, description});
}

void VersionQuery::connectionWatchdog() {
  clearExchange();
  switch (request_) {
    case Request::ReadVersion:
      context_.session.runningVersion = ModemVersion();
      context_.view.showRunningVersion(kUnknownVersionText);
      startProbe();
      context_.view.setStatus("ZING Connection failed."_t);
      return;
    case Request::Reset:
      context_.report({Notice::Kind::ResetNotDelivered});
      context_.view.setStatus("");
      tell(Outcome::ResetFailed);
      return;
    case Request::ResetOrderSent:
      // The modem dropped the connection while restarting.
      tell(Outcome::ConnectionDropped);
      return;
  }
}

void VersionQuery::responseWatchdog() {
  clearExchange();
  startProbe();
}

void VersionQuery::startProbe() {
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
  // The response watchdog still decides what follows.
  context_.report({Notice::Kind::ZingConnectionLost});
}

void VersionQuery::probeResult(FtpProbe::Result result, const std::string& errorDescription) {
  probing_ = false;
  const bool query = request_ == Request::ReadVersion;
  Outcome outcome;
  if (result == FtpProbe::Result::Reachable) {
    context_.view.setConnected(true);
    if (query && ftpTimeoutPending_) {
      ftpTimeoutPending_ = false;
      context_.report({Notice::Kind::FtpTimeoutReachable});
      outcome = Outcome::FtpTimeoutReported;
    } else {
      if (query) {
        context_.session.reachableWithoutVersion = true;
        context_.report({Notice::Kind::ContinueWithoutVersion});
      }
      outcome = Outcome::ReachableOnly;
    }
    context_.view.setStatus("Connection succeed."_t);
  } else {
    context_.view.setConnected(false);
    if (query) {
      context_.report({ftpTimeoutPending_ ? Notice::Kind::FtpTimeoutUnreachable
                                          : Notice::Kind::Unreachable});
      ftpTimeoutPending_ = false;
    }
    context_.view.setStatus("Connection failed."_t);
    outcome = Outcome::Unreachable;
  }
  if (!errorDescription.empty()) context_.report({Notice::Kind::SocketError, errorDescription});
  tell(outcome);
}
