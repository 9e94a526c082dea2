// The questions of the operations as the window asks them: in its modal
// dialogs and boxes.
#pragma once

#include "app/DnsDialog.h"
#include "app/Presenter.h"
#include "core/Prompts.h"
#include "firmware/RestoreChooser.h"

class FormPrompts : public Prompts {
 public:
  explicit FormPrompts(Ui& ui) : ui_(ui), restoreChooser_(ui), dnsDialog_(ui) {}
  std::optional<std::string> chooseRestoreVersion(
      const std::vector<std::string>& versions) override {
    return restoreChooser_.choose(versions);
  }
  DnsReview reviewDns(const std::string& primary, const std::string& secondary) override {
    return dnsDialog_.review(primary, secondary);
  }
  bool allowStaticAddress(const std::string& pcAddress) override {
    const Box box = StaticAddressQuestion(pcAddress);
    return ui_.msgBox(box.text, box.style, box.title) == MsgYes;
  }

 private:
  Ui& ui_;
  RestoreChooser restoreChooser_;
  DnsDialog dnsDialog_;
};
