#include "sim/Harness.h"

#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::random_device rd;
  for (int i = 0; i < 100; ++i) {
    // A blank and a letter beyond ASCII, as in many a user's home: every
    // path the tool builds, quotes and sends goes through them.
#ifdef _WIN32  // no such letter: a narrow name goes in as ANSI and comes back as UTF-8
    auto p = fs::temp_directory_path() / ("kova test " + std::to_string(rd()));
#else
    auto p = fs::temp_directory_path() / ("kova test \xC3\xB6-" + std::to_string(rd()));
#endif
    if (fs::create_directory(p)) {
      path_ = p;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir() {
  std::error_code ec;
  // Read-only files in tests must not keep the directory alive.
  for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::end(it);
       it.increment(ec))
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

void TempDir::write(const std::string& relative, const std::string& content) const {
  auto p = path_ / relative;
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << content;
}

bool TempDir::exists(const std::string& relative) const { return fs::exists(path_ / relative); }

std::string TempDir::read(const std::string& relative) const {
  std::ifstream in(path_ / relative, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

Harness::Harness() {
  settings.initialAddress = kModem;
  settings.workingDirectory = home.str();
  settings.uploadJournal = config.str() + "/uploads.jsonl";
  home.write("kova_5_2_0_13.bin", "KOVA-IMAGE 5.2.0.13\nimage bytes");
  home.write("chk_5_2_0_13.txt", "checksum 5.2.0.13");
  platform.network.listen(kModem, settings.zingPort, zing);
  platform.network.listen(kModem, settings.ftpPort, ftpPort);
  platform.ftp.localBase = home.str();
}

MainWindow& Harness::load() {
  form = std::make_unique<MainWindow>(platform, settings);
  form->sbUpgrade.changed.add([this] {
    if (statuses.empty() || statuses.back() != form->sbUpgrade.text())
      statuses.push_back(form->sbUpgrade.text());
  });
  form->start();
  return *form;
}

std::vector<std::string> Harness::boxTexts() {
  std::vector<std::string> out;
  for (auto& b : platform.recordedUi().boxes) out.push_back(b.text);
  return out;
}

bool Harness::sawStatus(const std::string& text) const {
  for (auto& s : statuses)
    if (s == text) return true;
  return false;
}
