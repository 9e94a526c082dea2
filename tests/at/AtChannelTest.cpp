#include <gtest/gtest.h>

#include "at/AtChannel.h"
#include "at/AtText.h"
#include "at/DNSverification.h"
#include "sim/AtPeer.h"
#include "sim/Harness.h"

namespace {

const std::string kCantVerify =
    "Can't verify DNS address.\r\n\r\nCheck if SIM card is inserted correctly.\r\n"
    "Reset Modem and repeat command.\r\n";
const std::string kAtConnectText =
    "Can not Connect to AT interface. \r\n"
    "Please check cable connections.\r\n"
    "Remove and reapply power to the modem.\r\n"
    "Repeat upgrade process.";

// A started window whose modem answers the AT port.
struct AtCase : Harness {
  std::shared_ptr<AtPeer> modem = std::make_shared<AtPeer>();
  // What the DNS dialog showed each time it opened (primary, secondary).
  std::vector<std::pair<std::string, std::string>> shown;
  // What the user does in the n-th opening of the dialog (closes it when
  // there are no more).
  std::vector<std::function<void(DNSverification&)>> user;

  AtCase() {
    platform.network.listen(kModem, settings.atPort, modem);
    modem->clock = &clock();
    ui().modalScripts["DNSverification"] = [this](Form& form) {
      auto& d = static_cast<DNSverification&>(form);
      shown.emplace_back(d.DNS.text(), d.DNS2.text());
      if (shown.size() <= user.size()) user[shown.size() - 1](d);
    };
    load();
    advance(5000);
  }
  SimSocket& at() { return static_cast<SimSocket&>(*f().At); }
  const MsgRecord* lastBox() { return ui().boxes.empty() ? nullptr : &ui().boxes.back(); }
  bool bufferReset() {
    return f().intATReplyIdx == 0 && f().strATReply.size() == 1 && f().strATReply[0].empty();
  }
  static std::function<void(DNSverification&)> modify(std::string dns, std::string dns2) {
    return [dns, dns2](DNSverification& d) {
      d.DNS.setText(dns);
      d.DNS2.setText(dns2);
      d.cmdModify.click();
    };
  }
};

TEST(AtRead, OnePieceShowsTheAddressesAndLeavesTheWindowIdle) {
  AtCase h;
  ASSERT_FALSE(h.busy());
  h.f().cmdSetDNS.click();
  EXPECT_TRUE(h.busy());
  EXPECT_EQ(h.f().sbUpgrade.text(), "AT Connecting .....");
  EXPECT_TRUE(h.f().tmrTelnetConnect->enabled());
  h.advance(1000);
  EXPECT_EQ(h.at().sentLog, "AT_IHIP?\r\n");
  EXPECT_TRUE(h.sawStatus("Sending AT command."));
  ASSERT_EQ(h.shown.size(), 1u);
  EXPECT_EQ(h.shown[0], std::make_pair(std::string("10.0.0.1"), std::string("10.0.0.2")));
  EXPECT_EQ(h.f().strDNS, "10.0.0.1");
  EXPECT_EQ(h.f().strDNS2, "10.0.0.2");
  EXPECT_FALSE(h.busy());
  EXPECT_EQ(h.f().sbUpgrade.text(), "");
  EXPECT_EQ(h.at().state(), TcpSocket::Closed);
  EXPECT_EQ(h.f().lngATCommand, 0);
  EXPECT_EQ(h.f().lngATState, 0);
  EXPECT_FALSE(h.f().tmrTelnetConnect->enabled());
  EXPECT_TRUE(h.bufferReset());
  EXPECT_TRUE(h.ui().boxes.empty());
}

TEST(AtRead, PiecesAreJoinedAndTheLabelMaySpanTwoOfThem) {
  AtCase h;
  // The primary label comes in an earlier piece than "DNS2", and "DNS2"
  // itself is split.
  h.modem->readAnswer = {{"DNS: 10.9", 10}, {".8.7\r\nDN", 10}, {"S2: 10.6.5.4\r\nOK\r\n", 10}};
  h.f().SendGetDNS();
  h.advance(25);
  EXPECT_TRUE(h.busy());
  EXPECT_EQ(h.f().intATReplyIdx, 2);
  h.advance(1000);
  ASSERT_EQ(h.shown.size(), 1u);
  EXPECT_EQ(h.shown[0], std::make_pair(std::string("10.9.8.7"), std::string("10.6.5.4")));
  EXPECT_TRUE(h.bufferReset());
  EXPECT_FALSE(h.busy());
}

TEST(AtRead, ErrorEndsTheReadButAPieceWithDns2IsStillComplete) {
  {
    AtCase h;
    h.modem->readAnswer = {{"\r\nER", 10}, {"ROR\r\n", 10}};
    h.f().SendGetDNS();
    h.advance(1000);
    ASSERT_EQ(h.ui().boxes.size(), 1u);
    EXPECT_EQ(h.lastBox()->text, kCantVerify);
    EXPECT_EQ(h.lastBox()->style, MsgCritical);
    EXPECT_EQ(h.lastBox()->title, kUpgraderTitle);
    EXPECT_TRUE(h.shown.empty());
    EXPECT_FALSE(h.busy());
    EXPECT_EQ(h.at().state(), TcpSocket::Closed);
    EXPECT_TRUE(h.bufferReset());
  }
  {
    AtCase h;
    h.modem->readAnswer = {{"DNS: 1.1.1.1\r\nDNS2: 2.2.2.2\r\nERROR\r\n", 10}};
    h.f().SendGetDNS();
    h.advance(1000);
    EXPECT_TRUE(h.ui().boxes.empty());
    ASSERT_EQ(h.shown.size(), 1u);
    EXPECT_EQ(h.shown[0].second, "2.2.2.2");
  }
}

TEST(AtRead, ModemBytesReachTheBoxesAsLatin1) {
  AtCase h;
  h.modem->readAnswer = {{"DNS: caf\xE9\r\nDNS2: 2.2.2.2\r\n", 10}};
  h.user = {AtCase::modify("caf\xC3\xA9", "2.2.2.2")};
  h.f().SendGetDNS();
  h.advance(1000);
  ASSERT_FALSE(h.shown.empty());
  EXPECT_EQ(h.shown[0].first, "caf\xC3\xA9");
  // Written back as the modem's own single byte.
  EXPECT_NE(h.at().sentLog.find("AT_IHIP=\"DNS\",\"caf\xE9\"\r\n"), std::string::npos);
}

// The whole change: read, dialog, Modify, both writes, restart, 25 s delay,
// version query.
TEST(AtWrite, FullChangeSendsTheExactLinesAndQueriesTheVersionAfter25s) {
  AtCase h;
  h.user = {AtCase::modify(" 10.1.1.1 ", "  10.1.1.2")};
  h.f().SendGetDNS();
  ASSERT_TRUE(h.clock().advanceUntil(
      [&] { return h.f().sbUpgrade.text() == "Resetting modem. Wait 20 seconds."; }, 2000));
  EXPECT_EQ(h.at().sentLog,
            "AT_IHIP?\r\n"
            "AT_IHIP=\"DNS\",\"10.1.1.1 \"\r\n"
            "AT_IHIP=\"DNS2\",\"10.1.1.2\"\r\n"
            "AT+CFUN=1,1\r\n");
  EXPECT_EQ(h.modem->connections.size(), 2u);  // the writes share one connection
  EXPECT_EQ(h.f().strDNS, "10.1.1.1 ");
  EXPECT_TRUE(h.busy());
  EXPECT_EQ(h.at().state(), TcpSocket::Closed);
  EXPECT_EQ(h.f().lngATCommand, 0);
  EXPECT_EQ(h.f().lngATState, 0);
  EXPECT_TRUE(h.f().tmrResetDelay->enabled());
  std::size_t requests = h.zing->requests.size();
  h.advance(24999);
  EXPECT_EQ(h.zing->requests.size(), requests);
  h.advance(1);
  h.advance(2000);
  EXPECT_GT(h.zing->requests.size(), requests);
  EXPECT_FALSE(h.busy());
  EXPECT_EQ(h.f().strModemVersion, "5_2_0_12");
  EXPECT_TRUE(h.ui().boxes.empty());
}

TEST(AtWrite, OnlyOkOrErrorEndsTheWaitAndTheRestartReplyIsNotRead) {
  AtCase h;
  h.modem->dnsAnswer = {{"busy\r\n", 10}, {"\r\nOK\r\n", 10}};
  h.modem->restartAnswer = {{"ERROR\r\n", 10}};
  h.user = {AtCase::modify("1.1.1.1", "2.2.2.2")};
  h.f().SendGetDNS();
  h.advance(2000);
  EXPECT_EQ(h.modem->lines.size(), 4u);
  EXPECT_TRUE(h.ui().boxes.empty());
  EXPECT_TRUE(h.f().tmrResetDelay->enabled());
}

TEST(AtWrite, RefusedAddressReopensTheDialogWithTheUsersValues) {
  for (int which : {1, 2}) {
    SCOPED_TRACE(which);
    AtCase h;
    (which == 1 ? h.modem->dnsAnswer : h.modem->dns2Answer) = {{"\r\nERROR\r\n", 10}};
    h.user = {AtCase::modify("7.7.7.7", "8.8.8.8")};
    h.f().SendGetDNS();
    h.advance(2000);
    ASSERT_EQ(h.ui().boxes.size(), 1u);
    EXPECT_EQ(h.lastBox()->text, which == 1 ? "Wrong DNS adress.\r\n" : "Wrong DNS2 adress.\r\n");
    EXPECT_EQ(h.lastBox()->style, MsgCritical);
    EXPECT_EQ(h.lastBox()->title, kUpgraderTitle);
    ASSERT_EQ(h.shown.size(), 2u);
    EXPECT_EQ(h.shown[1], std::make_pair(std::string("7.7.7.7"), std::string("8.8.8.8")));
    EXPECT_FALSE(h.busy());
    EXPECT_EQ(h.at().state(), TcpSocket::Closed);
    EXPECT_EQ(h.modem->lines.size(), which == 1 ? 2u : 3u);
  }
}

TEST(AtWrite, UnsendableAddressIsRefusedAndTheDialogKeepsItsValues) {
  AtCase h;
  const std::string injected = "1.1.1.1\"\r\nAT+CFUN=1,1";
  h.user = {[&](DNSverification& d) {
    for (std::string bad : {injected, std::string("1.1.1.1\t"), std::string("\xE2\x82\xAC")}) {
      d.DNS.setText(bad);
      d.cmdModify.click();
      EXPECT_FALSE(d.closed());
      EXPECT_EQ(d.DNS.text(), bad);
    }
  }};
  h.f().SendGetDNS();
  h.advance(2000);
  ASSERT_EQ(h.ui().boxes.size(), 3u);
  EXPECT_EQ(h.lastBox()->text, kUnsendableDnsMessage);
  EXPECT_EQ(h.f().strDNS, "10.0.0.1");
  EXPECT_EQ(h.modem->lines, std::vector<std::string>{"AT_IHIP?"});
  EXPECT_FALSE(h.busy());
  // Called directly, the sender refuses the same text.
  h.f().strDNS = injected;
  h.f().SendSetDNS();
  h.advance(1000);
  EXPECT_EQ(h.modem->connections.size(), 1u);
  EXPECT_FALSE(h.busy());
}

TEST(AtDialog, KeepRestartsTheModemAndOtherClosesDoNothing) {
  {
    AtCase h;
    h.user = {[](DNSverification& d) { d.cmdKeep.click(); }};
    std::size_t requests = h.zing->requests.size();
    h.f().SendGetDNS();
    h.advance(100);
    EXPECT_EQ(h.f().txtCurrentSoftwareVersion.text(), "Unknown");
    h.advance(5000);
    EXPECT_GT(h.zing->requests.size(), requests);
    EXPECT_EQ(h.modem->lines.size(), 1u);
  }
  {
    AtCase h;  // no script: closed by its frame
    std::size_t requests = h.zing->requests.size();
    h.f().SendGetDNS();
    h.advance(5000);
    EXPECT_EQ(h.zing->requests.size(), requests);
    EXPECT_EQ(h.modem->lines.size(), 1u);
    EXPECT_FALSE(h.busy());
  }
}

TEST(AtDialog, LayoutTabOrderAndFocus) {
  AtCase h;
  auto& d = h.f().at->dnsDialog();
  EXPECT_EQ(d.name(), "DNSverification");
  EXPECT_EQ(d.caption, "Verify if DNS adresses are good.");
  EXPECT_EQ(d.Label1.caption(), "Change the addreseses before you click Modify.");
  EXPECT_EQ(d.DNSlabel.caption(), "DNS servers :");
  EXPECT_EQ(d.cmdKeep.caption(), "Keep Current");
  std::vector<Control*> first(d.controls.begin(), d.controls.begin() + 4);
  EXPECT_EQ(first, (std::vector<Control*>{&d.cmdModify, &d.cmdKeep, &d.DNS, &d.DNS2}));
  EXPECT_EQ(d.initialFocus, &d.cmdModify);
  EXPECT_LT(d.DNS.geometry.y, d.DNS2.geometry.y);
}

TEST(AtGuard, NoAddressGivesTheInformationBoxAndConnectsNothing) {
  AtCase h;
  h.f().strModemIP.clear();
  h.f().SendGetDNS();
  h.f().SendSetDNS();
  h.advance(6000);
  ASSERT_EQ(h.ui().boxes.size(), 2u);
  for (auto& b : h.ui().boxes) {
    EXPECT_EQ(b.text, "Please enter Satellite IP Modem's IP address.");
    EXPECT_EQ(b.style, MsgInformation);
    EXPECT_EQ(b.title, kAppTitle);
  }
  EXPECT_FALSE(h.busy());
  EXPECT_TRUE(h.modem->connections.empty());
}

TEST(AtConnect, WatchdogGivesUpAndALateConnectionSendsNothing) {
  AtCase h;
  h.modem->acceptDelay = 6000;
  h.modem->greeting = {{"+READY\r\n", 100}};
  h.f().SendGetDNS();
  h.advance(4999);
  EXPECT_TRUE(h.busy());
  h.advance(1);
  EXPECT_FALSE(h.busy());
  ASSERT_EQ(h.ui().boxes.size(), 1u);
  EXPECT_EQ(h.lastBox()->text, kAtConnectText);
  EXPECT_EQ(h.f().lngATCommand, 0);
  h.advance(1000);
  EXPECT_EQ(h.f().sbUpgrade.text(), "Sending AT command.");
  EXPECT_EQ(h.at().sentLog, "");
  h.advance(200);
  ASSERT_EQ(h.ui().boxes.size(), 2u);
  EXPECT_EQ(h.lastBox()->text, "Data arrival from AT in wrong state 0");
  EXPECT_EQ(h.lastBox()->title, "Error");
  EXPECT_EQ(h.lastBox()->style, MsgOkOnly);
  EXPECT_FALSE(h.busy());
  // The next read closes the stale connection first.
  h.modem->acceptDelay = 0;
  h.modem->greeting.clear();
  h.f().SendGetDNS();
  h.advance(1000);
  EXPECT_EQ(h.shown.size(), 1u);
}

TEST(AtConnect, SocketErrorOnlyChangesTheStatusLine) {
  AtCase h;
  h.platform.network.unlisten(Harness::kModem, h.settings.atPort);
  h.f().SendGetDNS();
  h.advance(100);
  ASSERT_FALSE(h.statuses.empty());
  EXPECT_EQ(h.f().sbUpgrade.text().rfind("AT Error ", 0), 0u);
  EXPECT_TRUE(h.busy());
  EXPECT_TRUE(h.ui().boxes.empty());
  h.advance(4900);
  EXPECT_EQ(h.f().sbUpgrade.text(), "Connection failed.");
}

TEST(AtTimeout, SilentModemEndsTheOperationAfterTenSeconds) {
  for (int op : {2, 3, 4}) {
    SCOPED_TRACE(op);
    AtCase h;
    if (op == 2) h.modem->readAnswer.clear();
    if (op == 3) h.modem->dnsAnswer.clear();
    if (op == 4) h.modem->dns2Answer.clear();
    h.user = {AtCase::modify("1.1.1.1", "2.2.2.2")};
    std::size_t want = static_cast<std::size_t>(op - 1);
    h.f().SendGetDNS();
    ASSERT_TRUE(h.clock().advanceUntil([&] { return h.modem->lines.size() == want; }, 2000));
    // Sent and received at the same virtual time.
    h.advance(h.modem->lineTimes.back() + AtChannel::kReplyTimeoutMs - 1 - h.clock().nowMs());
    EXPECT_TRUE(h.busy());

    h.advance(1);
    EXPECT_FALSE(h.busy());
    ASSERT_FALSE(h.ui().boxes.empty());
    EXPECT_EQ(h.lastBox()->text.rfind("The modem did not answer the AT command.\r\n", 0), 0u);
    EXPECT_EQ(h.at().state(), TcpSocket::Closed);
    EXPECT_EQ(h.f().lngATCommand, 0);
    EXPECT_EQ(h.f().lngATState, 0);
  }
}

TEST(AtTimeout, UnansweredRestartGoesOnToTheVersionQuery) {
  AtCase h;
  h.modem->restartAnswer.clear();
  h.user = {AtCase::modify("1.1.1.1", "2.2.2.2")};
  h.f().SendGetDNS();
  ASSERT_TRUE(h.clock().advanceUntil([&] { return h.modem->lines.size() == 4; }, 2000));
  h.advance(AtChannel::kReplyTimeoutMs);
  EXPECT_EQ(h.f().sbUpgrade.text(), "Resetting modem. Wait 20 seconds.");
  EXPECT_TRUE(h.busy());
  h.advance(30000);
  EXPECT_FALSE(h.busy());
  EXPECT_TRUE(h.ui().boxes.empty());
}

TEST(AtTimeout, ModemHangingUpEndsTheWaitAtOnce) {
  AtCase h;
  h.modem->readAnswer = {{"DNS: 1.1", 10}};
  h.f().SendGetDNS();
  ASSERT_TRUE(h.clock().advanceUntil([&] { return h.f().intATReplyIdx == 1; }, 2000));
  h.modem->connections.back()->close(5);
  h.advance(10);
  EXPECT_FALSE(h.busy());
  ASSERT_EQ(h.ui().boxes.size(), 1u);
  EXPECT_EQ(h.lastBox()->text.rfind("The modem closed the AT connection without answering.", 0),
            0u);
  EXPECT_TRUE(h.bufferReset());
  EXPECT_EQ(h.f().lngATCommand, 0);
}

TEST(AtTimeout, EndlessReplyIsCutOff) {
  AtCase h;
  h.modem->readAnswer.assign(100, AtPeer::Piece{std::string(100, 'x'), 1});
  h.f().SendGetDNS();
  h.advance(1000);
  EXPECT_FALSE(h.busy());
  ASSERT_EQ(h.ui().boxes.size(), 1u);
  EXPECT_EQ(h.lastBox()->text.rfind("The modem's answer to the AT command could not be read.", 0),
            0u);
  // The rest of the stream arrives on a closed socket and is dropped.
  EXPECT_TRUE(h.bufferReset());
}

}  // namespace

TEST(AtTimeout, ClosingTheWindowSilencesThePendingTimeOut) {
  AtCase h;
  h.modem->readAnswer.clear();
  h.f().SendGetDNS();
  ASSERT_TRUE(h.clock().advanceUntil([&] { return h.modem->lines.size() == 1; }, 2000));
  h.f().requestClose(Form::kCloseBySystem);
  ASSERT_TRUE(h.f().closed());
  auto boxes = h.ui().boxes.size();
  h.advance(AtChannel::kReplyTimeoutMs * 2);
  EXPECT_EQ(h.ui().boxes.size(), boxes);
}
