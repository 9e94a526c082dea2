// The restore chooser: the versions of the backup directory, one to pick.
// It reads and writes only the chooser's process-wide variables.
#pragma once

#include "app/mdlGlobals.h"
#include "platform/Form.h"

class frmRestore : public Form {
 public:
  explicit frmRestore(mdlGlobals& globals);
  // Fills the list from strOldVersions; a single entry comes preselected.
  void load() override;

  Label lblOldSoftwareVersionList{"lblOldSoftwareVersionList"};
  ListBox lstOldSoftwareVersions{"lstOldSoftwareVersions"};
  Button cmdOkRestore{"cmdOkRestore"};
  Button cmdCancelRestore{"cmdCancelRestore"};

 private:
  mdlGlobals& g;
};
