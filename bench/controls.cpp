// Benchmark of the action lookup, which a speeded-up level calls thousands of times per update:
// the cost of one p_PlayKey call and the allocations it makes. No window is needed.
#include <benchmark/benchmark.h>

#include <iterator>

#include "framework/app/host.h"
#include "framework/app/input.h"
#include "game/my_app.h"
#include "bench/bench_support.h"

namespace {

// Every action the tables list, on the keyboard alone and on each pad.
constexpr int kActions[] = {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 98, 99};
constexpr int kPadsRead[] = {-1, 0, 1, 2, 3};

// The game object and an input device with one key held (the lookups that find it stop early,
// as they do in play), made once: the benchmark runs each function several times.
c_MyApp* TheApp() {
    static c_MyApp* app = [] {
        vo_framework_Init();
        vo_game_Init();
        vo_input_SetInputDevice(new c_InputDevice());
        vo_input_device->p_KeyEvent(c_VoGameEvent::KeyDown, 'J');
        return new c_MyApp();
    }();
    return app;
}

void PlayKeyCalls(benchmark::State& state, int icade) {
    c_MyApp* app = TheApp();
    iCadeControls = icade;
    g_allocations = 0;
    g_countAllocations = true;
    for (auto _ : state) {
        for (int pad : kPadsRead) {
            for (int a : kActions) benchmark::DoNotOptimize(app->p_PlayKey(a, 1, pad));
        }
    }
    g_countAllocations = false;
    const double calls = static_cast<double>(state.iterations()) * std::size(kPadsRead) * std::size(kActions);
    state.counters["time_per_call"] =
        benchmark::Counter(calls, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["allocations"] = static_cast<double>(g_allocations);
}

void BM_PlayKey(benchmark::State& state) { PlayKeyCalls(state, 0); }
BENCHMARK(BM_PlayKey);

void BM_PlayKeyICade(benchmark::State& state) { PlayKeyCalls(state, 1); }
BENCHMARK(BM_PlayKeyICade);

}  // namespace

BENCHMARK_MAIN();
