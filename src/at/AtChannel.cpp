#include "at/AtChannel.h"

#include "at/AtText.h"
#include "core/ModemAddress.h"
#include "discovery/ModemReset.h"

AtChannel::AtChannel(const Context& context, int atPort, ModemReset& reset, Prompts& prompts)
    : context_(context),
      reset_(reset),
      prompts_(prompts),
      socket_(context.platform.createSocket(atPort)),
      connectTimer_(context.timer(kConnectLimitMs)),
      replyTimer_(context.timer(kReplyTimeoutMs)) {
  socket_->onConnect = [this] { connected(); };
  socket_->onDataArrival = [this](std::size_t) { dataArrived(); };
  socket_->onError = [this](int, const std::string& d) { socketError(d); };
  socket_->onClose = [this] { closedByPeer(); };
  connectTimer_->onTick = [this] { connectWatchdog(); };
  replyTimer_->onTick = [this] { replyTimeout(); };
}

AtChannel::~AtChannel() {
  socket_->clearHandlers();
}

bool AtChannel::idle() const {
  return command_ == Command::None && !connectTimer_->enabled() && !replyTimer_->enabled();
}

void AtChannel::cancel() {
  connectTimer_->setEnabled(false);
  endOperation();
  reply_.clear();
  lastPiece_.clear();
}

// ---- Operations ----

bool AtChannel::addressMissing() {
  if (!context_.session.modemAddress.empty()) return false;
  context_.ui().msgBox("Please enter Satellite IP Modem's IP address.", MsgInformation,
                       kAppTitle);
  context_.view.setBusy(false);
  return true;
}

void AtChannel::connect(Command command) {
  command_ = command;
  // A connection left open (one the modem closed) would refuse the connect.
  if (socket_->state() != TcpSocket::Closed) socket_->close();
  try {
    // An address that is no address fails as a silent modem does: the
    // connect guard ends the attempt.
    if (IsUsableModemAddress(context_.session.modemAddress)) {
      socket_->setRemoteHost(context_.session.modemAddress);
      socket_->connect();
    }
  } catch (const PlatformError& e) {
    command_ = Command::None;
    context_.view.setBusy(false);
    context_.view.setStatus(std::string("AT Error ") + e.what());
    return;
  }
  context_.view.setStatus("AT Connecting .....");
  connectTimer_->setEnabled(true);
}

void AtChannel::readDns() {
  context_.view.setBusy(true);
  if (addressMissing()) return;
  connect(Command::ReadDns);
}

void AtChannel::writeDns(const std::string& primary, const std::string& secondary) {
  primary_ = primary;
  secondary_ = secondary;
  context_.view.setBusy(true);
  if (addressMissing()) return;
  if (!SendableDnsText(primary_) || !SendableDnsText(secondary_)) {
    context_.ui().msgBox(kUnsendableDnsMessage, MsgExclamation, kUpgraderTitle);
    context_.view.setBusy(false);
    onOutcome(Outcome::Unsendable);
    return;
  }
  connect(Command::WriteDns);
}

void AtChannel::writeSecondDns() {
  context_.view.setBusy(true);
  if (addressMissing()) {
    endOperation();
    return;
  }
  command_ = Command::WriteSecondDns;
  if (!SendableDnsText(secondary_)) {
    endOperation();
    context_.view.setBusy(false);
    context_.ui().msgBox(kUnsendableDnsMessage, MsgExclamation, kUpgraderTitle);
    onOutcome(Outcome::Unsendable);
    return;
  }
  send(DnsWriteCommand("DNS2", secondary_));
}

void AtChannel::sendRestart() {
  if (addressMissing()) {
    endOperation();
    return;
  }
  command_ = Command::Restart;
  send("AT+CFUN=1,1\r\n");
}

// Sends one command line and starts the wait for its answer.
bool AtChannel::send(const std::string& line) {
  try {
    socket_->sendData(line);
  } catch (const PlatformError& e) {
    context_.view.setStatus(std::string("AT Error ") + e.what());
    fail("The AT command could not be sent.");
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
  socket_->close();
  command_ = Command::None;
}

void AtChannel::fail(const std::string& firstLine) {
  endOperation();
  reply_.clear();
  lastPiece_.clear();
  context_.view.setBusy(false);
  context_.view.setStatus("");
  context_.ui().msgBox(firstLine + kCrLf + "Please check cable connections." + kCrLf +
                           "Remove and reapply power to the modem." + kCrLf +
                           "Use Tool menu to check DNS addresses.",
                       MsgExclamation, kUpgraderTitle);
  onOutcome(Outcome::Failed);
}

// The window stays busy: the version query after the restart ends that.
void AtChannel::finishRestart() {
  endOperation();
  reset_.requeryAfterRestart();
  context_.view.setStatus("Resetting modem. Wait 20 seconds.");
  onOutcome(Outcome::RestartOrdered);
}

void AtChannel::reviewDns() {
  DnsReview review = prompts_.reviewDns(primary_, secondary_);
  switch (review.choice) {
    case DnsReview::Choice::Keep:
      reset_.resetNow();
      return;
    case DnsReview::Choice::Modify:
      writeDns(review.primary, review.secondary);
      return;
    case DnsReview::Choice::Dismissed:
      return;
  }
}

// ---- Socket events ----

void AtChannel::connectWatchdog() {
  socket_->close();
  connectTimer_->setEnabled(false);
  context_.view.setBusy(false);
  context_.view.setStatus("Connection failed.");
  // Cleared before the box, so that a connection opening while it is shown
  // sends nothing.
  const Command command = command_;
  command_ = Command::None;
  std::string text;
  if (command == Command::Restart)
    text = std::string("Can not save new setting and reset the modem. ") + kCrLf +
           "Please check cable connections." + kCrLf + "Remove and reapply power to the modem." +
           kCrLf + "Use Tool menu to check DNS addresses.";
  else
    text = kConnectFailedText;
  context_.ui().msgBox(text, MsgExclamation, kUpgraderTitle);
  onOutcome(Outcome::ConnectFailed);
}

void AtChannel::connected() {
  if (command_ == Command::None) {
    // Opened after the attempt was given up.
    socket_->close();
    return;
  }
  connectTimer_->setEnabled(false);
  context_.view.setStatus("Sending AT command.");
  if (command_ == Command::ReadDns) {
    reply_.clear();
    lastPiece_.clear();
    state_ = State::AwaitingReply;
    send("AT_IHIP?\r\n");
  } else if (command_ == Command::WriteDns) {
    reply_.clear();
    lastPiece_.clear();
    context_.view.setBusy(true);
    state_ = State::AwaitingReply;
    send(DnsWriteCommand("DNS", primary_));
  }
}

void AtChannel::replyTimeout() {
  replyTimer_->setEnabled(false);
  if (state_ != State::AwaitingReply) return;
  // A restart that goes unanswered has most likely been obeyed: the
  // version query after the delay tells.
  if (command_ == Command::Restart)
    finishRestart();
  else
    fail("The modem did not answer the AT command.");
}

void AtChannel::dataArrived() {
  lastPiece_ = socket_->getData();
  if (command_ == Command::ReadDns) reply_ += lastPiece_;
  if (state_ != State::AwaitingReply) {
    context_.ui().msgBox(
        "Data arrival from AT in wrong state " + std::to_string(static_cast<int>(state_)),
        MsgOkOnly, "Error");
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
      writeReply("Wrong DNS adress.");
      return;
    case Command::WriteSecondDns:
      writeReply("Wrong DNS2 adress.");
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
  context_.view.setBusy(false);
  context_.view.setStatus("");
  onOutcome(Outcome::DnsRead);
  reviewDns();
}

void AtChannel::readReply() {
  // The whole reply is searched, so a label split across two pieces is
  // still found.
  if (DnsReplyComplete(reply_)) {
    takeDnsReply();
    return;
  }
  if (reply_.find("ERROR") != std::string::npos) {
    // Ended before the box: nothing of this exchange may follow it.
    endOperation();
    reply_.clear();
    context_.view.setBusy(false);
    context_.view.setStatus("");
    onOutcome(Outcome::Refused);
    context_.ui().msgBox(std::string("Can't verify DNS address.") + kCrLf + kCrLf +
                             "Check if SIM card is inserted correctly." + kCrLf +
                             "Reset Modem and repeat command." + kCrLf,
                         MsgCritical, kUpgraderTitle);
  } else if (reply_.size() > kMaxReplyBytes) {
    fail("The modem's answer to the AT command could not be read.");
  }
}

void AtChannel::writeReply(const char* refusal) {
  if (lastPiece_.find("OK") != std::string::npos) {
    if (command_ == Command::WriteDns)
      writeSecondDns();
    else
      sendRestart();
  } else if (lastPiece_.find("ERROR") != std::string::npos) {
    // Ended before the box: nothing of this exchange may follow it.
    endOperation();
    context_.view.setBusy(false);
    onOutcome(Outcome::Refused);
    context_.ui().msgBox(std::string(refusal) + kCrLf, MsgCritical, kUpgraderTitle);
    // The dialog shows the refused values, which are the user's own.
    reviewDns();
  }
}

void AtChannel::socketError(const std::string& description) {
  context_.view.setStatus("AT Error " + description);
}

// The modem hung up. Waiting for an answer on a closed line is pointless.
void AtChannel::closedByPeer() {
  if (state_ != State::AwaitingReply) {
    socket_->close();
    return;
  }
  if (command_ == Command::Restart)
    finishRestart();
  else if (command_ == Command::ReadDns && reply_.find("DNS2") != std::string::npos)
    takeDnsReply();
  else
    fail("The modem closed the AT connection without answering.");
}
