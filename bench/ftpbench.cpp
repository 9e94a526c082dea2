// Drives the real FTP component on the Qt event loop through a list of
// command texts, as the upgrade chain does, and reports on stdout:
//   cmd <seconds> <state> <code>   one line per command
//   total <seconds>                first execute() to the last outcome
//   tick <count> <median> <p99> <max>   lateness of a 10 ms timer, ms
//   maxrss <KiB>                   peak resident memory of the process
//   late <command> <seconds> <ms>  each tick 20 ms late or more
//   progress <count>               byte reports received (--progress, --detail)
//   same <yes|no>                  after each COMPARE, whether the files are the same
// --progress turns the byte reports on; --detail also shows each one as the
// window does, in a label under a progress bar (needs a Qt platform plugin,
// e.g. QT_QPA_PLATFORM=offscreen).
// Exit status 0 only when every command ended in ResponseCompleted (or
// Disconnected for CLOSE).
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <cstdio>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <vector>

#include "app/ProgressDetail.h"
#include "platform/qt/CurlFtpClient.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: ftpbench [--tick] [--progress | --detail] HOST PORT USER PASSWORD "
               "COMMAND...\n"
               "  COMMAND is a component command text, e.g. \"PUT /tmp/a.bin /a.bin\"\n");
  return 2;
}

double percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  size_t i = static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
  return v[std::min(i, v.size() - 1)];
}

}  // namespace

int main(int argc, char** argv) {
  int a = 1;
  bool tick = false, progress = false, detail = false;
  for (; a < argc; ++a) {
    const std::string flag = argv[a];
    if (flag == "--tick")
      tick = true;
    else if (flag == "--progress")
      progress = true;
    else if (flag == "--detail")
      progress = detail = true;
    else
      break;
  }
  // Widgets only where the label is shown: the other runs stay as they were.
  std::unique_ptr<QCoreApplication> app;
  if (detail)
    app = std::make_unique<QApplication>(argc, argv);
  else
    app = std::make_unique<QCoreApplication>(argc, argv);
  if (argc - a < 5) return usage();
  const std::string host = argv[a++];
  const int port = std::atoi(argv[a++]);
  const std::string user = argv[a++];
  const std::string password = argv[a++];
  std::vector<std::string> commands(argv + a, argv + argc);

  CurlFtpClient ftp(port, user, password, 65000);
  ftp.setRemoteHost(host);

  QElapsedTimer total, one;
  size_t next = 0;

  std::unique_ptr<QLabel> label;
  if (detail) {
    label = std::make_unique<QLabel>();
    label->resize(416, 20);
    label->show();
    // Painted once with text before the clock starts (fonts loaded), as the
    // window is long before a transfer.
    label->setText("kova_5_2_1_0.bin: 0.0 of 0.0 MiB, 0.0 MiB/s, 0 s left");
    label->repaint();
    QCoreApplication::processEvents();
  }
  long reports = 0;
  QElapsedTimer loopClock;
  loopClock.start();
  Operation::Transfer transfer;
  transfer.local = "kova_5_2_1_0.bin";
  size_t transferOf = commands.size();  // the command whose bytes these are
  if (progress)
    ftp.onProgress = [&](long long done, long long totalBytes) {
      ++reports;
      if (!label) return;
      const std::chrono::milliseconds now(loopClock.elapsed());
      if (transferOf != next) {
        transferOf = next;
        transfer.started = now;
      }
      transfer.done = done;
      transfer.total = totalBytes;
      label->setText(QString::fromStdString(TransferText(transfer, now).english()));
    };

  // The window's own timers: a 10 ms tick, and how late each one comes.
  std::vector<double> lateness;
  QElapsedTimer tickClock;
  QTimer ticker;
  ticker.setTimerType(Qt::PreciseTimer);
  ticker.setInterval(10);
  qint64 lastTick = 0;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    qint64 now = tickClock.nsecsElapsed();
    const double late = std::max(0.0, (now - lastTick) / 1e6 - 10.0);
    lateness.push_back(late);
    // Where the loop stalled: command number and time into it.
    if (late >= 20)
      std::printf("late %zu %.3f %.3f\n", next, one.nsecsElapsed() / 1e9, late);
    lastTick = now;
  });

  bool ok = true;
  std::function<void()> runNext = [&] {
    if (next == commands.size()) {
      QCoreApplication::quit();
      return;
    }
    one.start();
    try {
      ftp.execute(commands[next]);
    } catch (const PlatformError& e) {
      std::fprintf(stderr, "refused: %s: %s\n", commands[next].c_str(), e.what());
      ok = false;
      QCoreApplication::quit();
    }
  };
  ftp.onStateChanged = [&](int state) {
    const std::string& cmd = commands[next];
    const bool isClose = cmd.rfind("CLOSE", 0) == 0;
    const bool good = isClose ? state == FtpClient::Disconnected
                              : state == FtpClient::ResponseCompleted;
    std::printf("cmd %.6f %d %d\n", one.nsecsElapsed() / 1e9, state, ftp.responseCode());
    if (good && cmd.rfind("COMPARE", 0) == 0) std::printf("same %s\n", ftp.sameAsLocal() ? "yes" : "no");
    if (!good) {
      std::fprintf(stderr, "failed after %.3f s: %s: state %d code %d %s\n", one.nsecsElapsed() / 1e9, cmd.c_str(), state,
                   ftp.responseCode(), ftp.responseInfo().english().c_str());
      ok = false;
      QCoreApplication::quit();
      return;
    }
    ++next;
    runNext();
  };

  // In the tool the component is made at start-up, long before its first
  // command: its worker thread has started and made its libcurl handles.
  // Here the first command would otherwise pay for that.
  QTimer::singleShot(50, [&] {
    if (tick) {
      tickClock.start();
      lastTick = 0;
      ticker.start();
    }
    total.start();
    runNext();
  });
  QCoreApplication::exec();
  ticker.stop();

  std::printf("total %.6f\n", total.nsecsElapsed() / 1e9);
  if (progress) std::printf("progress %ld\n", reports);
  if (tick) {
    std::printf("tick %zu %.3f %.3f %.3f\n", lateness.size(), percentile(lateness, 0.5),
                percentile(lateness, 0.99),
                lateness.empty() ? 0.0 : *std::max_element(lateness.begin(), lateness.end()));
  }
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  std::printf("maxrss %ld\n", ru.ru_maxrss);
  return ok ? 0 : 1;
}
