#include "firmware/RestoreChooser.h"

RestoreChooser::RestoreChooser(Ui& ui) : Form("frmRestore"), ui_(ui) {
  caption = "Restore Satellite IP Modem Software";
  width = 320;
  height = 250;
  lblOldSoftwareVersionList.setCaption("Select an old software version to restore:");
  lblOldSoftwareVersionList.geometry = {12, 12, 296, 20};
  lstOldSoftwareVersions.geometry = {12, 38, 296, 160};
  cmdOkRestore.setCaption("OK");
  cmdOkRestore.isDefault = true;
  cmdOkRestore.geometry = {60, 210, 90, 28};
  cmdCancelRestore.setCaption("Cancel");
  cmdCancelRestore.geometry = {170, 210, 90, 28};
  cmdOkRestore.onClick = [this] {
    chosen_ = lstOldSoftwareVersions.selectedText();
    requestClose(kCloseByProgram);
  };
  // Cancel, like a close by the frame, chooses nothing.
  cmdCancelRestore.onClick = [this] { requestClose(kCloseByProgram); };
  controls = {&lblOldSoftwareVersionList, &lstOldSoftwareVersions, &cmdOkRestore,
              &cmdCancelRestore};
  initialFocus = &lstOldSoftwareVersions;
}

std::optional<std::string> RestoreChooser::choose(const std::vector<std::string>& versions) {
  versions_ = versions;
  chosen_.reset();
  ui_.showModal(*this);
  versions_.clear();
  return chosen_;
}

void RestoreChooser::load() {
  lstOldSoftwareVersions.clear();
  for (const auto& v : versions_) lstOldSoftwareVersions.addItem(v);
  if (versions_.size() == 1) lstOldSoftwareVersions.setListIndex(0);
}
