// The options the window and batch mode share, taken out of the arguments
// before either reads them.
#include "app/BatchCommandLine.h"

namespace {
// Every "OPTION VALUE" and "OPTION=VALUE" out of args, in order; a value that
// is missing (the end, or another option after it) is taken as "".
std::vector<std::string> TakeValues(std::vector<std::string>& args, const std::string& option) {
  std::vector<std::string> rest, values;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == option) {
      values.push_back(i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0 ? args[++i] : "");
    } else if (args[i].rfind(option + "=", 0) == 0) {
      values.push_back(args[i].substr(option.size() + 1));
    } else {
      rest.push_back(args[i]);
    }
  }
  args = std::move(rest);
  return values;
}
}  // namespace

bool TakeTrustedKeyOptions(std::vector<std::string>& args, std::vector<std::string>& files,
                           std::string& error) {
  for (const std::string& value : TakeValues(args, "--trusted-key")) {
    if (value.empty()) {
      error = "--trusted-key needs a key file";
      return false;
    }
    files.push_back(value);
  }
  return true;
}

bool TakeHomeOption(std::vector<std::string>& args, std::optional<std::string>& home,
                    std::string& error) {
  for (const std::string& value : TakeValues(args, "--home")) {
    if (value.empty()) {
      error = "--home needs a folder";
      return false;
    }
    if (home) {
      error = "--home is given twice";
      return false;
    }
    home = value;
  }
  return true;
}

bool TakeRecordsOption(std::vector<std::string>& args, std::string& url, std::string& error) {
  bool given = false;
  for (const std::string& value : TakeValues(args, "--records")) {
    if (given) {
      error = "--records is given twice";
      return false;
    }
    given = true;
    const bool uri = value.rfind("postgresql://", 0) == 0 || value.rfind("postgres://", 0) == 0;
    if (!uri && value.find('=') == std::string::npos) {
      error = value.empty() ? "--records needs the URL of a PostgreSQL database"
                            : "--records needs a postgresql:// or postgres:// URL, or "
                              "key=value pairs (host=... dbname=...)";
      return false;
    }
    url = value;
  }
  return true;
}

bool TakeLanguageOption(std::vector<std::string>& args, std::string& language, std::string& error) {
  bool given = false;
  for (const std::string& value : TakeValues(args, "--lang")) {
    if (given) {
      error = "--lang is given twice";
      return false;
    }
    given = true;
    if (value.empty()) {
      error = "--lang needs a language code (fr, es, pt_BR, ru, ar or en)";
      return false;
    }
    language = value;
  }
  return true;
}
