// A repeating timer of the real platform, ticking on the Qt event loop.
#pragma once

#include <QTimer>

#include "platform/Platform.h"

class QtTimer : public Timer {
 public:
  QtTimer();
  void setInterval(int ms) override;
  int interval() const override { return timer_.interval(); }
  void setEnabled(bool on) override;
  bool enabled() const override { return timer_.isActive(); }

 private:
  QTimer timer_;
};
