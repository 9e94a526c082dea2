// Variables the main window shares with the restore chooser.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct mdlGlobals {
  std::vector<std::string> strOldVersions;
  std::int16_t intOldVersionCount = 0;
  std::string strRestoreVersion;
};
