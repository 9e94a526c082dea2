// What the subsystems show of their work: the status line, the progress bar,
// the connection indicator and the running version. The main window
// implements it; batch mode prints what it shows. Whether the window is busy
// is no subsystem's business: the operation runner owns that.
#pragma once

#include <string>

#include "platform/Text.h"

class StatusView {
 public:
  virtual ~StatusView() = default;

  virtual void setStatus(const Text& text) = 0;
  virtual std::string status() const = 0;
  virtual void setProgress(int percent) = 0;
  virtual int progress() const = 0;
  // The indicator's colour; also records the outcome in the session.
  virtual void setConnected(bool connected) = 0;
  // The modem's version as the window shows it ("5.2.0.12" or "Unknown").
  virtual void showRunningVersion(const Text& text) = 0;
  // The automatic PIC upgrade check box.
  virtual bool autoPicUpgrade() const = 0;
};
