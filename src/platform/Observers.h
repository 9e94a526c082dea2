// A list of callbacks for one kind of notification: a subsystem's outcomes
// reach every part that observes them (workflows, the window, batch mode),
// and a control's changes reach its views.
#pragma once

#include <functional>
#include <utility>
#include <vector>

template <class... Args>
class Observers {
 public:
  using Callback = std::function<void(Args...)>;
  int add(Callback callback) {
    callbacks_.emplace_back(++lastId_, std::move(callback));
    return lastId_;
  }
  void remove(int id) {
    for (auto it = callbacks_.begin(); it != callbacks_.end(); ++it)
      if (it->first == id) {
        callbacks_.erase(it);
        return;
      }
  }
  void clear() { callbacks_.clear(); }
  bool empty() const { return callbacks_.empty(); }
  void operator()(Args... args) const {
    auto copy = callbacks_;  // an observer may remove itself
    for (auto& c : copy) c.second(args...);
  }

 private:
  std::vector<std::pair<int, Callback>> callbacks_;
  int lastId_ = 0;
};
