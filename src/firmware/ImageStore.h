// The firmware image store: file names, version forms, the release-series
// rule and the backup directory.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Version of an image file name: from the sixth character up to the first
// ".bin".
std::string VersionFromImageName(std::string_view fileName);

// Names of the ordinary files in dir matching "kova_*.bin" (letter case
// ignored), in the order the file system lists them; none for a missing dir.
std::vector<std::string> ListImages(const std::string& dir);

// May version be installed over modemVersion?
bool CheckReleaseSeries(const std::string& modemVersion, bool noVersionContinue,
                        const std::string& version);

// Removes the backup pair of version; each deletion independent, errors ignored.
void DeleteBackupImage(const std::string& backupDir, const std::string& version);
