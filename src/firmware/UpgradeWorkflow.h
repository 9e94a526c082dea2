// The Upgrade button: checks, prepare for download, backup, upload.
#pragma once

class frmMain;

class UpgradeWorkflow {
 public:
  explicit UpgradeWorkflow(frmMain& f);
  void cmdUpgrade_Click();

 private:
  frmMain& f;
};
