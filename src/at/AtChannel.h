// The AT command channel: reads and writes the modem's DNS servers and
// orders the restart that makes them take effect.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/Context.h"
#include "core/Observers.h"
#include "core/Prompts.h"

class ModemReset;

class AtChannel {
 public:
  enum class Outcome {
    DnsRead,          // the addresses were read and shown
    Refused,          // the modem answered ERROR (box)
    Failed,           // no usable answer (box)
    Unsendable,       // an address cannot go on the wire (box)
    ConnectFailed,    // the connection did not open in time (box)
    RestartOrdered,   // the new addresses are written; the modem restarts
  };

  static constexpr int kConnectLimitMs = 5000;
  // How long the modem may take to answer one command.
  static constexpr int kReplyTimeoutMs = 10000;
  // A DNS read reply longer than this is not a reply.
  static constexpr std::size_t kMaxReplyBytes = 8192;

  AtChannel(const Context& context, int atPort, ModemReset& reset, Prompts& prompts);
  ~AtChannel();

  // Reads the addresses and lets the user review them.
  void readDns();
  // Writes both addresses, then orders the restart.
  void writeDns(const std::string& primary, const std::string& secondary);
  void cancel();
  bool idle() const;

  // The addresses as last read or written.
  const std::string& primaryDns() const { return primary_; }
  const std::string& secondaryDns() const { return secondary_; }

  Observers<Outcome> onOutcome;

 private:
  // The operation in progress; the numbers show in no text.
  enum class Command { None, Restart, ReadDns, WriteDns, WriteSecondDns };
  // The number shows in the wrong-state message.
  enum class State : int { Idle = 0, AwaitingReply = 2 };

  bool addressMissing();
  void connect(Command command);
  bool send(const std::string& line);
  void writeSecondDns();
  void sendRestart();
  void endOperation();
  void fail(const std::string& firstLine);
  void finishRestart();
  void reviewDns();
  void connected();
  void dataArrived();
  void socketError(const std::string& description);
  void closedByPeer();
  void connectWatchdog();
  void replyTimeout();
  void readReply();
  void takeDnsReply();
  void writeReply(const char* refusal);

  Context context_;
  ModemReset& reset_;
  Prompts& prompts_;
  std::unique_ptr<TcpSocket> socket_;
  std::unique_ptr<Timer> connectTimer_;
  std::unique_ptr<Timer> replyTimer_;
  Command command_ = Command::None;
  State state_ = State::Idle;
  std::string reply_;      // the pieces of a DNS read reply so far
  std::string lastPiece_;  // a write is answered in one piece
  std::string primary_;
  std::string secondary_;
};
