#include "app/Shell.h"

#include "app/frmMain.h"

Shell::Shell(frmMain& f) : f(f) {}
void Shell::mnuHelpAbout_Click() {}
void Shell::cmdDisableAutoPicMenu_Click() {
  f.AutoPicLabel.setCaption("");
  f.AutoPic.setValue(0);
}
void Shell::Form_KeyPress(int) {}
