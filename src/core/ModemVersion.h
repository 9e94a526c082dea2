// A software version of the modem or of an image. Files and the wire know
// it as 5_2_0_12, the window as 5.2.0.12; 0_0_0_0 stands for "not known".
// The groups are neither counted nor checked: a version is the text it was
// given, in one of its two forms.
#pragma once

#include <string>
#include <string_view>

class ModemVersion {
 public:
  ModemVersion() = default;  // not known
  // From a file name's form (5_2_0_12); "0_0_0_0" is the unknown version.
  static ModemVersion FromFileForm(std::string_view text);
  // From the window's form (5.2.0.12).
  static ModemVersion FromDisplayForm(std::string_view text);

  bool known() const;
  // 5_2_0_12; "0_0_0_0" while not known.
  const std::string& fileForm() const { return fileForm_; }
  // 5.2.0.12; empty while not known.
  std::string display() const;
  // As the window shows it: 5.2.0.12, or "Unknown".
  std::string shown() const;

  // The release-series rule: may candidate be installed over this running
  // version? The first four characters decide (5_2_ allows 5_2_1_0, not
  // 5_3_1_4); an unknown running version lets anything pass, and so does a
  // modem that answered only on its FTP port.
  bool allows(const ModemVersion& candidate, bool reachableWithoutVersion) const;

  bool operator==(const ModemVersion&) const = default;

 private:
  std::string fileForm_ = "0_0_0_0";
};
