#include "app/DnsDialog.h"

#include "app/Presenter.h"
#include "at/AtText.h"
#include "core/TextUtilities.h"

DnsDialog::DnsDialog(Ui& ui) : Form("DNSverification"), ui_(ui) {
  caption = "Verify if DNS adresses are good."_t;
  width = 360;
  height = 130;
  Label1.setCaption("Change the addreseses before you click Modify."_t);
  Label1.geometry = {12, 10, 336, 20};
  DNSlabel.setCaption("&DNS servers :"_t);
  DNSlabel.buddy = &DNS;
  DNS2.accessibleName = "Secondary DNS server"_t;
  DNSlabel.geometry = {12, 44, 90, 20};
  DNS.setText("000.000.000.000");
  DNS.geometry = {105, 40, 130, 24};
  DNS2.setText("000.000.000.000");
  DNS2.geometry = {105, 80, 130, 24};
  cmdModify.setCaption("&Modify"_t);
  cmdModify.isDefault = true;
  cmdModify.geometry = {250, 38, 95, 28};
  cmdKeep.setCaption("&Keep Current"_t);
  cmdKeep.geometry = {250, 78, 95, 28};
  cmdModify.onClick = [this] { modify(); };
  cmdKeep.onClick = [this] {
    result_.choice = DnsReview::Choice::Keep;
    requestClose(kCloseByProgram);
  };
  controls = {&cmdModify, &cmdKeep, &DNS, &DNS2, &Label1, &DNSlabel};
  initialFocus = &cmdModify;
}

DnsReview DnsDialog::review(const std::string& primary, const std::string& secondary) {
  primary_ = primary;
  secondary_ = secondary;
  result_ = DnsReview{};
  ui_.showModal(*this);
  return result_;
}

void DnsDialog::load() {
  DNS.setText(primary_);
  DNS2.setText(secondary_);
}

void DnsDialog::modify() {
  std::string primary = LTrim(DNS.text());
  std::string secondary = LTrim(DNS2.text());
  // A quote or a line break would end the AT command line early and let the
  // rest go to the modem as a command of its own. The dialog stays open
  // with what the user typed.
  if (!SendableDnsText(primary) || !SendableDnsText(secondary)) {
    const Box box = BoxFor({Notice::Kind::DnsUnsendable});
    ui_.msgBox(box.text, box.style, box.title);
    return;
  }
  result_ = DnsReview{DnsReview::Choice::Modify, primary, secondary};
  requestClose(kCloseByProgram);
}
