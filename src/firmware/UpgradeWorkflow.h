// The Upgrade button: checks, prepare for download, backup, upload.
#pragma once

class frmMain;

class UpgradeWorkflow {
 public:
  explicit UpgradeWorkflow(frmMain& f);
  void cmdUpgrade_Click();

 private:
  // No image of the running version in the store: fetch it first.
  void BackupBranch();
  // The store already holds it: upload the new image at once.
  void UploadBranch();

  frmMain& f;
};
