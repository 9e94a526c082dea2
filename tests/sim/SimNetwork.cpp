#include "sim/SimNetwork.h"

void SimNetwork::listen(const std::string& host, int port, std::shared_ptr<SimPeer> peer) {
  peers_[{host, port}] = std::move(peer);
}

void SimNetwork::unlisten(const std::string& host, int port) { peers_.erase({host, port}); }

std::shared_ptr<SimPeer> SimNetwork::peer(const std::string& host, int port) {
  auto it = peers_.find({host, port});
  return it == peers_.end() ? nullptr : it->second;
}

SimConnection::SimConnection(SimNetwork& net, SimSocket* client, std::shared_ptr<SimPeer> peer)
    : net_(net),
      client_(client),
      clientAlive_(client->alive_),
      generation_(client->generation_),
      peer_(std::move(peer)) {}

void SimConnection::send(const std::string& bytes, long delayMs) {
  auto self = shared_from_this();
  net_.loop().schedule(delayMs, [self, bytes] {
    if (!self->open_ || self->clientAlive_.expired()) return;
    SimSocket* s = self->client_;
    if (!s->current(self->generation_) || s->state_ != TcpSocket::Connected) return;
    s->inbox_ += bytes;
    if (s->onDataArrival) s->onDataArrival(s->inbox_.size());
  });
}

void SimConnection::close(long delayMs) {
  auto self = shared_from_this();
  net_.loop().schedule(delayMs, [self] {
    if (!self->open_) return;
    self->open_ = false;
    if (self->clientAlive_.expired()) return;
    SimSocket* s = self->client_;
    if (!s->current(self->generation_) || s->state_ != TcpSocket::Connected) return;
    s->state_ = TcpSocket::Closing;
    if (s->onClose) s->onClose();
  });
}

void SimConnection::fail(int number, const std::string& description, long delayMs) {
  auto self = shared_from_this();
  net_.loop().schedule(delayMs, [self, number, description] {
    if (!self->open_) return;
    self->open_ = false;
    if (self->clientAlive_.expired()) return;
    SimSocket* s = self->client_;
    if (!s->current(self->generation_)) return;
    s->state_ = TcpSocket::Error;
    if (s->onError) s->onError(number, description);
  });
}

void SimSocket::connect() {
  if (state_ != Closed)
    throw PlatformError(40020, "Invalid operation at current state");
  ++generation_;
  state_ = Connecting;
  inbox_.clear();
  net_.connectLog.push_back(host_ + ":" + std::to_string(port_) +
                            (interfaceName().empty() ? "" : " via " + interfaceName()));
  auto peer = net_.peer(host_, port_);
  unsigned gen = generation_;
  std::weak_ptr<bool> alive = alive_;
  auto& loop = net_.loop();
  if (!peer || peer->accept() == SimPeer::Accept::Refuse) {
    loop.schedule(0, [this, gen, alive] {
      if (alive.expired() || !current(gen) || state_ != Connecting) return;
      state_ = Error;
      if (onError) onError(10061, "Connection is forcefully rejected");
    });
    return;
  }
  if (peer->accept() == SimPeer::Accept::Ignore) return;  // stays connecting
  loop.schedule(peer->acceptDelayMs(), [this, gen, alive, peer] {
    if (alive.expired() || !current(gen) || state_ != Connecting) return;
    state_ = Connected;
    conn_ = std::make_shared<SimConnection>(net_, this, peer);
    peer->connections.push_back(conn_);
    peer->onAccept(*conn_);
    if (onConnect) onConnect();
  });
}

void SimSocket::sendData(std::string_view bytes) {
  if (state_ != Connected || !conn_)
    throw PlatformError(40006, "Wrong protocol or connection state for the requested transaction or request");
  std::string data(bytes);
  auto conn = conn_;
  net_.loop().schedule(0, [conn, data] {
    auto peer = conn->peer_.lock();
    if (!conn->open_ || !peer) return;
    peer->received += data;
    peer->onData(*conn, data);
  });
}

std::string SimSocket::getData() {
  std::string out;
  out.swap(inbox_);
  return out;
}

void SimSocket::close() {
  ++generation_;
  if (conn_ && conn_->open_) {
    conn_->open_ = false;
    auto conn = conn_;
    net_.loop().schedule(0, [conn] {
      if (auto peer = conn->peer_.lock()) peer->onClientClose(*conn);
    });
  }
  conn_.reset();
  inbox_.clear();
  state_ = Closed;
}
