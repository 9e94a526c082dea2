// The Restore button: choose an old image from the store and put it back.
#pragma once

class frmMain;

class RestoreWorkflow {
 public:
  explicit RestoreWorkflow(frmMain& f);
  void cmdRestore_Click();

 private:
  frmMain& f;
};
