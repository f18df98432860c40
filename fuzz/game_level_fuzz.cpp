// Feeds arbitrary text to the level decoder and builds a level of what it gives, in the
// headless game; when asked, plays it for a few seconds with the speed-up key held.
// Input: a level byte (its top bit asks for play), a penguins byte, then the run-length coded
// text.
// The decoder must give back any text coded as the game codes its levels; a built level holds
// only known tiles inside an empty border and, from a whole text, the penguins asked for.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

#include "game/defs.h"
#include "game/my_app.h"
#include "tools/replay/headless_game.h"

namespace {

constexpr int kHeaderBytes = 2;
constexpr int kLevels = 15;
constexpr int kPlayBit = 0x80;
constexpr int kMaxPenguins = 50;
// At five steps an update, the first penguin drops in and walks for four seconds.
constexpr int kPlayedUpdates = 60;
constexpr int kSpeedUpKey = 'K';
constexpr int kSeed = 1234;
// Far more updates than the loader takes to load everything.
constexpr int kMaxLoadingUpdates = 100;
// The longest run one count letter codes.
constexpr int kLongestRun = 52;
constexpr int kUpperCounts = 26;

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "game_level_fuzz: %s\n", what);
    std::abort();
}

// Codes text as the stored levels are coded: runs of one character, each as a count letter
// ("A" 1 to "Z" 26, "a" 27 to "z" 52) and the character.
String RunLengthCode(std::u16string_view text) {
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        size_t run = 1;
        while (i + run < text.size() && text[i + run] == text[i] && run < kLongestRun) ++run;
        const int count = static_cast<int>(run);
        out.push_back(static_cast<char16_t>(count <= kUpperCounts ? 'A' + count - 1 : 'a' + count - kUpperCounts - 1));
        out.push_back(text[i]);
        i += run;
    }
    return String(std::move(out));
}

bool KnownTile(float code) {
    const int t = static_cast<int>(code);
    return static_cast<float>(t) == code &&
           (t == tile::kEmpty || (t >= tile::kFirstBlock && t <= tile::kLastBlock) || t == tile::kStart ||
            t == tile::kExit || (t >= tile::kSkillPickup && t <= tile::kPenguinPickup));
}

void CheckBuilt(c_MyApp& app, bool whole, int penguins) {
    for (int x = 0; x <= grid::kCols + 1; ++x) {
        for (int y = 0; y <= grid::kRows + 1; ++y) {
            const float code = app.m_grid[(y * grid::kRowCells + x) * grid::kCellFloats];
            const bool border = x == 0 || y == 0 || x == grid::kCols + 1 || y == grid::kRows + 1;
            Check(border ? code == tile::kEmpty : KnownTile(code), "unknown tile, or a tile on the border");
        }
    }
    int waiting = 0;
    for (int r = 0; r < pen::kRecords; ++r) waiting += app.m_pen[r * pen::kFloats + pen::kInPlay] != 0;
    Check(waiting == (whole ? penguins : 0), "penguins waiting");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static VoNullGl* gl = new VoNullGl();
    static c_HeadlessGame* game = [] {
        auto* made = new c_HeadlessGame();
        for (int i = 0; i < kMaxLoadingUpdates && made->m_app->m_loadStep != 0; ++i) made->p_Pass();
        return made;
    }();
    (void)gl;
    if (size < kHeaderBytes) return 0;
    c_MyApp& app = *game->m_app;
    const int level = (data[0] & ~kPlayBit) % kLevels + 1;
    const int penguins = data[1] % kMaxPenguins + 1;
    const String text(std::string_view(reinterpret_cast<const char*>(data + kHeaderBytes), size - kHeaderBytes));

    const String expanded = app.p_JuNKrunch(text);
    Check(app.p_JuNKrunch(RunLengthCode(expanded.View())) == expanded, "a coded text does not decode to itself");

    // Playing costs a thousand times what building does: only the inputs that ask for it play,
    // after the clean start a level gets from the title.
    const bool played = (data[0] & kPlayBit) != 0;
    app.m_level = level;
    app.m_settings[0] = penguins;
    if (played) {
        app.m_mode = screen::kInLevel;
        app.m_tapSkill = -1;
        app.p_FlushGame();
    }
    app.p_SeedRnd(kSeed);
    app.p_BuildLevel(level, expanded);
    CheckBuilt(app, expanded.Length() >= grid::kCols * grid::kRows + play::kCounterSlots, penguins);
    if (!played) return 0;

    // The sounds played are recorded; only this input's are kept, so memory stays flat.
    game->m_audio->plays.clear();
    game->m_host.KeyEvent(c_VoGameEvent::KeyDown, kSpeedUpKey);
    for (int i = 0; i < kPlayedUpdates; ++i) game->p_Pass();
    game->m_host.KeyEvent(c_VoGameEvent::KeyUp, kSpeedUpKey);
    return 0;
}
