#include "at/AtText.h"

#include "core/TextUtilities.h"

std::optional<std::string> Utf8ToLatin1(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if ((c == 0xC2 || c == 0xC3) && i + 1 < text.size() &&
               (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
      auto low = static_cast<unsigned char>(text[++i]) & 0x3F;
      out += static_cast<char>(((c & 0x03) << 6) | low);
    } else {
      return std::nullopt;
    }
  }
  return out;
}

bool SendableDnsText(std::string_view text) {
  auto bytes = Utf8ToLatin1(text);
  if (!bytes) return false;
  for (char ch : *bytes) {
    auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c < 0x20 || (c >= 0x7F && c <= 0x9F)) return false;
  }
  return true;
}

std::string DnsWriteCommand(std::string_view label, std::string_view address) {
  std::string line = "AT_IHIP=\"";
  line += label;
  line += "\",\"";
  line += Utf8ToLatin1(address).value_or(std::string());
  line += "\"\r\n";
  return line;
}

namespace {

// Text from start up to its first CR. Without one, up to the first LF or the
// end, less trailing blanks and control characters.
std::string AddressAt(std::string_view text, std::size_t start) {
  if (start >= text.size()) return {};
  std::string_view rest = text.substr(start);
  auto cr = rest.find('\r');
  if (cr != std::string_view::npos) return Latin1ToUtf8(rest.substr(0, cr));
  rest = rest.substr(0, rest.find('\n'));
  while (!rest.empty() && static_cast<unsigned char>(rest.back()) <= 0x20) rest.remove_suffix(1);
  return Latin1ToUtf8(rest);
}

}  // namespace

DnsAddresses ParseDnsReply(std::string_view reply) {
  DnsAddresses out;
  auto p = reply.find("DNS");
  if (p == std::string_view::npos) return out;
  // The label and the two characters after it (": ") come off.
  std::size_t restStart = p + 5;
  out.primary = AddressAt(reply, restStart);
  if (restStart >= reply.size()) return out;
  std::string_view rest = reply.substr(restStart);
  auto q = rest.find("DNS2");
  if (q != std::string_view::npos) out.secondary = AddressAt(rest, q + 6);
  return out;
}
