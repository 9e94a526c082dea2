// Times the line's report over a generated history: the file read, the
// units found and counted, in each form.
//   reportbench DIR UNITS RUNS  ->  "<median seconds> <units counted>"
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/LineReport.h"
#include "core/UpgradeHistory.h"

namespace {
// A line of 4 stations of 2 interfaces each, a unit every 30 s, one in 12
// failed, one in 50 skipped, one in 40 a modem seen before.
void Generate(const std::string& path, int units) {
  std::string text;
  for (int i = 0; i < units; ++i) {
    HistoryEntry e;
    const int at = 1765173600 + i * 30 / 8;  // 2025-12-08T06:00:00Z on
    char time[32];
    std::snprintf(time, sizeof time, "2025-12-%02dT%02d:%02d:%02dZ", 8 + at / 86400 % 20,
                  at / 3600 % 24, at / 60 % 60, at % 60);
    char mac[32];
    const int modem = i % 40 == 39 ? i - 7 : i;
    std::snprintf(mac, sizeof mac, "02:00:%02x:%02x:%02x:%02x", modem >> 24 & 255,
                  modem >> 16 & 255, modem >> 8 & 255, modem & 255);
    e.time = time;
    e.modemAddress = "192.168.128.100";
    e.modemMac = mac;
    e.station = "station-" + std::to_string(i % 4);
    e.interfaceName = "eth" + std::to_string(i % 8 / 4);
    e.operation = "upgrade";
    e.versionBefore = "5.2.0.12";
    e.attempt = "a" + std::to_string(i);
    if (i % 50 == 7) {
      e.outcome = "skipped";
      e.attempt.clear();
      text += HistoryLine(e) + "\n";
      continue;
    }
    e.imageName = "kova_5_2_0_13.bin";
    e.imageSize = 8 << 20;
    e.imageSha256 = std::string(64, 'a');
    e.outcome = "began";
    text += HistoryLine(e) + "\n";
    const bool failed = i % 12 == 5;
    e.outcome = failed ? "failed" : "done";
    e.reasonCode = failed ? "ftp-timeout" : "";
    e.versionAfter = failed ? "5.2.0.12" : "5.2.0.13";
    e.durationSeconds = 90 + i % 17;
    text += HistoryLine(e) + "\n";
  }
  std::FILE* f = std::fopen(path.c_str(), "w");
  if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fclose(f) != 0) {
    std::fprintf(stderr, "reportbench: cannot write %s\n", path.c_str());
    std::exit(2);
  }
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: reportbench DIR UNITS RUNS\n");
    return 2;
  }
  const std::string path = std::string(argv[1]) + "/history.jsonl";
  Generate(path, std::atoi(argv[2]));
  std::vector<double> seconds;
  std::size_t bytes = 0;
  for (int i = 0, runs = std::atoi(argv[3]); i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const HistoryRead read = ReadHistory(path);
    for (auto format : {LineReportOptions::Format::Text, LineReportOptions::Format::Csv,
                        LineReportOptions::Format::Json}) {
      LineReportOptions options;
      options.format = format;
      bytes += LineReport(read.entries, options).size();
    }
    seconds.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / 3);
  }
  std::remove(path.c_str());
  std::sort(seconds.begin(), seconds.end());
  std::printf("%.4f %zu\n", seconds[seconds.size() / 2], bytes);
  return 0;
}
