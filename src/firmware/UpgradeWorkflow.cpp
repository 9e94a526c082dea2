#include "firmware/UpgradeWorkflow.h"

#include "core/TextUtilities.h"
#include "discovery/VersionQuery.h"
#include "firmware/ChainPlans.h"
#include "firmware/ImageStore.h"
#include "firmware/WorkflowWaits.h"
#include "transfer/FtpChain.h"

namespace {
const char* const kSeriesConflict = "Release Series conflict detected. Upgrade not possible.";
}  // namespace

UpgradeWorkflow::UpgradeWorkflow(const Context& context, VersionQuery& query, FtpChain& chain,
                                 ImageStore& store, ChainPlans& plans, WorkflowWaits& waits)
    : context_(context),
      query_(query),
      chain_(chain),
      store_(store),
      plans_(plans),
      waits_(waits) {}

void UpgradeWorkflow::start() {
  Session& session = context_.session;
  if (session.modemAddress.empty()) {
    context_.ui().msgBox("Please enter Satellite IP Modem's IP Address.", MsgInformation,
                         kAppTitle);
    return;
  }
  if (!waits_.ensureVersionQueried("Upgrade stopped: no software version within 30 seconds.")) {
    onOutcome(Outcome::Stopped);
    return;
  }
  // A failed query or connection test has told the user already.
  if (!session.connected) return;
  if (!CheckReleaseSeries(session.runningVersion, query_.reachableWithoutVersion(),
                          session.newVersion)) {
    context_.ui().msgBox(kSeriesConflict, MsgCritical, kAppTitle);
    context_.view.setStatus(kSeriesConflict);
    onOutcome(Outcome::Refused);
    return;
  }
  context_.view.setProgress(0);

  const bool backupFound = store_.hasBackupImage(session.runningVersion);
  if (session.runningVersionKnown()) {
    context_.view.setStatus("Preparing for Upgrade with version " +
                            ReplaceChar(session.newVersion, "_", ".") + " ...");
    waits_.prepareForDownload();
  }
  context_.view.setBusy(true);
  if (backupFound)
    uploadBranch();
  else
    backupBranch();
}

void UpgradeWorkflow::backupBranch() {
  // The version the backup is stored under, kept apart from the running
  // version, which a failing chain may reset.
  const std::string version = context_.session.runningVersion;
  context_.view.setStatus("Downloading Satellite IP Modem software to PC...");
  const auto start = context_.loop().now();
  const bool started = chain_.start(plans_.upgrade(&version));
  if (started && waits_.waitForChain(start) == WorkflowWaits::ChainEnd::TimedOut) {
    waits_.abandonChain(std::string("Upgrade failed. Click OK and close the upgrader.  ") +
                        "Check connection before retrying upgrade.");
    // Whatever part of the backup arrived must not pass for a backup.
    if (!chain_.backupDone()) store_.deleteBackup(version);
    return;
  }
  // The busy state stays with what the chain started (the reset and its
  // re-query, the version query after a time-out, a deletion still
  // outstanding); every failure of the chain has given it back already.
  if (!chain_.backupDone()) store_.deleteBackup(version);
}

void UpgradeWorkflow::uploadBranch() {
  if (!ImageStore::fileExists(store_.newChecksumPath())) {
    context_.view.setBusy(false);
    context_.ui().msgBox("We can't load this version because checksum file doesn't exist.",
                         MsgExclamation, kUpgraderTitle);
    context_.view.setStatus("");
    onOutcome(Outcome::Refused);
    return;
  }
  context_.view.setProgress(10);
  waits_.uploadAndWait(plans_.upgrade(nullptr));
}
