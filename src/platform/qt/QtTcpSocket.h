// A TCP client socket of the real platform, on QTcpSocket.
//
// Its events reach the logic from the top of the event loop, never from
// inside QTcpSocket's own signals: a handler may then close the socket,
// connect it anew or open a modal box, and Qt has no unfinished business on
// the socket that could undo it afterwards.
#pragma once

#include <QObject>
#include <QTcpSocket>
#include <functional>
#include <string>

#include "platform/Platform.h"

class QtTcpSocket : public QObject, public TcpSocket {
  Q_OBJECT
 public:
  explicit QtTcpSocket(int remotePort);
  int state() const override { return state_; }
  int remotePort() const override { return port_; }
  void setRemoteHost(const std::string& host) override { host_ = host; }
  std::string remoteHost() const override { return host_; }
  void connect() override;
  void sendData(std::string_view bytes) override;
  std::string getData() override;
  void close() override;

 private:
  // Runs an event of the current connection once the loop is back at the top.
  void deliver(std::function<void()> event);
  void onQtError(QAbstractSocket::SocketError error, const std::string& description);
  void onQtDisconnected();
  QTcpSocket socket_;
  int port_;
  std::string host_;
  int state_ = Closed;
  // Bumped by connect() and close(): events of an earlier connection drop.
  unsigned generation_ = 0;
};
