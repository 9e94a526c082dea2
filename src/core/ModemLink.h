// One TCP channel to the modem (ZING, the FTP-port probe, telnet, AT): the
// socket, the guard on its connect and the end of every earlier connection
// before a new one. Its owner sees events of the current connection only.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/Context.h"

class ModemLink {
 public:
  // connectLimitMs: how long a connect may take before the guard gives up;
  // 0 for no guard.
  ModemLink(const Context& context, int port, int connectLimitMs);
  ~ModemLink();
  ModemLink(const ModemLink&) = delete;
  ModemLink& operator=(const ModemLink&) = delete;

  // Connects to the session's modem address, ending any earlier connection
  // first. An address that is no address is never connected to: the guard
  // ends the attempt as it does for a silent modem. A connect refused at
  // once is reported through onError.
  void open();
  // Ends the connection quietly: socket closed, guard off, no event follows.
  void close();
  bool connecting() const { return guard_ && guard_->enabled(); }
  bool connected() const { return socket_->state() == TcpSocket::Connected; }
  // Sends bytes; false (and why in error) when the connection is not open.
  bool send(std::string_view bytes, std::string* error = nullptr);
  // All bytes waiting.
  std::string read() { return socket_->getData(); }

  std::function<void()> onConnected;
  std::function<void()> onData;
  std::function<void(const std::string& description)> onError;
  std::function<void()> onClosedByPeer;
  // The guard gave up: the connection did not open in time. The socket is
  // closed already, so a late connection reaches nobody.
  std::function<void()> onConnectTimeout;

 private:
  const Context context_;
  std::unique_ptr<TcpSocket> socket_;
  std::unique_ptr<Timer> guard_;
};
