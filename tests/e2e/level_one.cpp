// Level 1 played: the headless runs that say where the penguin walks and what the screens show,
// and the player in the real window who finds the penguin by its dark pixels and jumps in time.
#include "e2e/level_one.h"

#include <chrono>
#include <cmath>
#include <sstream>
#include <thread>

#include "game/image_sheets.h"

using namespace std::chrono_literals;

namespace {

// A penguin unseen this long after a jump has left the pit: a missed jump lands back in it sooner.
constexpr auto kOutOfThePit = 2s;
// The player looks at the window this often, leaving the game the processor in between, and
// gives up after kPatience.
constexpr auto kLookEvery = 10ms;
constexpr auto kPatience = 90s;
// Pixels darker than this, and changed by more than kChangedBy since before the penguin came,
// are the penguin; fewer than kPenguinPixels of them are not.
constexpr int kDarkLuminance = 110;
constexpr int kChangedBy = 60;
constexpr int kPenguinPixels = 20;
// The penguin is looked for in the lower part of its picture, below the marker that floats over it.
constexpr float kBandTop = 1.0f / 3;

// Where the penguin is in a picture of the level: the mean x of the dark pixels that were not
// there before it came, within rows [top, bottom).
struct Sighting {
    bool seen = false;
    float x = 0;
};

Sighting FindPenguin(const Picture& now, const Picture& before, float top, float bottom) {
    double sum = 0;
    int count = 0;
    const int y0 = std::max(0, static_cast<int>(std::ceil(top)));
    const int y1 = std::min(now.height, static_cast<int>(std::ceil(bottom)));
    for (int y = y0; y < y1; ++y) {
        for (int x = 0; x < now.width; ++x) {
            const unsigned char *c = now.At(x, y), *b = before.At(x, y);
            if (Luminance(c[0], c[1], c[2]) >= kDarkLuminance) continue;
            if (std::abs(c[0] - b[0]) + std::abs(c[1] - b[1]) + std::abs(c[2] - b[2]) <= kChangedBy) continue;
            sum += x;
            ++count;
        }
    }
    if (count < kPenguinPixels) return {};
    return {true, static_cast<float>(sum / count)};
}

}  // namespace

std::vector<int> LevelOneRecord(const c_MyApp& app) {
    std::vector<int> record;
    for (int k = 0; k <= play::kCarriedCounters; ++k) record.push_back(app.m_progress[progress::kRecordBase + k]);
    return record;
}

ReadBack::ReadBack(const std::string& state) {
    c_ReplayRunner runner(state);
    EXPECT_TRUE(RunScript(runner, kSettledTitleScript));
    const c_MyApp& app = runner.p_App();
    record = LevelOneRecord(app);
    topScore = app.m_progress[0];
    selected = app.m_levelSel;
    title = CaptureScene(app);
}

LevelOneRun PlayLevelOne(int jump) {
    LevelOneRun run;
    c_ReplayRunner runner;
    c_MyApp& app = runner.p_App();
    EXPECT_TRUE(RunScript(runner, kSettledTitleScript));
    run.title = CaptureScene(app);
    // Enter starts the level in the first update that sees it held; the level's updates count from there.
    const std::string enter = std::to_string(kEnterKey.code);
    EXPECT_TRUE(RunScript(runner, "key down " + enter + "\nuntil mode 10 10\n"));
    const int started = runner.p_Updates();
    EXPECT_TRUE(RunScript(runner, "key up " + enter + "\n"));
    run.walk.resize(static_cast<size_t>(jump));
    runner.m_onUpdate = [&](int updates) {
        const int n = updates - started;
        if (n == kLevelShown) run.level = CaptureScene(app);
        if (n < jump) {
            const std::vector<Drawn> penguin = CaptureScene(app).OfSlot(image::kPenguin);
            if (!penguin.empty()) run.walk[static_cast<size_t>(n)] = penguin.front();
        }
        if (app.m_mode == screen::kInLevel && app.m_levelOver != 0 && app.m_endTimer == kBannerOut) {
            run.banner = CaptureScene(app);
        }
    };
    // The key goes down before update `jump` of the level, so that update sees it held.
    EXPECT_TRUE(RunScript(runner, "at " + std::to_string(started + jump - 1) + "\nkey tap " +
                                      std::to_string(kJumpKey.code) + "\nuntil mode 1 2000\n"));
    runner.m_onUpdate = nullptr;
    run.completed = app.m_endReason == ending::kComplete;
    EXPECT_TRUE(RunScript(runner, "wait " + std::to_string(kTitleBack) + "\n"));
    run.titleAfter = CaptureScene(app);
    EXPECT_TRUE(RunScript(runner, "focus off\n"));
    run.state = runner.p_State();
    run.record = LevelOneRecord(app);
    run.topScore = app.m_progress[0];
    return run;
}

LevelOneSolved SolveLevelOne(unsigned long window, const LevelOneRun& aim, const Picture& before) {
    LevelOneSolved result;
    const Drawn& first = aim.walk[kJumpUpdate - kSlack];
    const Drawn& middle = aim.walk[kJumpUpdate];
    const int detail = aim.level.detail;
    const float height =
        static_cast<float>(image::SheetOf(image::kPenguin)->frameHeight * detail) * std::fabs(middle.scaleY);
    const float top = middle.y - height / 2 + kBandTop * height, bottom = middle.y + height / 2;
    const float from = DarkCentreX(first, detail, kDarkLuminance, top, bottom);
    const float to = DarkCentreX(middle, detail, kDarkLuminance, top, bottom);
    // Left of the span by its own width again is the near end of the pit.
    const float nearEnd = from - (to - from);
    const auto start = std::chrono::steady_clock::now();
    std::ostringstream log;
    log << "aim " << from << " to " << to << ";";
    auto note = [&](const std::string& what, float x) {
        log << " " << what << " at " << x << " after "
            << std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count()
            << " ms;";
    };
    bool fast = false;
    auto speed = [&](bool on) {
        if (on == fast) return;
        RunTool({"xdotool", on ? "keydown" : "keyup", kSpeedKey.name});
        fast = on;
    };

    speed(true);
    bool armed = false, jumped = false;
    auto lastSeen = start;
    for (; std::chrono::steady_clock::now() - start < kPatience; std::this_thread::sleep_for(kLookEvery)) {
        const Picture now = GrabWindow(window);
        if (now.Empty()) continue;
        if (ShowsText(now, aim.banner, {"Level", "Complete"})) {
            speed(false);
            note("banner", 0);
            result.solved = true;
            result.banner = now;
            result.story = log.str();
            return result;
        }
        const Sighting s = FindPenguin(now, before, top, bottom);
        if (!s.seen) {
            // Not yet at the pit, or out of it for good after a jump: on its way home.
            if (lastSeen == start || (jumped && std::chrono::steady_clock::now() - lastSeen > kOutOfThePit))
                speed(true);
            continue;
        }
        lastSeen = std::chrono::steady_clock::now();
        if (fast) note("slowed", s.x);
        speed(false);
        if (s.x < nearEnd) {
            if (!armed) note("near end", s.x);
            armed = true;
        } else if (armed && s.x >= from && s.x <= to) {
            note("jump", s.x);
            PressKey(kJumpKey.name);
            jumped = true;
            armed = false;
        } else if (armed && s.x > to) {
            note("missed", s.x);
            armed = false;
        }
    }
    speed(false);
    result.story = log.str();
    return result;
}
