#include "transfer/TelnetSession.h"

#include "core/ModemAddress.h"
#include "discovery/ModemReset.h"

TelnetSession::TelnetSession(const Context& context, int telnetPort, ModemReset& reset)
    : context_(context),
      reset_(reset),
      socket_(context.platform.createSocket(telnetPort)),
      connectTimer_(context.timer(kConnectLimitMs)),
      reflashTimer_(context.timer(kReflashTickMs)),
      silenceTimer_(context.timer(kSilenceLimitMs)) {
  socket_->onConnect = [this] { connected(); };
  socket_->onDataArrival = [this](std::size_t) { dataArrived(); };
  socket_->onError = [this](int, const std::string& d) { socketError(d); };
  socket_->onClose = [this] { closedByPeer(); };
  connectTimer_->onTick = [this] { connectWatchdog(); };
  reflashTimer_->onTick = [this] { reflashTick(); };
  silenceTimer_->onTick = [this] { silence(); };
}

TelnetSession::~TelnetSession() {
  socket_->clearHandlers();
}

std::string TelnetSession::PicMessage() {
  return std::string("Can not send command to upgrade the PIC. ") + kCrLf +
         "Please check cable connections, remove and reapply power to the modem." + kCrLf +
         "Repeat upgrade process.";
}

bool TelnetSession::idle() const {
  return command_ == Command::None && !connectTimer_->enabled() && !reflashTimer_->enabled() &&
         !silenceTimer_->enabled();
}

void TelnetSession::cancel() {
  reflashPending_ = false;
  connectTimer_->setEnabled(false);
  reflashTimer_->setEnabled(false);
  endExchange();
}

// ---- Starting a session ----

void TelnetSession::prepareForDownload() {
  context_.view.setBusy(true);
  open(Command::PrepareDownload);
}

void TelnetSession::startPicReflash() { open(Command::PicReflash); }

bool TelnetSession::startPendingReflash() {
  if (!reflashPending_) return false;
  reflashPending_ = false;
  startPicReflash();
  return true;
}

void TelnetSession::open(Command command) {
  command_ = command;
  dialogue_ = Dialogue::WaitPrompt;
  silenceTimer_->setEnabled(false);
  connected_ = false;
  // A socket left in the error or peer-closed state would refuse the
  // connect: start from a closed one.
  socket_->close();
  bool refused = false;
  std::string why;
  try {
    // An address that is no address fails as a silent modem does: the
    // connect guard ends the attempt.
    if (IsUsableModemAddress(context_.session.modemAddress)) {
      socket_->setRemoteHost(context_.session.modemAddress);
      socket_->connect();
    }
  } catch (const PlatformError& e) {
    refused = true;
    why = e.what();
  }
  context_.view.setStatus("Connecting .....");
  connectTimer_->setEnabled(true);
  // Refused at once: reported like an error event, and the connect
  // watchdog ends the attempt.
  if (refused) context_.view.setStatus("Telnet Error " + why);
}

// The connection did not open within 5 s.
void TelnetSession::connectWatchdog() {
  socket_->close();
  connectTimer_->setEnabled(false);
  context_.view.setBusy(false);
  context_.view.setStatus("Connection failed.");
  // Cleared before the box, so that a connection opening while it is shown
  // sends nothing.
  const Command command = command_;
  command_ = Command::None;
  context_.ui().msgBox(command == Command::PicReflash ? PicMessage() : kConnectFailedText,
                       MsgExclamation, kUpgraderTitle);
  onOutcome(Outcome::ConnectFailed);
}

// ---- Socket events ----

void TelnetSession::connected() {
  if (command_ == Command::None) {
    // Opened after the attempt was abandoned.
    socket_->close();
    return;
  }
  connectTimer_->setEnabled(false);
  connected_ = true;
  silenceTimer_->setEnabled(true);
}

void TelnetSession::dataArrived() {
  const std::string text = socket_->getData();
  // Whatever comes after the end of the exchange starts nothing.
  if (command_ == Command::None || !connected_) return;
  auto has = [&text](const char* mark) { return text.find(mark) != std::string::npos; };

  switch (dialogue_) {
    case Dialogue::WaitPrompt:
      if (has("->")) {
        dialogue_ = Dialogue::CommandSent;
        if (command_ == Command::PicReflash) {
          // From here the reflash ticks bound the exchange.
          silenceTimer_->setEnabled(false);
          context_.view.setStatus("Sending PIC reflash command.");
          sendCommand("pic_driver_reflash 1");
          if (command_ != Command::PicReflash) return;  // the send failed
          reflashTimer_->setEnabled(true);
          reflashTicks_ = 0;
        } else if (command_ == Command::PrepareDownload) {
          sendCommand("mmi_prepare_for_download");
          if (command_ != Command::PrepareDownload) return;
          // A fresh bound for the answer.
          silenceTimer_->setEnabled(false);
          silenceTimer_->setEnabled(true);
        }
      } else if (has("Sorry")) {
        // Another session holds the console. Ended before the box, so that
        // whatever arrives while it is open is ignored.
        endExchange();
        context_.ui().msgBox(std::string("Telnet did not respond.") + kCrLf +
                                 "Please terminate any active Telnet connections.",
                             MsgExclamation, kUpgraderTitle);
        context_.view.setStatus("Command failed.");
        context_.view.setBusy(false);
        onOutcome(Outcome::ConsoleBusy);
      }
      return;
    case Dialogue::CommandSent:
      if (command_ == Command::PicReflash) {
        dialogue_ = Dialogue::ReflashRunning;
        context_.view.setStatus("PIC reflashing.... Wait up to 1 minute.   DO NOT INTERRUPT");
        // A quick modem reports the end in the same piece as the echo.
        if (has("Completed")) reflashCompleted();
      } else {
        // The first answer to the prepare command ends the exchange.
        endExchange();
        context_.view.setBusy(false);
        onOutcome(Outcome::Prepared);
      }
      return;
    case Dialogue::ReflashRunning:
      if (has("Completed")) reflashCompleted();
      return;
  }
}

void TelnetSession::sendCommand(const char* command) {
  try {
    socket_->sendData(std::string(command) + kCrLf);
  } catch (const PlatformError& e) {
    // Not sent after all: handled as an error before the command.
    dialogue_ = Dialogue::WaitPrompt;
    socketError(e.what());
  }
}

void TelnetSession::reflashCompleted() {
  reflashTimer_->setEnabled(false);
  endExchange();
  // The version query after the restart delay gives the busy state back.
  reset_.requeryAfterRestart();
  context_.view.setStatus("PIC reflash completed. Wait for restart...");
  onOutcome(Outcome::ReflashCompleted);
  context_.ui().msgBox(std::string("Upgrade Completed.") + kCrLf +
                           "Click OK and wait until we get software version.",
                       MsgExclamation, kUpgraderTitle);
  context_.view.setProgress(100);
}

void TelnetSession::socketError(const std::string& description) {
  if (command_ == Command::None) {
    // A leftover of an ended session: only free the socket.
    socket_->close();
    return;
  }
  context_.view.setStatus("Telnet Error " + description);
  // A failed connect is ended by the connect watchdog.
  if (!connected_) return;
  sessionLost("Telnet Error " + description);
}

void TelnetSession::closedByPeer() {
  socket_->close();
  if (command_ == Command::None || !connected_) return;
  sessionLost("Telnet connection closed by the modem.");
}

void TelnetSession::sessionLost(const std::string& status) {
  // The next session must find a closed socket.
  socket_->close();
  connected_ = false;
  // Once the reflash command is out, the modem may still be flashing: the
  // reflash ticks wait for it and give up in time.
  if (command_ == Command::PicReflash && dialogue_ != Dialogue::WaitPrompt) return;
  abandon(status);
}

// ---- Ends ----

void TelnetSession::endExchange() {
  silenceTimer_->setEnabled(false);
  socket_->close();
  connected_ = false;
  command_ = Command::None;
  dialogue_ = Dialogue::WaitPrompt;
}

void TelnetSession::abandon(const std::string& status) {
  const bool reflash = command_ == Command::PicReflash;
  endExchange();
  context_.view.setStatus(status);
  context_.view.setBusy(false);
  // A prepare-for-download that did not happen is no failure of its own
  // (the workflow goes on); a reflash that never started is.
  if (reflash) {
    context_.ui().msgBox(PicMessage(), MsgExclamation, kUpgraderTitle);
    onOutcome(Outcome::ReflashFailed);
  } else {
    onOutcome(Outcome::PrepareSkipped);
  }
}

void TelnetSession::silence() {
  silenceTimer_->setEnabled(false);
  if (command_ == Command::None) return;
  const std::string within = " within " + std::to_string(kSilenceLimitMs / 1000) + " seconds.";
  if (dialogue_ == Dialogue::WaitPrompt)
    abandon("No telnet prompt from the modem" + within);
  else if (command_ == Command::PrepareDownload)
    abandon("No answer to the prepare command" + within);
}

void TelnetSession::reflashTick() {
  ++reflashTicks_;
  if (reflashTicks_ > kReflashTicks) {
    reflashTimer_->setEnabled(false);
    // Closed before the box, so that a late "Completed" changes nothing.
    endExchange();
    context_.view.setBusy(false);
    context_.ui().msgBox(std::string("PIC Upgrade failed.  Click OK and try again.  ") +
                             "If it fail again, call support.",
                         MsgExclamation, kUpgraderTitle);
    context_.view.setStatus("");
    onOutcome(Outcome::ReflashFailed);
  }
  if (context_.view.progress() < 100) context_.view.setProgress(reflashTicks_ * 10 + 60);
}
