// The Upgrade button: checks, prepare for download, backup of the running
// image, upload of the new one, then the restart and the version read
// again (and the PIC reflash, when pic.hex went up too).
#pragma once

#include <chrono>
#include <memory>

#include "firmware/ChainPlans.h"
#include "firmware/ImageStore.h"
#include "operations/TransferOperation.h"

class Upgrade : public TransferOperation {
 public:
  Upgrade(const Context& context, ModemChannels& channels);
  OperationKind kind() const override { return OperationKind::Upgrade; }

 private:
  void begin() override;
  void stop() override;
  void checked();
  // The release is one the operator trusts and may go over the running
  // version; else the user is told exactly why and it ends refused.
  bool releaseAccepted();
  void transfer();
  void stepIssued(const FtpStep& step) override;
  bool stepCompleted(const FtpStep& step) override;
  bool stopBeforeSending(const Notice& why);
  // Stores the backup pair; while another process holds the backup folder
  // the chain is held and this is tried again every 200 ms, for 60 s.
  ImageStore::Keep keepBackup();
  void chainEnded(FtpChain::Outcome outcome);
  void chainSeenEnded(FtpChain::Outcome outcome);
  void restarted(const OperationResult& result);
  // Whatever part of a backup arrived must not pass for a backup: it lies
  // under temporary names until the pair is whole.
  void dropHalfBackup();

  bool backupFound_ = false;
  bool backupSkipped_ = false;  // the modem's file may be half an image: none taken
  // The pair under the running version's names has no matching record:
  // a fresh one replaces it, and until then nothing is put back.
  bool untrustedPair_ = false;
  // The version the backup is stored under, kept apart from the running
  // version, which a failing chain may reset.
  ModemVersion backupVersion_;
  BackupTarget backupFiles_;  // empty once the pair is kept, or dropped
  std::string keptName(const std::string& local) const override;
  std::unique_ptr<Timer> folderRetry_;
  std::chrono::milliseconds folderWaitStarted_{0};
  bool folderWaitTold_ = false;
};
