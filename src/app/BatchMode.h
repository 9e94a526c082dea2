// Batch mode: the same logic as the window, with a console front end.
// Status texts go to standard output, message boxes to standard error, and
// the dialogs are answered from the command line.
#pragma once

#include <atomic>
#include <functional>

#include "app/BatchCommandLine.h"
#include "app/ConsoleUi.h"
#include "app/Settings.h"
#include "platform/Platform.h"

// Runs one operation (or a station) on the platform's loop and returns the
// exit code: 0 done, 1 failed, 2 unusable (home, image, interface or
// argument), 3 modem unreachable, 130 abandoned. The platform's Ui must be
// ui, which also answers the operations' questions. interrupts counts
// Ctrl+C presses; endProcess ends the process after an abandoned run has
// been cleaned up (without it the run returns 130). enterPressed tells,
// without waiting, whether the operator pressed Enter (station mode);
// none: never.
int RunBatch(Platform& platform, const Settings& settings, ConsoleUi& ui,
             const BatchOptions& options, const std::atomic<int>& interrupts,
             const std::function<void(int code)>& endProcess = nullptr,
             const std::function<bool()>& enterPressed = nullptr);
