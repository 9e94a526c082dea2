#include "firmware/ReleaseManifest.h"

#include <cmath>
#include <vector>

#include "core/JsonLine.h"

namespace {
constexpr std::size_t kMaxManifestBytes = 65536;

bool IsHexDigest(const std::string& text) {
  if (text.size() != 64) return false;
  for (char c : text)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  return true;
}

// Digits and dots, no empty group: 5.2.0.13, or a series such as 5.2.
bool IsVersionText(const std::string& text) {
  if (text.empty() || text.size() > 64 || text.front() == '.' || text.back() == '.') return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.' && text[i + 1] == '.') return false;
    if (c != '.' && (c < '0' || c > '9')) return false;
  }
  return true;
}

std::vector<unsigned long long> Groups(const std::string& version) {
  std::vector<unsigned long long> groups{0};
  for (char c : version) {
    if (c == '.') {
      groups.push_back(0);
    } else if (c >= '0' && c <= '9') {
      if (groups.back() < 1000000000000ULL) groups.back() = groups.back() * 10 + (c - '0');
    } else {
      return {};
    }
  }
  return groups;
}

struct Reader {
  Text& error;
  bool fail(const Text& why) {
    if (error.empty()) error = why;
    return false;
  }
  bool known(const JsonValue& object, std::initializer_list<const char*> keys, const Text& where) {
    for (const auto& [key, value] : object.asObject()) {
      bool found = false;
      for (const char* k : keys) found = found || key == k;
      if (!found)
        return fail(Text("%1 holds \"%2\", which this tool does not know"_t).arg(where).arg(key));
    }
    return true;
  }
  bool text(const JsonValue& object, const char* key, std::string& out, bool required,
            const Text& where) {
    const JsonValue* v = object.get(key);
    if (!v) return !required || fail(Text("%1 has no \"%2\""_t).arg(where).arg(key));
    if (!v->isString()) return fail(Text("%1's \"%2\" is not a text"_t).arg(where).arg(key));
    out = v->asString();
    return true;
  }
  std::optional<ReleaseManifest::Part> part(const JsonValue& root, const char* key,
                                            bool sizeRequired) {
    const JsonValue* v = root.get(key);
    const std::string where = std::string("\"") + key + "\"";
    if (!v->isObject()) return fail(Text("%1 is not an object"_t).arg(where)), std::nullopt;
    ReleaseManifest::Part p;
    if (!known(*v, {"name", "size", "sha256"}, where) || !text(*v, "name", p.name, true, where) ||
        !text(*v, "sha256", p.sha256, true, where))
      return std::nullopt;
    if (!IsHexDigest(p.sha256))
      return fail(Text("%1's \"sha256\" is not 64 lower-case hex digits"_t).arg(where)),
             std::nullopt;
    if (p.name.empty() || p.name.find_first_of("/\\") != std::string::npos)
      return fail(Text("%1's \"name\" is not a file name"_t).arg(where)), std::nullopt;
    const JsonValue* size = v->get("size");
    if (size) {
      const double s = size->asNumber();
      if (!size->isNumber() || s < 0 || s > 9e15 || std::trunc(s) != s)
        return fail(Text("%1's \"size\" is not a number of bytes"_t).arg(where)), std::nullopt;
      p.size = static_cast<long long>(s);
    } else if (sizeRequired) {
      return fail(Text("%1 has no \"%2\""_t).arg(where).arg("size")), std::nullopt;
    }
    return p;
  }
};
}  // namespace

std::optional<ReleaseManifest> ParseReleaseManifest(std::string_view text, Text& error) {
  error = {};
  if (text.size() > kMaxManifestBytes) {
    error = Text("it is larger than %1 bytes"_t).arg(kMaxManifestBytes);
    return std::nullopt;
  }
  auto root = ParseJson(text);
  if (!root || !root->isObject()) {
    error = "it is not a JSON object"_t;
    return std::nullopt;
  }
  Reader r{error};
  ReleaseManifest m;
  const Text top = "the manifest"_t;
  if (!r.known(*root, {"version", "image", "checksum", "pic", "installs_over", "note"}, top) ||
      !r.text(*root, "version", m.version, true, top) || !r.text(*root, "note", m.note, false, top))
    return std::nullopt;
  if (!IsVersionText(m.version)) return r.fail("its \"version\" is not a version"_t), std::nullopt;
  if (!root->get("image"))
    return r.fail(Text("%1 has no \"%2\""_t).arg(top).arg("image")), std::nullopt;
  auto image = r.part(*root, "image", true);
  if (!image) return std::nullopt;
  m.image = *image;
  for (auto [key, out] : {std::pair{"checksum", &m.checksum}, {"pic", &m.pic}}) {
    if (!root->get(key)) continue;
    *out = r.part(*root, key, false);
    if (!*out) return std::nullopt;
  }
  if (const JsonValue* over = root->get("installs_over")) {
    const Text where = "\"installs_over\"";
    if (!over->isObject()) return r.fail(Text("%1 is not an object"_t).arg(where)), std::nullopt;
    if (!r.known(*over, {"series", "lowest"}, where) ||
        !r.text(*over, "series", m.series, false, where) ||
        !r.text(*over, "lowest", m.lowest, false, where))
      return std::nullopt;
    if (!m.series.empty() && !IsVersionText(m.series))
      return r.fail(Text("%1's \"%2\" is not a version"_t).arg(where).arg("series")), std::nullopt;
    if (!m.lowest.empty() && !IsVersionText(m.lowest))
      return r.fail(Text("%1's \"%2\" is not a version"_t).arg(where).arg("lowest")), std::nullopt;
  }
  return m;
}

Text CompatibilityProblem(const ReleaseManifest& m, const ModemVersion& running) {
  if (m.series.empty() && m.lowest.empty()) return {};
  const std::string now = running.display();
  const Text limit = !m.series.empty() && !m.lowest.empty()
                         ? Text("series %1, version %2 or later"_t).arg(m.series).arg(m.lowest)
                     : !m.series.empty() ? Text("series %1"_t).arg(m.series)
                                         : Text("version %1 or later"_t).arg(m.lowest);
  if (!running.known())
    return Text(
               "Version %1 may only be installed over %2; the modem's running version is not "
               "known."_t)
        .arg(m.version)
        .arg(limit);
  const auto has = Groups(now), series = Groups(m.series), lowest = Groups(m.lowest);
  bool fits = !has.empty();
  if (fits && !m.series.empty())
    fits = has.size() >= series.size() && std::equal(series.begin(), series.end(), has.begin());
  if (fits && !m.lowest.empty()) fits = !(has < lowest);
  if (fits) return {};
  return Text("Version %1 may only be installed over %2; the modem runs %3."_t)
      .arg(m.version)
      .arg(limit)
      .arg(now);
}
