#include "operations/AddressChange.h"

AddressChange::AddressChange(const Context& context,
                             std::function<std::optional<std::string>()> choose,
                             std::function<void(const std::string&)> apply)
    : Operation(context), choose_(std::move(choose)), apply_(std::move(apply)) {}

void AddressChange::begin() {
  setPhase(Phase::Address);
  const std::optional<std::string> address = choose_();
  if (!address) {
    nothingDone();
  } else {
    apply_(*address);
  }
  finish(OperationResult::Outcome::Done);
}
