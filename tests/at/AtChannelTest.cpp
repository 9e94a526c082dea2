// The AT channel as the user drives it: the DNS read, the review dialog,
// the writes and the restart, every way the modem can fail them, and the
// modem-address dialog.
#include <gtest/gtest.h>

#include "at/AtChannel.h"
#include "at/AtText.h"
#include "at/DnsDialog.h"
#include "at/ModemAddressDialog.h"
#include "sim/Harness.h"

namespace {
using Pieces = std::vector<std::pair<std::string, long>>;  // bytes, delay after the one before

std::string DnsReply(const std::string& dns, const std::string& dns2) {
  return "DNS: " + dns + "\r\nDNS2: " + dns2 + "\r\nOK\r\n";
}

// The modem's AT port: answers each command line in pieces; an empty
// answer is a modem that stays silent.
struct AtPeer : BasicPeer {
  Pieces read = {{DnsReply("10.0.0.1", "10.0.0.2"), 20}};
  Pieces dns = {{"OK\r\n", 20}}, dns2 = {{"OK\r\n", 20}}, restart = {{"OK\r\n", 20}};
  Pieces greeting;             // on each accept
  long hangUpAfterRead = -1;  // after the answer to the read
  std::string pending;

  void onAccept(SimConnection& c) override { send(c, greeting); }
  void onClientClose(SimConnection&) override { pending.clear(); }
  void onData(SimConnection& c, const std::string& bytes) override {
    pending += bytes;
    for (std::size_t end; (end = pending.find("\r\n")) != std::string::npos;) {
      const std::string line = pending.substr(0, end);
      pending.erase(0, end + 2);
      const bool isRead = line == "AT_IHIP?";
      long last = send(c, isRead                                       ? read
                          : line.rfind("AT_IHIP=\"DNS\",", 0) == 0  ? dns
                          : line.rfind("AT_IHIP=\"DNS2\",", 0) == 0 ? dns2
                                                                     : restart);
      if (isRead && hangUpAfterRead >= 0) c.close(last + hangUpAfterRead);
    }
  }
  static long send(SimConnection& c, const Pieces& pieces) {
    long t = 0;
    for (auto& [bytes, delayMs] : pieces) c.send(bytes, t += delayMs);
    return t;
  }
};

using Pair = std::pair<std::string, std::string>;
const Pair kRead{"10.0.0.1", "10.0.0.2"};
const std::string kAsk = "AT_IHIP?\r\n";
const std::string kDns = "AT_IHIP=\"DNS\",\"7.7.7.7 \"\r\n";
const std::string kDns2 = "AT_IHIP=\"DNS2\",\"8.8.8.8\"\r\n";
const std::string kRestarting = "Resetting modem. Wait 20 seconds.";
const std::string kCheck =
    "\r\nPlease check cable connections.\r\nRemove and reapply power to the modem.\r\n"
    "Use Tool menu to check DNS addresses.";

// A box as the user saw it, and when (ms after the click).
std::string Seen(int style, long atMs, const std::string& text,
                 const std::string& title = kUpgraderTitle) {
  return title + " (" + std::to_string(style) + ") at " + std::to_string(atMs) + ": " + text;
}

// A started window whose modem answers the AT port.
struct AtCase : Harness {
  std::shared_ptr<AtPeer> modem = std::make_shared<AtPeer>();
  std::vector<Pair> shown;  // the DNS dialog's addresses at each opening
  // What the user does at the n-th opening (closes it when there are no more).
  std::vector<std::function<void(DnsDialog&)>> user;

  AtCase() {
    platform.network.listen(kModem, settings.atPort, modem);
    ui().modalScripts["DNSverification"] = [this](Form& form) {
      auto& d = static_cast<DnsDialog&>(form);
      shown.emplace_back(d.DNS.text(), d.DNS2.text());
      if (shown.size() <= user.size()) user[shown.size() - 1](d);
    };
    load();
    advance(5000);
  }
  std::string boxes(long startMs) {
    std::string out;
    for (auto& b : ui().boxes) out += Seen(b.style, b.atMs - startMs, b.text, b.title);
    return out;
  }
  // Nothing of an earlier exchange is left to spoil the next read.
  bool nextReadIsClean() {
    platform.network.listen(kModem, settings.atPort, modem);
    *modem = AtPeer();
    user.clear();
    f().cmdSetDNS.click();
    advance(1000);
    return shown.back() == kRead && f().atChannel().idle() && !busy() && modem->received == kAsk;
  }
};

// Every road of a DNS change: what the dialog shows, what goes on the wire,
// the one box of a failure at its millisecond, and the restart the version
// query follows 25 s later. The user reads each box for 15 s while the
// modem hangs up: nothing follows it, the window is free and the next read
// starts clean.
TEST(AtChannel, EachRoadOfADnsChange) {
  enum User { Close, Modify, Keep };
  const std::string silent = "The modem did not answer the AT command." + kCheck;
  const std::string all = kAsk + kDns + kDns2 + "AT+CFUN=1,1\r\n";
  struct Case {
    Pieces read = AtPeer().read, dns = AtPeer().dns, dns2 = AtPeer().dns2,
           restart = AtPeer().restart;
    long hangUp = -1;  // after the answer to the read
    long acceptMs = 0;  // -1: the port refuses
    Pieces greeting = {};
    User user = Close;
    std::vector<Pair> shown = {kRead};
    std::string wire = kAsk;
    std::string boxes = "";
    long restartMs = -1;  // when the restart was ordered
  };
  std::vector<Case> cases = {
      {.read = {{"DNS: 10.9", 10}, {".8.7\r\nDN", 10}, {"S2: 10.6.5.4\r\nOK\r\n", 10}},
       .shown = {{"10.9.8.7", "10.6.5.4"}}},
      {.read = {{"DNS: 1.1.1.1\r\nDNS2: 2.2.2.2\r\nERROR\r\n", 10}},
       .shown = {{"1.1.1.1", "2.2.2.2"}}},
      {.read = {{"DNS: caf\xE9\r\nDNS2: 2.2.2.2\r\n", 10}}, .shown = {{"caf\xC3\xA9", "2.2.2.2"}}},
      // Up to a CR as it stands; without one, to the line's end less blanks.
      {.read = {{"DNS:  1.1.1.1 \rDNS2:2.2.2.2\r", 10}}, .shown = {{" 1.1.1.1 ", ".2.2.2"}}},
      {.read = {{"DNS: 1.1.1.1\nDNS2: 2.2.2.2 \n", 10}}, .shown = {{"1.1.1.1", "2.2.2.2"}}},
      {.read = {{"DNS2: 5.5.5.5\r\n", 10}}, .shown = {{" 5.5.5.5", ""}}},
      // Hung up right after the secondary address: that was the answer.
      {.read = {{"DNS: 10.0.0.1\r\nDNS2: 10.0.0.2", 10}}, .hangUp = 100},
      // Only OK or ERROR ends a write's wait; the restart's answer is not
      // read, and an unanswered restart counts as obeyed after 10 s.
      {.user = Modify, .wire = all, .restartMs = 80},
      {.dns = {{"busy\r\n", 10}, {"\r\nOK\r\n", 10}}, .restart = {{"ERROR\r\n", 10}},
       .user = Modify, .wire = all, .restartMs = 70},
      {.restart = {}, .user = Modify, .wire = all, .restartMs = 60 + 10000},
      {.user = Keep, .restartMs = 20},  // the reset order, over ZING
      {.read = {{"\r\nER", 10}, {"ROR\r\n", 10}}, .shown = {},
       .boxes = Seen(16, 20, "Can't verify DNS address.\r\n\r\nCheck if SIM card is inserted "
                             "correctly.\r\nReset Modem and repeat command.\r\n")},
      {.read = {}, .shown = {}, .boxes = Seen(48, 10000, silent)},
      {.dns = {}, .user = Modify, .wire = kAsk + kDns, .boxes = Seen(48, 10020, silent)},
      {.dns2 = {}, .user = Modify, .wire = kAsk + kDns + kDns2, .boxes = Seen(48, 10040, silent)},
      {.read = {{"DNS: 1.1", 10}}, .hangUp = 20, .shown = {},
       .boxes = Seen(48, 30, "The modem closed the AT connection without answering." + kCheck)},
      {.read = Pieces(100, {std::string(100, 'x'), 1}), .shown = {},
       .boxes = Seen(48, 82, "The modem's answer to the AT command could not be read." + kCheck)},
      // A refused address: the dialog shows the user's values again.
      {.dns = {{"\r\nERROR\r\n", 20}}, .user = Modify, .shown = {kRead, {"7.7.7.7 ", "8.8.8.8"}},
       .wire = kAsk + kDns, .boxes = Seen(16, 40, "Wrong DNS adress.\r\n")},
      {.dns2 = {{"\r\nERROR\r\n", 20}}, .user = Modify, .shown = {kRead, {"7.7.7.7 ", "8.8.8.8"}},
       .wire = kAsk + kDns + kDns2, .boxes = Seen(16, 60, "Wrong DNS2 adress.\r\n")},
      // The guard gave up: the late connection and its greeting reach nothing.
      {.acceptMs = 6000, .greeting = {{"+READY\r\n", 100}}, .shown = {}, .wire = "",
       .boxes = Seen(48, 5000, kConnectFailedText)},
      {.acceptMs = -1, .shown = {}, .wire = "", .boxes = Seen(48, 5000, kConnectFailedText)},
  };
  // Any TCP path may cut the reply anywhere, even right after "DNS2: ", or
  // send it in pieces of seven bytes, as a slow modem does.
  const std::string reply = DnsReply(kRead.first, kRead.second);
  for (std::size_t at = 1; at < reply.size(); ++at)
    cases.push_back({.read = {{reply.substr(0, at), 10}, {reply.substr(at), 50}}});
  cases.push_back({.read = {}});
  for (std::size_t at = 0; at < reply.size(); at += 7)
    cases.back().read.emplace_back(reply.substr(at, 7), 50);

  for (auto& c : cases) {
    SCOPED_TRACE(c.read.empty() ? c.boxes : c.read[0].first);
    AtCase h;
    h.modem->read = c.read;
    h.modem->dns = c.dns;
    h.modem->dns2 = c.dns2;
    h.modem->restart = c.restart;
    h.modem->hangUpAfterRead = c.hangUp;
    h.modem->acceptDelay = c.acceptMs;
    h.modem->greeting = c.greeting;
    if (c.acceptMs < 0) h.platform.network.unlisten(Harness::kModem, h.settings.atPort);
    if (c.user == Modify) {
      h.user = {[](DnsDialog& d) {
        d.DNS.setText(" 7.7.7.7 ");
        d.DNS2.setText("  8.8.8.8");
        d.cmdModify.click();
      }};
    }
    if (c.user == Keep) h.user = {[](DnsDialog& d) { d.cmdKeep.click(); }};
    h.ui().onMsgBox = [&h](const MsgRecord&) {
      h.ui().onMsgBox = nullptr;
      for (auto& line : h.modem->connections) line->close(100);
      h.advance(15000);
    };
    const long start = h.clock().nowMs();
    h.f().cmdSetDNS.click();
    if (c.restartMs >= 0) {
      ASSERT_TRUE(h.clock().advanceUntil([&] { return h.f().sbUpgrade.text() == kRestarting; },
                                         12000));
      EXPECT_EQ(h.clock().nowMs() - start, c.restartMs);
      const auto asked = h.zing->requests.size();
      h.advance(25000 - 1);
      EXPECT_EQ(h.zing->requests.size(), asked);
      EXPECT_TRUE(h.busy());
      h.advance(1);
      EXPECT_EQ(h.zing->requests.size(), asked + 1);
    }
    h.advance(30000);
    EXPECT_EQ(h.boxes(start), c.boxes);
    EXPECT_EQ(h.shown, c.shown);
    EXPECT_EQ(h.modem->received, c.wire);
    EXPECT_FALSE(h.busy());
    EXPECT_TRUE(h.nextReadIsClean());
  }
}

// A quote or a line break would end the command line early and send the
// rest as a command of its own; the dialog keeps what the user typed.
TEST(AtChannel, UnsendableAddressNeverReachesTheModem) {
  const std::string injected = "1.1.1.1\"\r\nAT+CFUN=1,1";
  const std::vector<std::string> bad = {injected, "a\rb", "a\nb", "1.1.1.1\t",
                                        std::string("a\0b", 3), "\x7F", "\xC2\x85",
                                        "\xE2\x82\xAC", "\xC3", "\xFF"};
  AtCase h;
  h.user = {[&](DnsDialog& d) {
    for (auto& text : bad) {
      d.DNS2.setText(text);
      d.cmdModify.click();
      EXPECT_FALSE(d.closed());
      EXPECT_EQ(d.DNS2.text(), text);
    }
    // Any other text goes as the modem's single bytes.
    d.DNS2.setText("any text, 999.1 ;'\xC3\xBF");
    d.cmdModify.click();
  }};
  h.f().cmdSetDNS.click();
  h.advance(2000);
  EXPECT_EQ(h.ui().boxes.size(), bad.size());
  for (auto& b : h.ui().boxes) EXPECT_EQ(b.text, kUnsendableDnsMessage);
  EXPECT_EQ(h.modem->received, kAsk + "AT_IHIP=\"DNS\",\"10.0.0.1\"\r\n"
                                      "AT_IHIP=\"DNS2\",\"any text, 999.1 ;'\xFF\"\r\nAT+CFUN=1,1\r\n");
}

TEST(AtChannel, ShortOrOddRepliesAreNeverReadPastTheirEnd) {
  for (const char* r : {"DNS", "DNS2", "DNS: ", "xxDNS2: ", "DNS: 1\r\nDNS2", "nothing"})
    EXPECT_EQ(ParseDnsReply(r).secondary, "") << r;
}

TEST(AtChannel, ClosingTheWindowSilencesThePendingTimeOutAndGuard) {
  for (bool connecting : {false, true}) {
    AtCase h;
    h.modem->read.clear();
    if (connecting) h.modem->mode = SimPeer::Accept::Ignore;
    h.f().cmdSetDNS.click();
    h.advance(1000);
    ASSERT_TRUE(h.f().requestClose(Form::kCloseBySystem));
    h.advance(AtChannel::kReplyTimeoutMs * 2);
    EXPECT_TRUE(h.ui().boxes.empty());
  }
}

// Only the last two numbers can be changed; nothing is checked, each box
// holds three characters, and only Update takes them.
TEST(ModemAddress, UpdateSetsTheAddressAndReopeningShowsIt) {
  Harness h;
  auto& f = h.load();
  h.advance(1000);  // start-up query done
  std::vector<Pair> shown;
  auto open = [&](std::string third, std::string fourth, std::string button) {
    h.ui().modalScripts["UpdateModemIP"] = [&, third, fourth, button](Form& form) {
      auto& d = static_cast<ModemAddressDialog&>(form);
      shown.emplace_back(d.txtIP3.text(), d.txtIP4.text());
      d.txtIP3.setText(third);
      d.txtIP4.setText(fourth);
      if (!button.empty()) static_cast<Button*>(d.find(button))->click();
    };
    f.cmdSetModemIP.click();
  };
  open(" 5 ", "77 ", "cmdUpdate");
  // Inner blanks survive in the numbers and the box, not at the ends of the
  // address in use.
  EXPECT_EQ(f.txtIPAddress.text(), "192.168.5 .77 ");
  EXPECT_EQ(f.session().modemAddress, "192.168.5 .77");
  open("9", "9", "cmdClose");
  open("9", "9", "");  // closed by its frame
  EXPECT_EQ(f.session().modemAddress, "192.168.5 .77");
  open("", "12345", "cmdUpdate");
  EXPECT_EQ(f.session().modemAddress, "192.168..123");
  EXPECT_EQ(shown, (std::vector<Pair>{{"128", "100"}, {"5 ", "77 "}, {"5 ", "77 "}, {"5 ", "77 "}}));
  EXPECT_TRUE(h.ui().boxes.empty());
}

}  // namespace
