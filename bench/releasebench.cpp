// Times the check of a signed release: the manifest read and its minisign
// signature verified, then every part hashed and compared.
//   releasebench HOME KEY.pub VERSION RUNS  ->  "<median seconds> <state>"
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "firmware/ReleaseCheck.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: releasebench HOME KEY.pub VERSION RUNS\n");
    return 2;
  }
  Text error;
  auto trust = LoadTrustedKeys({}, {argv[2]}, error);
  if (!trust) {
    std::fprintf(stderr, "releasebench: %s\n", error.english().c_str());
    return 2;
  }
  const std::string home = std::string(argv[1]) + "/";
  const auto version = ModemVersion::FromDisplayForm(argv[3]);
  std::vector<double> seconds;
  ReleaseVerdict verdict;
  for (int i = 0, runs = std::atoi(argv[4]); i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    verdict = CheckRelease(*trust, home, version, "");
    seconds.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(seconds.begin(), seconds.end());
  std::printf("%.4f %s\n", seconds[seconds.size() / 2],
              verdict.state == ReleaseVerdict::State::Signed ? "signed" : verdict.problem.english().c_str());
  return 0;
}
