// The Restore button: choose an old image from the store and put it back.
#pragma once

#include "core/Context.h"
#include "core/Observers.h"
#include "core/Prompts.h"

class VersionQuery;
class ImageStore;
class ChainPlans;
class WorkflowWaits;

class RestoreWorkflow {
 public:
  enum class Outcome {
    Refused,        // no backups, release series, missing checksum file (box)
    NothingChosen,
    Stopped,        // the version could not be read in time
  };

  RestoreWorkflow(const Context& context, VersionQuery& query, ImageStore& store,
                  ChainPlans& plans, WorkflowWaits& waits, Prompts& prompts);
  void start();

  Observers<Outcome> onOutcome;

 private:
  Context context_;
  VersionQuery& query_;
  ImageStore& store_;
  ChainPlans& plans_;
  WorkflowWaits& waits_;
  Prompts& prompts_;
};
