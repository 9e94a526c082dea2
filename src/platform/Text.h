// A text the user reads: its English source, with %1 to %9 where values go,
// and those values. The window shows it in the user's language, translated
// whole so that a language can order the values as it needs; batch mode, the
// logs and the tests read english().
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

// Marks a literal as a source text for the catalogues' extractor; the literal
// itself is unchanged.
constexpr const char* operator""_t(const char* source, std::size_t) { return source; }

class Text {
 public:
  Text() = default;
  // A source text, or a value shown as it stands (a version, an address, a
  // reply of the modem): either is looked up in the user's catalogue, and
  // a value has no entry there.
  Text(std::string source) : source_(std::move(source)) {}  // NOLINT: implicit
  Text(const char* source) : source_(source) {}             // NOLINT: implicit
  Text(std::string_view source) : source_(source) {}        // NOLINT: implicit

  // The value of the next placeholder.
  Text& arg(Text value) & {
    args_.push_back(std::move(value));
    return *this;
  }
  Text&& arg(Text value) && { return std::move(arg(std::move(value))); }
  Text& arg(long long number) & { return arg(Text(std::to_string(number))); }
  Text&& arg(long long number) && { return std::move(arg(number)); }

  const std::string& source() const { return source_; }
  const std::vector<Text>& args() const { return args_; }
  bool empty() const { return source_.empty() && args_.empty(); }
  std::string english() const;

  // The pattern with %1 to %9 replaced by values in one pass, so a value
  // holding "%1" stays as it is; a placeholder without a value stays too.
  static std::string Fill(std::string_view pattern, const std::vector<std::string>& values);

  friend bool operator==(const Text& a, const Text& b) {
    return a.source_ == b.source_ && a.args_ == b.args_;
  }
  // Compares what batch mode and the tests read.
  friend bool operator==(const Text& a, std::string_view english) { return a.english() == english; }
  friend bool operator==(const Text& a, const char* english) { return a.english() == english; }
  friend bool operator==(const Text& a, const std::string& english) {
    return a.english() == english;
  }

 private:
  std::string source_;
  std::vector<Text> args_;
};

// In English, as the logs and the tests print it.
std::ostream& operator<<(std::ostream& out, const Text& text);
