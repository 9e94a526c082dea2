#include "platform/qt/QtPlatform.h"

#include "platform/qt/CurlFtpClient.h"

std::unique_ptr<FtpClient> QtPlatform::createFtpClient(int port) {
  return std::make_unique<CurlFtpClient>(port);
}
