// The program: the main window on the Qt platform.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "app/Settings.h"
#include "app/frmMain.h"
#include "platform/qt/QtPlatform.h"

int main(int argc, char** argv) {
  std::string error;
  auto settings = SettingsFromEnvironment([](const char* n) { return std::getenv(n); }, error);
  if (!settings) {
    std::cerr << "kova-upgrader: " << error << "\n";
    return 2;
  }
  settings->commandLine = JoinArguments(argc, argv);
  std::error_code ec;
  settings->workingDirectory = std::filesystem::current_path(ec).string();

  QApplication app(argc, argv);
  QApplication::setApplicationName("KOVA Upgrader");
  int rc = 0;
  {
    QtPlatform platform;
    frmMain form(platform, *settings);
    form.Form_Load();
    if (!form.closed()) rc = QApplication::exec();
    platform.qtUi().releaseMainWindow();
  }
  return rc;
}
