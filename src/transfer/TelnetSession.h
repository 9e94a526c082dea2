// The telnet console: prepare for download and the PIC reflash.
//
// One session per operation: connect (guarded for 5 s), wait for the prompt
// "->", send one command, then either end at the first answer (prepare for
// download) or wait for "Completed" under the reflash ticks. Every end
// closes the socket; a silent console is given up after kSilenceLimitMs, so
// no wait on the modem is without a bound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/Context.h"
#include "core/Observers.h"

class ModemReset;

class TelnetSession {
 public:
  enum class Command { None, PicReflash, PrepareDownload };
  enum class Outcome {
    Prepared,           // the modem answered the prepare command
    PrepareSkipped,     // no answer: the workflow goes on without it
    ReflashCompleted,
    ReflashFailed,      // the user was told in a box
    ConsoleBusy,        // another session holds the console (box)
    ConnectFailed,      // the connection did not open in time (box)
  };

  static constexpr int kConnectLimitMs = 5000;
  // How long a connected console may keep us waiting for its prompt, and
  // for the answer to the prepare command.
  static constexpr int kSilenceLimitMs = 10000;
  static constexpr int kReflashTickMs = 10000;
  // The reflash is given up after this many ticks.
  static constexpr int kReflashTicks = 10;

  TelnetSession(const Context& context, int telnetPort, ModemReset& reset);
  ~TelnetSession();

  // Busy until the exchange ends.
  void prepareForDownload();
  // The busy state is already held by the caller.
  void startPicReflash();
  // A PIC file was stored during an upgrade: the next version reply starts
  // the reflash.
  void reflashAfterNextVersion() { reflashPending_ = true; }
  // Starts the pending reflash, if any; true when it started.
  bool startPendingReflash();

  void cancel();
  bool idle() const;
  bool reflashRunning() const { return command_ == Command::PicReflash; }

  // What the user is told when the reflash command could not be sent.
  static std::string PicMessage();

  Observers<Outcome> onOutcome;

 private:
  enum class Dialogue { WaitPrompt, CommandSent, ReflashRunning };

  void open(Command command);
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
  void abandon(const std::string& status);
  void sessionLost(const std::string& status);

  Context context_;
  ModemReset& reset_;
  std::unique_ptr<TcpSocket> socket_;
  std::unique_ptr<Timer> connectTimer_;
  std::unique_ptr<Timer> reflashTimer_;
  std::unique_ptr<Timer> silenceTimer_;
  Command command_ = Command::None;
  Dialogue dialogue_ = Dialogue::WaitPrompt;
  int reflashTicks_ = 0;
  bool connected_ = false;  // the current session's socket has opened
  bool reflashPending_ = false;
};
