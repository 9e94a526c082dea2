// How fast a station, or a line of them, works: units per hour and the
// median time of a unit.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

inline double UnitsPerHour(std::size_t units, std::chrono::milliseconds over) {
  const double hours = static_cast<double>(over.count()) / 3600000.0;
  return hours > 0 ? static_cast<double>(units) / hours : 0;
}

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// "12.0 units per hour, median 30.4 s per unit"
inline std::string PaceText(double unitsPerHour, double medianSeconds) {
  char text[96];
  std::snprintf(text, sizeof text, "%.1f units per hour, median %.1f s per unit", unitsPerHour,
                medianSeconds);
  return text;
}

// The warning for an interface whose strict reverse-path filter drops the
// modem's replies when the routing table expects them on another interface.
inline std::string StrictReversePathWarning(const std::string& name) {
  return name +
         " drops replies that the routing table expects on another interface (strict "
         "reverse-path filter). Set it to loose: sysctl -w net.ipv4.conf.all.rp_filter=2 "
         "net.ipv4.conf." +
         name + ".rp_filter=2";
}
