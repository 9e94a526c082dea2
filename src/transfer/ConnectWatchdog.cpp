#include "transfer/ConnectWatchdog.h"

#include "app/frmMain.h"

ConnectWatchdog::ConnectWatchdog(frmMain& f) : f(f) {
  f.tmrTelnetConnect->onTick = [this] { tmrTelnetConnect_Timer(); };
}

std::string ConnectWatchdog::PicMessage() {
  return std::string("Can not send command to upgrade the PIC. ") + kCrLf +
         "Please check cable connections, remove and reapply power to the modem." + kCrLf +
         "Repeat upgrade process.";
}

// The connection did not open within 5 s. The At socket is left alone: the
// AT channel closes it itself.
void ConnectWatchdog::tmrTelnetConnect_Timer() {
  f.Telnet->close();
  f.tmrTelnetConnect->setEnabled(false);
  f.SetBusyState(0);
  f.SetStatus("Connection failed.");
  // The text follows the codes as they stood; they are cleared before the
  // box, so that a connection opening while it is shown sends nothing.
  const std::int32_t telnetCommand = f.lngTelnetCommand;
  const std::int32_t atCommand = f.lngATCommand;
  f.lngTelnetCommand = 0;
  f.lngATCommand = 0;
  std::string text;
  if (telnetCommand == 1)
    text = PicMessage();
  else if (atCommand == 1)
    text = std::string("Can not save new setting and reset the modem. ") + kCrLf +
           "Please check cable connections." + kCrLf + "Remove and reapply power to the modem." +
           kCrLf + "Use Tool menu to check DNS addresses.";
  else
    text = std::string("Can not Connect to AT interface. ") + kCrLf +
           "Please check cable connections." + kCrLf + "Remove and reapply power to the modem." +
           kCrLf + "Repeat upgrade process.";
  f.ui().msgBox(text, MsgExclamation, kUpgraderTitle);
}
