// Ending the program from outside: SIGTERM (logout, shutdown), SIGINT and SIGHUP ask the host
// loop to end the way a window close does, so that nothing pending is lost.
#pragma once

// Installs the handlers. The first signal only sets a flag the loop reads; a second one while
// the flag is set ends the program at once, as the signal would by itself.
void vo_install_end_signals();
// A signal asked the program to end.
bool vo_app_EndRequested();
