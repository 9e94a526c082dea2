#include "app/BatchCommandLine.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iterator>
#include <string_view>

#include "app/LineReport.h"
#include "core/TextUtilities.h"

namespace {

// 192.0.2.1, or an IPv6 address (hex digits and colons, an IPv4 tail allowed).
bool IsDnsServerAddress(std::string_view text) {
  if (text.find(':') != std::string_view::npos) {
    if (text.size() > 45) return false;
    for (char c : text)
      if (!std::isxdigit(static_cast<unsigned char>(c)) && c != ':' && c != '.') return false;
    return true;
  }
  int parts = 0;
  std::size_t at = 0;
  while (at <= text.size()) {
    const std::size_t dot = std::min(text.find('.', at), text.size());
    const std::string_view part = text.substr(at, dot - at);
    if (part.empty() || part.size() > 3) return false;
    int value = 0;
    for (char c : part) {
      if (c < '0' || c > '9') return false;
      value = value * 10 + (c - '0');
    }
    if (value > 255 || ++parts > 4) return false;
    at = dot + 1;
  }
  return parts == 4;
}

using Op = BatchOptions::Operation;

// "eth1" or "eth1,eth2": names the kernel would take (at most 15
// characters, no blank, '/' or control character), each once.
bool ParseInterfaces(const std::string& list, std::vector<std::string>& names,
                     std::string& error) {
  std::vector<std::string> parsed;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = list.find(',', start);
    std::string name = list.substr(start, comma == std::string::npos ? std::string::npos
                                                                      : comma - start);
    bool plain = !name.empty() && name.size() <= 15 && name != "." && name != ".." &&
                 name[0] != '-';
    for (unsigned char c : name) plain = plain && c > ' ' && c != '/' && c < 0x7f;
    if (!plain) {
      error = "--interface: \"" + VisibleText(name) + "\" is no interface name";
      return false;
    }
    for (const auto& earlier : parsed)
      if (earlier == name) {
        error = "--interface: " + name + " is named twice";
        return false;
      }
    parsed.push_back(std::move(name));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  names = std::move(parsed);
  return true;
}
// A whole number from min to max, and nothing else.
bool WholeNumber(const std::string& text, long min, long max, int& value) {
  if (text.empty() || text.size() > 9) return false;
  long n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  if (n < min || n > max) return false;
  value = static_cast<int>(n);
  return true;
}

// The options of the report, the line stop and the unit hook, taken out of
// args ("--since T" or "--since=T"); false and error for a bad one.
bool TakeLineOptions(std::vector<std::string>& args, BatchOptions& o, std::string& error) {
  constexpr int kMostUnits = 100000;
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--csv") {
      o.csv = true;
      continue;
    }
    std::string name = a, value;
    bool hasValue = false;
    if (const auto equals = a.find('='); a.rfind("--", 0) == 0 && equals != std::string::npos) {
      name = a.substr(0, equals);
      value = a.substr(equals + 1);
      hasValue = true;
    }
    static const char* const kWithValue[] = {"--since", "--until", "--stop-after-failures",
                                             "--max-failure-rate", "--on-unit",
                                             "--on-unit-timeout"};
    if (std::find_if(std::begin(kWithValue), std::end(kWithValue),
                     [&name](const char* known) { return name == known; }) ==
        std::end(kWithValue)) {
      rest.push_back(a);
      continue;
    }
    if (!hasValue && i + 1 < args.size()) {
      value = args[++i];
      hasValue = true;
    }
    if (!hasValue || value.empty()) {
      error = name + " needs a value";
      return false;
    }
    if (name == "--since" || name == "--until") {
      auto time = ReportTime(value, name == "--until");
      if (!time) {
        error = name + ": \"" + VisibleText(value) +
                "\" is no UTC time (2026-12-08T06:00:00Z) or date (2026-12-08)";
        return false;
      }
      (name == "--since" ? o.since : o.until) = *time;
    } else if (name == "--stop-after-failures") {
      if (!WholeNumber(value, 1, kMostUnits, o.stopAfterFailures)) {
        error = "--stop-after-failures needs a number of units from 1 to 100000";
        return false;
      }
    } else if (name == "--max-failure-rate") {
      const auto slash = value.find('/');
      if (slash == std::string::npos ||
          !WholeNumber(value.substr(0, slash), 1, kMostUnits, o.maxFailures) ||
          !WholeNumber(value.substr(slash + 1), 1, kMostUnits, o.ofLastUnits) ||
          o.maxFailures > o.ofLastUnits) {
        error = "--max-failure-rate needs R/N: R failures among the last N units, 1 <= R <= N "
                "<= 100000";
        return false;
      }
    } else if (name == "--on-unit") {
      o.onUnit = value;
    } else if (!WholeNumber(value, 1, 3600, o.onUnitTimeoutSeconds)) {
      error = "--on-unit-timeout needs a number of seconds from 1 to 3600";
      return false;
    }
  }
  args = std::move(rest);
  return true;
}

// What the options above go with.
bool CheckLineOptions(const std::vector<std::string>& args, const BatchOptions& o,
                      std::string& error) {
  auto given = [&args](const std::string& name) {
    return std::any_of(args.begin(), args.end(), [&name](const std::string& a) {
      return a == name || a.rfind(name + "=", 0) == 0;
    });
  };
  const bool report = o.operation == Op::Report;
  for (const char* option : {"--since", "--until", "--csv"})
    if (given(option) && !report) {
      error = std::string(option) + " goes with report";
      return false;
    }
  if (report && o.csv && o.json) {
    error = "--csv and --json: choose one";
    return false;
  }
  if (!o.since.empty() && !o.until.empty() && o.since > o.until) {
    error = "--since " + o.since + " comes after --until " + o.until;
    return false;
  }
  for (const char* option :
       {"--stop-after-failures", "--max-failure-rate", "--on-unit", "--on-unit-timeout"})
    if (given(option) && !o.station) {
      error = std::string(option) + " goes with --station upgrade";
      return false;
    }
  if (given("--on-unit-timeout") && o.onUnit.empty()) {
    error = "--on-unit-timeout goes with --on-unit";
    return false;
  }
  return true;
}
}  // namespace

std::string BatchVersionText() {
  return "KOVA Satellite IP Modem Upgrader, Version 2.6 October 15, 2006\n";
}

std::optional<BatchCommandLine> ParseBatchCommandLine(const std::vector<std::string>& args,
                                                      std::string& error) {
  BatchCommandLine cl;
  cl.arguments = args;
  std::vector<std::string> rest = args;
  if (!TakeLineOptions(rest, cl.options, error)) return std::nullopt;
  std::vector<std::string> words;
  bool waitBackGiven = false;
  bool interfaceGiven = false;
  for (const auto& a : rest) {
    if (interfaceGiven && cl.options.interfaces.empty()) {
      if (!ParseInterfaces(a, cl.options.interfaces, error)) return std::nullopt;
      continue;
    }
    if (waitBackGiven && cl.options.waitBackSeconds == 0) {
      // The value of --wait-back: whole seconds, at most a day.
      char* end = nullptr;
      long seconds = a.empty() || a[0] == '-' ? 0 : std::strtol(a.c_str(), &end, 10);
      if (!end || *end || seconds < 1 || seconds > 86400) {
        error = "--wait-back needs a number of seconds from 1 to 86400";
        return std::nullopt;
      }
      cl.options.waitBackSeconds = static_cast<int>(seconds);
      continue;
    }
    if (a == "--batch") cl.batch = true;
    else if (a == "--help" || a == "-h") cl.help = true;
    else if (a == "--version") cl.version = true;
    else if (a == "--factory") cl.options.factory = true;
    else if (a == "--no-auto-pic") cl.options.noAutoPic = true;
    else if (a == "--reinstall") cl.options.reinstall = true;
    else if (a == "--yes") cl.options.yes = true;
    else if (a == "--json") cl.options.json = true;
    else if (a == "--station") cl.options.station = true;
    else if (a == "--wait-back") {
      waitBackGiven = true;
    } else if (a == "--interface") {
      if (interfaceGiven) {
        error = "--interface given twice: name every interface in one list, A,B,C";
        return std::nullopt;
      }
      interfaceGiven = true;
    } else if (a.rfind("--", 0) == 0) {
      error = "unknown option " + a;
      return std::nullopt;
    } else {
      words.push_back(a);
    }
  }
  if (cl.help || cl.version) return cl;
  if (waitBackGiven && cl.options.waitBackSeconds == 0) {
    error = "--wait-back needs a number of seconds from 1 to 86400";
    return std::nullopt;
  }
  if (interfaceGiven && cl.options.interfaces.empty()) {
    error = "--interface needs the name of a network interface";
    return std::nullopt;
  }
  if (!cl.batch) {
    error = "the options need --batch";
    return std::nullopt;
  }
  if (words.empty()) {
    error = "no operation given";
    return std::nullopt;
  }
  const std::string& op = words[0];
  std::size_t want = 1;
  auto& o = cl.options;
  const std::optional<OperationKind> kind = OperationKindNamed(op);
  if (!kind || !InBatch(*kind)) {
    error = "unknown operation " + op;
    return std::nullopt;
  }
  o.operation = *kind;
  if (o.operation == Op::Verify) {
    if (words.size() >= 2) {
      // Typed as in file names or with dots.
      o.verifyVersion = ModemVersion::FromDisplayForm(words[1]);
      want = 2;
    }
  } else if (o.operation == Op::Restore) {
    want = 2;
    if (words.size() < 2) {
      error = "restore needs the version to restore, for example 5.2.0.12";
      return std::nullopt;
    }
    o.restoreVersion = ModemVersion::FromDisplayForm(words[1]);
  } else if (o.operation == Op::Dns) {
    if (words.size() == 3) {
      // Checked here: a typing error ends the run before the modem is touched.
      for (const std::string& address : {words[1], words[2]}) {
        if (!IsDnsServerAddress(address)) {
          error = "dns: \"" + VisibleText(address) + "\" is no IPv4 or IPv6 address";
          return std::nullopt;
        }
      }
      o.dns = std::make_pair(words[1], words[2]);
      want = 3;
    } else if (words.size() == 2) {
      error = "dns needs both addresses, or none to read them";
      return std::nullopt;
    }
  }
  if (words.size() > want) {
    error = "unexpected argument " + words[want];
    return std::nullopt;
  }
  const bool restarts = o.operation == Op::Upgrade || o.operation == Op::Restore ||
                        o.operation == Op::Pic || o.operation == Op::Reset;
  if (o.waitBackSeconds > 0 && !restarts) {
    error = "--wait-back goes with upgrade, restore, pic or reset";
    return std::nullopt;
  }
  if (o.reinstall && o.operation != Op::Upgrade) {
    error = "--reinstall goes with upgrade";
    return std::nullopt;
  }
  if (o.station && o.operation != Op::Upgrade) {
    error = "--station goes with upgrade";
    return std::nullopt;
  }
  if (o.interfaces.size() > 1 && !o.station) {
    error = "several interfaces go with --station upgrade";
    return std::nullopt;
  }
  if (!CheckLineOptions(args, o, error)) return std::nullopt;
  return cl;
}
