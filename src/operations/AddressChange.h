// Tools > Configure Modem Interface: the user points the tool at another
// modem address. Nothing is sent; the next operation uses the new address.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "operations/Operation.h"

class AddressChange : public Operation {
 public:
  // choose asks the user (nullopt: closed without a choice); apply puts the
  // chosen address in place.
  AddressChange(const Context& context, std::function<std::optional<std::string>()> choose,
                std::function<void(const std::string&)> apply);
  OperationKind kind() const override { return OperationKind::Address; }

 private:
  void begin() override;
  void stop() override {}

  std::function<std::optional<std::string>()> choose_;
  std::function<void(const std::string&)> apply_;
};
