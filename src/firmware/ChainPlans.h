// The FTP command lists of the operations that move files: upgrade (with
// or without a backup of the running image first), restore, PIC upload and
// log download.
#pragma once

#include <string>

#include "core/Context.h"
#include "firmware/ImageStore.h"
#include "transfer/FtpChain.h"

class ModemReset;
class TelnetSession;

class ChainPlans {
 public:
  ChainPlans(const Context& context, ImageStore& store, ModemReset& reset,
             TelnetSession& telnet);

  // Backs up the image of backupVersion first when given.
  FtpPlan upgrade(const std::string* backupVersion) const;
  FtpPlan restore(const std::string& version) const;
  FtpPlan picUpload(const std::string& picFile) const;
  FtpPlan logDownload() const;
  // The modem's running image into local, to compare it.
  FtpPlan verifyDownload(const std::string& local) const;

 private:
  FtpFinish resetAfter(const std::string& status, int progress = -1) const;

  Context context_;
  ImageStore& store_;
  ModemReset& reset_;
  TelnetSession& telnet_;
};
