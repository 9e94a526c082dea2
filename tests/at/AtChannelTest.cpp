#include <gtest/gtest.h>

#include "at/AtChannel.h"
#include "at/AtText.h"
#include "at/DnsDialog.h"
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

using Outcome = AtChannel::Outcome;
const std::pair<std::string, std::string> kRead{"10.0.0.1", "10.0.0.2"};

// A started window whose modem answers the AT port.
struct AtCase : Harness {
  std::shared_ptr<AtPeer> modem = std::make_shared<AtPeer>();
  // What the DNS dialog showed each time it opened (primary, secondary).
  std::vector<std::pair<std::string, std::string>> shown;
  // What the user does in the n-th opening of the dialog (closes it when
  // there are no more).
  std::vector<std::function<void(DnsDialog&)>> user;
  std::vector<Outcome> outcomes;

  explicit AtCase(const std::string& address = kModem) {
    settings.initialAddress = address;
    platform.network.listen(kModem, settings.atPort, modem);
    modem->clock = &clock();
    ui().modalScripts["DNSverification"] = [this](Form& form) {
      auto& d = static_cast<DnsDialog&>(form);
      shown.emplace_back(d.DNS.text(), d.DNS2.text());
      if (shown.size() <= user.size()) user[shown.size() - 1](d);
    };
    load();
    advance(5000);
    at().onOutcome.add([this](Outcome o) { outcomes.push_back(o); });
  }
  AtChannel& at() { return f().atChannel(); }
  const MsgRecord* lastBox() { return ui().boxes.empty() ? nullptr : &ui().boxes.back(); }
  bool lineClosed() { return !modem->connections.back()->open(); }
  // Nothing of an earlier reply is left to spoil the next read.
  bool nextReadIsClean() {
    modem->readAnswer = {{AtPeer::DnsReply(kRead.first, kRead.second), 20}};
    at().readDns();
    advance(1000);
    return shown.back() == kRead && at().idle() && !busy();
  }
  static std::function<void(DnsDialog&)> modify(std::string dns, std::string dns2) {
    return [dns, dns2](DnsDialog& d) {
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
  h.advance(1000);
  EXPECT_EQ(h.modem->received, "AT_IHIP?\r\n");
  EXPECT_TRUE(h.sawStatus("Sending AT command."));
  EXPECT_EQ(h.shown, decltype(h.shown){kRead});
  EXPECT_EQ(h.at().primaryDns(), "10.0.0.1");
  EXPECT_EQ(h.at().secondaryDns(), "10.0.0.2");
  EXPECT_EQ(h.outcomes, std::vector<Outcome>{Outcome::DnsRead});
  EXPECT_FALSE(h.busy());
  EXPECT_EQ(h.f().sbUpgrade.text(), "");
  EXPECT_TRUE(h.lineClosed());
  EXPECT_TRUE(h.f().idle());
  EXPECT_TRUE(h.ui().boxes.empty());
  // Nothing is left to fire: no connect guard, no reply time-out.
  h.advance(20000);
  EXPECT_TRUE(h.ui().boxes.empty());
  EXPECT_TRUE(h.nextReadIsClean());
}

TEST(AtRead, PiecesAreJoinedAndTheLabelMaySpanTwoOfThem) {
  AtCase h;
  // The primary label comes in an earlier piece than "DNS2", and "DNS2"
  // itself is split.
  h.modem->readAnswer = {{"DNS: 10.9", 10}, {".8.7\r\nDN", 10}, {"S2: 10.6.5.4\r\nOK\r\n", 10}};
  h.at().readDns();
  h.advance(25);
  EXPECT_TRUE(h.busy());
  EXPECT_TRUE(h.shown.empty());
  h.advance(1000);
  ASSERT_EQ(h.shown.size(), 1u);
  EXPECT_EQ(h.shown[0], std::make_pair(std::string("10.9.8.7"), std::string("10.6.5.4")));
  EXPECT_FALSE(h.busy());
  EXPECT_TRUE(h.nextReadIsClean());
}

TEST(AtRead, ReplySplitAnywhereIsReadWhole) {
  // Any TCP path may cut the reply anywhere, even right after "DNS2: ".
  const std::string reply = AtPeer::DnsReply(kRead.first, kRead.second);
  std::vector<std::vector<AtPeer::Piece>> answers;
  for (std::size_t at = 1; at < reply.size(); ++at)
    answers.push_back({{reply.substr(0, at), 10}, {reply.substr(at), 50}});
  std::vector<AtPeer::Piece> sevenBytePieces;  // as a slow modem sends it
  for (std::size_t at = 0; at < reply.size(); at += 7) sevenBytePieces.push_back({reply.substr(at, 7), 50});
  answers.push_back(sevenBytePieces);
  for (const auto& answer : answers) {
    AtCase h;
    h.modem->readAnswer = answer;
    h.at().readDns();
    h.advance(2000);
    ASSERT_EQ(h.shown, decltype(h.shown){kRead}) << answer.front().bytes.size();
    EXPECT_TRUE(h.ui().boxes.empty());
  }
  // A modem that hangs up right after the secondary address has answered.
  AtCase h;
  h.modem->readAnswer = {{"DNS: 10.0.0.1\r\nDNS2: 10.0.0.2", 10}};
  h.at().readDns();
  h.advance(100);
  h.modem->connections.back()->close();
  h.advance(100);
  EXPECT_EQ(h.shown, decltype(h.shown){kRead});
}

TEST(AtRead, ErrorEndsTheReadButAPieceWithDns2IsStillComplete) {
  {
    AtCase h;
    h.modem->readAnswer = {{"\r\nER", 10}, {"ROR\r\n", 10}};
    // The user reads the box for fifteen seconds, and the modem hangs up
    // meanwhile: the exchange ended before the box, so no second box comes.
    h.ui().onMsgBox = [&h](const MsgRecord&) {
      h.ui().onMsgBox = nullptr;
      h.modem->connections.back()->close(100);
      h.advance(15000);
    };
    h.at().readDns();
    h.advance(1000);
    ASSERT_EQ(h.ui().boxes.size(), 1u);
    EXPECT_EQ(h.lastBox()->text, kCantVerify);
    EXPECT_EQ(h.lastBox()->style, MsgCritical);
    EXPECT_EQ(h.lastBox()->title, kUpgraderTitle);
    EXPECT_EQ(h.outcomes, std::vector<Outcome>{Outcome::Refused});
    EXPECT_TRUE(h.shown.empty());
    EXPECT_FALSE(h.busy());
    EXPECT_TRUE(h.lineClosed());
    EXPECT_TRUE(h.nextReadIsClean());
  }
  {
    AtCase h;
    h.modem->readAnswer = {{"DNS: 1.1.1.1\r\nDNS2: 2.2.2.2\r\nERROR\r\n", 10}};
    h.at().readDns();
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
  h.at().readDns();
  h.advance(1000);
  ASSERT_FALSE(h.shown.empty());
  EXPECT_EQ(h.shown[0].first, "caf\xC3\xA9");
  // Written back as the modem's own single byte.
  EXPECT_NE(h.modem->received.find("AT_IHIP=\"DNS\",\"caf\xE9\"\r\n"), std::string::npos);
}

// The whole change: read, dialog, Modify, both writes, restart, 25 s delay,
// version query.
TEST(AtWrite, FullChangeSendsTheExactLinesAndQueriesTheVersionAfter25s) {
  AtCase h;
  h.user = {AtCase::modify(" 10.1.1.1 ", "  10.1.1.2")};
  h.f().cmdSetDNS.click();
  ASSERT_TRUE(h.clock().advanceUntil(
      [&] { return h.f().sbUpgrade.text() == "Resetting modem. Wait 20 seconds."; }, 2000));
  EXPECT_EQ(h.modem->received,
            "AT_IHIP?\r\n"
            "AT_IHIP=\"DNS\",\"10.1.1.1 \"\r\n"
            "AT_IHIP=\"DNS2\",\"10.1.1.2\"\r\n"
            "AT+CFUN=1,1\r\n");
  EXPECT_EQ(h.modem->connections.size(), 2u);  // the writes share one connection
  EXPECT_EQ(h.at().primaryDns(), "10.1.1.1 ");
  EXPECT_EQ(h.outcomes, (std::vector<Outcome>{Outcome::DnsRead, Outcome::RestartOrdered}));
  EXPECT_TRUE(h.busy());
  EXPECT_TRUE(h.lineClosed());
  EXPECT_TRUE(h.at().idle());
  long ordered = h.clock().nowMs();
  std::size_t requests = h.zing->requests.size();
  EXPECT_TRUE(h.clock().advanceUntil([&] { return h.zing->requests.size() > requests; }, 30000));
  EXPECT_EQ(h.clock().nowMs(), ordered + 25000);
  h.advance(2000);
  EXPECT_FALSE(h.busy());
  EXPECT_EQ(h.f().session().runningVersion, "5_2_0_12");
  EXPECT_TRUE(h.ui().boxes.empty());
}

TEST(AtWrite, OnlyOkOrErrorEndsTheWaitAndTheRestartReplyIsNotRead) {
  AtCase h;
  h.modem->dnsAnswer = {{"busy\r\n", 10}, {"\r\nOK\r\n", 10}};
  h.modem->restartAnswer = {{"ERROR\r\n", 10}};
  h.user = {AtCase::modify("1.1.1.1", "2.2.2.2")};
  h.at().readDns();
  h.advance(2000);
  EXPECT_EQ(h.modem->lines.size(), 4u);
  EXPECT_TRUE(h.ui().boxes.empty());
  EXPECT_EQ(h.outcomes.back(), Outcome::RestartOrdered);
  EXPECT_EQ(h.f().sbUpgrade.text(), "Resetting modem. Wait 20 seconds.");
}

TEST(AtWrite, RefusedAddressReopensTheDialogWithTheUsersValues) {
  for (int which : {1, 2}) {
    SCOPED_TRACE(which);
    AtCase h;
    (which == 1 ? h.modem->dnsAnswer : h.modem->dns2Answer) = {{"\r\nERROR\r\n", 10}};
    h.user = {AtCase::modify("7.7.7.7", "8.8.8.8")};
    // Fifteen seconds with the box open: no reply time-out follows it.
    h.ui().onMsgBox = [&h](const MsgRecord&) {
      h.ui().onMsgBox = nullptr;
      h.advance(15000);
    };
    h.at().readDns();
    h.advance(2000);
    ASSERT_EQ(h.ui().boxes.size(), 1u);
    EXPECT_EQ(h.lastBox()->text, which == 1 ? "Wrong DNS adress.\r\n" : "Wrong DNS2 adress.\r\n");
    EXPECT_EQ(h.lastBox()->style, MsgCritical);
    EXPECT_EQ(h.lastBox()->title, kUpgraderTitle);
    ASSERT_EQ(h.shown.size(), 2u);
    EXPECT_EQ(h.shown[1], std::make_pair(std::string("7.7.7.7"), std::string("8.8.8.8")));
    EXPECT_EQ(h.outcomes.back(), Outcome::Refused);
    EXPECT_FALSE(h.busy());
    EXPECT_TRUE(h.lineClosed());
    EXPECT_EQ(h.modem->lines.size(), which == 1 ? 2u : 3u);
  }
}

TEST(AtWrite, UnsendableAddressIsRefusedAndTheDialogKeepsItsValues) {
  AtCase h;
  const std::string injected = "1.1.1.1\"\r\nAT+CFUN=1,1";
  h.user = {[&](DnsDialog& d) {
    for (std::string bad : {injected, std::string("1.1.1.1\t"), std::string("\xE2\x82\xAC")}) {
      d.DNS.setText(bad);
      d.cmdModify.click();
      EXPECT_FALSE(d.closed());
      EXPECT_EQ(d.DNS.text(), bad);
    }
  }};
  h.at().readDns();
  h.advance(2000);
  ASSERT_EQ(h.ui().boxes.size(), 3u);
  EXPECT_EQ(h.lastBox()->text, kUnsendableDnsMessage);
  EXPECT_EQ(h.at().primaryDns(), "10.0.0.1");
  EXPECT_EQ(h.modem->lines, std::vector<std::string>{"AT_IHIP?"});
  EXPECT_FALSE(h.busy());
  // Called directly, the writer refuses the same text, in either address.
  for (bool second : {false, true}) {
    h.at().writeDns(second ? "" : injected, second ? injected : "");
    h.advance(1000);
    EXPECT_EQ(h.outcomes.back(), Outcome::Unsendable);
    EXPECT_EQ(h.modem->connections.size(), 1u);
    EXPECT_FALSE(h.busy());
  }
}

TEST(AtDialog, KeepRestartsTheModemAndOtherClosesDoNothing) {
  {
    AtCase h;
    h.user = {[](DnsDialog& d) { d.cmdKeep.click(); }};
    std::size_t requests = h.zing->requests.size();
    h.at().readDns();
    h.advance(100);
    EXPECT_EQ(h.f().txtCurrentSoftwareVersion.text(), "Unknown");
    EXPECT_EQ(h.zing->requests.back(), 13);  // the reset order
    h.advance(30000);
    EXPECT_GT(h.zing->requests.size(), requests + 1);
    EXPECT_EQ(h.modem->lines.size(), 1u);
    EXPECT_FALSE(h.busy());
  }
  {
    AtCase h;  // no script: closed by its frame
    std::size_t requests = h.zing->requests.size();
    h.at().readDns();
    h.advance(30000);
    EXPECT_EQ(h.zing->requests.size(), requests);
    EXPECT_EQ(h.modem->lines.size(), 1u);
    EXPECT_FALSE(h.busy());
  }
}

TEST(AtGuard, NoAddressGivesTheInformationBoxAndConnectsNothing) {
  AtCase h("");
  h.ui().boxes.clear();  // the start-up query's own box
  h.at().readDns();
  h.at().writeDns("1.1.1.1", "2.2.2.2");
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

TEST(AtConnect, GuardGivesUpAtFiveSecondsAndALateConnectionSendsNothing) {
  AtCase h;
  h.modem->acceptDelay = 6000;
  h.modem->greeting = {{"+READY\r\n", 100}};
  h.at().readDns();
  h.advance(4999);
  EXPECT_TRUE(h.busy());
  h.advance(1);
  EXPECT_FALSE(h.busy());
  ASSERT_EQ(h.ui().boxes.size(), 1u);
  EXPECT_EQ(h.lastBox()->text, kAtConnectText);
  EXPECT_EQ(h.lastBox()->title, kUpgraderTitle);
  EXPECT_EQ(h.f().sbUpgrade.text(), "Connection failed.");
  EXPECT_EQ(h.outcomes, std::vector<Outcome>{Outcome::ConnectFailed});
  EXPECT_TRUE(h.at().idle());
  // The guard closed the socket: the late connection and its greeting
  // reach nothing.
  h.advance(1200);
  EXPECT_EQ(h.ui().boxes.size(), 1u);
  EXPECT_EQ(h.modem->received, "");
  EXPECT_EQ(h.f().sbUpgrade.text(), "Connection failed.");
  h.modem->acceptDelay = 0;
  h.modem->greeting.clear();
  EXPECT_TRUE(h.nextReadIsClean());
}

TEST(AtConnect, SocketErrorOnlyChangesTheStatusLine) {
  AtCase h;
  h.platform.network.unlisten(Harness::kModem, h.settings.atPort);
  h.at().readDns();
  h.advance(100);
  EXPECT_EQ(h.f().sbUpgrade.text().rfind("AT Error ", 0), 0u);
  EXPECT_TRUE(h.busy());
  EXPECT_TRUE(h.ui().boxes.empty());
  h.advance(4899);
  EXPECT_TRUE(h.busy());
  h.advance(1);
  EXPECT_EQ(h.f().sbUpgrade.text(), "Connection failed.");
  EXPECT_EQ(h.boxTexts(), std::vector<std::string>{kAtConnectText});
  EXPECT_FALSE(h.busy());
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
    h.at().readDns();
    ASSERT_TRUE(h.clock().advanceUntil([&] { return h.modem->lines.size() == want; }, 2000));
    // Sent and received at the same virtual time.
    h.advance(h.modem->lineTimes.back() + AtChannel::kReplyTimeoutMs - 1 - h.clock().nowMs());
    EXPECT_TRUE(h.busy());

    h.advance(1);
    EXPECT_FALSE(h.busy());
    ASSERT_FALSE(h.ui().boxes.empty());
    EXPECT_EQ(h.lastBox()->text.rfind("The modem did not answer the AT command.\r\n", 0), 0u);
    EXPECT_EQ(h.outcomes.back(), Outcome::Failed);
    EXPECT_TRUE(h.lineClosed());
    EXPECT_TRUE(h.at().idle());
  }
}

TEST(AtTimeout, UnansweredRestartGoesOnToTheVersionQuery) {
  AtCase h;
  h.modem->restartAnswer.clear();
  h.user = {AtCase::modify("1.1.1.1", "2.2.2.2")};
  h.at().readDns();
  ASSERT_TRUE(h.clock().advanceUntil([&] { return h.modem->lines.size() == 4; }, 2000));
  h.advance(AtChannel::kReplyTimeoutMs);
  EXPECT_EQ(h.f().sbUpgrade.text(), "Resetting modem. Wait 20 seconds.");
  EXPECT_EQ(h.outcomes.back(), Outcome::RestartOrdered);
  EXPECT_TRUE(h.busy());
  h.advance(30000);
  EXPECT_FALSE(h.busy());
  EXPECT_TRUE(h.ui().boxes.empty());
}

TEST(AtTimeout, ModemHangingUpEndsTheWaitAtOnce) {
  AtCase h;
  h.modem->readAnswer = {{"DNS: 1.1", 10}};
  h.at().readDns();
  ASSERT_TRUE(h.clock().advanceUntil([&] { return h.modem->lines.size() == 1; }, 2000));
  h.modem->connections.back()->close(20);  // after the piece
  h.advance(19);
  EXPECT_TRUE(h.busy());
  h.advance(1);
  EXPECT_FALSE(h.busy());
  ASSERT_EQ(h.ui().boxes.size(), 1u);
  EXPECT_EQ(h.lastBox()->text.rfind("The modem closed the AT connection without answering.", 0),
            0u);
  EXPECT_TRUE(h.at().idle());
  EXPECT_TRUE(h.nextReadIsClean());
}

TEST(AtTimeout, EndlessReplyIsCutOff) {
  AtCase h;
  h.modem->readAnswer.assign(100, AtPeer::Piece{std::string(100, 'x'), 1});
  h.at().readDns();
  h.advance(1000);
  EXPECT_FALSE(h.busy());
  ASSERT_EQ(h.ui().boxes.size(), 1u);
  EXPECT_EQ(h.lastBox()->text.rfind("The modem's answer to the AT command could not be read.", 0),
            0u);
  // The rest of the stream arrives on a closed socket and is dropped.
  EXPECT_TRUE(h.nextReadIsClean());
}

TEST(AtTimeout, ClosingTheWindowSilencesThePendingTimeOutAndGuard) {
  for (bool connecting : {false, true}) {
    AtCase h;
    h.modem->readAnswer.clear();
    if (connecting) h.modem->mode = SimPeer::Accept::Ignore;
    h.at().readDns();
    h.advance(1000);
    EXPECT_EQ(h.modem->lines.size(), connecting ? 0u : 1u);
    h.f().requestClose(Form::kCloseBySystem);
    ASSERT_TRUE(h.f().closed());
    auto boxes = h.ui().boxes.size();
    h.advance(AtChannel::kReplyTimeoutMs * 2);
    EXPECT_EQ(h.ui().boxes.size(), boxes);
  }
}

}  // namespace
