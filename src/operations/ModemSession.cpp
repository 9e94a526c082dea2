#include "operations/ModemSession.h"

#include <cctype>

#include "at/AtChannel.h"
#include "discovery/ModemReset.h"
#include "discovery/VersionQuery.h"
#include "firmware/ChainPlans.h"
#include "firmware/ImageStore.h"
#include "operations/AddressChange.h"
#include "operations/DnsChange.h"
#include "operations/LogDownload.h"
#include "operations/PicUpgrade.h"
#include "operations/ResetModem.h"
#include "operations/Restore.h"
#include "operations/Upgrade.h"
#include "operations/VerifyImage.h"
#include "operations/VersionRead.h"
#include "transfer/FtpChain.h"
#include "transfer/TelnetSession.h"

ModemSession::ModemSession(Platform& platform, Session& session, StatusView& view,
                           NoticeSink& notices, Prompts& prompts, const ModemPorts& ports)
    : view_(view),
      notices_(notices),
      context_{platform, session, *this, *this},
      query_(std::make_unique<VersionQuery>(context_, ports.zing, ports.ftp)),
      reset_(std::make_unique<ModemReset>(context_, *query_)),
      telnet_(std::make_unique<TelnetSession>(context_, ports.telnet)),
      chain_(std::make_unique<FtpChain>(context_, ports.ftp)),
      at_(std::make_unique<AtChannel>(context_, ports.at)),
      store_(std::make_unique<ImageStore>(session, platform.process().processStamp())),
      plans_(std::make_unique<ChainPlans>(context_, *store_)),
      channels_{*query_, *reset_, *telnet_, *chain_, *at_, *store_, *plans_, prompts},
      runner_(platform),
      ftpPort_(ports.ftp) {
  runner_.enter = [this](Operation& op) { return enter(op); };
  runner_.leave = [this] { leave(); };
}

ModemSession::~ModemSession() { leave(); }

namespace {
// A lock's name: letters, digits, dots and dashes only.
std::string LockName(const std::string& text) {
  std::string name;
  for (unsigned char c : text)
    name += std::isalnum(c) || c == '.' || c == '-' ? static_cast<char>(c) : '_';
  return name;
}
}  // namespace

// One process of this tool works on a modem at a time: the modem is known
// by its address on its interface (and port, which tells simulated modems
// apart) and, once read, by its MAC. Without an interface named, the one
// the routing table chooses: the same modem reached either way is one.
std::optional<Notice> ModemSession::enter(Operation& op) {
  const Session& session = context_.session;
  std::string through = session.interfaceName;
  if (through.empty())
    through = context_.platform.networkInterfaces().routeInterface(session.modemAddress);
  if (through.empty()) through = "any";
  std::vector<std::string> names = {
      LockName("modem-" + session.modemAddress + "-" + std::to_string(ftpPort_) + "-" + through)};
  if (!session.currentModemMac().empty()) names.push_back(LockName("mac-" + session.currentModemMac()));
  Process& process = context_.platform.process();
  const std::string me = "process " + std::to_string(process.processId()) + " (" + op.name() +
                         (session.interfaceName.empty() ? "" : " on " + session.interfaceName) +
                         ")";
  for (const std::string& name : names) {
    std::string holder;
    if (process.lock(name, me, holder)) {
      held_.push_back(name);
      continue;
    }
    leave();
    return Notice{Notice::Kind::ModemInUse, holder, 0, session.modemAddress};
  }
  return std::nullopt;
}

void ModemSession::leave() {
  for (const std::string& name : held_) context_.platform.process().unlock(name);
  held_.clear();
}

void ModemSession::setProgress(int percent) {
  view_.setProgress(percent);
  if (Operation* op = runner_.current()) op->progressed(view_.progress());
}

void ModemSession::report(const Notice& notice) {
  if (Operation* op = runner_.current()) op->noticed(notice);
  notices_.report(notice);
}

bool ModemSession::idle() const {
  return !runner_.busy() && query_->idle() && reset_->idle() && chain_->idle() &&
         telnet_->idle() && at_->idle();
}

void ModemSession::shutDown() {
  runner_.cancel();
  query_->cancel();
  reset_->cancel();
  telnet_->cancel();
  at_->cancel();
  chain_->cancel();
}

std::unique_ptr<Operation> ModemSession::versionRead(bool reportFtpTimeout) {
  return std::make_unique<VersionRead>(context_, channels_, reportFtpTimeout);
}
std::unique_ptr<Operation> ModemSession::reset() {
  return std::make_unique<ResetModem>(context_, channels_);
}
std::unique_ptr<Operation> ModemSession::upgrade() {
  return std::make_unique<Upgrade>(context_, channels_);
}
std::unique_ptr<Operation> ModemSession::restore() {
  return std::make_unique<Restore>(context_, channels_);
}
std::unique_ptr<Operation> ModemSession::picUpgrade() {
  return std::make_unique<PicUpgrade>(context_, channels_);
}
std::unique_ptr<Operation> ModemSession::dnsChange() {
  return std::make_unique<DnsChange>(context_, channels_);
}
std::unique_ptr<Operation> ModemSession::logDownload() {
  return std::make_unique<LogDownload>(context_, channels_);
}
std::unique_ptr<Operation> ModemSession::verify(const std::string& reference) {
  return std::make_unique<VerifyImage>(context_, channels_, reference);
}
std::unique_ptr<Operation> ModemSession::addressChange(
    std::function<std::optional<std::string>()> choose,
    std::function<void(const std::string&)> apply) {
  return std::make_unique<AddressChange>(context_, std::move(choose), std::move(apply));
}
