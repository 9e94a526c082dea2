#include "core/ModemVersion.h"

#include "core/Texts.h"
#include "core/TextUtilities.h"

ModemVersion ModemVersion::FromFileForm(std::string_view text) {
  ModemVersion v;
  v.fileForm_ = std::string(text);
  return v;
}

ModemVersion ModemVersion::FromDisplayForm(std::string_view text) {
  return FromFileForm(ReplaceChar(text, ".", "_"));
}

bool ModemVersion::known() const { return fileForm_ != kUnknownVersion; }

std::string ModemVersion::display() const {
  return known() ? ReplaceChar(fileForm_, "_", ".") : std::string();
}

std::string ModemVersion::shown() const { return known() ? display() : kUnknownVersionText; }

bool ModemVersion::allows(const ModemVersion& candidate, bool reachableWithoutVersion) const {
  std::string_view running = std::string_view(fileForm_).substr(0, 4);
  std::string_view wanted = std::string_view(candidate.fileForm_).substr(0, 4);
  if (EqualNoCase(running, wanted)) return true;
  if (EqualNoCase(running, "0_0_")) return true;
  return reachableWithoutVersion;
}
