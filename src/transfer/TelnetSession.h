// The telnet console: prepare for download and the PIC reflash.
//
// One session per exchange: connect (guarded for 5 s), wait for the prompt
// "->", send one command, then either end at the first answer (prepare for
// download) or wait for "Completed" under the reflash ticks. Every end
// closes the socket; a silent console is given up after kSilenceLimitMs, so
// no wait on the modem is without a bound.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/Context.h"
#include "core/ModemLink.h"
#include "platform/Text.h"

class TelnetSession {
 public:
  enum class Outcome {
    Prepared,           // the modem answered the prepare command
    PrepareSkipped,     // no answer: the workflow goes on without it
    ReflashCompleted,
    ReflashFailed,      // the user was told
    ConsoleBusy,        // another session holds the console (told)
    ConnectFailed,      // the connection did not open in time (told)
  };
  using Listener = std::function<void(Outcome)>;

  static constexpr int kConnectLimitMs = 5000;
  // How long a connected console may keep us waiting for its prompt, and
  // for the answer to the prepare command.
  static constexpr int kSilenceLimitMs = 10000;
  static constexpr int kReflashTickMs = 10000;
  // The reflash is given up after this many ticks.
  static constexpr int kReflashTicks = 10;

  TelnetSession(const Context& context, int telnetPort);

  void prepareForDownload(Listener listener);
  void startPicReflash(Listener listener);
  // Ends the exchange quietly.
  void cancel();
  bool idle() const;

 private:
  enum class Command { None, PicReflash, PrepareDownload };
  enum class Dialogue { WaitPrompt, CommandSent, ReflashRunning };

  void open(Command command, Listener listener);
  void connected();
  void dataArrived();
  void socketError(const std::string& description);
  void closedByPeer();
  void connectWatchdog();
  void reflashTick();
  void silence();
  void sendCommand(const char* command);
  void reflashCompleted();
  void endExchange();
  void abandon(const Text& status);
  void sessionLost(const Text& status);
  void tell(Outcome outcome);
  static bool OnlyEcho(const std::string& received, const std::string& command);

  Context context_;
  ModemLink link_;
  std::unique_ptr<Timer> reflashTimer_;
  std::unique_ptr<Timer> silenceTimer_;
  Command command_ = Command::None;
  Dialogue dialogue_ = Dialogue::WaitPrompt;
  Listener listener_;
  int reflashTicks_ = 0;
  std::string answer_;  // what came after the prepare command so far
  // The last characters heard since the command (or the session) began,
  // more than any mark.
  static constexpr std::size_t kMarkTail = 16;
  std::string heard_;
  bool connected_ = false;  // the current session's socket has opened
};
