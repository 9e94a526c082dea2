// The hidden download of the modem's system log: Ctrl+B, Ctrl+N on the
// main window while it is idle.
#pragma once

#include <functional>

#include "core/Context.h"

class FtpChain;
class ChainPlans;
class ImageStore;

class LogDownload {
 public:
  static constexpr int kCtrlB = 2;
  static constexpr int kCtrlN = 14;
  static constexpr long kWaitLimitMs = 180000;
  // How long a version query after a time-out may hold the window before
  // the note about an earlier log is shown anyway.
  static constexpr long kQueryWaitMs = 30000;

  // windowClosed tells whether the window closed meanwhile.
  LogDownload(const Context& context, FtpChain& chain, ChainPlans& plans,
              const ImageStore& store, std::function<bool()> windowClosed);
  void keyPressed(int keyAscii);

 private:
  void download();
  void tellOfEarlierLog();

  Context context_;
  FtpChain& chain_;
  ChainPlans& plans_;
  const ImageStore& store_;
  std::function<bool()> windowClosed_;
  bool ctrlBSeen_ = false;
};
