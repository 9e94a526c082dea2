#include "at/ModemAddressDialog.h"

#include "core/TextUtilities.h"

ModemAddressDialog::ModemAddressDialog() : Form("UpdateModemIP") {
  caption = "Configure Modem Interface"_t;
  width = 300;
  height = 140;
  lblHeading.setCaption("Enter IP address of the KOVA Terminal"_t);
  lblHeading.geometry = {12, 10, 276, 20};
  IPlabel.setCaption("Terminal &IP:"_t);
  IPlabel.buddy = &txtIP3;  // the first box a user may change
  IPlabel.geometry = {12, 44, 80, 20};
  int x = 95;
  TextBox* boxes[] = {&txtIP1, &txtIP2, &txtIP3, &txtIP4};
  Label* dots[] = {&lblDot0, &lblDot1, &lblDot2};
  for (int i = 0; i < 4; ++i) {
    boxes[i]->maxLength = 3;
    boxes[i]->geometry = {x, 40, 36, 24};
    x += 36;
    if (i < 3) {
      dots[i]->setCaption("."_t);
      dots[i]->geometry = {x, 44, 10, 20};
      x += 10;
    }
  }
  txtIP1.setText("192");
  txtIP1.readOnly = true;
  txtIP2.setText("168");
  txtIP2.readOnly = true;
  txtIP3.setText("128");
  txtIP4.setText("100");
  cmdClose.setCaption("&Close"_t);
  cmdClose.geometry = {95, 90, 80, 28};
  cmdUpdate.setCaption("&Update"_t);
  cmdUpdate.isDefault = true;
  cmdUpdate.geometry = {195, 90, 80, 28};
  cmdUpdate.onClick = [this] { update(); };
  cmdClose.onClick = [this] { requestClose(kCloseByProgram); };
  controls = {&txtIP1, &txtIP2,  &txtIP3,     &txtIP4,  &cmdUpdate, &cmdClose,
              &lblHeading, &IPlabel, &lblDot0, &lblDot1, &lblDot2};
  initialFocus = &txtIP1;
}

void ModemAddressDialog::load() {
  txtIP3.setText(subnet_);
  txtIP4.setText(host_);
}

void ModemAddressDialog::update() {
  subnet_ = LTrim(txtIP3.text());
  host_ = LTrim(txtIP4.text());
  if (onAddressChosen) onAddressChosen("192.168." + subnet_ + "." + host_);
  requestClose(kCloseByProgram);
}
