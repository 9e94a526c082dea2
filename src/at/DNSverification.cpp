#include "at/DNSverification.h"

#include "app/Utilities.h"
#include "app/frmMain.h"
#include "at/AtText.h"

DNSverification::DNSverification(frmMain& f) : Form("DNSverification"), f(f) {
  caption = "Verify if DNS adresses are good.";
  width = 360;
  height = 130;
  Label1.setCaption("Change the addreseses before you click Modify.");
  Label1.geometry = {12, 10, 336, 20};
  DNSlabel.setCaption("DNS servers :");
  DNSlabel.geometry = {12, 44, 90, 20};
  DNS.setText("000.000.000.000");
  DNS.geometry = {105, 40, 130, 24};
  DNS2.setText("000.000.000.000");
  DNS2.geometry = {105, 80, 130, 24};
  cmdModify.setCaption("Modify");
  cmdModify.geometry = {250, 38, 95, 28};
  cmdKeep.setCaption("Keep Current");
  cmdKeep.geometry = {250, 78, 95, 28};
  cmdModify.onClick = [this] { cmdModify_Click(); };
  cmdKeep.onClick = [this] { cmdKeep_Click(); };
  controls = {&cmdModify, &cmdKeep, &DNS, &DNS2, &Label1, &DNSlabel};
  initialFocus = &cmdModify;
}

void DNSverification::load() {
  DNS.setText(f.strDNS);
  DNS2.setText(f.strDNS2);
}

void DNSverification::cmdModify_Click() {
  std::string primary = LTrim(DNS.text());
  std::string secondary = LTrim(DNS2.text());
  // A quote or a line break would end the AT command line early and let the
  // rest go to the modem as a command of its own. The dialog stays open
  // with what the user typed.
  if (!SendableDnsText(primary) || !SendableDnsText(secondary)) {
    f.ui().msgBox(kUnsendableDnsMessage, MsgExclamation, kUpgraderTitle);
    return;
  }
  f.strDNS = primary;
  f.strDNS2 = secondary;
  f.SendSetDNS();
  requestClose(kCloseByProgram);
}

void DNSverification::cmdKeep_Click() {
  f.ResetKOVA();
  requestClose(kCloseByProgram);
}
