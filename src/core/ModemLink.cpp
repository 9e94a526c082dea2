#include "core/ModemLink.h"

#include "core/ModemAddress.h"

ModemLink::ModemLink(const Context& context, int port, int connectLimitMs)
    : context_(context), socket_(context.platform.createSocket(port)) {
  if (connectLimitMs > 0) {
    guard_ = context.timer(connectLimitMs);
    guard_->onTick = [this] {
      close();
      if (onConnectTimeout) onConnectTimeout();
    };
  }
  socket_->onConnect = [this] {
    if (guard_) guard_->setEnabled(false);
    if (onConnected) onConnected();
  };
  socket_->onDataArrival = [this](std::size_t) {
    if (onData) onData();
  };
  socket_->onError = [this](int, const std::string& description) {
    if (onError) onError(description);
  };
  socket_->onClose = [this] {
    if (onClosedByPeer) onClosedByPeer();
  };
}

ModemLink::~ModemLink() { socket_->clearHandlers(); }

void ModemLink::open() {
  // A socket the modem closed, or one still connecting, would refuse the
  // new connect.
  socket_->close();
  if (guard_) {
    guard_->setEnabled(false);
    guard_->setEnabled(true);
  }
  if (!IsUsableModemAddress(context_.session.modemAddress)) return;
  socket_->setRemoteHost(context_.session.modemAddress);
  socket_->setInterface(context_.session.interfaceName);
  try {
    socket_->connect();
  } catch (const PlatformError& e) {
    if (onError) onError(e.what());
  }
}

void ModemLink::close() {
  if (guard_) guard_->setEnabled(false);
  socket_->close();
}

bool ModemLink::send(std::string_view bytes, std::string* error) {
  try {
    socket_->sendData(bytes);
    return true;
  } catch (const PlatformError& e) {
    if (error) *error = e.what();
    return false;
  }
}
