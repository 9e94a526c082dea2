#include "app/UnitHook.h"

#include <cstdio>

#include "core/TextUtilities.h"

void UnitHook::start(int unit, const Environment& environment,
                     std::function<void(const Result&)> finished) {
  result_ = Result{};
  result_.unit = unit;
  finished_ = std::move(finished);
  started_ = platform_.loop().now();
  running_ = true;
  child_ = platform_.createChildProcess();
  child_->setEnvironment(environment);
  child_->onOutputLine = [this](const std::string& line) { keep(line); };
  child_->onErrorLine = [this](const std::string& line) { keep(line); };
  child_->onExit = [this](int code, bool crashed) {
    result_.exitCode = crashed ? -1 : code;
    result_.crashed = crashed;
    end();
  };
  limitTimer_ = platform_.createTimer();
  limitTimer_->onTick = [this] {
    limitTimer_->setEnabled(false);
    result_.timedOut = true;
    // Its end is reported as it comes: a killed process ends at once.
    child_->kill();
  };
  if (!child_->start(program_, {})) {
    // Told from the loop, as an end would be.
    limitTimer_->onTick = [this] {
      limitTimer_->setEnabled(false);
      end();
    };
    limitTimer_->setInterval(0);
    limitTimer_->setEnabled(true);
    return;
  }
  result_.started = true;
  limitTimer_->setInterval(static_cast<int>(limit_.count() * 1000));
  limitTimer_->setEnabled(true);
}

void UnitHook::kill() {
  if (running_ && result_.started) child_->kill();
}

void UnitHook::keep(const std::string& line) {
  if (result_.output.size() >= kOutputBytes) {
    result_.outputCut = true;
    return;
  }
  if (!result_.output.empty()) result_.output += '\n';
  result_.output += line;
  if (result_.output.size() > kOutputBytes) {
    result_.output.resize(kOutputBytes);
    result_.outputCut = true;
  }
}

void UnitHook::end() {
  if (!running_) return;
  running_ = false;
  limitTimer_->setEnabled(false);
  result_.seconds = static_cast<double>((platform_.loop().now() - started_).count()) / 1000.0;
  if (finished_) finished_(result_);
}

std::string HookText(const UnitHook::Result& r, std::chrono::seconds limit) {
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.1f s", r.seconds);
  std::string text = !r.started  ? "could not be started"
                     : r.timedOut ? "ended at its limit of " + std::to_string(limit.count()) + " s"
                     : r.crashed  ? std::string("ended by a signal in ") + seconds
                                  : "exit code " + std::to_string(r.exitCode) + " in " + seconds;
  if (!r.output.empty()) {
    std::string shown;
    for (char c : r.output) shown += c == '\n' ? std::string(" / ") : std::string(1, c);
    text += ": " + VisibleText(shown) + (r.outputCut ? "..." : "");
  }
  return text;
}
