#include <gtest/gtest.h>

#include "at/ModemAddressDialog.h"
#include "sim/Harness.h"

namespace {

struct AddressCase : Harness {
  // What the boxes showed at each opening (third, fourth).
  std::vector<std::pair<std::string, std::string>> shown;
  std::vector<std::function<void(ModemAddressDialog&)>> user;
  AddressCase() {
    ui().modalScripts["UpdateModemIP"] = [this](Form& form) {
      auto& d = static_cast<ModemAddressDialog&>(form);
      shown.emplace_back(d.txtIP3.text(), d.txtIP4.text());
      if (shown.size() <= user.size()) user[shown.size() - 1](d);
    };
    load();
    advance(5000);
  }
  static std::function<void(ModemAddressDialog&)> type(std::string third, std::string fourth,
                                                       bool update) {
    return [=](ModemAddressDialog& d) {
      d.txtIP3.setText(third);
      d.txtIP4.setText(fourth);
      (update ? d.cmdUpdate : d.cmdClose).click();
    };
  }
};

TEST(ModemAddress, UpdateSetsTheAddressAndReopeningShowsIt) {
  AddressCase h;
  h.user = {AddressCase::type(" 5 ", "77 ", true), AddressCase::type("9", "9", false)};
  h.f().cmdSetModemIP.click();
  EXPECT_EQ(h.shown.at(0), std::make_pair(std::string("128"), std::string("100")));
  // Inner blanks survive in the numbers and the box, not at the ends of the
  // address in use.
  EXPECT_EQ(h.f().txtIPAddress.text(), "192.168.5 .77 ");
  EXPECT_EQ(h.f().session().modemAddress, "192.168.5 .77");
  h.f().cmdSetModemIP.click();  // edits, then Close
  EXPECT_EQ(h.shown.at(1), std::make_pair(std::string("5 "), std::string("77 ")));
  EXPECT_EQ(h.f().session().modemAddress, "192.168.5 .77");
  h.f().cmdSetModemIP.click();  // closed by its frame
  EXPECT_EQ(h.shown.at(2), h.shown.at(1));
  EXPECT_EQ(h.ui().modalLog.back(), "UpdateModemIP");
  EXPECT_TRUE(h.ui().boxes.empty());
}

TEST(ModemAddress, NothingIsCheckedAndBoxesHoldThreeCharacters) {
  AddressCase h;
  h.user = {AddressCase::type("", "12345", true)};
  h.f().cmdSetModemIP.click();
  EXPECT_EQ(h.f().session().modemAddress, "192.168..123");
  EXPECT_EQ(h.shown.size(), 1u);
}

}  // namespace
