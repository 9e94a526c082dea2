#include "app/ProgressDetail.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
std::string Mebibytes(long long bytes) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f", static_cast<double>(bytes) / (1 << 20));
  return buf;
}

long Seconds(std::chrono::milliseconds ms) {
  return static_cast<long>(std::ceil(static_cast<double>(ms.count()) / 1000.0));
}
}  // namespace

TransferFigures Figures(const Operation::Transfer& t, std::chrono::milliseconds now) {
  TransferFigures f;
  const bool whole = t.total >= 0 && t.done >= t.total;
  if (!whole && now - std::max(t.lastMoved, t.started) >= kStallShownAfter) {
    f.secondsWithoutData =
        static_cast<long>((now - std::max(t.lastMoved, t.started)).count() / 1000);
    return f;
  }
  const double seconds = static_cast<double>((now - t.started).count()) / 1000.0;
  if (seconds <= 0 || t.done <= 0) return f;
  f.bytesPerSecond = static_cast<double>(t.done) / seconds;
  if (t.total >= t.done) f.secondsLeft = static_cast<double>(t.total - t.done) / f.bytesPerSecond;
  return f;
}

std::string ShownName(const std::string& local) {
  std::string name = local.substr(local.find_last_of("/\\") + 1);
  // ".<name>.kova-<stamp>-<n>.pending"
  const auto suffix = name.rfind(".pending");
  if (name.size() > 1 && name[0] == '.' && suffix != std::string::npos &&
      suffix + 8 == name.size()) {
    const auto serial = name.rfind('.', suffix - 1);
    if (serial != std::string::npos && serial > 1) return name.substr(1, serial - 1);
  }
  return name;
}

std::string TransferText(const Operation::Transfer& t, std::chrono::milliseconds now) {
  std::string text = ShownName(t.local) + ": " + Mebibytes(t.done);
  if (t.total >= 0) text += " of " + Mebibytes(t.total);
  text += " MiB";
  const TransferFigures f = Figures(t, now);
  if (f.secondsWithoutData)
    return text + ", no data for " + std::to_string(*f.secondsWithoutData) + " s";
  if (f.bytesPerSecond > 0) {
    char rate[32];
    std::snprintf(rate, sizeof rate, ", %.1f MiB/s", f.bytesPerSecond / (1 << 20));
    text += rate;
  }
  if (f.secondsLeft && t.done < t.total)  // nothing left to tell once whole
    text += ", " + std::to_string(static_cast<long>(std::ceil(*f.secondsLeft))) + " s left";
  return text;
}

std::string ProgressDetail(const Operation::Progress& p, std::chrono::milliseconds now) {
  if (p.transfer) return TransferText(*p.transfer, now);
  if (p.requeryAt)
    return "Modem restarting: its version is read again in " +
           std::to_string(std::max(0L, Seconds(*p.requeryAt - now))) + " s.";
  if (p.phase == Phase::Reflash)
    return "PIC reflash running for " + std::to_string((now - p.phaseStarted).count() / 1000) +
           " s.";
  return {};
}
