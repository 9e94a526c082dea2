#include "app/LogDownload.h"

#include "firmware/ChainPlans.h"
#include "firmware/ImageStore.h"
#include "transfer/FtpChain.h"

LogDownload::LogDownload(const Context& context, FtpChain& chain, ChainPlans& plans,
                         const ImageStore& store, std::function<bool()> windowClosed)
    : context_(context),
      chain_(chain),
      plans_(plans),
      store_(store),
      windowClosed_(std::move(windowClosed)) {}

void LogDownload::keyPressed(int keyAscii) {
  // While an operation runs, a download would take over the running
  // chain: the sequence counts only when idle.
  if (context_.view.busy()) {
    ctrlBSeen_ = false;
    return;
  }
  if (keyAscii == kCtrlB && !ctrlBSeen_) {
    ctrlBSeen_ = true;
    return;
  }
  if (keyAscii == kCtrlN && ctrlBSeen_) {
    ctrlBSeen_ = false;
    download();
    return;
  }
  ctrlBSeen_ = false;
}

// The old log is not deleted first: the FTP client writes beside the target
// and renames over it only when the transfer is complete, so the old log
// stays until a new one has arrived whole, and a failure leaves no part.
void LogDownload::download() {
  context_.view.setBusy(true);
  context_.view.setStatus("Downloading Log");
  const auto start = context_.loop().now();
  // A command refused at once has been reported by the chain already.
  if (!chain_.start(plans_.logDownload())) {
    tellOfEarlierLog();
    return;
  }
  for (;;) {
    context_.loop().pumpEvents();
    context_.loop().wait(1000);
    // Closed meanwhile (end of the session): the close has ended it all.
    if (windowClosed_ && windowClosed_()) return;
    if ((context_.loop().now() - start).count() > kWaitLimitMs) {
      chain_.abandon(std::string("Syslog file downloading failed.  Click OK and close the "
                                 "upgrader.  ") +
                     "Check connection before retrying.");
      break;
    }
    if (chain_.done()) {
      // Every failure of the chain gives the busy state back itself, and
      // after a time-out the version query that follows holds it (and may
      // have locked the upgrade controls): only the normal end is ours.
      if (chain_.state() == FtpState::Close) {
        context_.view.setBusy(false);
        return;
      }
      break;
    }
  }
  tellOfEarlierLog();
}

// A log left from an earlier download must not be read as the current one.
void LogDownload::tellOfEarlierLog() {
  const std::string path = store_.logPath();
  if (!ImageStore::fileExists(path)) return;
  // After a time-out the version query runs first, with texts of its own.
  const auto start = context_.loop().now();
  while (context_.view.busy() && (context_.loop().now() - start).count() < kQueryWaitMs) {
    if (windowClosed_ && windowClosed_()) return;
    context_.loop().pumpEvents();
    context_.loop().wait(100);
  }
  if (windowClosed_ && windowClosed_()) return;
  const std::string note = "Log not downloaded: " + path + " is from an earlier download.";
  const std::string status = context_.view.status();
  context_.view.setStatus(status.empty() ? note : status + " " + note);
}
