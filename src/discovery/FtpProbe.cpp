#include "discovery/FtpProbe.h"

#include "core/ModemAddress.h"

FtpProbe::FtpProbe(const Context& context, int ftpPort)
    : context_(context),
      socket_(context.platform.createSocket(ftpPort)),
      timer_(context.timer(kGreetingLimitMs)) {
  socket_->onDataArrival = [this](std::size_t) { greeted(); };
  socket_->onError = [this](int, const std::string& description) {
    if (idle()) return;
    finish(Result::Unreachable, description);
  };
  timer_->onTick = [this] { finish(Result::Unreachable, {}); };
}

FtpProbe::~FtpProbe() { socket_->clearHandlers(); }

void FtpProbe::start() {
  if (!idle()) return;
  socket_->close();
  timer_->setEnabled(true);
  // An address that is no address fails as a silent modem does.
  if (!IsUsableModemAddress(context_.session.modemAddress)) return;
  socket_->setRemoteHost(context_.session.modemAddress);
  try {
    socket_->connect();
  } catch (const PlatformError&) {
    // The 2-second watchdog reports it.
  }
}

void FtpProbe::cancel() {
  timer_->setEnabled(false);
  socket_->close();
}

void FtpProbe::greeted() {
  // Data after the probe has already failed must not count as success.
  if (idle()) return;
  finish(Result::Reachable, {});
}

void FtpProbe::finish(Result result, const std::string& errorDescription) {
  cancel();
  onResult(result, errorDescription);
}
