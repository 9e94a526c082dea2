// The AT command channel: reads and writes the modem's DNS servers and
// orders the restart that makes them take effect.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "core/Context.h"
#include "core/ModemLink.h"

class AtChannel {
 public:
  enum class Outcome {
    NoAddress,        // nothing to connect to (told)
    DnsRead,          // the addresses were read
    ReadRefused,      // the modem answered ERROR to the read (told)
    WriteRefused,     // it refused an address (told): the user may correct it
    Failed,           // no usable answer (told)
    Unsendable,       // an address cannot go on the wire (told)
    ConnectFailed,    // the connection did not open in time (told)
    RestartOrdered,   // the new addresses are written; the modem restarts
  };
  using Listener = std::function<void(Outcome)>;

  static constexpr int kConnectLimitMs = 5000;
  // How long the modem may take to answer one command.
  static constexpr int kReplyTimeoutMs = 10000;
  // A DNS read reply longer than this is not a reply.
  static constexpr std::size_t kMaxReplyBytes = 8192;

  AtChannel(const Context& context, int atPort);

  // Reads the addresses.
  void readDns(Listener listener);
  // Writes both addresses, then orders the restart.
  void writeDns(const std::string& primary, const std::string& secondary, Listener listener);
  void cancel();
  bool idle() const;

  // The addresses as last read or written.
  const std::string& primaryDns() const { return primary_; }
  const std::string& secondaryDns() const { return secondary_; }

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
  void fail(Notice::Kind why);
  void finishRestart();
  void connected();
  void dataArrived();
  void closedByPeer();
  void connectWatchdog();
  void replyTimeout();
  void readReply();
  void takeDnsReply();
  void writeReply(Notice::Kind refusal);
  void tell(Outcome outcome);

  Context context_;
  ModemLink link_;
  std::unique_ptr<Timer> replyTimer_;
  Listener listener_;
  Command command_ = Command::None;
  State state_ = State::Idle;
  std::string reply_;      // the pieces of a DNS read reply so far
  std::string lastPiece_;  // a write is answered in one piece
  std::string primary_;
  std::string secondary_;
};
