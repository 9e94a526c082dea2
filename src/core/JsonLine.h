// One JSON object per line, written and read back: enough for the history
// file, not a general library.
#pragma once

#include <concepts>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

// Builds one object, fields in the order added. Keys and text are escaped;
// bytes that are not valid UTF-8 become U+FFFD, so the line is always JSON.
class JsonLine {
 public:
  JsonLine& add(std::string_view key, std::string_view text);
  // Without it a string literal would pick the bool overload.
  JsonLine& add(std::string_view key, const char* text) { return add(key, std::string_view(text)); }
  JsonLine& add(std::string_view key, long long number);
  // Other integer types, which would otherwise be ambiguous.
  template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, long long>)
  JsonLine& add(std::string_view key, T number) {
    return add(key, static_cast<long long>(number));
  }
  // Up to 3 decimals, trailing zeros dropped; null when not finite.
  JsonLine& add(std::string_view key, double number);
  JsonLine& add(std::string_view key, bool value);
  JsonLine& add(std::string_view key, std::nullptr_t);
  JsonLine& addObject(std::string_view key, const JsonLine& object);
  JsonLine& addArray(std::string_view key, const std::vector<JsonLine>& objects);
  // The object, without a trailing newline.
  std::string str() const { return "{" + members_ + "}"; }

 private:
  JsonLine& addRaw(std::string_view key, std::string_view json);
  std::string members_;
};

// Text as a JSON string literal, quotes included.
std::string JsonQuote(std::string_view text);

class JsonValue {
 public:
  using Array = std::vector<JsonValue>;
  using Object = std::vector<std::pair<std::string, JsonValue>>;  // in file order

  JsonValue() = default;  // null
  explicit JsonValue(bool value) : value_(value) {}
  explicit JsonValue(double value) : value_(value) {}
  explicit JsonValue(std::string value) : value_(std::move(value)) {}
  // Without it a string literal would make a bool.
  explicit JsonValue(const char* value) : value_(std::string(value)) {}
  explicit JsonValue(Array value) : value_(std::move(value)) {}
  explicit JsonValue(Object value) : value_(std::move(value)) {}

  bool isNull() const { return std::holds_alternative<std::nullptr_t>(value_); }
  bool isBool() const { return std::holds_alternative<bool>(value_); }
  bool isNumber() const { return std::holds_alternative<double>(value_); }
  bool isString() const { return std::holds_alternative<std::string>(value_); }
  bool isArray() const { return std::holds_alternative<Array>(value_); }
  bool isObject() const { return std::holds_alternative<Object>(value_); }

  // The value, or false / 0 / empty when it holds another type.
  bool asBool() const { return as<bool>(); }
  double asNumber() const { return as<double>(); }
  const std::string& asString() const { return as<std::string>(); }
  const Array& asArray() const { return as<Array>(); }
  const Object& asObject() const { return as<Object>(); }
  // The member named key of an object; nullptr when absent or not an object.
  const JsonValue* get(std::string_view key) const;

 private:
  template <class T>
  const T& as() const {
    static const T kEmpty{};
    auto p = std::get_if<T>(&value_);
    return p ? *p : kEmpty;
  }

  std::variant<std::nullptr_t, bool, double, std::string, Array, Object> value_ = nullptr;
};

// One JSON value with optional surrounding blanks; nullopt when the text is
// malformed, has trailing garbage, a duplicate key, a lone surrogate, invalid
// UTF-8, or nests deeper than 64 levels (a damaged line cannot exhaust the stack).
std::optional<JsonValue> ParseJson(std::string_view text);
