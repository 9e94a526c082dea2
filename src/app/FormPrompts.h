// The questions of the workflows as the window asks them: in its modal
// dialogs.
#pragma once

#include "at/DnsDialog.h"
#include "core/Prompts.h"
#include "firmware/RestoreChooser.h"

class FormPrompts : public Prompts {
 public:
  explicit FormPrompts(Ui& ui) : restoreChooser_(ui), dnsDialog_(ui) {}
  std::optional<std::string> chooseRestoreVersion(
      const std::vector<std::string>& versions) override {
    return restoreChooser_.choose(versions);
  }
  DnsReview reviewDns(const std::string& primary, const std::string& secondary) override {
    return dnsDialog_.review(primary, secondary);
  }

 private:
  RestoreChooser restoreChooser_;
  DnsDialog dnsDialog_;
};
