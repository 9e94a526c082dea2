// Files that must survive a power cut whole or not at all.
#pragma once

#include <string>

// Renames from over to so that after a power cut either what was under to
// before or the whole of from is found there: the file's data reaches the
// disk before the rename, and the folder's entry after it. False (and why in
// error) when it fails; from is then left as it was.
bool DurableRename(const std::string& from, const std::string& to, std::string& error);
