#include "firmware/RestoreWorkflow.h"

#include "core/TextUtilities.h"
#include "discovery/VersionQuery.h"
#include "firmware/ChainPlans.h"
#include "firmware/ImageStore.h"
#include "firmware/WorkflowWaits.h"

RestoreWorkflow::RestoreWorkflow(const Context& context, VersionQuery& query, ImageStore& store,
                                 ChainPlans& plans, WorkflowWaits& waits, Prompts& prompts)
    : context_(context),
      query_(query),
      store_(store),
      plans_(plans),
      waits_(waits),
      prompts_(prompts) {}

void RestoreWorkflow::start() {
  Session& session = context_.session;
  if (session.modemAddress.empty()) {
    context_.ui().msgBox("Please enter Satellite IP Modem's IP address.", MsgInformation,
                         kAppTitle);
    return;
  }
  if (!waits_.ensureVersionQueried("Restore stopped: no software version within 30 seconds.")) {
    onOutcome(Outcome::Stopped);
    return;
  }
  if (!session.connected) return;

  context_.view.setBusy(true);
  std::vector<std::string> versions;
  for (const auto& v : store_.backupVersions()) versions.push_back(ReplaceChar(v, "_", "."));
  context_.view.setBusy(false);

  std::optional<std::string> chosen;
  if (versions.empty()) {
    context_.ui().msgBox("No old versions are available.", MsgExclamation, kAppTitle);
    onOutcome(Outcome::Refused);
    return;
  }
  chosen = prompts_.chooseRestoreVersion(versions);
  if (!chosen || chosen->empty()) {
    onOutcome(Outcome::NothingChosen);
    return;
  }
  const std::string version = ReplaceChar(*chosen, ".", "_");

  if (!CheckReleaseSeries(session.runningVersion, query_.reachableWithoutVersion(), version)) {
    const char* text = "Release Series conflict detected. Upgrade not possible.";
    context_.ui().msgBox(text, MsgCritical, kAppTitle);
    context_.view.setStatus(text);
    onOutcome(Outcome::Refused);
    return;
  }
  context_.view.setBusy(true);
  if (!ImageStore::fileExists(store_.backupChecksumPath(version))) {
    context_.view.setBusy(false);
    context_.ui().msgBox("We can't restore this version because checksum file doesn't exist.",
                         MsgExclamation, kUpgraderTitle);
    onOutcome(Outcome::Refused);
    return;
  }
  context_.view.setStatus("Preparing for Software Restore with version " + version + " ...");
  context_.view.setProgress(0);
  if (session.runningVersionKnown()) {
    waits_.prepareForDownload();
    context_.view.setBusy(true);
  }
  context_.view.setStatus("Restoring Satellite IP Modem with version " + version + " ...");
  waits_.uploadAndWait(plans_.restore(version));
}
