#include "firmware/PicUpgradeWorkflow.h"

#include "firmware/ChainPlans.h"
#include "firmware/ImageStore.h"
#include "transfer/FtpChain.h"

PicUpgradeWorkflow::PicUpgradeWorkflow(const Context& context, FtpChain& chain,
                                       ImageStore& store, ChainPlans& plans)
    : context_(context), chain_(chain), store_(store), plans_(plans) {}

void PicUpgradeWorkflow::start() {
  const std::string& home = context_.session.homeDir;
  // Without an address the upload would go nowhere.
  if (context_.session.modemAddress.empty()) {
    context_.ui().msgBox("Please enter Satellite IP Modem's IP address.", MsgInformation,
                         kAppTitle);
    return;
  }
  context_.view.setBusy(true);
  context_.view.setProgress(0);
  const std::string picFile = store_.findPicFile();
  if (!picFile.empty()) {
    // The chain carries on from here and starts the reflash when the file
    // is on the modem; a refused command has been reported by it.
    chain_.start(plans_.picUpload(picFile));
    return;
  }
  context_.ui().msgBox("Unable to find pic.hex in home directory " + home + "." + kCrLf +
                           "Please copy PIC file in " + home,
                       MsgExclamation, kAppTitle);
  context_.view.setBusy(false);
  onOutcome(Outcome::NoPicFile);
}
