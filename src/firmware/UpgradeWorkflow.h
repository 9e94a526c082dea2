// The Upgrade button: checks, prepare for download, backup, upload.
#pragma once

#include "core/Context.h"
#include "core/Observers.h"

class VersionQuery;
class FtpChain;
class ImageStore;
class ChainPlans;
class WorkflowWaits;

class UpgradeWorkflow {
 public:
  enum class Outcome {
    Refused,  // the release series or a missing checksum file forbids it (box)
    Stopped,  // the version could not be read in time
  };

  UpgradeWorkflow(const Context& context, VersionQuery& query, FtpChain& chain,
                  ImageStore& store, ChainPlans& plans, WorkflowWaits& waits);
  void start();

  Observers<Outcome> onOutcome;

 private:
  // No image of the running version in the store: fetch it first.
  void backupBranch();
  // The store already holds it: upload the new image at once.
  void uploadBranch();

  Context context_;
  VersionQuery& query_;
  FtpChain& chain_;
  ImageStore& store_;
  ChainPlans& plans_;
  WorkflowWaits& waits_;
};
