#include "firmware/RestoreChooser.h"

RestoreChooser::RestoreChooser(Ui& ui) : Form("frmRestore"), ui_(ui) {
  caption = "Restore Satellite IP Modem Software"_t;
  // Wide enough for the whole title in a window frame at the default font.
  width = 420;
  height = 256;
  lblOldSoftwareVersionList.setCaption("Select an old software version to restore:"_t);
  lblOldSoftwareVersionList.buddy = &lstOldSoftwareVersions;
  lblOldSoftwareVersionList.geometry = {12, 12, 396, 20};
  lstOldSoftwareVersions.geometry = {12, 38, 396, 140};
  // A restore deletes the modem's config.txt: told before the user agrees.
  lblConfigReset.setCaption("The modem's configuration will be reset to defaults."_t);
  lblConfigReset.geometry = {12, 186, 396, 20};
  cmdOkRestore.setCaption("OK"_t);
  cmdOkRestore.isDefault = true;
  cmdOkRestore.geometry = {110, 216, 90, 28};
  cmdCancelRestore.setCaption("Cancel"_t);
  cmdCancelRestore.geometry = {220, 216, 90, 28};
  cmdOkRestore.onClick = [this] {
    chosen_ = lstOldSoftwareVersions.selectedText();
    requestClose(kCloseByProgram);
  };
  // Cancel, like a close by the frame, chooses nothing.
  cmdCancelRestore.onClick = [this] { requestClose(kCloseByProgram); };
  controls = {&lblOldSoftwareVersionList, &lstOldSoftwareVersions, &lblConfigReset, &cmdOkRestore,
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
