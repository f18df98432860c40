// VoZembraGame::Main: the start-up order, from the data folder's lock to the host loop.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "framework/app/app.h"
#include "framework/app/data_folder.h"
#include "framework/app/end_request.h"
#include "framework/app/error.h"
#include "framework/app/glfw_host.h"
#include "framework/app/glfw_window_system.h"

int vo_argc = 0;
const char** vo_argv = nullptr;

namespace {

// The exit status of a copy that found its data folder in use.
constexpr int kFolderInUse = 1;

}  // namespace

int VoZembraGame::Main(int argc, const char* argv[], void (*programInit)(), void (*programMain)()) {
    // One copy per data folder: two would each save the progress they loaded over the other's.
    if (vo_file_ClaimDataFolder() == VoFolderClaim::kHeldElsewhere) {
        std::fputs("Floeward is already running with this data folder\n", stderr);
        std::exit(kFolderInUse);
    }
    static VoGlfwWindowSystem windowSystem;
    if (!windowSystem.Init()) {
        std::puts("glfwInit failed");
        std::fflush(stdout);
        // Why, when the window system says (no display, no access to it, ...).
        const char* why = windowSystem.LastError();
        if (*why) std::fprintf(stderr, "%s\n", why);
        _exit(-1);
    }
    auto* game = new VoZembraGame(&windowSystem);
    vo_argc = argc;
    vo_argv = argv;
    vo_install_signal_handlers();
    vo_install_end_signals();
    if (!std::setlocale(LC_CTYPE, "en_US.UTF-8")) std::setlocale(LC_CTYPE, "");
    try {
        programInit();
        programMain();
    } catch (ThrowableObject* ex) {
        windowSystem.Terminate();
        game->Die(ex);
    }
    if (game->Delegate()) game->Run();
    windowSystem.Terminate();
    return 0;
}
