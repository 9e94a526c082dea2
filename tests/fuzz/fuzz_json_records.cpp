// Whatever a history file or a station's output holds: the JSON parser
// never reads past the bytes and what it accepts reads the same once written
// back; the history reader, its table and its search for an unfinished
// upload take any file, and the table never shows a control character.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "core/JsonLine.h"
#include "core/UpgradeHistory.h"
#include "fuzz/FuzzSupport.h"

namespace {

std::string Written(const JsonValue& v) {
  if (v.isBool()) return v.asBool() ? "true" : "false";
  if (v.isNumber()) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v.asNumber());
    return buf;
  }
  if (v.isString()) return JsonQuote(v.asString());
  if (v.isArray()) {
    std::string out = "[";
    for (const auto& item : v.asArray()) out += (out.size() > 1 ? "," : "") + Written(item);
    return out + "]";
  }
  if (v.isObject()) {
    std::string out = "{";
    for (const auto& [key, item] : v.asObject())
      out += (out.size() > 1 ? "," : "") + JsonQuote(key) + ":" + Written(item);
    return out + "}";
  }
  return "null";
}

const std::string& HistoryFile() {
  static const std::string path = [] {
    std::string p = "/tmp/kova-fuzz-history-" + std::to_string(::getpid());
    static std::string removed = p;
    std::atexit([] { std::remove(removed.c_str()); });
    return p;
  }();
  return path;
}

HistoryRead ReadAs(const std::string& text) {
  std::ofstream(HistoryFile(), std::ios::binary | std::ios::trunc) << text;
  return ReadHistory(HistoryFile());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (auto value = ParseJson(text)) {
    // %.17g gives each double back exactly: equal texts are equal values.
    const auto again = ParseJson(Written(*value));
    Require(again && Written(*again) == Written(*value));
  }

  const HistoryRead read = ReadAs(text);
  const auto operations = HistoryOperations(read.entries);
  Require(operations.size() <= read.entries.size());
  for (const auto& e : read.entries) UnfinishedUpload(read.entries, e.modemMac, e.modemAddress);
  const std::string table = HistoryTable(operations);
  for (std::size_t i = 0; i < table.size(); ++i) {
    const auto c = static_cast<unsigned char>(table[i]);
    Require(c >= 0x20 || c == '\n');
    Require(c != 0x7F);
    // C1 controls arrive as UTF-8 (C2 80 to C2 9F): never shown raw.
    if (c == 0xC2 && i + 1 < table.size())
      Require(static_cast<unsigned char>(table[i + 1]) > 0x9F);
  }
  // What was read writes back as a line that reads as one entry again.
  for (const auto& e : read.entries) {
    const HistoryRead back = ReadAs(HistoryLine(e) + "\n");
    Require(back.entries.size() == 1 && back.warnings.empty());
    Require(back.entries[0].operation == e.operation && back.entries[0].attempt == e.attempt &&
            back.entries[0].outcome == e.outcome);
  }
  return 0;
}
