// The services the logic runs on. Two implementations exist: the Qt one
// (platform/qt) and the simulated one with a virtual clock (tests/sim).
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/RecordsDatabase.h"
#include "platform/Text.h"

class Form;

// An operation refused at once (instead of through an event): a socket
// connect in the wrong state, an FTP execute while busy, a malformed command.
struct PlatformError : std::runtime_error {
  PlatformError(int number, const std::string& description)
      : std::runtime_error(description), number(number) {}
  int number;
};

// The one loop of the process. The logic never runs a loop of its own: it
// reacts to events and arms timers. A run without a window (batch mode)
// runs the loop until it is told to quit.
class EventLoop {
 public:
  virtual ~EventLoop() = default;
  // Handles events until quit(); returns quit's code.
  virtual int run() = 0;
  virtual void quit(int code) = 0;
  virtual std::chrono::milliseconds now() const = 0;
};

// One-shot in use: every tick handler disables its own timer. Enabling a
// disabled timer starts a full interval; enabling an enabled one changes
// nothing.
class Timer {
 public:
  virtual ~Timer() = default;
  virtual void setInterval(int ms) = 0;
  virtual int interval() const = 0;
  virtual void setEnabled(bool on) = 0;
  virtual bool enabled() const = 0;
  std::function<void()> onTick;
};

// Client socket with a fixed remote port and the state numbers of the
// Windows socket control the logic was written against.
class TcpSocket {
 public:
  enum State {
    Closed = 0,
    Open = 1,
    Listening = 2,
    ConnectionPending = 3,
    ResolvingHost = 4,
    HostResolved = 5,
    Connecting = 6,
    Connected = 7,
    Closing = 8,  // the peer has closed
    Error = 9,
  };
  virtual ~TcpSocket() = default;
  virtual int state() const = 0;
  virtual int remotePort() const = 0;
  virtual void setRemoteHost(const std::string& host) = 0;
  virtual std::string remoteHost() const = 0;
  // Asynchronous. Throws PlatformError when the socket is not closed.
  virtual void connect() = 0;
  // Throws PlatformError when not connected.
  virtual void sendData(std::string_view bytes) = 0;
  // All bytes waiting, as single-byte text.
  virtual std::string getData() = 0;
  virtual void close() = 0;
  // The network interface its connections go out through (a station PC
  // has one per modem); empty for the system's choice. From the next connect().
  void setInterface(std::string name) { interface_ = std::move(name); }
  const std::string& interfaceName() const { return interface_; }

  std::function<void()> onConnect;
  std::function<void(std::size_t bytesTotal)> onDataArrival;
  std::function<void(int number, const std::string& description)> onError;
  std::function<void()> onClose;  // closed by the peer

  // Its owner is going away: nothing may call into it any more.
  void clearHandlers() {
    onConnect = nullptr;
    onDataArrival = nullptr;
    onError = nullptr;
    onClose = nullptr;
  }

 private:
  std::string interface_;
};

// FTP client executing one command text at a time:
//   GET remote "local" | PUT "local" remote | DELETE remote |
//   COMPARE remote "local" | CLOSE
// Outcomes arrive later through onStateChanged, never from inside execute().
class FtpClient {
 public:
  enum StateCode {
    ReceivingResponse = 7,
    Disconnected = 10,
    ErrorState = 11,
    ResponseCompleted = 12,
  };
  // Error numbers reported by responseCode() after state 11.
  static constexpr int kTimeout = 12002;
  static constexpr int kServerRefused = 12003;
  static constexpr int kLoginRefused = 12014;
  static constexpr int kCannotConnect = 12029;
  // The PC's disk is full: a download could not be stored whole.
  static constexpr int kDiskFull = 14028;

  virtual ~FtpClient() = default;
  virtual void setRemoteHost(const std::string& host) = 0;
  virtual std::string remoteHost() const = 0;
  // The network interface of its control and data connections; empty for
  // the system's choice. From the next command that connects.
  void setInterface(std::string name) { interface_ = std::move(name); }
  const std::string& interfaceName() const { return interface_; }
  // Throws PlatformError when a command is outstanding or the text is
  // malformed; nothing is transferred then.
  virtual void execute(const std::string& command) = 0;
  virtual bool stillExecuting() const = 0;
  virtual int responseCode() const = 0;
  virtual Text responseInfo() const = 0;
  // After a COMPARE completed: the modem's file is the local one, byte for
  // byte. False after anything else.
  virtual bool sameAsLocal() const = 0;
  // Abandons the command in progress and closes the session, silently.
  virtual void cancel() = 0;

  std::function<void(int state)> onStateChanged;
  // How far a GET or PUT is: bytes moved, and of how many (-1 when the
  // server did not tell). At most about ten a second, and once more with
  // the whole file just before the completion; set it only when wanted.
  std::function<void(long long done, long long total)> onProgress;

 private:
  std::string interface_;
};

// Result values of message boxes.
enum MsgResult { MsgOk = 1, MsgCancel = 2, MsgYes = 6, MsgNo = 7 };
// Style bits of message boxes.
enum MsgStyle {
  MsgOkOnly = 0,
  MsgYesNo = 4,
  MsgCritical = 16,
  MsgQuestion = 32,
  MsgExclamation = 48,
  MsgInformation = 64,
};

class Ui {
 public:
  static constexpr int kPointerDefault = 0;
  static constexpr int kPointerBusy = 13;  // arrow with hourglass

  virtual ~Ui() = default;
  virtual int msgBox(const Text& text, int style, const Text& title) = 0;
  virtual void setPointer(int code) = 0;
  virtual int pointer() const = 0;
  // Runs a nested loop until the form closes.
  virtual void showModal(Form& form) = 0;
  // Shows a modeless form (the main window).
  virtual void show(Form& form) = 0;
  // Draws what changed at once, handling no event: before a call that
  // blocks the loop for a while.
  virtual void refresh() {}
  // Lets the user pick a folder, starting in start; nullopt when cancelled
  // (and where no one can pick: the console).
  virtual std::optional<std::string> chooseFolder(const Text& /*title*/,
                                                  const std::string& /*start*/) {
    return std::nullopt;
  }
};

struct ConsoleResult {
  // TimedOut: the command did not end within the runner's limit and was ended.
  enum Kind { Ran, PipeFailed, NotFound, TimedOut };
  Kind kind = Ran;
  int errorCode = 0;  // the system's error number for PipeFailed
  std::string output;  // standard output and error, as written
};

class Process {
 public:
  virtual ~Process() = default;
  // Runs a command line without a window; reads its output to the end.
  virtual ConsoleResult runConsole(const std::string& commandLine) = 0;
  // Starts a program without waiting; false when it could not be started.
  virtual bool startDetached(const std::string& program,
                             const std::string& workingDirectory) = 0;
  // This process's id, and whether a process of that id still runs.
  virtual long processId() const = 0;
  virtual bool running(long processId) const = 0;
  // A lock that processes of this tool on this PC share by name, held
  // until unlock() or the end of the process, however it ends. False when
  // another process holds it: holder is then its own description.
  virtual bool lock(const std::string& name, const std::string& description,
                    std::string& holder) = 0;
  virtual void unlock(const std::string& name) = 0;
  // What tells this process from every other, also from a later one of the
  // same id or one in another PID namespace: digits and '-' only.
  virtual std::string processStamp() const = 0;
  // True only when the process of that stamp surely no longer runs.
  virtual bool ended(const std::string& stamp) const = 0;
};

class Resolver {
 public:
  using Address = std::array<std::uint8_t, 4>;
  virtual ~Resolver() = default;
  // IPv4 addresses of a host name, in the resolver's order; nullopt when
  // the name cannot be resolved.
  virtual std::optional<std::vector<Address>> resolveIPv4(
      const std::string& hostName) = 0;
  virtual std::string localHostName() = 0;
};

// The PC's network interfaces, as far as a station needs them.
class NetworkInterfaces {
 public:
  virtual ~NetworkInterfaces() = default;
  // Empty when connections can be bound to the interface; else why not.
  virtual std::string bindProblem(const std::string& interfaceName) = 0;
  // The interface's index, the same for each of its names (an alternative
  // name too); 0 when there is none of that name.
  virtual int index(const std::string& interfaceName) = 0;
  // The hardware address the PC's neighbour table holds for the IPv4
  // address on the interface a connection to it goes through: that one
  // when named, else the one the routing table chooses; lower case with
  // colons, empty when it holds none. Never read off another interface.
  virtual std::string hardwareAddress(const std::string& address,
                                      const std::string& interfaceName) = 0;
  // The interface the routing table chooses for a connection to the IPv4
  // address, as the kernel names it; empty when there is none.
  virtual std::string routeInterface(const std::string& address) = 0;
  // Whether the interface has a link; nullopt where that cannot be read.
  virtual std::optional<bool> carrier(const std::string& interfaceName) = 0;
  // The reverse-path filter in force on the interface: 0 off, 1 strict,
  // 2 loose; nullopt where there is none to read.
  virtual std::optional<int> reversePathFilter(const std::string& interfaceName) = 0;
};

// A program of ours started as a child: its output line by line, its end.
// It runs in a process group of its own, so the terminal's Ctrl+C reaches
// only the parent, which passes it on; it ends when the parent dies.
class ChildProcess {
 public:
  virtual ~ChildProcess() = default;
  // False when it could not be started.
  virtual bool start(const std::string& program, const std::vector<std::string>& arguments) = 0;
  virtual long processId() const = 0;
  virtual void interrupt() = 0;  // as a Ctrl+C
  virtual void terminate() = 0;  // as a closed terminal
  virtual void kill() = 0;       // at once, with what it started itself
  // Variables added to the environment it inherits; before start().
  virtual void setEnvironment(const std::vector<std::pair<std::string, std::string>>& added) = 0;
  std::function<void(const std::string& line)> onOutputLine;
  std::function<void(const std::string& line)> onErrorLine;
  // exitCode when it exited; crashed when a signal ended it.
  std::function<void(int exitCode, bool crashed)> onExit;
};

class Platform {
 public:
  virtual ~Platform() = default;
  virtual EventLoop& loop() = 0;
  virtual Ui& ui() = 0;
  virtual Process& process() = 0;
  virtual Resolver& resolver() = 0;
  virtual std::unique_ptr<Timer> createTimer() = 0;
  virtual std::unique_ptr<TcpSocket> createSocket(int remotePort) = 0;
  virtual std::unique_ptr<FtpClient> createFtpClient(int port) = 0;
  virtual NetworkInterfaces& networkInterfaces() = 0;
  virtual std::unique_ptr<ChildProcess> createChildProcess() = 0;
  // The records database at url (a libpq connection URL or key=value
  // string); nullptr where this build has none.
  virtual std::unique_ptr<RecordsDatabase> createRecordsDatabase(const std::string& /*url*/) {
    return nullptr;
  }
};
