#include "at/AtChannel.h"

#include "at/AtText.h"

AtChannel::AtChannel(const Context& context, int atPort)
    : context_(context),
      link_(context, atPort, kConnectLimitMs),
      replyTimer_(context.timer(kReplyTimeoutMs)) {
  link_.onConnected = [this] { connected(); };
  link_.onData = [this] { dataArrived(); };
  link_.onError = [this](const std::string& d) {
    context_.view.setStatus(Text("AT Error %1"_t).arg(d));
  };
  link_.onClosedByPeer = [this] { closedByPeer(); };
  link_.onConnectTimeout = [this] { connectWatchdog(); };
  replyTimer_->onTick = [this] { replyTimeout(); };
}

bool AtChannel::idle() const {
  return command_ == Command::None && !link_.connecting() && !replyTimer_->enabled();
}

void AtChannel::cancel() {
  endOperation();
  reply_.clear();
  lastPiece_.clear();
  listener_ = nullptr;
}

// The listener hears last, once the exchange is settled.
void AtChannel::tell(Outcome outcome) {
  Listener listener = listener_;
  if (listener) listener(outcome);
}

// ---- Operations ----

bool AtChannel::addressMissing() {
  if (!context_.session.modemAddress.empty()) return false;
  context_.report({Notice::Kind::EnterAddress});
  tell(Outcome::NoAddress);
  return true;
}

void AtChannel::connect(Command command) {
  command_ = command;
  context_.view.setStatus("AT Connecting ....."_t);
  link_.open();
}

void AtChannel::readDns(Listener listener) {
  listener_ = std::move(listener);
  if (addressMissing()) return;
  connect(Command::ReadDns);
}

void AtChannel::writeDns(const std::string& primary, const std::string& secondary,
                         Listener listener) {
  listener_ = std::move(listener);
  primary_ = primary;
  secondary_ = secondary;
  if (addressMissing()) return;
  if (!SendableDnsText(primary_) || !SendableDnsText(secondary_)) {
    context_.report({Notice::Kind::DnsUnsendable});
    tell(Outcome::Unsendable);
    return;
  }
  connect(Command::WriteDns);
}

void AtChannel::writeSecondDns() {
  command_ = Command::WriteSecondDns;
  if (!SendableDnsText(secondary_)) {
    endOperation();
    context_.report({Notice::Kind::DnsUnsendable});
    tell(Outcome::Unsendable);
    return;
  }
  send(DnsWriteCommand("DNS2", secondary_));
}

void AtChannel::sendRestart() {
  command_ = Command::Restart;
  send("AT+CFUN=1,1\r\n");
}

// Sends one command line and starts the wait for its answer.
bool AtChannel::send(const std::string& line) {
  std::string why;
  if (!link_.send(line, &why)) {
    context_.view.setStatus(Text("AT Error %1"_t).arg(why));
    fail(Notice::Kind::AtNotSent);
    return false;
  }
  replyTimer_->setEnabled(false);
  replyTimer_->setEnabled(true);
  return true;
}

// ---- Ends ----

void AtChannel::endOperation() {
  replyTimer_->setEnabled(false);
  state_ = State::Idle;
  link_.close();
  command_ = Command::None;
}

void AtChannel::fail(Notice::Kind why) {
  endOperation();
  reply_.clear();
  lastPiece_.clear();
  context_.view.setStatus("");
  context_.report({why});
  tell(Outcome::Failed);
}

void AtChannel::finishRestart() {
  endOperation();
  context_.view.setStatus("Resetting modem. Wait 20 seconds."_t);
  tell(Outcome::RestartOrdered);
}

// ---- Socket events ----

void AtChannel::connectWatchdog() {
  context_.view.setStatus("Connection failed."_t);
  command_ = Command::None;
  context_.report({Notice::Kind::ConnectFailed});
  tell(Outcome::ConnectFailed);
}

void AtChannel::connected() {
  if (command_ == Command::None) {
    // Opened after the attempt was given up.
    link_.close();
    return;
  }
  context_.view.setStatus("Sending AT command."_t);
  reply_.clear();
  lastPiece_.clear();
  state_ = State::AwaitingReply;
  if (command_ == Command::ReadDns)
    send("AT_IHIP?\r\n");
  else if (command_ == Command::WriteDns)
    send(DnsWriteCommand("DNS", primary_));
}

void AtChannel::replyTimeout() {
  replyTimer_->setEnabled(false);
  if (state_ != State::AwaitingReply) return;
  // A restart that goes unanswered has most likely been obeyed: the
  // version query after the delay tells.
  if (command_ == Command::Restart)
    finishRestart();
  else
    fail(Notice::Kind::AtNoAnswer);
}

void AtChannel::dataArrived() {
  lastPiece_ = link_.read();
  if (command_ == Command::ReadDns) reply_ += lastPiece_;
  if (state_ != State::AwaitingReply) {
    context_.report({Notice::Kind::AtWrongState, {}, static_cast<int>(state_)});
    return;
  }
  switch (command_) {
    case Command::Restart:
      // Whatever the modem says, it has the order.
      finishRestart();
      return;
    case Command::ReadDns:
      readReply();
      return;
    case Command::WriteDns:
      writeReply(Notice::Kind::DnsRefused);
      return;
    case Command::WriteSecondDns:
      writeReply(Notice::Kind::Dns2Refused);
      return;
    case Command::None:
      return;
  }
}

namespace {
// A reply may arrive in pieces of any size: it is whole once the line of
// the secondary address has ended, or the closing OK has come.
bool DnsReplyComplete(const std::string& reply) {
  const auto label = reply.find("DNS2");
  if (label == std::string::npos) return false;
  return reply.find_first_of("\r\n", label) != std::string::npos ||
         reply.find("OK", label) != std::string::npos;
}
}  // namespace

void AtChannel::takeDnsReply() {
  DnsAddresses a = ParseDnsReply(reply_);
  reply_.clear();
  primary_ = a.primary;
  secondary_ = a.secondary;
  endOperation();
  context_.view.setStatus("");
  tell(Outcome::DnsRead);
}

void AtChannel::readReply() {
  // The whole reply is searched, so a label split across two pieces is
  // still found.
  if (DnsReplyComplete(reply_)) {
    takeDnsReply();
  } else if (reply_.find("ERROR") != std::string::npos) {
    endOperation();
    reply_.clear();
    context_.view.setStatus("");
    context_.report({Notice::Kind::DnsUnverifiable});
    tell(Outcome::ReadRefused);
  } else if (reply_.size() > kMaxReplyBytes) {
    fail(Notice::Kind::AtUnreadable);
  }
}

void AtChannel::writeReply(Notice::Kind refusal) {
  if (lastPiece_.find("OK") != std::string::npos) {
    if (command_ == Command::WriteDns)
      writeSecondDns();
    else
      sendRestart();
  } else if (lastPiece_.find("ERROR") != std::string::npos) {
    endOperation();
    context_.report({refusal});
    tell(Outcome::WriteRefused);
  }
}

// The modem hung up. Waiting for an answer on a closed line is pointless.
void AtChannel::closedByPeer() {
  if (state_ != State::AwaitingReply) {
    link_.close();
    return;
  }
  if (command_ == Command::Restart)
    finishRestart();
  else if (command_ == Command::ReadDns && reply_.find("DNS2") != std::string::npos)
    takeDnsReply();
  else
    fail(Notice::Kind::AtClosed);
}
