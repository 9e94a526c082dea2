// A production line's shared records (--records URL): what the window,
// batch mode and the line's report share besides the outbox.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/UpgradeHistory.h"
#include "platform/Platform.h"

// The operations on record in the database at url whose time lies in
// [since, until) (UTC ISO 8601, 2026-12-08T06:00:00Z; empty: open), oldest
// first, one entry per attempt: an attempt that began and never ended has
// outcome "began" (HistoryOperations turns it into "unfinished"), and each
// entry's station names the PC that wrote it. Makes or migrates the tables
// first. Blocks until the server answers or its connect time-out (5 s unless
// the URL sets connect_timeout) passes: for a query of its own, never while
// an operation runs. nullopt and why in error (without the URL's password)
// when the database cannot be read or this build has no records.
std::optional<std::vector<HistoryEntry>> ReadRecords(Platform& platform, const std::string& url,
                                                     const std::string& since,
                                                     const std::string& until, std::string& error);

// text with every password the URL carries (user:PASSWORD@, password=...)
// replaced by "***": for any message that might quote it.
std::string HidePassword(std::string text, const std::string& url);
