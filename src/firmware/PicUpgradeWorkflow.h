// The PIC upgrade button: upload pic.hex, then reflash the PIC controller.
#pragma once

#include "core/Context.h"
#include "core/Observers.h"

class FtpChain;
class ImageStore;
class ChainPlans;

class PicUpgradeWorkflow {
 public:
  enum class Outcome { NoPicFile };

  PicUpgradeWorkflow(const Context& context, FtpChain& chain, ImageStore& store,
                     ChainPlans& plans);
  void start();

  Observers<Outcome> onOutcome;

 private:
  Context context_;
  FtpChain& chain_;
  ImageStore& store_;
  ChainPlans& plans_;
};
