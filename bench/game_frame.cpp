// Benchmarks of the game on a real window: OpenGL draw calls per rendered frame for the loading
// screen and for a scene of 250 particles and 101 snowflakes, and the cost of one update of the
// title state with the allocations it makes.
#include <benchmark/benchmark.h>

#include <string>
#include <unistd.h>

#include "framework/app/game_delegate.h"
#include "framework/app/glfw_host.h"
#include "framework/app/glfw_window_system.h"
#include "framework/graphics/gl.h"
#include "game/my_app.h"
#include "bench/bench_support.h"

namespace {

// The desktop host with its data folder in the build directory, one level above the benchmark.
class BenchHost : public VoGlfwGame {
public:
    explicit BenchHost(VoWindowSystem* ws) : VoGlfwGame(ws) {
        char path[4096];
        ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
        std::string exe(path, n > 0 ? static_cast<size_t>(n) : 0);
        std::string dir = exe.substr(0, exe.rfind('/'));
        m_appPath = String(dir.substr(0, dir.rfind('/')));
    }
};

// The game started once in a 640x480 window, as the program starts it.
struct Game {
    Game() {
        setenv("ALSOFT_DRIVERS", "null", 0);
        if (!ws.Init()) std::abort();
        host = new BenchHost(&ws);
        vo_framework_Init();
        vo_game_Init();
        app = new c_MyApp();
        app->m_new();
        host->SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
        host->SetSwapInterval(0);
        host->StartGame();
        VoGl::Install(&gl);
    }
    void Pass() {
        host->RenderGame();
        host->UpdateGame();
    }
    void FinishLoading() {
        for (int i = 0; i < 100 && app->m_loadStep != 0; ++i) Pass();
    }
    // Renders and shows frames of the recorded queue, counting draw calls.
    void RenderFrames(benchmark::State& state) {
        gl.draws = 0;
        for (auto _ : state) {
            host->RenderGame();
            ws.SwapBuffers();
        }
        state.counters["draw_calls_per_frame"] =
            benchmark::Counter(static_cast<double>(gl.draws), benchmark::Counter::kAvgIterations);
        state.counters["records"] = app->m_drawCount / c_MyApp::kRecordFloats;
    }

    VoGlfwWindowSystem ws;
    BenchHost* host = nullptr;
    c_MyApp* app = nullptr;
    CountingGl gl;
};

Game& TheGame() {
    static Game* game = new Game();
    return *game;
}

void BM_LoadingScreenFrame(benchmark::State& state) {
    Game& game = TheGame();
    game.host->RenderGame();
    game.app->p_WaitStart(1);
    game.RenderFrames(state);
}
BENCHMARK(BM_LoadingScreenFrame)->Unit(benchmark::kMillisecond);

void BM_ParticlesAndSnowFrame(benchmark::State& state) {
    Game& game = TheGame();
    c_MyApp& app = *game.app;
    game.FinishLoading();
    app.p_DoBG(20, 40, 80, -123);
    app.p_ResetParticles(250);
    for (int i = 0; i < 250; ++i) app.p_ThrowParticle(320, 240, 1 + i % 9, 1 + i % 9, -3717, 1);
    app.p_ResetStars(100);
    app.p_DoSnow(0, 0);
    app.p_DoParticles(1);
    game.RenderFrames(state);
}
BENCHMARK(BM_ParticlesAndSnowFrame)->Unit(benchmark::kMillisecond);

void BM_TitleUpdate(benchmark::State& state) {
    Game& game = TheGame();
    game.FinishLoading();
    game.app->m_mode = 1;
    g_allocations = 0;
    g_countAllocations = true;
    for (auto _ : state) game.host->UpdateGame();
    g_countAllocations = false;
    state.counters["allocations_per_update"] =
        benchmark::Counter(static_cast<double>(g_allocations), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_TitleUpdate);

// The game's own share of that update, without the host's input polling around it.
void BM_TitleOnUpdate(benchmark::State& state) {
    Game& game = TheGame();
    game.FinishLoading();
    game.app->m_mode = 1;
    for (auto _ : state) game.app->p_OnUpdate();
}
BENCHMARK(BM_TitleOnUpdate);

}  // namespace

BENCHMARK_MAIN();
