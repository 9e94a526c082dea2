// The program: the main window on the Qt platform, or batch mode.
#include <poll.h>
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <optional>

#include "app/BatchMode.h"
#include "app/BatchReport.h"
#include "app/MainWindow.h"
#include "app/Records.h"
#include "app/RecordsOutbox.h"
#include "app/Settings.h"
#include "app/StationSupervisor.h"
#include "app/Workbench.h"
#include "core/TextUtilities.h"
#include "firmware/ImageStore.h"
#include "platform/qt/QtLanguage.h"
#include "platform/qt/QtPlatform.h"
#ifdef KOVA_RECORDS
#include "platform/qt/PqRecordsDatabase.h"
#endif

namespace {
std::atomic<int> interrupts{0};
extern "C" void OnInterrupt(int) { interrupts.fetch_add(1); }
// A closed terminal or a kill ends the run as a second Ctrl+C does.
extern "C" void OnTerminate(int) { interrupts.fetch_add(2); }

std::string Timestamp() {
  std::time_t t = std::time(nullptr);
  char buf[16];
  std::strftime(buf, sizeof buf, "%H:%M:%S", std::localtime(&t));
  return buf;
}

// UTC, ISO 8601 with milliseconds, for the JSON stream.
std::string UtcTimestamp() { return UtcIsoTime(std::chrono::system_clock::now(), true); }

// Whether the operator pressed Enter, without waiting. A closed standard
// input never counts.
bool EnterPressed() {
  static bool closed = false;
  if (closed) return false;
  pollfd in{0, POLLIN, 0};
  if (poll(&in, 1, 0) <= 0 || !(in.revents & (POLLIN | POLLHUP))) return false;
  char buf[256];
  const ssize_t n = read(0, buf, sizeof buf);
  if (n <= 0) {
    closed = true;
    return false;
  }
  return std::memchr(buf, '\n', static_cast<std::size_t>(n)) != nullptr;
}

// A refused command line: the reason on standard error, with the usage when
// it helps, and the result line a script reads when it asked for JSON.
int Refused(const std::vector<std::string>& args, const std::string& reason, bool usage = true) {
  std::cerr << "kova-upgrader: " << reason << "\n";
  if (usage) std::cerr << "\n" << BatchUsage();
  const std::string line = UsageFailureLine(args, reason);
  if (!line.empty()) std::cout << line << "\n";
  return 2;
}

int RunBatchMode(int argc, char** argv, Settings settings, const std::vector<std::string>& args,
                 bool homeGiven) {
  std::string error;
  auto cl = ParseBatchCommandLine(args, error);
  if (!cl) return Refused(args, error);
  if (cl->help) {
    std::cout << BatchUsage();
    return 0;
  }
  if (cl->version) {
    std::cout << BatchVersionText();
    return 0;
  }
  QCoreApplication app(argc, argv);
  settings.commandLine = cl->options.factory ? "/Factory" : "";
  ConsoleUi ui(std::cout, std::cerr, cl->options, cl->options.json ? UtcTimestamp : Timestamp);
  ui.setTerminal(isatty(STDOUT_FILENO) == 1);  // a transfer line redrawn in place
  QtPlatform platform(&ui);
  if (cl->options.station && cl->options.interfaces.size() > 1) {
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnTerminate);
    std::signal(SIGHUP, OnTerminate);
    // The stations start in this working directory: --home goes along.
    auto arguments = cl->arguments;
    if (homeGiven) arguments.insert(arguments.begin(), {"--home", settings.workingDirectory});
    for (const auto& file : settings.trustedKeyFiles)
      arguments.insert(arguments.begin(), {"--trusted-key", file});
    if (!settings.recordsUrl.empty())
      arguments.insert(arguments.begin(), {"--records", settings.recordsUrl});
    const std::string backup = Workbench::HomeDirectory(settings.workingDirectory) + "Backup";
    const std::string history = ImageStore::HistoryPath(backup);
    const std::string recordsQueue =
        settings.recordsUrl.empty()
            ? ""
            : RecordsOutbox::QueuePath(backup, platform.process().processStamp());
    return RunStations(platform, ui, cl->options, arguments,
                       QCoreApplication::applicationFilePath().toStdString(), interrupts, history,
                       settings.initialAddress, recordsQueue);
  }
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnTerminate);
  std::signal(SIGHUP, OnTerminate);
  return RunBatch(platform, settings, ui, cl->options, interrupts, [](int code) {
    std::cout.flush();
    std::cerr.flush();
    std::_Exit(code);
  }, EnterPressed);
}
}  // namespace

int main(int argc, char** argv) {
  std::string error;
  std::vector<std::string> args(argv + 1, argv + argc);
  auto settings = SettingsFromEnvironment([](const char* n) { return std::getenv(n); }, error);
  if (!settings) return Refused(args, error, false);
  std::error_code ec;
  settings->workingDirectory = std::filesystem::current_path(ec).string();
  std::optional<std::string> home;
  const std::vector<std::string> given = args;
  if (!TakeHomeOption(args, home, error)) return Refused(given, error);
  if (!TakeTrustedKeyOptions(args, settings->trustedKeyFiles, error)) return Refused(given, error);
  if (!TakeRecordsOption(args, settings->recordsUrl, error)) return Refused(given, error);
  std::string language;
  if (!TakeLanguageOption(args, language, error)) return Refused(given, error);
  if (!settings->recordsUrl.empty()) {
#ifdef KOVA_RECORDS
    const std::string problem = PqRecordsDatabase::UrlProblem(settings->recordsUrl);
#else
    const std::string problem = "this build of the program has no records database";
#endif
    if (!problem.empty())
      return Refused(given, "--records: " + HidePassword(problem, settings->recordsUrl));
  }
  for (auto& file : settings->trustedKeyFiles)
    file = std::filesystem::absolute(file, ec).string();
  if (home) {
    if (!std::filesystem::is_directory(*home, ec))
      return Refused(given, "--home " + VisibleText(*home) + ": there is no such folder.", false);
    settings->workingDirectory = std::filesystem::absolute(*home, ec).string();
  }

  // Options of batch mode start with "--"; the window's switches keep
  // their exact meaning.
  for (const auto& a : args)
    if (a.rfind("--", 0) == 0 || a == "-h") return RunBatchMode(argc, argv, *settings, args, home.has_value());

  settings->commandLine = JoinArguments(args);
  settings->askForHome = !home;
#if defined(__unix__) && !defined(__APPLE__)
  // Without a display the toolkit would abort with words of its own.
  auto unset = [](const char* name) { return !std::getenv(name) || !*std::getenv(name); };
  if (unset("QT_QPA_PLATFORM") && unset("DISPLAY") && unset("WAYLAND_DISPLAY")) {
    std::cerr << "kova-upgrader: there is no display to open the window on.\n"
                 "Without a window: kova-upgrader --batch OPERATION (see kova-upgrader --help).\n";
    return 2;
  }
#endif
  QApplication app(argc, argv);
  QApplication::setApplicationName("KOVA Upgrader");
  SetDesktopIdentity();
  if (InstallLanguage(language).empty()) {
    std::cerr << "kova-upgrader: --lang " << VisibleText(language)
              << ": the window has no catalogue for this language (" << LanguagesOffered()
              << ").\n";
    return 2;
  }
  int rc = 0;
  {
    QtPlatform platform;
    MainWindow form(platform, *settings);
    form.start();
    if (!form.closed()) rc = QApplication::exec();
    platform.qtUi().releaseMainWindow();
  }
  return rc;
}
