// The texts of the AT channel: command lines out, the DNS reply in.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Window text (UTF-8) as the modem's single-byte text; nullopt for text that
// is not valid UTF-8 or holds a character above U+00FF.
std::optional<std::string> Utf8ToLatin1(std::string_view text);

// True when the address can go between the quotes of a write command
// without ending the command line: no double quote, no control character,
// only characters of the single-byte set.
bool SendableDnsText(std::string_view text);

// AT_IHIP="label","address" CR LF, the address converted to single-byte text.
// Call only with SendableDnsText(address).
std::string DnsWriteCommand(std::string_view label, std::string_view address);

struct DnsAddresses {
  std::string primary;    // window text (UTF-8)
  std::string secondary;
};

// The two addresses of a complete reply to AT_IHIP? (single-byte text).
// Each address starts two characters after its label and ends at a CR; one
// with no CR after it ends at the next LF or the end of the reply, less
// trailing blanks and control characters. A reply with no "DNS2" after the primary label gives
// an empty secondary address.
DnsAddresses ParseDnsReply(std::string_view reply);
