// A backup pair taken by this tool is trusted by its own record: the
// history line of the operation that kept it holds the digests of both
// files as they came from the modem.
#pragma once

#include <string>
#include <vector>

#include "core/ModemVersion.h"
#include "core/UpgradeHistory.h"
#include "platform/Text.h"

// Why the backup pair of version (image and checksum file, as named in
// backupDir) may not be restored; empty when it may. A pair without a
// record passes unless requireRecord. Stations of one PC may each have
// recorded the pair of one version: any record that matches will do.
Text BackupProblem(const std::vector<HistoryEntry>& history, const std::string& image,
                   const std::string& checksum, const ModemVersion& version, bool requireRecord);
