// Feeds arbitrary bytes to the game as its state file, through the host's real loading and
// saving: the file is decoded as String::Load decodes it, the game reads it, and its first save
// keeps a damaged file's bytes aside whole. What was saved loads back cleanly to the same string.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>

#include "framework/app/app.h"
#include "framework/app/files.h"
#include "framework/app/host.h"
#include "game/my_app.h"
#include "scratch_file.h"

namespace {

// The host's own loading and saving of the state file, with the file in the scratch folder.
class StateFileHost : public VoGame {
public:
    std::string path = vo_fuzz_ScratchFolder() + "/state";

    String PathToFilePath(String location) override {
        return location == String(kStateFileName) ? String(path) : location;
    }
    bool LoadedDamaged() const { return m_stateFile == StateFile::Damaged; }
};

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "app_state_file_fuzz: %s\n", what);
    std::abort();
}

// The saved sections as a new game object has them when its start loads the state. One object
// serves every input: making one clears tens of megabytes.
c_MyApp& FreshGame() {
    static Ref<c_MyApp> app = New<c_MyApp>();
    for (Array<int>* section : {&app->m_options, &app->m_badges, &app->m_progress}) {
        for (int i = 0; i < section->Length(); ++i) (*section)[i] = 0;
    }
    app->m_options[option::kSound] = option::kSoundDefault;
    return *app;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static StateFileHost* host = [] {
        auto* h = new StateFileHost();
        vo_framework_Init();
        return h;
    }();
    const std::string kept = host->path + kStateDamagedSuffix;
    std::remove(kept.c_str());
    vo_fuzz_WriteScratchFile("state", data, size);

    // The state as the game gets it is the file as any text file is read.
    Check(host->LoadState() == host->LoadString(String(host->path)), "state decoded unlike String::Load");
    c_MyApp& game = FreshGame();
    game.p_Load();
    const bool damaged = host->LoadedDamaged();

    game.p_Save();
    const std::string saved = game.p_SaveString().ToUtf8();
    Check(vo_fuzz_ReadScratchFile(host->path) == saved, "the file does not hold the saved string");
    bool keptExists = false;
    const std::string keptBytes = vo_fuzz_ReadScratchFile(kept, &keptExists);
    Check(keptExists == damaged, "a damaged file was not kept aside, or a clean one was");
    Check(!damaged || keptBytes == std::string(reinterpret_cast<const char*>(data), size),
          "the bytes kept aside are not the file's");

    // The next start reads what this one saved.
    FreshGame().p_Load();
    Check(!host->LoadedDamaged(), "a saved file loads as damaged");
    Check(game.p_SaveString().ToUtf8() == saved, "the saved string changed on reload");
    gc_collect();
    return 0;
}
