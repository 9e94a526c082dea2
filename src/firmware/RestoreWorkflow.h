// The Restore button: choose an old image from the store and put it back.
#pragma once

#include <memory>

class frmMain;
class frmRestore;

class RestoreWorkflow {
 public:
  explicit RestoreWorkflow(frmMain& f);
  ~RestoreWorkflow();
  void cmdRestore_Click();
  frmRestore& chooser() { return *chooser_; }

 private:
  // Both listing passes into strOldVersions.
  void ListOldVersions();

  frmMain& f;
  std::unique_ptr<frmRestore> chooser_;
};
