// Frame-time benchmark of the batched renderer: one busy frame (2,000 textured quads from one
// surface, 200 rectangles, 50 ovals) drawn through the drawing context and swapped, at 640x480
// and 1920x1080. Reports OpenGL draw calls and framework allocations per frame.
#include <benchmark/benchmark.h>

#include "framework/app/app.h"
#include "framework/app/glfw_host.h"
#include "framework/app/glfw_window_system.h"
#include "framework/graphics/gl.h"
#include "framework/graphics/graphics_context.h"
#include "bench/bench_support.h"

namespace {

struct Scene {
    static constexpr int kQuads = 2000, kRects = 200, kOvals = 50;
    float quad[kQuads][3];  // x, y, frame
    float rect[kRects][4];
    float oval[kOvals][4];

    Scene(int width, int height) {
        unsigned seed = 1234;
        auto next = [&seed](float range) {
            seed = seed * 1664525u + 1013904223u;
            return static_cast<float>(seed >> 8) * 5.9604645e-8f * range;
        };
        for (auto& q : quad) q[0] = next(float(width)), q[1] = next(float(height)), q[2] = next(64);
        for (auto& r : rect) r[0] = next(float(width)), r[1] = next(float(height)), r[2] = 4 + next(60), r[3] = 4 + next(60);
        for (auto& o : oval) o[0] = next(float(width)), o[1] = next(float(height)), o[2] = 4 + next(80), o[3] = 4 + next(80);
    }
};

VoGlfwGame& Host() {
    static VoGlfwWindowSystem windowSystem;
    static VoGlfwGame host(&windowSystem);
    static bool initialised = windowSystem.Init();
    if (!initialised) std::abort();
    return host;
}

void DrawBusyFrame(const Scene& scene, c_Image* image) {
    for (int i = 0; i < Scene::kQuads; ++i) {
        const float* q = scene.quad[i];
        if (i % 4 == 0) {
            vo_graphics_DrawImage2(image, q[0], q[1], q[2] * 5.625f, 1.5f, 1.5f, static_cast<int>(q[2]));
        } else {
            vo_graphics_DrawImage(image, q[0], q[1], static_cast<int>(q[2]));
        }
    }
    for (int i = 0; i < Scene::kRects; ++i) {
        const float* r = scene.rect[i];
        vo_graphics_SetColor(r[2] * 4, 255 - r[3] * 4, 128);
        vo_graphics_DrawRect(r[0], r[1], r[2], r[3]);
    }
    vo_graphics_SetAlpha(0.5f);
    for (int i = 0; i < Scene::kOvals; ++i) {
        const float* o = scene.oval[i];
        vo_graphics_DrawEllipse(o[0], o[1], o[2], o[3]);
    }
}

void BM_BusyFrame(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    VoGlfwGame& host = Host();
    host.SetGlfwWindow(width, height, 8, 8, 8, 0, 0, 0, false);
    host.SetSwapInterval(0);
    vo_app__devWidth = width;
    vo_app__devHeight = height;

    CountingGl gl;
    VoGl::Install(&gl);
    Ref<gxtkGraphics> device = New<gxtkGraphics>();
    vo_graphics_SetGraphicsDevice(device.Get());
    Ref<c_Image> image;
    {
        // A 256x256 sheet of 64 frames of 32x32, made in memory.
        Ref<gxtkSurface> surface = device->CreateSurface(256, 256);
        Array<int> pixels(256 * 256);
        for (int i = 0; i < pixels.Length(); ++i) pixels[i] = static_cast<int>(0xFF000000u | (i * 2654435761u >> 8));
        device->WritePixels2(surface.Get(), pixels, 0, 0, 256, 256, 0, 256);
        image = New<c_Image>();
        image->p_Init2(surface.Get(), 0, 0, 32, 32, 64, 1, nullptr, 0, 0, 256, 256);
    }
    Scene scene(width, height);

    long long draws = 0, allocations = 0;
    for (auto _ : state) {
        device->BeginRender();
        vo_graphics_BeginRender();
        device->Cls(32, 48, 64);
        long long drawsBefore = gl.draws, allocationsBefore = g_allocations;
        g_countAllocations = true;
        DrawBusyFrame(scene, image.Get());
        vo_graphics_EndRender();
        device->EndRender();
        g_countAllocations = false;
        draws += gl.draws - drawsBefore;
        allocations += g_allocations - allocationsBefore;
        host.WindowSystem()->SwapBuffers();
    }
    state.counters["draw_calls_per_frame"] = benchmark::Counter(double(draws) / double(state.iterations()));
    state.counters["allocations_per_frame"] = benchmark::Counter(double(allocations) / double(state.iterations()));

    image = nullptr;
    vo_graphics_SetGraphicsDevice(nullptr);
    device = nullptr;
    gc_collect();
    VoGl::Install(nullptr);
}

BENCHMARK(BM_BusyFrame)->Args({640, 480})->Args({1920, 1080})->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
