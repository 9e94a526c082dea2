#include "platform/qt/QtPlatform.h"

#include "platform/qt/CurlFtpClient.h"
#include "platform/qt/QtChildProcess.h"

std::unique_ptr<FtpClient> QtPlatform::createFtpClient(int port) {
  return std::make_unique<CurlFtpClient>(port);
}

std::unique_ptr<ChildProcess> QtPlatform::createChildProcess() {
  return std::make_unique<QtChildProcess>();
}
