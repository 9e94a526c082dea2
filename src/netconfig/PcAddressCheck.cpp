#include "netconfig/PcAddressCheck.h"

#include <exception>

#include "core/Texts.h"

namespace {

bool InModemSubnet(const Resolver::Address& a) { return a[0] == 192 && a[1] == 168 && a[2] == 128; }

std::string Dotted(const Resolver::Address& a) {
  return std::to_string(a[0]) + "." + std::to_string(a[1]) + "." + std::to_string(a[2]) + "." +
         std::to_string(a[3]);
}

// Shows the hourglass for a while and puts back whatever was shown before,
// also when an exception leaves early: an operation's busy pointer survives.
class PointerScope {
 public:
  explicit PointerScope(Ui& ui) : ui_(ui), before_(ui.pointer()) {
    ui_.setPointer(Ui::kPointerBusy);
  }
  ~PointerScope() { ui_.setPointer(before_); }
  PointerScope(const PointerScope&) = delete;
  PointerScope& operator=(const PointerScope&) = delete;

 private:
  Ui& ui_;
  int before_;
};
}  // namespace

PcAddressCheck::PcAddressCheck(const Context& context, Prompts& prompts)
    : PcAddressCheck(context, prompts, MakeSystemNetworkCommands()) {}

PcAddressCheck::PcAddressCheck(const Context& context, Prompts& prompts,
                               std::unique_ptr<NetworkCommands> commands)
    : context_(context), prompts_(prompts), commands_(std::move(commands)) {}

PcAddressCheck::~PcAddressCheck() = default;

std::string PcAddressCheck::runConsoleCommand(const std::string& commandLine) {
  std::string output;
  run(commandLine, output);
  return output;
}

bool PcAddressCheck::run(const std::string& commandLine, std::string& output) {
  output.clear();
  ConsoleResult r = context_.platform.process().runConsole(commandLine);
  lastRunTimedOut_ = r.kind == ConsoleResult::TimedOut;
  switch (r.kind) {
    case ConsoleResult::PipeFailed:
      context_.report({Notice::Kind::PipeFailed, {}, r.errorCode});
      return false;
    case ConsoleResult::NotFound:
      context_.report({Notice::Kind::CommandNotFound});
      return false;
    case ConsoleResult::TimedOut:
      context_.report({Notice::Kind::CommandTimedOut, commandLine});
      return false;
    case ConsoleResult::Ran:
      break;
  }
  output = r.output;
  return true;
}

void PcAddressCheck::setStaticAddress() {
  switched_ = false;
  context_.view.setStatus("Changing local address to 192.168.128.101. Wait ..."_t);
  PointerScope hourglass(context_.platform.ui());
  // The commands block the loop: the status shows before them.
  context_.platform.ui().refresh();
  std::string listing = runConsoleCommand(commands_->listCommand());
  auto name = commands_->findConnection(listing);
  if (!name) {
    context_.view.setStatus(
        "No Local Area network connection found. The PC address was not changed."_t);
    return;
  }
  connectionName_ = *name;
  std::string output;
  for (const auto& command : commands_->setStaticCommands(connectionName_)) {
    // A command that hung was ended: the rest would act on a half-made change.
    if (!run(command, output) && lastRunTimedOut_) {
      context_.view.setStatus("The PC address was not changed."_t);
      return;
    }
  }
  switched_ = true;
}

void PcAddressCheck::restoreDhcpAddress() {
  if (!staticSet_) return;
  context_.view.setStatus("Restoring DHCP for Local Area Connection. Wait...."_t);
  for (const auto& command : commands_->setDhcpCommands(connectionName_))
    runConsoleCommand(command);
  staticSet_ = false;
}

void PcAddressCheck::verifyLocalAddress(const std::string& hostName) {
  Resolver& resolver = context_.platform.resolver();
  auto first = resolver.resolveIPv4(hostName);
  if (!first || first->empty()) {
    context_.view.setStatus("Can't Get local IP"_t);
    return;
  }
  const Resolver::Address a = first->front();
  if (InModemSubnet(a)) return;

  switched_ = false;
  if (prompts_.allowStaticAddress(Dotted(a))) {
    try {
      setStaticAddress();
    } catch (const std::exception&) {
      // Not reported: the re-check below tells whether the switch worked.
    }
  }

  auto again = resolver.resolveIPv4(hostName);
  if (!again || again->empty()) {
    context_.view.setStatus("Can't Get new local IP"_t);
    return;
  }
  if (InModemSubnet(again->front())) {
    // Only a switch made here is undone at shutdown.
    if (switched_) staticSet_ = true;
    return;
  }
  context_.view.setStatus("Failure"_t);
  context_.report({Notice::Kind::SetAddressManually});
}
