// What names a process of this tool in its temporaries: its id, when it
// started and its PID namespace, so that a later process under the same id,
// or one in another namespace, is never taken for the writer.
#pragma once

#include <string>

// "<pid>-<start>-<namespace>": digits and '-' only.
std::string ProcessStamp();
// True only when the process of that stamp surely no longer runs: its id is
// free, or held by a process that started at another time. A stamp from
// another PID namespace, or one that does not parse, is never taken as ended.
bool ProcessEnded(const std::string& stamp);
