#include "app/ProgressDetail.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
std::string Mebibytes(double bytes) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f", bytes / (1 << 20));
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

Text TransferText(const Operation::Transfer& t, std::chrono::milliseconds now) {
  Text text = t.total >= 0 ? Text("%1: %2 of %3 MiB"_t) : Text("%1: %2 MiB"_t);
  text.arg(ShownName(t.local)).arg(Mebibytes(static_cast<double>(t.done)));
  if (t.total >= 0) text.arg(Mebibytes(static_cast<double>(t.total)));
  const TransferFigures f = Figures(t, now);
  if (f.secondsWithoutData)
    return Text("%1, no data for %2 s"_t).arg(text).arg(*f.secondsWithoutData);
  if (f.bytesPerSecond > 0)
    text = Text("%1, %2 MiB/s"_t).arg(text).arg(Mebibytes(f.bytesPerSecond));
  if (f.secondsLeft && t.done < t.total)  // nothing left to tell once whole
    text = Text("%1, %2 s left"_t).arg(text).arg(static_cast<long long>(std::ceil(*f.secondsLeft)));
  return text;
}

Text ProgressDetail(const Operation::Progress& p, std::chrono::milliseconds now) {
  if (p.transfer) return TransferText(*p.transfer, now);
  if (p.requeryAt)
    return Text("Modem restarting: its version is read again in %1 s."_t)
        .arg(std::max(0L, Seconds(*p.requeryAt - now)));
  if (p.phase == Phase::Reflash)
    return Text("PIC reflash running for %1 s."_t).arg((now - p.phaseStarted).count() / 1000);
  return {};
}
