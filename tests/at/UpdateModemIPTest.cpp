#include <gtest/gtest.h>

#include "at/AtChannel.h"
#include "at/UpdateModemIP.h"
#include "sim/Harness.h"

namespace {

struct AddressCase : Harness {
  // What the boxes showed at each opening (third, fourth).
  std::vector<std::pair<std::string, std::string>> shown;
  std::vector<std::function<void(UpdateModemIP&)>> user;
  AddressCase() {
    ui().modalScripts["UpdateModemIP"] = [this](Form& form) {
      auto& d = static_cast<UpdateModemIP&>(form);
      shown.emplace_back(d.txtIP3.text(), d.txtIP4.text());
      if (shown.size() <= user.size()) user[shown.size() - 1](d);
    };
    load();
    advance(5000);
  }
  static std::function<void(UpdateModemIP&)> type(std::string third, std::string fourth,
                                                  bool update) {
    return [=](UpdateModemIP& d) {
      d.txtIP3.setText(third);
      d.txtIP4.setText(fourth);
      (update ? d.cmdUpdate : d.cmdClose).click();
    };
  }
};

TEST(ModemAddress, UpdateSetsTheAddressAndReopeningShowsIt) {
  AddressCase h;
  h.user = {AddressCase::type(" 5 ", "77", true), AddressCase::type("9", "9", false)};
  h.f().cmdSetModemIP.click();
  EXPECT_EQ(h.shown.at(0), std::make_pair(std::string("128"), std::string("100")));
  // Trailing blanks survive in the numbers and the box, not at the ends of
  // the address in use.
  EXPECT_EQ(h.f().strTermSubnet, "5 ");
  EXPECT_EQ(h.f().strTermIP, "77");
  EXPECT_EQ(h.f().txtIPAddress.text(), "192.168.5 .77");
  EXPECT_EQ(h.f().strModemIP, "192.168.5 .77");
  h.f().cmdSetModemIP.click();  // edits, then Close
  EXPECT_EQ(h.shown.at(1), std::make_pair(std::string("5 "), std::string("77")));
  EXPECT_EQ(h.f().strTermSubnet, "5 ");
  EXPECT_EQ(h.f().strModemIP, "192.168.5 .77");
  h.f().cmdSetModemIP.click();  // closed by its frame
  EXPECT_EQ(h.shown.at(2), h.shown.at(1));
  EXPECT_EQ(h.ui().modalLog.back(), "UpdateModemIP");
  EXPECT_TRUE(h.ui().boxes.empty());
}

TEST(ModemAddress, NothingIsCheckedAndBoxesHoldThreeCharacters) {
  AddressCase h;
  h.user = {AddressCase::type("", "12345", true)};
  h.f().cmdSetModemIP.click();
  EXPECT_EQ(h.f().strModemIP, "192.168..123");
  h.f().UpdateModemIPAddress("  10.0.0.9 ");
  EXPECT_EQ(h.f().txtIPAddress.text(), "  10.0.0.9 ");
  EXPECT_EQ(h.f().strModemIP, "10.0.0.9");
}

TEST(ModemAddress, Layout) {
  AddressCase h;
  auto& d = h.f().at->addressDialog();
  EXPECT_EQ(d.name(), "UpdateModemIP");
  EXPECT_EQ(d.caption, "Configure Modem Interface");
  EXPECT_EQ(d.lblHeading.caption(), "Enter IP address of the KOVA Terminal");
  EXPECT_EQ(d.IPlabel.caption(), "Terminal IP:");
  EXPECT_EQ(d.txtIP1.text(), "192");
  EXPECT_EQ(d.txtIP2.text(), "168");
  EXPECT_TRUE(d.txtIP1.readOnly && d.txtIP2.readOnly);
  EXPECT_FALSE(d.txtIP3.readOnly || d.txtIP4.readOnly);
  std::vector<Control*> first(d.controls.begin(), d.controls.begin() + 6);
  EXPECT_EQ(first, (std::vector<Control*>{&d.txtIP1, &d.txtIP2, &d.txtIP3, &d.txtIP4,
                                          &d.cmdUpdate, &d.cmdClose}));
  int x = -1;
  for (auto* b : {&d.txtIP1, &d.txtIP2, &d.txtIP3, &d.txtIP4}) {
    EXPECT_EQ(b->maxLength, 3);
    EXPECT_GT(b->geometry.x, x);
    x = b->geometry.x;
  }
  EXPECT_LT(d.cmdClose.geometry.x, d.cmdUpdate.geometry.x);
  EXPECT_GT(d.cmdClose.geometry.y, d.txtIP1.geometry.y);
}

}  // namespace
