#include "firmware/frmRestore.h"

#include <cstddef>

frmRestore::frmRestore(mdlGlobals& globals) : Form("frmRestore"), g(globals) {
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
    g.strRestoreVersion = lstOldSoftwareVersions.selectedText();
    requestClose(kCloseByProgram);
  };
  // Cancel, like a close by the frame, leaves strRestoreVersion as it is.
  cmdCancelRestore.onClick = [this] { requestClose(kCloseByProgram); };
  controls = {&lblOldSoftwareVersionList, &lstOldSoftwareVersions, &cmdOkRestore,
              &cmdCancelRestore};
  initialFocus = &lstOldSoftwareVersions;
}

void frmRestore::load() {
  lstOldSoftwareVersions.clear();
  // Never beyond the array, whatever the count says.
  std::size_t count = g.intOldVersionCount > 0 ? static_cast<std::size_t>(g.intOldVersionCount) : 0;
  if (count > g.strOldVersions.size()) count = g.strOldVersions.size();
  for (std::size_t i = 0; i < count; ++i) lstOldSoftwareVersions.addItem(g.strOldVersions[i]);
  if (g.intOldVersionCount == 1 && count == 1) lstOldSoftwareVersions.setListIndex(0);
}
