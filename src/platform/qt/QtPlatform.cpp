#include "platform/qt/QtPlatform.h"

#include <QApplication>
#include <QIcon>

#include "platform/qt/CurlFtpClient.h"
#include "platform/qt/QtChildProcess.h"
#ifdef KOVA_RECORDS
#include "platform/qt/PqRecordsDatabase.h"
#endif

void SetDesktopIdentity() {
  // Built in, so that a program run from its build folder has it too.
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/kova-upgrader.svg")));
  // Wayland's app id; on X11 the class of WM_CLASS is the application name,
  // which the desktop entry's StartupWMClass repeats.
  QGuiApplication::setDesktopFileName(QStringLiteral("com.kova.upgrader"));
}

std::unique_ptr<FtpClient> QtPlatform::createFtpClient(int port) {
  return std::make_unique<CurlFtpClient>(port);
}

std::unique_ptr<ChildProcess> QtPlatform::createChildProcess() {
  return std::make_unique<QtChildProcess>();
}

#ifdef KOVA_RECORDS
std::unique_ptr<RecordsDatabase> QtPlatform::createRecordsDatabase(const std::string& url) {
  return std::make_unique<PqRecordsDatabase>(url);
}
#endif
