// What the subsystems show of their work: the status line, the progress bar,
// the connection indicator, the running version and the busy state. The
// main window implements it; batch mode prints what it shows.
#pragma once

#include <string>

class StatusView {
 public:
  virtual ~StatusView() = default;

  virtual void setStatus(const std::string& text) = 0;
  virtual std::string status() const = 0;
  virtual void setProgress(int percent) = 0;
  virtual int progress() const = 0;
  // The indicator's colour; also records the outcome in the session.
  virtual void setConnected(bool connected) = 0;
  // The modem's version as the window shows it ("5.2.0.12" or "Unknown").
  virtual void showRunningVersion(const std::string& text) = 0;
  // Busy: hourglass pointer and the operation controls disabled.
  virtual void setBusy(bool busy) = 0;
  virtual bool busy() const = 0;
  // After a failed reachability check: no upgrade, restore or PIC upload
  // until the version has been read again.
  virtual void lockUpgradeControls() = 0;
  // The automatic PIC upgrade check box.
  virtual bool autoPicUpgrade() const = 0;
};
