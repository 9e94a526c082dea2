#include "transfer/TelnetSession.h"

#include "core/BarSteps.h"
#include "core/Texts.h"

TelnetSession::TelnetSession(const Context& context, int telnetPort)
    : context_(context),
      link_(context, telnetPort, kConnectLimitMs),
      reflashTimer_(context.timer(kReflashTickMs)),
      silenceTimer_(context.timer(kSilenceLimitMs)) {
  link_.onConnected = [this] { connected(); };
  link_.onData = [this] { dataArrived(); };
  link_.onError = [this](const std::string& d) { socketError(d); };
  link_.onClosedByPeer = [this] { closedByPeer(); };
  link_.onConnectTimeout = [this] { connectWatchdog(); };
  reflashTimer_->onTick = [this] { reflashTick(); };
  silenceTimer_->onTick = [this] { silence(); };
}

bool TelnetSession::idle() const {
  return command_ == Command::None && !link_.connecting() && !reflashTimer_->enabled() &&
         !silenceTimer_->enabled();
}

void TelnetSession::cancel() {
  reflashTimer_->setEnabled(false);
  endExchange();
  listener_ = nullptr;
}

// The listener hears last, once the exchange is settled.
void TelnetSession::tell(Outcome outcome) {
  Listener listener = std::move(listener_);
  if (listener) listener(outcome);
}

// ---- Starting a session ----

void TelnetSession::prepareForDownload(Listener listener) {
  open(Command::PrepareDownload, std::move(listener));
}

void TelnetSession::startPicReflash(Listener listener) {
  open(Command::PicReflash, std::move(listener));
}

void TelnetSession::open(Command command, Listener listener) {
  command_ = command;
  listener_ = std::move(listener);
  dialogue_ = Dialogue::WaitPrompt;
  silenceTimer_->setEnabled(false);
  connected_ = false;
  answer_.clear();
  heard_.clear();
  context_.view.setStatus("Connecting ....."_t);
  link_.open();
}

// The connection did not open within 5 s.
void TelnetSession::connectWatchdog() {
  context_.view.setStatus("Connection failed."_t);
  const Command command = command_;
  command_ = Command::None;
  context_.report({command == Command::PicReflash ? Notice::Kind::PicCommandNotSent
                                                  : Notice::Kind::ConnectFailed});
  tell(Outcome::ConnectFailed);
}

// ---- Socket events ----

void TelnetSession::connected() {
  if (command_ == Command::None) {
    // Opened after the attempt was abandoned.
    link_.close();
    return;
  }
  connected_ = true;
  silenceTimer_->setEnabled(true);
}

void TelnetSession::dataArrived() {
  const std::string text = link_.read();
  // Whatever comes after the end of the exchange starts nothing.
  if (command_ == Command::None || !connected_) return;
  // A mark may arrive split over pieces: the end of the earlier ones since
  // the command went out (or since the session opened) is looked at with
  // each new piece.
  const std::string heard = heard_ + text;
  heard_ = heard.substr(heard.size() > kMarkTail ? heard.size() - kMarkTail : 0);
  auto has = [&heard](const char* mark) { return heard.find(mark) != std::string::npos; };

  switch (dialogue_) {
    case Dialogue::WaitPrompt:
      if (has("->")) {
        dialogue_ = Dialogue::CommandSent;
        heard_.clear();
        if (command_ == Command::PicReflash) {
          // From here the reflash ticks bound the exchange.
          silenceTimer_->setEnabled(false);
          context_.view.setStatus("Sending PIC reflash command."_t);
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
        // Another session holds the console.
        endExchange();
        context_.report({Notice::Kind::ConsoleBusy});
        context_.view.setStatus("Command failed."_t);
        tell(Outcome::ConsoleBusy);
      }
      return;
    case Dialogue::CommandSent:
      if (command_ == Command::PicReflash) {
        dialogue_ = Dialogue::ReflashRunning;
        context_.view.setStatus("PIC reflashing.... Wait up to 1 minute.   DO NOT INTERRUPT"_t);
        // A quick modem reports the end in the same piece as the echo.
        if (has("Completed")) reflashCompleted();
      } else {
        // The first answer to the prepare command ends the exchange; its
        // echo is none: a console behind a telnet daemon drops a command
        // whose session closes before it ran.
        answer_ += text;
        if (OnlyEcho(answer_, "mmi_prepare_for_download")) return;
        endExchange();
        tell(Outcome::Prepared);
      }
      return;
    case Dialogue::ReflashRunning:
      if (has("Completed")) reflashCompleted();
      return;
  }
}

// Whether what came after a command is nothing but (the start of) its echo.
bool TelnetSession::OnlyEcho(const std::string& received, const std::string& command) {
  constexpr std::string_view kBlank("\r\n\0 ", 4);
  std::string_view rest(received);
  const std::size_t start = rest.find_first_not_of(kBlank);
  rest = start == std::string_view::npos ? std::string_view() : rest.substr(start);
  if (rest.size() <= command.size()) return std::string_view(command).substr(0, rest.size()) == rest;
  if (rest.substr(0, command.size()) != command) return false;
  return rest.find_first_not_of(kBlank, command.size()) == std::string_view::npos;
}

void TelnetSession::sendCommand(const char* command) {
  std::string why;
  if (link_.send(std::string(command) + kCrLf, &why)) return;
  // Not sent after all: handled as an error before the command.
  dialogue_ = Dialogue::WaitPrompt;
  socketError(why);
}

void TelnetSession::reflashCompleted() {
  reflashTimer_->setEnabled(false);
  endExchange();
  context_.view.setStatus("PIC reflash completed. Wait for restart..."_t);
  context_.view.setProgress(BarAt(ReflashStep::Completed));
  // Told before the box: the restart's delay counts from the end mark, not
  // from the moment the user has read the box.
  tell(Outcome::ReflashCompleted);
  context_.report({Notice::Kind::ReflashCompleted});
}

void TelnetSession::socketError(const std::string& description) {
  if (command_ == Command::None) {
    // A leftover of an ended session: only free the socket.
    link_.close();
    return;
  }
  context_.view.setStatus(Text("Telnet Error %1"_t).arg(description));
  // A failed connect is ended by the connect guard.
  if (!connected_) return;
  sessionLost(Text("Telnet Error %1"_t).arg(description));
}

void TelnetSession::closedByPeer() {
  link_.close();
  if (command_ == Command::None || !connected_) return;
  sessionLost("Telnet connection closed by the modem."_t);
}

void TelnetSession::sessionLost(const Text& status) {
  // The next session must find a closed socket.
  link_.close();
  connected_ = false;
  // Once the reflash command is out, the modem may still be flashing: the
  // reflash ticks wait for it and give up in time.
  if (command_ == Command::PicReflash && dialogue_ != Dialogue::WaitPrompt) return;
  abandon(status);
}

// ---- Ends ----

void TelnetSession::endExchange() {
  silenceTimer_->setEnabled(false);
  link_.close();
  connected_ = false;
  command_ = Command::None;
  dialogue_ = Dialogue::WaitPrompt;
}

void TelnetSession::abandon(const Text& status) {
  const bool reflash = command_ == Command::PicReflash;
  endExchange();
  context_.view.setStatus(status);
  // A prepare-for-download that did not happen is no failure of its own
  // (the workflow goes on); a reflash that never started is.
  if (reflash) {
    context_.report({Notice::Kind::PicCommandNotSent});
    tell(Outcome::ReflashFailed);
  } else {
    tell(Outcome::PrepareSkipped);
  }
}

void TelnetSession::silence() {
  silenceTimer_->setEnabled(false);
  if (command_ == Command::None) return;
  const long long seconds = kSilenceLimitMs / 1000;
  if (dialogue_ == Dialogue::WaitPrompt)
    abandon(Text("No telnet prompt from the modem within %1 seconds."_t).arg(seconds));
  else if (command_ == Command::PrepareDownload)
    abandon(Text("No answer to the prepare command within %1 seconds."_t).arg(seconds));
}

void TelnetSession::reflashTick() {
  ++reflashTicks_;
  if (context_.view.progress() < BarAt(ReflashStep::Completed))
    context_.view.setProgress(BarAtReflashTick(reflashTicks_));
  if (reflashTicks_ <= kReflashTicks) return;
  reflashTimer_->setEnabled(false);
  // Closed before the box, so that a late "Completed" changes nothing.
  endExchange();
  context_.report({Notice::Kind::ReflashFailed});
  context_.view.setStatus("");
  tell(Outcome::ReflashFailed);
}
