// Simulated network: scripted modem peers listening at (host, port), and
// the client sockets the logic uses. Every event is delivered by the
// virtual clock, never from inside the call that caused it.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "sim/SimLoop.h"

class SimNetwork;
class SimSocket;
class SimPeer;

// The modem's end of one accepted connection.
class SimConnection : public std::enable_shared_from_this<SimConnection> {
 public:
  SimConnection(SimNetwork& net, SimSocket* client, std::shared_ptr<SimPeer> peer);
  // Sends bytes to the tool after delayMs.
  void send(const std::string& bytes, long delayMs = 0);
  // Closes from the modem's side after delayMs (the tool sees its Close event).
  void close(long delayMs = 0);
  // Breaks the connection with a socket error after delayMs.
  void fail(int number, const std::string& description, long delayMs = 0);
  bool open() const { return open_; }

 private:
  friend class SimSocket;
  SimNetwork& net_;
  SimSocket* client_;
  std::weak_ptr<bool> clientAlive_;
  unsigned generation_;
  std::weak_ptr<SimPeer> peer_;  // the peer owns its connections
  bool open_ = true;
};

// A scripted peer. Override what the scenario needs.
class SimPeer {
 public:
  enum class Accept { Yes, Refuse, Ignore };  // Ignore: SYN never answered
  virtual ~SimPeer() = default;
  virtual Accept accept() { return Accept::Yes; }
  virtual long acceptDelayMs() { return 0; }
  virtual void onAccept(SimConnection&) {}
  virtual void onData(SimConnection&, const std::string& /*bytes*/) {}
  virtual void onClientClose(SimConnection&) {}
  // Every connection accepted, in order.
  std::vector<std::shared_ptr<SimConnection>> connections;
  // Everything received on all connections, in order.
  std::string received;
};

class SimNetwork {
 public:
  explicit SimNetwork(SimLoop& loop) : loop_(loop) {}
  SimLoop& loop() { return loop_; }
  // A host:port with no peer refuses connections at once.
  void listen(const std::string& host, int port, std::shared_ptr<SimPeer> peer);
  void unlisten(const std::string& host, int port);
  std::shared_ptr<SimPeer> peer(const std::string& host, int port);
  // Every connect attempt, as "host:port", in order.
  std::vector<std::string> connectLog;

 private:
  SimLoop& loop_;
  std::map<std::pair<std::string, int>, std::shared_ptr<SimPeer>> peers_;
};

class SimSocket : public TcpSocket {
 public:
  SimSocket(SimNetwork& net, int remotePort) : net_(net), port_(remotePort) {}
  int state() const override { return state_; }
  int remotePort() const override { return port_; }
  void setRemoteHost(const std::string& host) override { host_ = host; }
  std::string remoteHost() const override { return host_; }
  void connect() override;
  void sendData(std::string_view bytes) override;
  std::string getData() override;
  void close() override;

 private:
  friend class SimConnection;
  bool current(unsigned gen) const { return gen == generation_; }
  SimNetwork& net_;
  int port_;
  std::string host_;
  int state_ = Closed;
  std::string inbox_;
  std::shared_ptr<SimConnection> conn_;
  // Bumped by close() and connect(): events of an earlier connection drop.
  unsigned generation_ = 0;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
