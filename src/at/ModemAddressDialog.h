// Points the tool at a modem whose LAN address is not the factory one; the
// first two numbers stay 192.168.
#pragma once

#include <functional>
#include <string>

#include "platform/Form.h"

class ModemAddressDialog : public Form {
 public:
  ModemAddressDialog();
  void load() override;

  // Runs with the new address when the user clicks Update.
  std::function<void(const std::string& address)> onAddressChosen;

  Label lblHeading{"lblHeading"};
  Label IPlabel{"IPlabel"};
  TextBox txtIP1{"txtIP1"};
  TextBox txtIP2{"txtIP2"};
  TextBox txtIP3{"txtIP3"};
  TextBox txtIP4{"txtIP4"};
  Label lblDot0{"lblDot(0)"};
  Label lblDot1{"lblDot(1)"};
  Label lblDot2{"lblDot(2)"};
  Button cmdClose{"cmdClose"};
  Button cmdUpdate{"cmdUpdate"};

 private:
  void update();
  // The third and fourth numbers as last chosen.
  std::string subnet_ = "128";
  std::string host_ = "100";
};
