#include "app/ConsoleUi.h"

#include "core/Texts.h"

#include <ostream>

#include "app/Presenter.h"
#include "app/ProgressDetail.h"
#include "core/JsonLine.h"
#include "core/TextUtilities.h"
#include "platform/Form.h"

namespace {

// What a box reports, for the console.
const char* BoxKind(int style) {
  if ((style & 7) == MsgYesNo) return "question";
  switch (style & 0x70) {
    case MsgCritical: return "error";
    case MsgExclamation: return "warning";
    case MsgInformation: return "information";
    default: return "message";
  }
}

// The kind of a box in the JSON stream: one of four.
const char* JsonKind(int style) {
  const std::string kind = BoxKind(style);
  return kind == "message" ? "information" : BoxKind(style);
}

// Text from the modem reaches the terminal only as visible characters.
void PrintIndented(std::ostream& os, const std::string& text) {
  std::string line;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      os << "    " << VisibleText(line) << "\n";
      line.clear();
    } else {
      line += text[i];
    }
  }
}
}  // namespace

ConsoleUi::ConsoleUi(std::ostream& out, std::ostream& err, const BatchOptions& options,
                     std::function<std::string()> timestamp)
    : out_(out), err_(err), options_(options), timestamp_(std::move(timestamp)) {}

int ConsoleUi::msgBox(const Text& shownText, int style, const Text& shownTitle) {
  const std::string text = shownText.english(), title = shownTitle.english();
  const bool question = (style & 7) == MsgYesNo;
  const int answer = !question ? MsgOk : options_.yes ? MsgYes : MsgNo;
  if (quiet_) return answer;
  if (holding_ && !question) {
    held_.push_back({text, style, title});
    return answer;
  }
  printBox(text, style, title, answer);
  return answer;
}

void ConsoleUi::showHeldBoxes() {
  holding_ = false;
  auto held = std::move(held_);
  held_.clear();
  for (const auto& b : held) printBox(b.text, b.style, b.title, MsgOk);
}

void ConsoleUi::printBox(const std::string& text, int style, const std::string& title,
                         int answer) {
  const bool question = (style & 7) == MsgYesNo;
  err_ << "[" << timestamp_() << "] " << BoxKind(style) << ": " << VisibleText(title) << "\n";
  PrintIndented(err_, text);
  if (question) err_ << "    -> " << (answer == MsgYes ? "Yes" : "No") << "\n";
  err_.flush();
  if (options_.json)
    json(JsonLine()
             .add("event", "box")
             .add("time", timestamp_())
             .add("title", title)
             .add("kind", JsonKind(style))
             .add("text", text)
             .add("answer", answer == MsgYes ? "yes" : answer == MsgNo ? "no" : "ok")
             .str());
}

void ConsoleUi::endLine() {
  if (!lineOpen_) return;
  out_ << "\n";
  lineOpen_ = false;
}

void ConsoleUi::setStatus(const Text& shown) {
  const std::string text = shown.english();
  if (text == status_) return;
  status_ = text;
  if (text.empty() || quiet_) return;
  endLine();
  if (options_.json) {
    json(JsonLine().add("event", "status").add("time", timestamp_()).add("text", text).str());
    return;
  }
  out_ << "[" << timestamp_() << "] " << VisibleText(text) << "\n";
  out_.flush();
}

void ConsoleUi::setProgress(int value) {
  value = value < 0 ? 0 : value > 100 ? 100 : value;
  if (value == lastProgress_ || quiet_) return;
  lastProgress_ = value;
  endLine();
  if (options_.json) {
    json(JsonLine().add("event", "progress").add("percent", value).str());
    return;
  }
  out_ << "[" << timestamp_() << "] progress " << value << "%\n";
  out_.flush();
}

void ConsoleUi::note(const std::string& text, bool skipped) {
  endLine();
  if (options_.json) {
    JsonLine line;
    line.add("event", "note").add("time", timestamp_()).add("text", text);
    if (skipped) line.add("skipped", true);
    json(line.str());
    return;
  }
  out_ << "[" << timestamp_() << "] " << VisibleText(text) << "\n";
  out_.flush();
}

void ConsoleUi::json(std::string line) {
  // A key's quotes cannot occur unescaped inside a string value.
  if (!interface_.empty() && line.size() > 2 && line.back() == '}' &&
      line.find("\"interface\":") == std::string::npos) {
    std::string field = JsonLine().add("interface", interface_).str();
    field.front() = ',';  // {"interface":…} becomes ,"interface":…
    field.pop_back();
    line.insert(line.size() - 1, field);
  }
  line += '\n';
  print(line);
}

void ConsoleUi::print(const std::string& text) {
  endLine();
  out_ << text;
  out_.flush();
}

void ConsoleUi::error(const std::string& text) {
  err_ << "[" << timestamp_() << "] error: " << VisibleText(text) << "\n";
  err_.flush();
}

void ConsoleUi::warning(const std::string& text) {
  err_ << "[" << timestamp_() << "] warning: " << VisibleText(text) << "\n";
  err_.flush();
}

void ConsoleUi::passOn(const std::string& line) {
  err_ << VisibleText(line) << "\n";
  err_.flush();
}

void ConsoleUi::showModal(Form& form) {
  form.reopen();
  form.load();
  if (!form.closed()) form.requestClose(Form::kCloseByUser);
}

std::optional<std::string> ConsoleUi::chooseRestoreVersion(
    const std::vector<std::string>& versions) {
  std::string available;
  bool found = false;
  for (std::size_t i = 0; i < versions.size(); ++i) {
    available += (i ? ", " : "") + versions[i];
    found = found || versions[i] == options_.restoreVersion.display();
  }
  if (found) {
    note("Restoring version " + options_.restoreVersion.display());
    return options_.restoreVersion.display();
  }
  error("Version " + options_.restoreVersion.display() + " is not in the backup directory." +
        (available.empty() ? "" : " Available: " + available));
  return std::nullopt;
}

DnsReview ConsoleUi::reviewDns(const std::string& primary, const std::string& secondary) {
  note("DNS servers: " + primary + " " + secondary);
  ++dnsReviews_;
  if (!options_.dns) return DnsReview{DnsReview::Choice::Keep, {}, {}};
  // Shown again after the modem refused an address: the same values would
  // only be refused again.
  if (dnsReviews_ > 1) return DnsReview{};
  return DnsReview{DnsReview::Choice::Modify, options_.dns->first, options_.dns->second};
}


bool ConsoleUi::allowStaticAddress(const std::string& pcAddress) {
  const Box box = StaticAddressQuestion(pcAddress);
  return msgBox(box.text, box.style, box.title) == MsgYes;
}

void ConsoleUi::hint(const std::string& text) {
  err_ << "[" << timestamp_() << "] hint: " << VisibleText(text) << "\n";
  err_.flush();
}

void ConsoleUi::showRunningVersion(const Text& text) {
  if (!holding_ || text == kUnknownVersionText) return;
  held_.clear();
  holding_ = false;
}

void ConsoleUi::phase(Phase phase, bool holdWhileRestarting) {
  if (holdWhileRestarting) {
    if (phase == Phase::WaitBack) held_.clear();
    if (phase == Phase::Requery || phase == Phase::WaitBack)
      holding_ = true;
    else if (holding_)
      showHeldBoxes();
  }
  if (quiet_ || !options_.json) return;
  json(JsonLine()
           .add("event", "phase")
           .add("time", timestamp_())
           .add("name", PhaseName(phase))
           .str());
}

void ConsoleUi::transfer(const Operation::Transfer& t, std::chrono::milliseconds now) {
  if (quiet_) return;
  const bool last = t.total >= 0 && t.done >= t.total;
  const bool another = t.local != transferLocal_;
  // Its end told already (a station sends the same file again, from the start).
  if (!another && transferWhole_ && last) return;
  transferWhole_ = last;
  const auto since = now - transferTold_;
  const bool due = options_.json ? since >= std::chrono::milliseconds(250)
                   : terminal_   ? since >= std::chrono::milliseconds(100)
                                 : since >= std::chrono::seconds(5);
  if (!last && !another && !due) return;
  transferLocal_ = t.local;
  transferTold_ = now;
  if (options_.json) {
    const TransferFigures f = Figures(t, now);
    JsonLine line;
    line.add("event", "transfer")
        .add("time", timestamp_())
        .add("direction", t.direction == FileMoved::Direction::Upload ? "upload" : "download")
        .add("remote", t.remote)
        .add("local", t.local)
        .add("bytes", t.done)
        .add("total", t.total)
        .add("rate_bps", f.bytesPerSecond);
    if (f.secondsLeft)
      line.add("eta_s", *f.secondsLeft);
    else
      line.add("eta_s", nullptr);
    if (f.secondsWithoutData)
      line.add("no_data_s", static_cast<long long>(*f.secondsWithoutData));
    else
      line.add("no_data_s", nullptr);
    json(line.str());
    return;
  }
  std::string text = "[";
  text += timestamp_();
  text += "] ";
  text += VisibleText(TransferText(t, now).english());
  if (!terminal_) {
    out_ << text << "\n";
  } else {
    // Over the line before, cleared to its end.
    out_ << "\r" << text << "\x1B[K";
    lineOpen_ = true;
    if (last) endLine();
  }
  out_.flush();
}
