// The process entry of Floeward: the desktop host's start-up, run with the game's own start.
#include "framework/app/glfw_host.h"
#include "game/my_app.h"

int main(int argc, const char* argv[]) {
    VoZembraGame::Main(argc, argv, voInit, voMain);
    return 0;
}
