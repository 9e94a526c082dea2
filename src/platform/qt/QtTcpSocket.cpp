#include "platform/qt/QtTcpSocket.h"

#include <QHostAddress>
#include <QMetaObject>

#include "platform/qt/SystemNetworkInterfaces.h"

namespace {
// The numbers of the Windows socket control, for the same failures.
int WinsockNumber(QAbstractSocket::SocketError e) {
  switch (e) {
    case QAbstractSocket::ConnectionRefusedError: return 10061;
    case QAbstractSocket::RemoteHostClosedError: return 10054;
    case QAbstractSocket::HostNotFoundError: return 11001;
    case QAbstractSocket::SocketTimeoutError: return 10060;
    case QAbstractSocket::NetworkError: return 10051;
    case QAbstractSocket::SocketAccessError: return 10013;
    case QAbstractSocket::SocketResourceError: return 10055;
    default: return 10000 + static_cast<int>(e);
  }
}
}  // namespace

QtTcpSocket::QtTcpSocket(int remotePort) : port_(remotePort) {
  QObject::connect(&socket_, &QTcpSocket::connected, this, [this] {
    deliver([this] {
      state_ = Connected;
      if (onConnect) onConnect();
    });
  });
  QObject::connect(&socket_, &QTcpSocket::readyRead, this, [this] {
    deliver([this] {
      if (state_ != Connected) return;
      auto n = static_cast<std::size_t>(socket_.bytesAvailable());
      if (n > 0 && onDataArrival) onDataArrival(n);
    });
  });
  QObject::connect(&socket_, &QTcpSocket::errorOccurred, this,
                   [this](QAbstractSocket::SocketError error) {
                     const std::string description = socket_.errorString().toStdString();
                     deliver([this, error, description] { onQtError(error, description); });
                   });
  QObject::connect(&socket_, &QTcpSocket::disconnected, this,
                   [this] { deliver([this] { onQtDisconnected(); }); });
}

void QtTcpSocket::deliver(std::function<void()> event) {
  const unsigned generation = generation_;
  QMetaObject::invokeMethod(
      this,
      [this, generation, event = std::move(event)] {
        if (generation == generation_) event();
      },
      Qt::QueuedConnection);
}

void QtTcpSocket::connect() {
  if (state_ != Closed) throw PlatformError(40020, "Invalid operation at current state");
  ++generation_;
  state_ = Connecting;
  if (!interfaceName().empty()) {
    // Bound before the connect, so the connection leaves through that
    // interface whatever the routing table prefers.
    std::string problem;
    if (!socket_.bind(QHostAddress(QHostAddress::AnyIPv4), 0))
      problem = socket_.errorString().toStdString();
    else
      problem = SystemNetworkInterfaces::bindSocket(static_cast<int>(socket_.socketDescriptor()),
                                                    interfaceName());
    if (!problem.empty()) {
      socket_.abort();
      deliver([this, problem] { onQtError(QAbstractSocket::NetworkError, problem); });
      return;
    }
  }
  socket_.connectToHost(QString::fromStdString(host_), static_cast<quint16>(port_));
}

void QtTcpSocket::onQtError(QAbstractSocket::SocketError error, const std::string& description) {
  if (state_ == Closed) return;
  if (error == QAbstractSocket::RemoteHostClosedError && state_ == Connected) {
    onQtDisconnected();
    return;
  }
  if (state_ == Closing) return;  // the peer's close was told already
  state_ = Error;
  if (onError) onError(WinsockNumber(error), description);
}

void QtTcpSocket::onQtDisconnected() {
  if (state_ != Connected) return;
  state_ = Closing;
  if (onClose) onClose();
}

void QtTcpSocket::sendData(std::string_view bytes) {
  if (state_ != Connected)
    throw PlatformError(40006,
                        "Wrong protocol or connection state for the requested transaction or "
                        "request");
  socket_.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::string QtTcpSocket::getData() {
  QByteArray data = socket_.readAll();
  return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

void QtTcpSocket::close() {
  state_ = Closed;  // first, so the abort raises no events of ours
  ++generation_;
  socket_.abort();
}
