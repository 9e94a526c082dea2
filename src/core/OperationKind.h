// The user-level operations by name: one table for the batch command line,
// the JSON result, the history and the operations themselves.
#pragma once

#include <optional>
#include <span>
#include <string_view>

enum class OperationKind {
  Version, Upgrade, Restore, Pic, Reset, Dns, Log, Verify, History, Check, Address, Report,
  Restart,  // a step of others, never on its own
};

struct OperationKindRow {
  OperationKind kind;
  const char* name;      // on the command line, in JSON and in the history
  bool changesModem;     // recorded in the history
  bool inBatch;          // a batch operation
};

std::span<const OperationKindRow> OperationKinds();
const char* OperationName(OperationKind kind);
std::optional<OperationKind> OperationKindNamed(std::string_view name);
// Whether an operation of that name changes the modem (and is recorded).
bool ChangesModem(std::string_view name);
bool InBatch(OperationKind kind);
