#include "platform/qt/QtResolver.h"

#include <QHostAddress>
#include <QHostInfo>

std::optional<std::vector<Resolver::Address>> QtResolver::resolveIPv4(const std::string& name) {
  QHostInfo info = QHostInfo::fromName(QString::fromStdString(name));
  if (info.error() != QHostInfo::NoError) return std::nullopt;
  std::vector<Address> out;
  for (const QHostAddress& a : info.addresses()) {
    bool ok = false;
    quint32 v = a.toIPv4Address(&ok);
    if (!ok) continue;
    out.push_back({static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
                   static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)});
  }
  if (out.empty()) return std::nullopt;
  return out;
}

std::string QtResolver::localHostName() { return QHostInfo::localHostName().toStdString(); }
