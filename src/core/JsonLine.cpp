#include "core/JsonLine.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

// Length of the valid UTF-8 sequence starting at i; 0 when there is none
// (stray continuation byte, overlong form, surrogate, past U+10FFFF, cut short).
std::size_t Utf8Length(std::string_view s, std::size_t i) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  if (c < 0x80) return 1;
  std::size_t n;
  unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) lo = 0xA0;
    if (c == 0xED) hi = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (s.size() - i < n) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    const unsigned char b = static_cast<unsigned char>(s[i + k]);
    if (b < (k == 1 ? lo : 0x80) || b > (k == 1 ? hi : 0xBF)) return 0;
  }
  return n;
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
  static const unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
  const int more = cp < 0x80 ? 0 : cp < 0x800 ? 1 : cp < 0x10000 ? 2 : 3;  // continuation bytes
  out += static_cast<char>(kLead[more] | cp >> (6 * more));
  for (int k = more - 1; k >= 0; --k) out += static_cast<char>(0x80 | (cp >> (6 * k) & 0x3F));
}

}  // namespace

std::string JsonQuote(std::string_view text) {
  static const char* kHex = "0123456789abcdef";
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const std::size_t n = Utf8Length(text, i);
    if (n == 0) {
      out += "\xEF\xBF\xBD";  // U+FFFD for each byte that is not UTF-8
      ++i;
      continue;
    }
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      default:
        if (c < 0x20) {
          out += "\\u00";
          out += kHex[c >> 4];
          out += kHex[c & 0xF];
        } else {
          out.append(text.substr(i, n));
        }
    }
    i += n;
  }
  return out + "\"";
}

JsonLine& JsonLine::addRaw(std::string_view key, std::string_view json) {
  if (!members_.empty()) members_ += ',';
  members_ += JsonQuote(key);
  members_ += ':';
  members_.append(json);
  return *this;
}

JsonLine& JsonLine::add(std::string_view key, std::string_view text) {
  return addRaw(key, JsonQuote(text));
}

JsonLine& JsonLine::add(std::string_view key, long long number) {
  return addRaw(key, std::to_string(number));
}

JsonLine& JsonLine::add(std::string_view key, double number) {
  if (!std::isfinite(number)) return addRaw(key, "null");
  char buffer[400];  // the largest double in fixed notation has 309 digits
  auto end = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::fixed, 3).ptr;
  // A view, not a string: GCC's sanitizer build warned of an overlapping copy.
  std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
  while (text.back() == '0') text.remove_suffix(1);
  if (text.back() == '.') text.remove_suffix(1);
  if (text == "-0") text = "0";
  return addRaw(key, text);
}

JsonLine& JsonLine::add(std::string_view key, bool value) {
  return addRaw(key, value ? "true" : "false");
}

JsonLine& JsonLine::add(std::string_view key, std::nullptr_t) { return addRaw(key, "null"); }

JsonLine& JsonLine::addObject(std::string_view key, const JsonLine& object) {
  return addRaw(key, object.str());
}

JsonLine& JsonLine::addArray(std::string_view key, const std::vector<JsonLine>& objects) {
  std::string json = "[";
  for (const auto& o : objects) {
    if (json.size() > 1) json += ',';
    json += o.str();
  }
  return addRaw(key, json + "]");
}

const JsonValue* JsonValue::get(std::string_view key) const {
  for (const auto& [name, value] : asObject())
    if (name == key) return &value;
  return nullptr;
}

namespace {

class Parser {
 public:
  explicit Parser(std::string_view text) : s_(text) {}

  std::optional<JsonValue> document() {
    auto value = parseValue(0);
    skipBlanks();
    if (!value || i_ != s_.size()) return std::nullopt;
    return value;
  }

 private:
  static constexpr int kMaxDepth = 64;

  void skipBlanks() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\n' || s_[i_] == '\r'))
      ++i_;
  }
  bool take(char c) {
    skipBlanks();
    if (i_ < s_.size() && s_[i_] == c) return ++i_, true;
    return false;
  }
  bool takeWord(std::string_view word) {
    if (s_.substr(i_, word.size()) != word) return false;
    i_ += word.size();
    return true;
  }

  std::optional<JsonValue> parseValue(int depth) {
    skipBlanks();
    if (i_ >= s_.size() || depth > kMaxDepth) return std::nullopt;
    const char c = s_[i_];
    if (c == '{') return parseObject(depth);
    if (c == '[') return parseArray(depth);
    if (c == '"') {
      auto text = parseString();
      if (!text) return std::nullopt;
      return JsonValue(std::move(*text));
    }
    if (takeWord("true")) return JsonValue(true);
    if (takeWord("false")) return JsonValue(false);
    if (takeWord("null")) return JsonValue();
    return parseNumber();
  }

  std::optional<JsonValue> parseObject(int depth) {
    ++i_;  // '{'
    JsonValue::Object members;
    if (take('}')) return JsonValue(std::move(members));
    do {
      skipBlanks();
      if (i_ >= s_.size() || s_[i_] != '"') return std::nullopt;
      auto key = parseString();
      if (!key || !take(':')) return std::nullopt;
      for (const auto& m : members)
        if (m.first == *key) return std::nullopt;  // which one would count is unclear
      auto value = parseValue(depth + 1);
      if (!value) return std::nullopt;
      members.emplace_back(std::move(*key), std::move(*value));
    } while (take(','));
    if (!take('}')) return std::nullopt;
    return JsonValue(std::move(members));
  }

  std::optional<JsonValue> parseArray(int depth) {
    ++i_;  // '['
    JsonValue::Array items;
    if (take(']')) return JsonValue(std::move(items));
    do {
      auto value = parseValue(depth + 1);
      if (!value) return std::nullopt;
      items.push_back(std::move(*value));
    } while (take(','));
    if (!take(']')) return std::nullopt;
    return JsonValue(std::move(items));
  }

  std::optional<std::uint32_t> parseHex4() {
    if (s_.size() - i_ < 4) return std::nullopt;
    std::uint32_t v = 0;
    for (int k = 0; k < 4; ++k) {
      const char c = s_[i_++];
      int d = c >= '0' && c <= '9' ? c - '0'
              : c >= 'a' && c <= 'f' ? c - 'a' + 10
              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                     : -1;
      if (d < 0) return std::nullopt;
      v = v * 16 + static_cast<std::uint32_t>(d);
    }
    return v;
  }

  std::optional<std::string> parseString() {
    ++i_;  // '"'
    std::string out;
    while (i_ < s_.size()) {
      const unsigned char c = static_cast<unsigned char>(s_[i_]);
      if (c == '"') return ++i_, out;
      if (c < 0x20) return std::nullopt;
      if (c != '\\') {
        const std::size_t n = Utf8Length(s_, i_);
        if (n == 0) return std::nullopt;
        out.append(s_.substr(i_, n));
        i_ += n;
        continue;
      }
      if (++i_ >= s_.size()) return std::nullopt;
      switch (s_[i_++]) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          auto cp = parseHex4();
          if (!cp || (*cp >= 0xDC00 && *cp <= 0xDFFF)) return std::nullopt;
          if (*cp >= 0xD800 && *cp <= 0xDBFF) {  // needs its low half next
            if (!takeWord("\\u")) return std::nullopt;
            auto low = parseHex4();
            if (!low || *low < 0xDC00 || *low > 0xDFFF) return std::nullopt;
            *cp = 0x10000 + ((*cp - 0xD800) << 10) + (*low - 0xDC00);
          }
          AppendUtf8(out, *cp);
          break;
        }
        default: return std::nullopt;
      }
    }
    return std::nullopt;  // no closing quote
  }

  std::optional<JsonValue> parseNumber() {
    const std::size_t start = i_;
    auto digits = [&] {
      const std::size_t from = i_;
      while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') ++i_;
      return i_ - from;
    };
    if (i_ < s_.size() && s_[i_] == '-') ++i_;
    const std::size_t intStart = i_;
    const std::size_t intDigits = digits();
    if (intDigits == 0 || (intDigits > 1 && s_[intStart] == '0')) return std::nullopt;
    if (i_ < s_.size() && s_[i_] == '.') {
      ++i_;
      if (digits() == 0) return std::nullopt;
    }
    if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
      ++i_;
      if (i_ < s_.size() && (s_[i_] == '+' || s_[i_] == '-')) ++i_;
      if (digits() == 0) return std::nullopt;
    }
    double value = 0;
    auto [end, ec] = std::from_chars(s_.data() + start, s_.data() + i_, value);
    if (ec != std::errc() || end != s_.data() + i_) return std::nullopt;  // e.g. 1e999
    return JsonValue(value);
  }

  std::string_view s_;
  std::size_t i_ = 0;
};

}  // namespace

std::optional<JsonValue> ParseJson(std::string_view text) { return Parser(text).document(); }
