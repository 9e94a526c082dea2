// Compares the modem's running image with one on the PC (the new image or a
// backup): a copy is fetched into a file of its own, hashed and removed.
// Changes nothing on the modem.
#pragma once

#include <string>

#include "operations/TransferOperation.h"

class VerifyImage : public TransferOperation {
 public:
  // How long the copy may take, looked at every 100 ms.
  static constexpr int kLimitMs = 180000;

  VerifyImage(const Context& context, ModemChannels& channels, std::string reference);
  OperationKind kind() const override { return OperationKind::Verify; }

  const std::string& reference() const { return reference_; }
  // The SHA-256 digests; the modem's is empty when no copy arrived.
  const std::string& modemDigest() const { return modemDigest_; }
  const std::string& referenceDigest() const { return referenceDigest_; }
  bool match() const { return !modemDigest_.empty() && modemDigest_ == referenceDigest_; }

 private:
  void begin() override;
  void stop() override;
  void chainEnded(FtpChain::Outcome outcome);
  void removeCopy();

  std::string reference_;
  std::string copy_;
  std::string modemDigest_;
  std::string referenceDigest_;
};
