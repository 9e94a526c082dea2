#include "core/OperationKind.h"

namespace {
using K = OperationKind;
constexpr OperationKindRow kOperationRows[] = {
    {K::Version, "version", false, true}, {K::Upgrade, "upgrade", true, true},
    {K::Restore, "restore", true, true},  {K::Pic, "pic", true, true},
    {K::Reset, "reset", true, true},      {K::Dns, "dns", true, true},
    {K::Log, "log", false, true},         {K::Verify, "verify", false, true},
    {K::History, "history", false, true}, {K::Check, "check", false, true},
    {K::Address, "address", true, false}, {K::Restart, "restart", false, false},
    {K::Report, "report", false, true},
};
}  // namespace

std::span<const OperationKindRow> OperationKinds() { return kOperationRows; }

const char* OperationName(OperationKind kind) {
  for (const auto& row : kOperationRows)
    if (row.kind == kind) return row.name;
  return "";
}

std::optional<OperationKind> OperationKindNamed(std::string_view name) {
  for (const auto& row : kOperationRows)
    if (name == row.name) return row.kind;
  return std::nullopt;
}

bool ChangesModem(std::string_view name) {
  for (const auto& row : kOperationRows)
    if (name == row.name) return row.changesModem;
  return false;
}

bool InBatch(OperationKind kind) {
  for (const auto& row : kOperationRows)
    if (row.kind == kind) return row.inBatch;
  return false;
}
