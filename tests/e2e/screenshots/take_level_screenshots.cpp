// Pictures of the fifteen levels shortly after their start, for docs/LEVELS.md. The campaign's
// stored solutions, played on the headless game, leave the saved progress that opens every level
// with the penguins and counters the campaign enters it with; the real executable then starts on
// that progress once a level, turns the title's wheel to the level by keys, and is shot once its
// first penguin has popped in. scripts/level-screenshots.sh builds and runs this with
// FLOEWARD_LEVEL_SCREENSHOTS set to the folder the PNG files go to.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "e2e/real_window.h"
#include "e2e/reference.h"
#include "game/image_sheets.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr TestKey kDownKey{40, "Down"};
// Where the game keeps its progress, in the folder it runs in.
constexpr char kStateFile[] = ".zembrastate";
// The level is compared with the window as it stands kLevelShown updates after its start, and
// its first penguin is looked for within kPopInWithin of them.
constexpr int kLevelShown = 40;
constexpr int kPopInWithin = 600;
// The picture is taken when the first penguin stands where it does this many updates after it
// came out of the entrance, landed and walked clear of it; or, where a pick-up by the entrance
// changes a counter or adds a penguin before then, kBeforeDisturbed updates before it did.
constexpr int kAfterPopIn = 60;
constexpr size_t kBeforeDisturbed = 10;
// Pixels darker than this, and changed by more than kChangedBy since the level was first seen,
// are a penguin; fewer than kPenguinPixels of them are not. It is looked for within kSearchWidths
// of its own widths to either side of where it will stand, and stands there when the centre of
// its dark pixels is kNear window pixels from it (it walks about 0.6 of one an update).
constexpr int kDarkLuminance = 110;
constexpr int kChangedBy = 60;
constexpr int kPenguinPixels = 20;
constexpr float kSearchWidths = 3;
constexpr float kNear = 2;
// The real penguin stands within kNear of the headless one, give or take its walk's frame.
constexpr float kCoverSlack = 4;
// Presses of a key on the title, each given kPressSeenWithin to show what it does, before it
// counts as failed.
constexpr int kPressTries = 3;
constexpr auto kPressSeenWithin = 5s;
// The skill slots' counters are written in the bottom band of the screen, this high; a line of
// text is shown when its glyphs differ from the sheet's by at most kShown a channel, as the
// end-to-end checks allow.
constexpr float kHudBand = 33;
constexpr double kShown = 24;

std::string LevelFile(int level, const char* suffix) {
    char name[32];
    std::snprintf(name, sizeof name, "levels/%02d.%s", level, suffix);
    std::ifstream in(fs::path(FLOEWARD_SOURCE_DIR) / name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The lines of a level's script that state what the campaign enters the level with.
std::string EntryChecks(int level) {
    std::istringstream script(LevelFile(level, "script"));
    std::string checks;
    for (std::string line; std::getline(script, line);) {
        if (line.rfind("expect ", 0) == 0) checks += line + "\n";
    }
    return checks;
}

// The penguins a scene draws: their sheet's pictures but the selection marker, which shares it.
std::vector<Drawn> Penguins(const Scene& scene) {
    std::vector<Drawn> penguins = scene.OfSlot(image::kPenguin);
    std::erase_if(penguins, [](const Drawn& d) { return d.frame == image::kSelectedMarkerFrame; });
    return penguins;
}

// The progress the campaign leaves: every stored solution played in turn from a first start.
testing::AssertionResult PlayCampaign(std::string& state) {
    c_ReplayRunner runner;
    for (int level = 1; level <= progress::kLevels; ++level) {
        const std::string script = LevelFile(level, "script");
        if (script.empty()) return testing::AssertionFailure() << "no script for level " << level;
        if (testing::AssertionResult played = RunScript(runner, script); !played) {
            return played << " (level " << level << ")";
        }
    }
    if (testing::AssertionResult saved = RunScript(runner, "focus off\n"); !saved) return saved;
    const c_MyApp& app = runner.p_App();
    for (int level = 1; level <= progress::kLevels; ++level) {
        if (app.m_progress[progress::RecordOf(level)] <= 0) {
            return testing::AssertionFailure() << "the campaign rescued no penguin in level " << level;
        }
    }
    state = runner.p_State();
    return testing::AssertionSuccess();
}

// What the real window must show for one level: the title as it starts and after each turn of the
// wheel towards the level, the level just built, and the level when its picture is taken.
struct LevelReference {
    std::vector<Scene> titles;
    Scene level, shot;
    bool down = false;
    // The update of the level that first draws a penguin.
    int popIn = -1;
};

testing::AssertionResult Reference(const std::string& state, int level, LevelReference& ref) {
    c_ReplayRunner runner(state);
    c_MyApp& app = runner.p_App();
    if (auto settled = RunScript(runner, kSettledTitleScript); !settled) return settled;
    // The wheel starts past the highest level completed; the arrows turn it a level a press.
    const int from = app.m_levelSel + 1;
    ref.down = level > from;
    ref.titles.push_back(CaptureScene(app));
    for (int i = std::abs(level - from); i > 0; --i) {
        if (auto turned = RunScript(runner, HoldScript(ref.down ? kDownKey : kUpKey)); !turned) return turned;
        ref.titles.push_back(CaptureScene(app));
    }
    if (app.m_levelSel != level - 1) {
        return testing::AssertionFailure() << "the wheel stands at level " << app.m_levelSel + 1 << ", not " << level;
    }
    if (auto started = RunScript(runner, HoldScript(kEnterKey) + "until mode 10 10\n" + EntryChecks(level));
        !started) {
        return started << " (level " << level << ")";
    }
    const int start = runner.p_Updates();
    const std::vector<float> entered(&app.m_player[play::kCounters], &app.m_player[play::kCounters + skill::kCount]);
    bool undisturbed = true;
    // The last undisturbed scenes: the real penguin is seen at its mark a few updates late.
    std::deque<Scene> recent;
    runner.m_onUpdate = [&](int updates) {
        const int n = updates - start;
        if (n == kLevelShown) ref.level = CaptureScene(app);
        if (ref.popIn < 0 && !Penguins(CaptureScene(app)).empty()) ref.popIn = n;
        if (ref.popIn >= 0 && n <= ref.popIn + kAfterPopIn && undisturbed) {
            Scene scene = CaptureScene(app);
            undisturbed = Penguins(scene).size() == 1 &&
                          std::equal(entered.begin(), entered.end(), &app.m_player[play::kCounters]);
            if (undisturbed) recent.push_back(std::move(scene));
            if (recent.size() > kBeforeDisturbed + 1) recent.pop_front();
        }
    };
    auto played = RunScript(runner, "wait " + std::to_string(kPopInWithin + kAfterPopIn) + "\n");
    runner.m_onUpdate = nullptr;
    if (!played) return played;
    if (!recent.empty()) ref.shot = undisturbed ? recent.back() : recent.front();
    if (ref.popIn < 0 || ref.popIn > kPopInWithin) {
        return testing::AssertionFailure() << "no penguin in the first " << kPopInWithin << " updates of level "
                                           << level;
    }
    // The penguins come out of the entrance only after the level has been shown a while.
    if (ref.popIn <= kLevelShown) {
        return testing::AssertionFailure() << "the first penguin of level " << level << " is out in update "
                                           << ref.popIn << ", before the level is compared";
    }
    if (Penguins(ref.shot).size() != 1) {
        return testing::AssertionFailure() << "level " << level << " draws no update with its first penguin alone";
    }
    return testing::AssertionSuccess();
}

// The first penguin as the picture is taken: where its dark pixels are centred, and the window
// rows and columns it is looked for in.
struct PenguinMark {
    float x = 0, top = 0, bottom = 0, left = 0, right = 0;
    // More changed pixels than the penguin's picture holds are something else: the sky still
    // fading from the title's night as the level starts.
    int most = 0;
};

// From the headless picture's only penguin: the lower two thirds of its picture (above them floats
// its marker), kSearchWidths of its widths to either side.
PenguinMark MarkOf(const Drawn& penguin, int detail) {
    const image::Sheet* sheet = image::SheetOf(image::kPenguin);
    const float width = static_cast<float>(sheet->frameWidth * detail) * std::fabs(penguin.scaleX);
    const float height = static_cast<float>(sheet->frameHeight * detail) * std::fabs(penguin.scaleY);
    PenguinMark mark;
    mark.top = penguin.y - height / 2 + height / 3;
    mark.bottom = penguin.y + height / 2;
    mark.left = penguin.x - kSearchWidths * width;
    mark.right = penguin.x + kSearchWidths * width;
    mark.x = DarkCentreX(penguin, detail, kDarkLuminance, mark.top, mark.bottom);
    mark.most = static_cast<int>(width * (mark.bottom - mark.top));
    return mark;
}

// Whether the penguin stands where the mark has it: enough dark pixels changed since `before`, but
// no more than a penguin's, centred within kNear window pixels of it.
bool PenguinAtMark(const Picture& now, const Picture& before, const PenguinMark& mark) {
    double sum = 0;
    int count = 0;
    const int x0 = std::max(0, static_cast<int>(mark.left)), x1 = std::min(now.width, static_cast<int>(mark.right));
    const int y0 = std::max(0, static_cast<int>(std::ceil(mark.top)));
    const int y1 = std::min(now.height, static_cast<int>(std::ceil(mark.bottom)));
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const unsigned char *c = now.At(x, y), *b = before.At(x, y);
            if (Luminance(c[0], c[1], c[2]) >= kDarkLuminance) continue;
            if (std::abs(c[0] - b[0]) + std::abs(c[1] - b[1]) + std::abs(c[2] - b[2]) <= kChangedBy) continue;
            sum += x;
            ++count;
        }
    }
    return count >= kPenguinPixels && count <= mark.most &&
           std::fabs(static_cast<float>(sum / count) - mark.x) <= kNear;
}

// The scene without the tiles that a penguin or its marker covers, or comes within kCoverSlack
// window pixels of: the real game is not shot in exactly the update the scene is drawn in.
Scene Uncovered(const Scene& scene) {
    struct Box {
        float left, top, right, bottom;
    };
    auto box = [&](const Drawn& d) {
        const image::Sheet* sheet = image::SheetOf(d.slot);
        const float w = static_cast<float>(sheet->frameWidth * scene.detail) * std::fabs(d.scaleX) / 2;
        const float h = static_cast<float>(sheet->frameHeight * scene.detail) * std::fabs(d.scaleY) / 2;
        return Box{d.x - w, d.y - h, d.x + w, d.y + h};
    };
    std::vector<Box> covers;
    for (const Drawn& d : scene.images) {
        // The selection marker comes from the penguin sheet too.
        if (d.slot == image::kPenguin) {
            const Box b = box(d);
            covers.push_back(
                {b.left - kCoverSlack, b.top - kCoverSlack, b.right + kCoverSlack, b.bottom + kCoverSlack});
        }
    }
    Scene uncovered{{}, scene.detail};
    for (const Drawn& d : scene.images) {
        bool covered = false;
        if (d.slot == image::kTiles) {
            const Box t = box(d);
            for (const Box& c : covers) {
                covered = covered || (t.left < c.right && c.left < t.right && t.top < c.bottom && c.top < t.bottom);
            }
        }
        if (!covered) uncovered.images.push_back(d);
    }
    return uncovered;
}

// Whether the picture shows the skill slots' counters as the scene writes them (counters side by
// side with no icon between them read as one line).
bool ShowsCounters(const Picture& picture, const Scene& scene, float screenHeight, std::string* why) {
    int shown = 0;
    for (const TextLine& line : scene.Lines()) {
        if (line.glyphs.front().y < screenHeight - kHudBand || line.glyphs.front().alpha < 1) continue;
        // The slots' key caps blink while their key is held: only the figures are compared.
        if (line.text.find_first_not_of("0123456789") != std::string::npos) continue;
        const double m = WorstMismatch(picture, line.glyphs, scene.detail);
        if (m < 0 || m > kShown) {
            *why = "the counter \"" + line.text + "\" is not shown (mismatch " + std::to_string(m) + ")";
            return false;
        }
        ++shown;
    }
    if (shown == 0) *why = "the headless level writes no counters";
    return shown > 0;
}

// The levels named in FLOEWARD_LEVELS (numbers separated by blanks), or all of them when it is
// unset or blank; none when it names anything but levels.
std::vector<int> LevelsAsked() {
    std::vector<int> levels;
    if (const char* asked = std::getenv("FLOEWARD_LEVELS")) {
        std::istringstream words(asked);
        for (int level; words >> level;) {
            if (level < 1 || level > progress::kLevels) return {};
            levels.push_back(level);
        }
        if (!words.eof()) return {};
        if (!levels.empty()) return levels;
    }
    for (int level = 1; level <= progress::kLevels; ++level) levels.push_back(level);
    return levels;
}

using LevelScreenshots = RealGameTest;

TEST_F(LevelScreenshots, EveryLevelShortlyAfterItsStart) {
    const char* out = std::getenv("FLOEWARD_LEVEL_SCREENSHOTS");
    ASSERT_NE(out, nullptr) << "set FLOEWARD_LEVEL_SCREENSHOTS to the folder for the pictures";
    fs::create_directories(out);

    std::string state;
    ASSERT_TRUE(PlayCampaign(state));

    const std::vector<int> levels = LevelsAsked();
    ASSERT_FALSE(levels.empty()) << "FLOEWARD_LEVELS names levels 1 to " << progress::kLevels << ", blank-separated";
    for (int level : levels) {
        SCOPED_TRACE("level " + std::to_string(level));
        LevelReference ref;
        ASSERT_TRUE(Reference(state, level, ref));

        // A fresh start on the campaign's progress each time, as a player who opens the game.
        std::ofstream(dir / kStateFile, std::ios::binary | std::ios::trunc) << state;
        ASSERT_NO_FATAL_FAILURE(Launch());
        std::string why;
        const std::string name = "level-" + std::to_string(level);
        // A key at a time, each seen to act before the next: a game starved of the processor can
        // miss a press, which is then made again while the window still shows the title before it.
        auto press = [&](const char* key, size_t title, const std::function<bool(const Picture&)>& acted,
                         const std::string& what) {
            for (int tries = 0; tries < kPressTries; ++tries) {
                PressKey(key);
                if (WaitForPicture(acted, kPressSeenWithin, what)) return testing::AssertionSuccess();
                if (!ShowsTitle(shot, ref.titles[title], &why)) {
                    return testing::AssertionFailure() << key << " did something else: " << why;
                }
            }
            return testing::AssertionFailure() << key << " was pressed " << kPressTries << " times: " << why;
        };
        ASSERT_TRUE(WaitForPicture([&](const Picture& p) { return ShowsTitle(p, ref.titles[0], &why); }, 30s,
                                   name + "-title"))
            << why;
        for (size_t turns = 1; turns < ref.titles.size(); ++turns) {
            ASSERT_TRUE(press(
                ref.down ? kDownKey.name : kUpKey.name, turns - 1,
                [&](const Picture& p) { return ShowsTitle(p, ref.titles[turns], &why); }, name + "-wheel"));
        }
        ASSERT_TRUE(press(
            kEnterKey.name, ref.titles.size() - 1, [&](const Picture& p) { return ShowsLevel(p, ref.level, &why); },
            name));
        // Seen long before its first penguin comes out; the picture is taken when the penguin
        // stands where the headless game has it then (a busy machine slows the game down).
        const Picture before = shot;
        const PenguinMark mark = MarkOf(Penguins(ref.shot).front(), ref.shot.detail);
        ASSERT_TRUE(WaitForPicture([&](const Picture& p) { return PenguinAtMark(p, before, mark); }, 20s,
                                   name + "-penguin"));
        const Picture picture = shot;
        const bool shown = ShowsLevel(picture, Uncovered(ref.shot), &why) &&
                           ShowsCounters(picture, ref.shot, static_cast<float>(picture.height), &why);
        if (!shown) SavePicture(picture, FailedDir() / (name + "-shot.ppm"));
        ASSERT_TRUE(shown) << why;

        char file[16];
        std::snprintf(file, sizeof file, "%02d.png", level);
        ASSERT_TRUE(SavePng(picture, fs::path(out) / file));
        EXPECT_EQ(Close(), 0) << game->Log();
    }
}

}  // namespace
