// Runs of the replay library's headless game that tell the end-to-end tests what the real game
// must show: the same keys, played update by update on the same game.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "e2e/drawn.h"
#include "tools/replay/replay_runner.h"

// Framework key codes (Windows virtual-key numbers) of the keys the tests press, with the X names
// they have for xdotool.
struct TestKey {
    int code;
    const char* name;
};
constexpr TestKey kEnterKey{13, "Return"}, kEscapeKey{27, "Escape"}, kUpKey{38, "Up"}, kJumpKey{74, "j"},
    kSpeedKey{75, "k"};

// A key held for a few updates and let go, as PressKey holds it in the real window.
std::string HoldScript(const TestKey& key);
// From the start until the title's logo has landed and its wheel stands still.
extern const char kSettledTitleScript[];

// Plays script lines on the runner from where its game is.
testing::AssertionResult RunScript(c_ReplayRunner& runner, const std::string& script);

// The records of a scene that the real window must show as they are: those drawn opaque, of the
// given slots (all when none are given).
std::vector<Drawn> Opaque(const Scene& scene, std::initializer_list<int> slots = {});

// The title's level discs, one a level on the wheel, with whether each is open.
struct WheelDisc {
    Drawn disc;
    bool open = false;
};
std::vector<WheelDisc> WheelDiscs(const Scene& scene);
// The selected level's disc: the one on top of the wheel, drawn largest.
WheelDisc SelectedDisc(const Scene& scene);

// Whether the picture shows the records as the scene draws them.
bool ShowsImages(const Picture& picture, const std::vector<Drawn>& records, int detail);
// Whether the picture shows the title of the scene: its logo and every level disc of its wheel,
// each open or locked as there; `why` says what is missing.
bool ShowsTitle(const Picture& picture, const Scene& scene, std::string* why = nullptr);
// Whether the picture shows the level of the scene: its tiles where they lie, each block in any
// of the looks a block is given at random when the level is built.
bool ShowsLevel(const Picture& picture, const Scene& scene, std::string* why = nullptr);
// Whether the picture shows the lines of text as the scene draws them.
bool ShowsText(const Picture& picture, const Scene& scene, std::initializer_list<const char*> lines,
               std::string* why = nullptr);
