// The hidden download of the modem's system log: Ctrl+B, Ctrl+N on the
// main window while it is idle.
#pragma once

#include <functional>

#include "core/Context.h"

class FtpChain;
class ChainPlans;

class LogDownload {
 public:
  static constexpr int kCtrlB = 2;
  static constexpr int kCtrlN = 14;
  static constexpr long kWaitLimitMs = 180000;

  // windowClosed tells whether the window closed meanwhile.
  LogDownload(const Context& context, FtpChain& chain, ChainPlans& plans,
              std::function<bool()> windowClosed);
  void keyPressed(int keyAscii);

 private:
  void download();

  Context context_;
  FtpChain& chain_;
  ChainPlans& plans_;
  std::function<bool()> windowClosed_;
  bool ctrlBSeen_ = false;
};
