// Questions put to the user. The window shows its forms and boxes; batch
// mode answers from the command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct DnsReview {
  enum class Choice { Keep, Modify, Dismissed };
  Choice choice = Choice::Dismissed;
  std::string primary;    // with Modify: the addresses to write
  std::string secondary;
};

class Prompts {
 public:
  virtual ~Prompts() = default;
  // One of versions (display form, 5.2.0.12) to restore; nullopt or empty
  // when the user chose none.
  virtual std::optional<std::string> chooseRestoreVersion(
      const std::vector<std::string>& versions) = 0;
  // The modem's DNS addresses: keep them (the modem restarts) or write
  // edited ones; Modify only with addresses that can be sent.
  virtual DnsReview reviewDns(const std::string& primary, const std::string& secondary) = 0;
  // The PC is outside the modem's subnet (its address, dotted): may the tool
  // give it the static address 192.168.128.101?
  virtual bool allowStaticAddress(const std::string& pcAddress) = 0;
};
