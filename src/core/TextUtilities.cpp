#include "core/TextUtilities.h"

#include <cctype>
#include <cstdio>

std::string ReplaceChar(std::string_view text, std::string_view find, std::string_view replacement) {
  std::string out(text);
  if (find.size() != 1 || replacement.empty()) return out;
  for (auto& c : out)
    if (c == find[0]) c = replacement[0];
  return out;
}

std::string ExtractVersion(std::string_view text) {
  auto comma = text.find(',');
  std::string_view head = comma == std::string_view::npos ? text : text.substr(0, comma);
  std::string out;
  for (char c : head)
    if ((c >= '0' && c <= '9') || c == '.') out += c;
  return out;
}

std::int32_t BytesToLong(std::string_view bytes, int count, int start) {
  std::uint32_t value = 0;
  if (count <= 0 || start < 0) return 0;
  for (int k = 0; k < count; ++k) {
    std::size_t i = static_cast<std::size_t>(start) + static_cast<std::size_t>(k);
    if (i >= bytes.size()) break;
    value = value * 256u + static_cast<unsigned char>(bytes[i]);
  }
  return static_cast<std::int32_t>(value);
}

std::string BytesToString(std::string_view bytes, std::int32_t count, std::int16_t& index) {
  std::string out;
  if (count <= 0) return out;
  bool stop = false;
  for (std::int32_t k = 0; k < count; ++k) {
    if (!stop) {
      if (index < 0 || static_cast<std::size_t>(index) >= bytes.size()) {
        stop = true;  // nothing more to read
      } else if (bytes[static_cast<std::size_t>(index)] != '\0') {
        out += bytes[static_cast<std::size_t>(index)];
      } else {
        stop = true;
      }
    }
    if (index < INT16_MAX) ++index;
  }
  return out;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::string Trim(std::string_view text) {
  auto b = text.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  auto e = text.find_last_not_of(' ');
  return std::string(text.substr(b, e - b + 1));
}

std::string LTrim(std::string_view text) {
  auto b = text.find_first_not_of(' ');
  return b == std::string_view::npos ? std::string() : std::string(text.substr(b));
}

std::string Latin1ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char c : bytes) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string VisibleText(std::string_view text) {
  std::string out;
  auto escape = [&out](const char* format, unsigned value) {
    char buf[8];
    std::snprintf(buf, sizeof buf, format, value);
    out += buf;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7F) {
      escape("\\x%02X", c);
      continue;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    // The length of a well-formed UTF-8 sequence, 0 when it is none.
    const std::size_t length = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3
                               : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
    bool whole = length > 0 && i + length <= text.size();
    for (std::size_t k = 1; whole && k < length; ++k)
      whole = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
    if (!whole) {
      escape("\\x%02X", c);
      continue;
    }
    const auto next = static_cast<unsigned char>(text[i + 1]);
    if (c == 0xC2 && next < 0xA0) {
      escape("\\u%04X", next);  // C1: U+0080 to U+009F
    } else {
      out.append(text.substr(i, length));
    }
    i += length - 1;
  }
  return out;
}

std::string UtcIsoTime(std::chrono::system_clock::time_point time, bool milliseconds) {
  using namespace std::chrono;
  const auto ms = floor<std::chrono::milliseconds>(time);
  const auto day = floor<days>(ms);
  const year_month_day date{day};
  const hh_mm_ss clock{ms - day};
  char out[40];
  int n = std::snprintf(out, sizeof out, "%04d-%02u-%02uT%02d:%02d:%02d", int(date.year()),
                        unsigned(date.month()), unsigned(date.day()), int(clock.hours().count()),
                        int(clock.minutes().count()), int(clock.seconds().count()));
  if (milliseconds)
    n += std::snprintf(out + n, sizeof out - n, ".%03d", int(clock.subseconds().count()));
  std::snprintf(out + n, sizeof out - n, "Z");
  return out;
}
