#include "operations/LogDownload.h"

#include "firmware/ChainPlans.h"
#include "firmware/ImageStore.h"

using Outcome = OperationResult::Outcome;

LogDownload::LogDownload(const Context& context, ModemChannels& channels)
    : TransferOperation(context, channels) {}

// The old log is not deleted first: the FTP client writes beside the target
// and renames over it only when the transfer is complete, so the old log
// stays until a new one has arrived whole, and a failure leaves no part.
void LogDownload::begin() {
  context_.view.setStatus("Downloading Log"_t);
  setPhase(Phase::Log);
  runChain(
      channels_.plans.logDownload(), {}, Notice::Kind::LogTimedOut,
      [this](FtpChain::Outcome o) {
        // The version read that follows speaks first.
        if (o == FtpChain::Outcome::TimedOut) readVersionAfterTimeout([this] { failed(); });
      },
      [this](FtpChain::Outcome o) { chainEnded(o); });
}

void LogDownload::chainEnded(FtpChain::Outcome outcome) {
  switch (outcome) {
    case FtpChain::Outcome::Finished:
      finish(Outcome::Done);
      return;
    case FtpChain::Outcome::TimedOut:
      return;
    default:
      failed();
      finish(Outcome::Failed, FailureCode::FileMissing);
      return;
  }
}

// A log left from an earlier download must not be read as the current one.
void LogDownload::failed() {
  const std::string path = channels_.store.logPath();
  if (!ImageStore::fileExists(path)) return;
  const Text note = Text("Log not downloaded: %1 is from an earlier download."_t).arg(path);
  const std::string status = context_.view.status();
  context_.view.setStatus(status.empty() ? note : Text("%1 %2").arg(status).arg(note));
}
