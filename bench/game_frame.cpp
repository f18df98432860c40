// Benchmarks of the game on a real window: OpenGL draw calls per rendered frame for the loading
// screen, a scene of 250 particles and 101 snowflakes and a busy level; and the cost of one
// update of the title and its panels, of a level in play or paused, and of building level 1,
// with the allocations they make.
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
        state.counters["records"] = app->m_drawCount / draw::kRecordFloats;
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

// Runs `update` once a turn, counting the allocations it makes (and not the benchmark loop's own).
template <class Update>
void CountAllocations(benchmark::State& state, Update update) {
    g_allocations = 0;
    for (auto _ : state) {
        g_countAllocations = true;
        update();
        g_countAllocations = false;
    }
    state.counters["allocations_per_update"] =
        benchmark::Counter(static_cast<double>(g_allocations), benchmark::Counter::kAvgIterations);
}

// The title screen with no panel open, the options box over it (argument 1) or the credits
// panel open (argument 2), each update through the host as the loop runs it.
void BM_TitleUpdate(benchmark::State& state) {
    Game& game = TheGame();
    game.FinishLoading();
    c_MyApp& app = *game.app;
    app.m_mode = screen::kTitle;
    app.m_optionsOpen = state.range(0) == 1 ? 1 : 0;
    app.m_creditsOpen = state.range(0) == 2 ? 1 : 0;
    // Open and still: the box risen, the panel slid out.
    for (int i = 0; i < 60; ++i) game.host->UpdateGame();
    CountAllocations(state, [&] { game.host->UpdateGame(); });
    app.m_optionsOpen = app.m_optionsSlide = 0;
    app.m_creditsOpen = 0;
    app.m_creditsX = 0;
}
BENCHMARK(BM_TitleUpdate)->Arg(0)->Arg(1)->Arg(2);

// The game's own share of that update, without the host's input polling around it.
void BM_TitleOnUpdate(benchmark::State& state) {
    Game& game = TheGame();
    game.FinishLoading();
    game.app->m_mode = 1;
    for (auto _ : state) game.app->p_OnUpdate();
}
BENCHMARK(BM_TitleOnUpdate);

// Building level 1 from its stored text, ten penguins placed, with the allocations it makes.
void BM_BuildLevelOne(benchmark::State& state) {
    c_MyApp& app = *TheGame().app;
    app.m_settings[0] = 10;
    // The stored texts are made on first use.
    app.p_GetLev(1);
    g_allocations = 0;
    g_countAllocations = true;
    for (auto _ : state) app.p_GetLev(1);
    g_countAllocations = false;
    state.counters["allocations_per_build"] =
        benchmark::Counter(static_cast<double>(g_allocations), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_BuildLevelOne);

// A closed box with a floor and two shelves, 50 penguins walking in it, the exit out of reach,
// and every skill counter at `counters`.
void BuildBusyLevel(c_MyApp& app, float counters) {
    app.p_FlushGame();
    app.m_level = 5;
    app.m_mode = screen::kInLevel;
    app.m_player[play::kExitX] = -10;
    app.m_player[play::kExitY] = -10;
    for (int x = 1; x <= grid::kCols; ++x) {
        app.p_PutTile(static_cast<float>(x), grid::kRows, 1 + x % 8);
        if (x < 10 || x > 19) app.p_PutTile(static_cast<float>(x), 9, 1 + x % 8);
    }
    for (int y = 1; y < grid::kRows; ++y) {
        app.p_PutTile(1, static_cast<float>(y), 1);
        app.p_PutTile(grid::kCols, static_cast<float>(y), 1);
    }
    for (int i = 0; i < pen::kRecords; ++i) {
        app.p_AddPen(static_cast<float>(2 + i % 26), i % 2 == 0 ? 13.0f : 8.0f, i % 3 == 0 ? -1 : 1, i, i == 0 ? 1 : 0);
    }
    for (int s = 0; s < skill::kCount; ++s) app.m_player[play::kCounters + s] = counters;
    // A full clock: a level whose time has run out is over, and its penguins stand still.
    app.m_player[play::kTimer] = play::kLevelSteps;
}

// One level update with no skill left: 31 simulation steps of 50 penguins, each drawn every step.
void BM_LevelUpdate(benchmark::State& state) {
    Game& game = TheGame();
    game.FinishLoading();
    c_MyApp& app = *game.app;
    BuildBusyLevel(app, 0);
    // Into their stride: every penguin out of its wait.
    for (int i = 0; i < 10; ++i) app.p_Game();
    CountAllocations(state, [&] {
        // The clock never runs out, so that every update is a full one.
        app.m_player[play::kTimer] = play::kLevelSteps;
        app.p_Game();
    });
    state.SetItemsProcessed(state.iterations());
    state.counters["records"] = app.m_drawCount / draw::kRecordFloats;
}
BENCHMARK(BM_LevelUpdate)->Unit(benchmark::kMicrosecond);

// A level played as the player sees it, through the host: one step an update with skills to
// give, the HUD's counters and timer and the hints of level 4 written; paused with the pause
// panel open over it (argument 1).
void BM_PlayingUpdate(benchmark::State& state) {
    Game& game = TheGame();
    game.FinishLoading();
    c_MyApp& app = *game.app;
    BuildBusyLevel(app, 3);
    app.m_level = 4;
    app.m_inputMode = 1;
    app.m_paused = state.range(0) == 1 ? 1 : 0;
    app.m_pauseDir = app.m_paused;
    for (int i = 0; i < 60; ++i) game.host->UpdateGame();
    CountAllocations(state, [&] {
        app.m_player[play::kTimer] = play::kLevelSteps;
        game.host->UpdateGame();
    });
    app.m_paused = 0;
}
BENCHMARK(BM_PlayingUpdate)->Arg(0)->Arg(1);

// Rendering a busy level: 50 penguins, tiles, the HUD, snow and a burst of 120 particles; one
// simulation step an update (argument 1) or 31 with no skill left (argument 31).
void BM_BusyLevelFrame(benchmark::State& state) {
    Game& game = TheGame();
    game.FinishLoading();
    c_MyApp& app = *game.app;
    BuildBusyLevel(app, state.range(0) == 1 ? 3.0f : 0.0f);
    // Long enough for every penguin to be out of its wait, at one step an update.
    for (int i = 0; i < 60; ++i) app.p_Game();
    app.p_ResetParticles(particle::kStartMax);
    for (int i = 0; i < 120; ++i) app.p_ThrowParticle(320, 200, 1 + i % 2, 1 + i % 3);
    app.m_player[play::kTimer] = play::kLevelSteps;
    app.p_Game();
    game.RenderFrames(state);
}
BENCHMARK(BM_BusyLevelFrame)->Arg(1)->Arg(31)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
