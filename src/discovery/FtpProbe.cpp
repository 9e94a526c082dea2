#include "discovery/FtpProbe.h"

FtpProbe::FtpProbe(const Context& context, int ftpPort)
    : link_(context, ftpPort, 0), timer_(context.timer(kGreetingLimitMs)) {
  link_.onData = [this] {
    // Data after the probe has already failed must not count as success.
    if (idle()) return;
    finish(Result::Reachable, {});
  };
  link_.onError = [this](const std::string& description) {
    if (idle()) return;
    finish(Result::Unreachable, description);
  };
  timer_->onTick = [this] { finish(Result::Unreachable, {}); };
}

void FtpProbe::start() {
  if (!idle()) return;
  timer_->setEnabled(true);
  // An address that is no address is not connected to: the 2-second
  // watchdog reports it as a silent modem.
  link_.open();
}

void FtpProbe::cancel() {
  timer_->setEnabled(false);
  link_.close();
}

void FtpProbe::finish(Result result, const std::string& errorDescription) {
  cancel();
  if (onResult) onResult(result, errorDescription);
}
