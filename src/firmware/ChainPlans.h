// The FTP command lists of the operations that move files: upgrade (with
// or without a backup of the running image first), restore, PIC upload,
// log download and the copy of the modem's image that verify compares.
#pragma once

#include <string>

#include "core/Context.h"
#include "firmware/ImageStore.h"
#include "transfer/FtpChain.h"

// Where the modem's running image and its checksum file are downloaded to.
struct BackupTarget {
  std::string image;
  std::string checksum;
};

class ChainPlans {
 public:
  ChainPlans(const Context& context, ImageStore& store);

  // Backs up the running image and its checksum file first when given.
  FtpPlan upgrade(const BackupTarget* backup) const;
  FtpPlan restore(const ModemVersion& version) const;
  // The backup pair of version back on the modem, its configuration kept:
  // what an upgrade or restore falls back to when its image cannot be
  // written whole.
  FtpPlan putBack(const ModemVersion& version) const;
  FtpPlan picUpload(const std::string& picPath) const;
  FtpPlan logDownload() const;
  // The modem's running image into local, to compare it.
  FtpPlan verifyDownload(const std::string& local) const;

 private:
  void addBackupPair(FtpPlan& plan, const ModemVersion& version, const Text& status) const;

  Context context_;
  ImageStore& store_;
};
