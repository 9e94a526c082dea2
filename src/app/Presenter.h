// How the user is told: the words, icon and title of every message box the
// tool shows, from the notices its parts report. The window shows them as
// boxes, batch mode on its console; both through the platform's Ui.
#pragma once

#include <string>

#include "app/Audience.h"
#include "core/Notice.h"
#include "core/Session.h"
#include "platform/Platform.h"

struct Box {
  Text text;
  int style = MsgOkOnly;
  Text title;
};

// The box that tells the user of a notice.
Box BoxFor(const Notice& notice);
// The question before the PC's address is changed (Yes and No).
Box StaticAddressQuestion(const std::string& pcAddress);

class Presenter : public NoticeSink {
 public:
  // To a console the window's success instructions stay unsaid. With the
  // session, no box advises a power cycle while the modem's image is known
  // to be incomplete.
  explicit Presenter(Ui& ui, Audience audience = Audience::Window, const Session* session = nullptr)
      : ui_(ui), audience_(audience), session_(session) {}
  void report(const Notice& notice) override;

 private:
  Ui& ui_;
  Audience audience_;
  const Session* session_;
};
