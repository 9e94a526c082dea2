// Which modem addresses the tool connects to.
#pragma once

#include <string_view>

// A dotted IPv4 address or a host name: letters, digits, '-' and '.' only,
// at most 253 characters. Anything else (a '@', '/', ':' or blank that a URL
// or a resolver would read as something else) is never connected to.
inline bool IsUsableModemAddress(std::string_view address) {
  if (address.empty() || address.size() > 253) return false;
  for (char c : address) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '-' || c == '.';
    if (!ok) return false;
  }
  return true;
}
