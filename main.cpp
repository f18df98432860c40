// The process entry of Floeward.
#include "framework/app/glfw_host.h"

int main(int argc, const char* argv[]) {
    VoZembraGame::Main(argc, argv);
    return 0;
}
