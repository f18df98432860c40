// Feeds arbitrary saved-state text to the game's loader. Whatever it reads must leave the
// options clamped, the flags 0 or 1 and the level wheel in range, and saving what was loaded
// must load back to the very same string.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "framework/app/app.h"
#include "framework/app/host.h"
#include "game/globals.h"
#include "game/my_app.h"

namespace {

class FuzzHost : public VoGame {
public:
    String state;
    String LoadState() override { return state; }
    int SaveState(String text) override {
        state = text;
        return 0;
    }
};

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "game_load_fuzz: %s\n", what);
    std::abort();
}

// A game object with the defaults start-up gives before reading the saved state.
Ref<c_MyApp> FreshGame() {
    Ref<c_MyApp> app = New<c_MyApp>();
    app->m_options[option::kSound] = option::kSoundDefault;
    return app;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzHost* host = [] {
        auto* h = new FuzzHost();
        vo_framework_Init();
        return h;
    }();
    host->state = String(std::string_view(reinterpret_cast<const char*>(data), size));

    Ref<c_MyApp> app = FreshGame();
    app->p_Load();
    Check(app->m_options[10] >= 64 && app->m_options[11] >= 64, "pad position below 64");
    Check(app->m_options[12] >= 8 && app->m_options[14] == 1 && overscan == 0, "pad size or inset not clamped");
    for (int i = 0; i < app->m_badges.Length(); ++i) Check(app->m_badges[i] == 0 || app->m_badges[i] == 1, "badge flag");
    Check(app->m_levelSel >= 0 && app->m_levelSel <= 14, "level selection out of range");
    Check(app->m_wheelPos == -32.0f * static_cast<float>(app->m_levelSel), "wheel position");

    app->p_Save();
    std::string first = host->state.ToUtf8();
    Ref<c_MyApp> again = FreshGame();
    again->p_Load();
    Check(again->m_levelSel == app->m_levelSel, "level selection changed on reload");
    again->p_Save();
    Check(host->state.ToUtf8() == first, "saved string changed on reload");

    app = nullptr;
    again = nullptr;
    gc_collect();
    return 0;
}
