// The handler of the signals that ask the program to end, and the flag it leaves for the loop.
#include "framework/app/end_request.h"

#include <csignal>
#include <initializer_list>

namespace {

volatile sig_atomic_t endRequested = 0;

// Only async-signal-safe work here: the loop does the rest.
void OnEndSignal(int sig) {
    if (endRequested) {
        // Asked again while ending (a save that hangs, a player who means it): end now.
        signal(sig, SIG_DFL);
        raise(sig);
        return;
    }
    endRequested = 1;
}

}  // namespace

void vo_install_end_signals() {
    struct sigaction action = {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    // A write of the save in progress goes on rather than failing with EINTR.
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &action, nullptr);
}

bool vo_app_EndRequested() { return endRequested != 0; }
