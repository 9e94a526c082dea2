// The AT channel as the user drives it (the DNS read, review, writes and
// restart, and every way the modem fails them) and the modem-address dialog.
#include <gtest/gtest.h>

#include "at/AtChannel.h"
#include "at/AtText.h"
#include "app/DnsDialog.h"
#include "at/ModemAddressDialog.h"
#include "core/Texts.h"
#include "operations/ModemSession.h"
#include "sim/Harness.h"

namespace {
using Pieces = std::vector<std::pair<std::string, long>>;  // bytes, delay after the one before

std::string DnsReply(const std::string& dns, const std::string& dns2) {
  return "DNS: " + dns + "\r\nDNS2: " + dns2 + "\r\nOK\r\n";
}

// What the modem's AT port answers to each command line, in pieces; an
// empty answer is a modem that stays silent, a piece without bytes hangs up.
struct Script {
  Pieces read = {{DnsReply("10.0.0.1", "10.0.0.2"), 20}};
  Pieces dns = {{"OK\r\n", 20}}, dns2 = {{"OK\r\n", 20}}, restart = {{"OK\r\n", 20}};
  Pieces greeting = {};  // on each accept
  long acceptMs = 0;     // -1: the port refuses
};

struct AtPeer : BasicPeer, Script {
  std::string pending;
  Accept accept() override { return acceptMs < 0 ? Accept::Refuse : mode; }
  long acceptDelayMs() override { return acceptMs; }
  void onAccept(SimConnection& c) override { send(c, greeting); }
  void onData(SimConnection& c, const std::string& bytes) override {
    pending += bytes;
    for (std::size_t end; (end = pending.find("\r\n")) != std::string::npos;) {
      const std::string line = pending.substr(0, end);
      pending.erase(0, end + 2);
      send(c, line == "AT_IHIP?"                             ? read
              : line.rfind("AT_IHIP=\"DNS\",", 0) == 0  ? dns
              : line.rfind("AT_IHIP=\"DNS2\",", 0) == 0 ? dns2
                                                         : restart);
    }
  }
  static void send(SimConnection& c, const Pieces& pieces) {
    long t = 0;
    for (auto& [bytes, delayMs] : pieces) {
      t += delayMs;
      bytes.empty() ? c.close(t) : c.send(bytes, t);
    }
  }
};

using Pair = std::pair<std::string, std::string>;
const Pair kRead{"10.0.0.1", "10.0.0.2"};
const std::string kAsk = "AT_IHIP?\r\n";
const std::string kDns = "AT_IHIP=\"DNS\",\"7.7.7.7 \"\r\n";
const std::string kDns2 = "AT_IHIP=\"DNS2\",\"8.8.8.8 ;'\xFF\"\r\n";
const std::string kCheck =
    "\r\nPlease check cable connections.\r\nRemove and reapply power to the modem.\r\n"
    "Use Tool menu to check DNS addresses.";

// A box as the user saw it, and when (ms after the click).
std::string Seen(int style, long ms, const std::string& text, std::string title = kUpgraderTitle) {
  return title + " (" + std::to_string(style) + ") at " + std::to_string(ms) + ": " + text;
}

// A started window whose modem answers the AT port.
struct AtCase : Harness {
  std::shared_ptr<AtPeer> modem = std::make_shared<AtPeer>();
  std::vector<Pair> shown;  // the DNS dialog's addresses at each opening
  // What the user does at the first opening; later ones are closed.
  std::function<void(DnsDialog&)> user;

  AtCase() {
    platform.network.listen(kModem, settings.atPort, modem);
    ui().modalScripts["DNSverification"] = [this](Form& form) {
      auto& d = static_cast<DnsDialog&>(form);
      shown.emplace_back(d.DNS.text(), d.DNS2.text());
      if (shown.size() == 1 && user) user(d);
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
    static_cast<Script&>(*modem) = Script();
    modem->received.clear();
    user = nullptr;
    f().cmdSetDNS.click();
    advance(1000);
    return shown.back() == kRead && f().modem().atChannel().idle() && !busy() && modem->received == kAsk;
  }
};

// Every road of a DNS change: the dialog, the wire, a failure's one box at its
// millisecond (nothing follows while the user reads it for 15 s), the restart
// and the version query 25 s later; then the next read starts clean.
TEST(AtChannel, EachRoadOfADnsChange) {
  const auto modify = [](DnsDialog& d) {
    d.DNS.setText(" 7.7.7.7 ");
    d.DNS2.setText("  8.8.8.8 ;'\xC3\xBF");  // single bytes on the wire
    d.cmdModify.click();
  };
  const auto keep = [](DnsDialog& d) { d.cmdKeep.click(); };
  const std::string silent = "The modem did not answer the AT command." + kCheck;
  const std::string all = kAsk + kDns + kDns2 + "AT+CFUN=1,1\r\n";
  struct Case {
    Script modem = {};
    std::function<void(DnsDialog&)> user = nullptr;  // nothing: closes the dialog
    std::vector<Pair> shown = {kRead};
    std::string wire = kAsk;
    std::string boxes = "";
    long restartMs = -1;  // when the restart was ordered
  };
  std::vector<Case> cases = {
      {.modem = {.read = {{"DNS: 10.9", 10}, {".8.7\r\nDN", 10}, {"S2: 10.6.5.4\r\nOK\r\n", 10}}},
       .shown = {{"10.9.8.7", "10.6.5.4"}}},
      {.modem = {.read = {{"DNS: 1.1.1.1\r\nDNS2: 2.2.2.2\r\nERROR\r\n", 10}}},
       .shown = {{"1.1.1.1", "2.2.2.2"}}},
      {.modem = {.read = {{"DNS: caf\xE9\r\nDNS2: 2.2.2.2\r\n", 10}}},
       .shown = {{"caf\xC3\xA9", "2.2.2.2"}}},
      // Up to a CR as it stands; without one, to the line's end less blanks.
      {.modem = {.read = {{"DNS:  1.1.1.1 \rDNS2:2.2.2.2\r", 10}}},
       .shown = {{" 1.1.1.1 ", ".2.2.2"}}},
      {.modem = {.read = {{"DNS: 1.1.1.1\nDNS2: 2.2.2.2 \n", 10}}},
       .shown = {{"1.1.1.1", "2.2.2.2"}}},
      {.modem = {.read = {{"DNS2: 5.5.5.5\r\n", 10}}}, .shown = {{" 5.5.5.5", ""}}},
      // Hung up right after the secondary address: that was the answer.
      {.modem = {.read = {{"DNS: 10.0.0.1\r\nDNS2: 10.0.0.2", 10}, {"", 100}}}},
      {.modem = {.read = {{"xxDNS2: ", 10}, {"", 10}}}, .shown = {{"", ""}}},  // never past the end
      // Only OK or ERROR ends a write's wait; a silent restart is obeyed.
      {.user = modify, .wire = all, .restartMs = 80},
      {.modem = {.dns = {{"busy\r\n", 10}, {"\r\nOK\r\n", 10}}, .restart = {{"ERROR\r\n", 10}}},
       .user = modify, .wire = all, .restartMs = 70},
      {.modem = {.restart = {}}, .user = modify, .wire = all, .restartMs = 60 + 10000},
      {.user = keep, .restartMs = 20},  // the reset order, over ZING
      {.modem = {.read = {{"\r\nER", 10}, {"ROR\r\n", 10}}}, .shown = {},
       .boxes = Seen(16, 20, "Can't verify DNS address.\r\n\r\nCheck if SIM card is inserted "
                             "correctly.\r\nReset Modem and repeat command.\r\n")},
      {.modem = {.read = {}}, .shown = {}, .boxes = Seen(48, 10000, silent)},
      {.modem = {.dns = {}}, .user = modify, .wire = kAsk + kDns, .boxes = Seen(48, 10020, silent)},
      {.modem = {.dns2 = {}}, .user = modify, .wire = kAsk + kDns + kDns2,
       .boxes = Seen(48, 10040, silent)},
      {.modem = {.read = {{"DNS: 1.1", 10}, {"", 20}}}, .shown = {},
       .boxes = Seen(48, 30, "The modem closed the AT connection without answering." + kCheck)},
      {.modem = {.read = Pieces(100, {std::string(100, 'x'), 1})}, .shown = {},
       .boxes = Seen(48, 82, "The modem's answer to the AT command could not be read." + kCheck)},
      // A refused address: the dialog shows the user's values again.
      {.modem = {.dns = {{"\r\nERROR\r\n", 20}}}, .user = modify,
       .shown = {kRead, {"7.7.7.7 ", "8.8.8.8 ;'\xC3\xBF"}},
       .wire = kAsk + kDns, .boxes = Seen(16, 40, "Wrong DNS adress.\r\n")},
      {.modem = {.dns2 = {{"\r\nERROR\r\n", 20}}}, .user = modify,
       .shown = {kRead, {"7.7.7.7 ", "8.8.8.8 ;'\xC3\xBF"}},
       .wire = kAsk + kDns + kDns2, .boxes = Seen(16, 60, "Wrong DNS2 adress.\r\n")},
      // The guard gave up: the late connection and its greeting reach nothing.
      {.modem = {.greeting = {{"+READY\r\n", 100}}, .acceptMs = 6000}, .shown = {}, .wire = "",
       .boxes = Seen(48, 5000, kConnectFailedText)},
      {.modem = {.acceptMs = -1}, .shown = {}, .wire = "",
       .boxes = Seen(48, 5000, kConnectFailedText)},
  };
  // Any TCP path may cut the reply anywhere, even right after "DNS2: ", or
  // send it in pieces of seven bytes, as a slow modem does.
  const std::string reply = DnsReply(kRead.first, kRead.second);
  for (std::size_t at = 1; at < reply.size(); ++at)
    cases.push_back({.modem = {.read = {{reply.substr(0, at), 10}, {reply.substr(at), 50}}}});
  cases.push_back({.modem = {.read = {}}});
  for (std::size_t at = 0; at < reply.size(); at += 7)
    cases.back().modem.read.emplace_back(reply.substr(at, 7), 50);

  for (auto& c : cases) {
    SCOPED_TRACE(c.modem.read.empty() ? c.boxes : c.modem.read[0].first);
    AtCase h;
    static_cast<Script&>(*h.modem) = c.modem;
    h.user = c.user;
    h.ui().onMsgBox = [&h](const MsgRecord&) {
      h.ui().onMsgBox = nullptr;
      for (auto& line : h.modem->connections) line->close(100);
      h.advance(15000);
    };
    const long start = h.clock().nowMs();
    h.f().cmdSetDNS.click();
    if (c.restartMs >= 0) {
      const std::string restarting = "Resetting modem. Wait 20 seconds.";
      ASSERT_TRUE(h.clock().advanceUntil([&] { return h.f().status() == restarting; }, 12000));
      EXPECT_EQ(h.clock().nowMs() - start, c.restartMs);
      const auto asked = h.zing->requests.size();
      h.advance(25000 - 1);
      EXPECT_EQ(h.zing->requests.size(), asked);
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
  const std::vector<std::string> bad = {"1.1.1.1\"\r\nAT+CFUN=1,1", "a\rb", "a\nb", "1.1.1.1\t",
                                        std::string("a\0b", 3), "\x7F", "\xC2\x85",
                                        "\xE2\x82\xAC", "\xC3", "\xFF"};
  AtCase h;
  h.user = [&](DnsDialog& d) {
    for (auto& text : bad) {
      d.DNS2.setText(text);
      d.cmdModify.click();
      EXPECT_FALSE(d.closed());
      EXPECT_EQ(d.DNS2.text(), text);
    }
  };
  h.f().cmdSetDNS.click();
  h.advance(2000);
  EXPECT_EQ(h.ui().boxes.size(), bad.size());
  for (auto& b : h.ui().boxes) EXPECT_EQ(b.text, kUnsendableDnsMessage);
  EXPECT_EQ(h.modem->received, kAsk);
}

// Only the last two numbers can be typed, three characters each; nothing
// checks them, and only Update takes them.
TEST(ModemAddress, UpdateTakesTheNumbersAsTypedAndReopeningShowsThem) {
  Harness h;
  auto& f = h.load();
  h.advance(1000);  // start-up query done
  std::vector<Pair> shown;
  for (std::string button : {"cmdUpdate", "cmdClose", ""}) {  // "": closed by its frame
    h.ui().modalScripts["UpdateModemIP"] = [&shown, button](Form& form) {
      auto& d = static_cast<ModemAddressDialog&>(form);
      shown.emplace_back(d.txtIP3.text(), d.txtIP4.text());
      d.txtIP3.setText(shown.size() == 1 ? " 5 " : "9");
      d.txtIP4.setText("12 45");
      if (!button.empty()) static_cast<Button*>(d.find(button))->click();
    };
    f.cmdSetModemIP.click();
    // Inner blanks stay in the box, not at the ends of the address in use.
    EXPECT_EQ(f.txtIPAddress.text(), "192.168.5 .12 ");
    EXPECT_EQ(f.session().modemAddress, "192.168.5 .12");
  }
  EXPECT_EQ(shown, (std::vector<Pair>{{"128", "100"}, {"5 ", "12 "}, {"5 ", "12 "}}));
}

}  // namespace
