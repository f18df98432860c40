// Runtime error reporting and the program's log: how the framework ends on a fatal error.
#pragma once

#include "framework/app/string.h"

// Writes one line to standard output as UTF-8 and flushes.
void voPrint(const String& line);
void voDebugLog(const String& line);

// An empty message ends the program at once with status 0; any other message is a runtime
// error: it is reported through dbg_error and the program exits with status -1.
[[noreturn]] void voError(const String& message);
[[noreturn]] void dbg_error(const char* text);

// Installs the handler that turns SIGSEGV, SIGILL and SIGFPE into runtime errors.
void vo_install_signal_handlers();
