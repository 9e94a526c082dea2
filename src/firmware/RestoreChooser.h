// The restore chooser: the versions of the backup directory, one to pick.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Form.h"
#include "platform/Platform.h"

class RestoreChooser : public Form {
 public:
  explicit RestoreChooser(Ui& ui);
  // Shows the versions (display form) modally; the one chosen with OK
  // (empty when none was selected), nullopt when cancelled.
  std::optional<std::string> choose(const std::vector<std::string>& versions);
  // Fills the list; a single entry comes preselected.
  void load() override;

  Label lblOldSoftwareVersionList{"lblOldSoftwareVersionList"};
  ListBox lstOldSoftwareVersions{"lstOldSoftwareVersions"};
  Label lblConfigReset{"lblConfigReset"};
  Button cmdOkRestore{"cmdOkRestore"};
  Button cmdCancelRestore{"cmdCancelRestore"};

 private:
  Ui& ui_;
  std::vector<std::string> versions_;
  std::optional<std::string> chosen_;
};
