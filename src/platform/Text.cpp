#include "platform/Text.h"

#include <ostream>

std::ostream& operator<<(std::ostream& out, const Text& text) { return out << text.english(); }

std::string Text::english() const {
  if (args_.empty()) return source_;
  std::vector<std::string> values;
  values.reserve(args_.size());
  for (const Text& a : args_) values.push_back(a.english());
  return Fill(source_, values);
}

std::string Text::Fill(std::string_view pattern, const std::vector<std::string>& values) {
  std::string out;
  out.reserve(pattern.size());
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
      const auto index = static_cast<std::size_t>(pattern[i + 1] - '1');
      if (index < values.size()) {
        out += values[index];
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}
