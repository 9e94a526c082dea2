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
  std::string& error;
  bool fail(const std::string& why) {
    if (error.empty()) error = why;
    return false;
  }
  bool known(const JsonValue& object, std::initializer_list<const char*> keys,
             const std::string& where) {
    for (const auto& [key, value] : object.asObject()) {
      bool found = false;
      for (const char* k : keys) found = found || key == k;
      if (!found) return fail(where + " holds \"" + key + "\", which this tool does not know");
    }
    return true;
  }
  bool text(const JsonValue& object, const char* key, std::string& out, bool required,
            const std::string& where) {
    const JsonValue* v = object.get(key);
    if (!v) return !required || fail(where + " has no \"" + key + "\"");
    if (!v->isString()) return fail(where + "'s \"" + key + "\" is not a text");
    out = v->asString();
    return true;
  }
  std::optional<ReleaseManifest::Part> part(const JsonValue& root, const char* key,
                                            bool sizeRequired) {
    const JsonValue* v = root.get(key);
    const std::string where = std::string("\"") + key + "\"";
    if (!v->isObject()) return fail(where + " is not an object"), std::nullopt;
    ReleaseManifest::Part p;
    if (!known(*v, {"name", "size", "sha256"}, where) || !text(*v, "name", p.name, true, where) ||
        !text(*v, "sha256", p.sha256, true, where))
      return std::nullopt;
    if (!IsHexDigest(p.sha256))
      return fail(where + "'s \"sha256\" is not 64 lower-case hex digits"), std::nullopt;
    if (p.name.empty() || p.name.find_first_of("/\\") != std::string::npos)
      return fail(where + "'s \"name\" is not a file name"), std::nullopt;
    const JsonValue* size = v->get("size");
    if (size) {
      const double s = size->asNumber();
      if (!size->isNumber() || s < 0 || s > 9e15 || std::trunc(s) != s)
        return fail(where + "'s \"size\" is not a number of bytes"), std::nullopt;
      p.size = static_cast<long long>(s);
    } else if (sizeRequired) {
      return fail(where + " has no \"size\""), std::nullopt;
    }
    return p;
  }
};
}  // namespace

std::optional<ReleaseManifest> ParseReleaseManifest(std::string_view text, std::string& error) {
  error.clear();
  if (text.size() > kMaxManifestBytes) {
    error = "it is larger than " + std::to_string(kMaxManifestBytes) + " bytes";
    return std::nullopt;
  }
  auto root = ParseJson(text);
  if (!root || !root->isObject()) {
    error = "it is not a JSON object";
    return std::nullopt;
  }
  Reader r{error};
  ReleaseManifest m;
  const std::string top = "the manifest";
  if (!r.known(*root, {"version", "image", "checksum", "pic", "installs_over", "note"}, top) ||
      !r.text(*root, "version", m.version, true, top) || !r.text(*root, "note", m.note, false, top))
    return std::nullopt;
  if (!IsVersionText(m.version)) return r.fail("its \"version\" is not a version"), std::nullopt;
  if (!root->get("image")) return r.fail(top + " has no \"image\""), std::nullopt;
  auto image = r.part(*root, "image", true);
  if (!image) return std::nullopt;
  m.image = *image;
  for (auto [key, out] : {std::pair{"checksum", &m.checksum}, {"pic", &m.pic}}) {
    if (!root->get(key)) continue;
    *out = r.part(*root, key, false);
    if (!*out) return std::nullopt;
  }
  if (const JsonValue* over = root->get("installs_over")) {
    const std::string where = "\"installs_over\"";
    if (!over->isObject()) return r.fail(where + " is not an object"), std::nullopt;
    if (!r.known(*over, {"series", "lowest"}, where) ||
        !r.text(*over, "series", m.series, false, where) ||
        !r.text(*over, "lowest", m.lowest, false, where))
      return std::nullopt;
    if (!m.series.empty() && !IsVersionText(m.series))
      return r.fail(where + "'s \"series\" is not a version"), std::nullopt;
    if (!m.lowest.empty() && !IsVersionText(m.lowest))
      return r.fail(where + "'s \"lowest\" is not a version"), std::nullopt;
  }
  return m;
}

std::string CompatibilityProblem(const ReleaseManifest& m, const ModemVersion& running) {
  if (m.series.empty() && m.lowest.empty()) return {};
  const std::string now = running.display();
  const std::string what = "Version " + m.version + " may only be installed over ";
  const std::string limit =
      !m.series.empty() && !m.lowest.empty()
          ? "series " + m.series + ", version " + m.lowest + " or later"
          : !m.series.empty() ? "series " + m.series : "version " + m.lowest + " or later";
  if (!running.known())
    return what + limit + "; the modem's running version is not known.";
  const auto has = Groups(now), series = Groups(m.series), lowest = Groups(m.lowest);
  bool fits = !has.empty();
  if (fits && !m.series.empty())
    fits = has.size() >= series.size() && std::equal(series.begin(), series.end(), has.begin());
  if (fits && !m.lowest.empty()) fits = !(has < lowest);
  if (fits) return {};
  return what + limit + "; the modem runs " + now + ".";
}
