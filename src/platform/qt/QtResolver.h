// Host names on the real platform, looked up through Qt.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

class QtResolver : public Resolver {
 public:
  std::optional<std::vector<Address>> resolveIPv4(const std::string& hostName) override;
  std::string localHostName() override;
};
