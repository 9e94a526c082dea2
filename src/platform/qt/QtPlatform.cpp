#include "platform/qt/QtPlatform.h"

#include <QApplication>
#include <QEventLoop>
#include <QHostAddress>
#include <QHostInfo>
#include <QMessageBox>
#include <QProcess>

#include "platform/qt/CurlFtpClient.h"
#include "platform/qt/QtFormView.h"

void QtEventLoop::pumpEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtEventLoop::wait(int ms) {
  if (ms <= 0) {
    pumpEvents();
    return;
  }
  QEventLoop nested;
  QTimer::singleShot(ms, Qt::PreciseTimer, &nested, &QEventLoop::quit);
  nested.exec(QEventLoop::AllEvents);
}

QtTimer::QtTimer() {
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (onTick) onTick();
  });
}

void QtTimer::setInterval(int ms) { timer_.setInterval(ms); }

void QtTimer::setEnabled(bool on) {
  if (on == timer_.isActive()) return;
  if (on)
    timer_.start();
  else
    timer_.stop();
}

// ---- Sockets ----

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
    state_ = Connected;
    if (onConnect) onConnect();
  });
  QObject::connect(&socket_, &QTcpSocket::readyRead, this, [this] {
    if (state_ != Connected) return;
    auto n = static_cast<std::size_t>(socket_.bytesAvailable());
    if (n > 0 && onDataArrival) onDataArrival(n);
  });
  QObject::connect(&socket_, &QTcpSocket::errorOccurred, this, &QtTcpSocket::onQtError);
  QObject::connect(&socket_, &QTcpSocket::disconnected, this, &QtTcpSocket::onQtDisconnected);
}

void QtTcpSocket::connect() {
  if (state_ != Closed) throw PlatformError(40020, "Invalid operation at current state");
  state_ = Connecting;
  socket_.connectToHost(QString::fromStdString(host_), static_cast<quint16>(port_));
}

void QtTcpSocket::onQtError(QAbstractSocket::SocketError error) {
  if (state_ == Closed) return;
  if (error == QAbstractSocket::RemoteHostClosedError && state_ == Connected) {
    onQtDisconnected();
    return;
  }
  state_ = Error;
  if (onError) onError(WinsockNumber(error), socket_.errorString().toStdString());
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
  socket_.abort();
}

// ---- UI ----

int QtUi::msgBox(const std::string& text, int style, const std::string& title) {
  QMessageBox box(mainWindow());
  QString t = QString::fromStdString(text);
  t.replace("\r\n", "\n");
  box.setText(t);
  box.setWindowTitle(QString::fromStdString(title));
  switch (style & 0x70) {
    case MsgCritical: box.setIcon(QMessageBox::Critical); break;
    case MsgQuestion: box.setIcon(QMessageBox::Question); break;
    case MsgExclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgInformation: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
  }
  if ((style & 7) == MsgYesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? MsgYes : MsgNo;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return MsgOk;
}

void QtUi::setPointer(int code) {
  if (code == pointer_) return;
  if (pointer_ == kPointerBusy) QApplication::restoreOverrideCursor();
  pointer_ = code;
  if (code == kPointerBusy) QApplication::setOverrideCursor(Qt::BusyCursor);
}

void QtUi::showModal(Form& form) {
  form.reopen();
  form.load();
  QtFormView view(form, mainWindow());
  view.exec();
}

void QtUi::show(Form& form) {
  if (!main_) main_ = std::make_unique<QtFormView>(form, nullptr);
  main_->showWindow();
}

QtUi::QtUi() = default;
QtUi::~QtUi() = default;
void QtUi::releaseMainWindow() { main_.reset(); }

QWidget* QtUi::mainWindow() const { return main_ ? main_->widget() : nullptr; }

// ---- Processes and names ----

// QtProcess::runConsole is in QtProcess.cpp.

bool QtProcess::startDetached(const std::string& program, const std::string& workingDirectory) {
  return QProcess::startDetached(QString::fromStdString(program), {},
                                 QString::fromStdString(workingDirectory));
}

std::optional<std::vector<Resolver::Address>> QtResolver::resolveIPv4(const std::string& name) {
  QHostInfo info = QHostInfo::fromName(QString::fromStdString(name));
  if (info.error() != QHostInfo::NoError) return std::nullopt;
  std::vector<Address> out;
  for (const QHostAddress& a : info.addresses()) {
    bool ok = false;
    quint32 v = a.toIPv4Address(&ok);
    if (!ok) continue;
    out.push_back({static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
                   static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)});
  }
  if (out.empty()) return std::nullopt;
  return out;
}

std::string QtResolver::localHostName() { return QHostInfo::localHostName().toStdString(); }

std::unique_ptr<FtpClient> QtPlatform::createFtpClient(int port) {
  return std::make_unique<CurlFtpClient>(port);
}
