// A TCP client socket of the real platform, on QTcpSocket.
#pragma once

#include <QObject>
#include <QTcpSocket>
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
  void onQtError(QAbstractSocket::SocketError error);
  void onQtDisconnected();
  QTcpSocket socket_;
  int port_;
  std::string host_;
  int state_ = Closed;
};
