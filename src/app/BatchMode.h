// Batch mode: the same logic as the window, with a console front end.
// Status texts go to standard output, message boxes to standard error, and
// the dialogs are answered from the command line.
#pragma once

#include <atomic>
#include <functional>

#include "app/BatchCommandLine.h"
#include "app/ConsoleUi.h"

class MainWindow;

// Runs one operation on a window that has not been started yet, on the
// platform's loop, and returns the exit code: 0 done, 1 failed, 2 no usable
// home directory, 3 modem unreachable. interrupts counts Ctrl+C presses;
// endProcess ends the process after an abandoned run has been cleaned up
// (without it the run returns 1). The window must answer its questions
// through ui. enterPressed tells, without waiting, whether the operator
// pressed Enter (station mode); none: never.
int RunBatch(MainWindow& window, ConsoleUi& ui, const BatchOptions& options,
             const std::atomic<int>& interrupts,
             const std::function<void(int code)>& endProcess = nullptr,
             const std::function<bool()>& enterPressed = nullptr);
