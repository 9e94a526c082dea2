#include "platform/qt/QtPlatform.h"

#include "platform/qt/CurlFtpClient.h"
#include "platform/qt/QtChildProcess.h"
#ifdef KOVA_RECORDS
#include "platform/qt/PqRecordsDatabase.h"
#endif

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
