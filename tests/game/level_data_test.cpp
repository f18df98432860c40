// The stored levels and their run-length code, and building a level: the map, the start and
// exit, the counters, the waiting penguins, and the clean state a level starts from.
#include <string>
#include <vector>

#include "game_fixture.h"

namespace game_test {
namespace {

class LevelData : public GameTest {
protected:
    float Tile(int x, int y) const { return app->m_grid[(y * 50 + x) * 10]; }
    std::string Expand(const char* text) const { return app->p_JuNKrunch(String(text)).ToUtf8(); }
    // The tile codes of the level and its border, column by column.
    std::vector<float> Tiles() const {
        std::vector<float> out;
        for (int x = 0; x < 30; ++x)
            for (int y = 0; y < 16; ++y) out.push_back(Tile(x, y));
        return out;
    }
    // An expanded level text: an empty map with the given characters placed, then counters.
    static String Text(std::vector<std::pair<int, char>> cells, const std::string& counters = "@@@@@@@@@@") {
        std::string map(28 * 14, '0');
        for (auto [at, c] : cells) map[at] = c;
        return String(map + counters);
    }
};

TEST_F(LevelData, TheRunLengthCode) {
    for (int level = 1; level <= 30; ++level) {
        EXPECT_EQ(app->p_JuNKrunch(app->p_GetLevDat(level)).Length(), 402) << level;
    }
    EXPECT_EQ(app->p_GetLevDat(1).Length(), 121);
    EXPECT_EQ(app->p_GetLevDat(16).Length(), 119);
    EXPECT_TRUE(app->p_GetLevDat(0).Empty());
    EXPECT_TRUE(app->p_GetLevDat(31).Empty());
    EXPECT_TRUE(app->p_JuNKrunch(String()).Empty());

    EXPECT_EQ(Expand("AJ"), "J");
    EXPECT_EQ(Expand("JJ"), std::string(10, 'J'));
    EXPECT_EQ(Expand("a0"), std::string(27, '0'));
    EXPECT_EQ(Expand("z1"), std::string(52, '1'));
    EXPECT_EQ(Expand("N1L0B1"), std::string(14, '1') + std::string(12, '0') + "11");
    // A blank or a digit where a count belongs is skipped; after a count any character repeats.
    EXPECT_EQ(Expand("AJ 1AK"), "JK");
    EXPECT_EQ(Expand("B CQ"), "  QQQ");
    EXPECT_EQ(Expand("AJZ"), "J") << "a count letter at the end repeats nothing";
}

TEST_F(LevelData, LevelOneIsTwoWallsAFloorWithADipAStartAndAnExit) {
    // Leftovers of an earlier level, on the border too, are cleared.
    app->p_PutTile(0, 0, 5);
    app->p_PutTile(29, 15, 55);
    app->p_PutTile(10, 5, 3);
    app->m_tapSkill = 2;
    app->p_GetLev(1);

    EXPECT_EQ(app->m_levCols, 28);
    EXPECT_EQ(app->m_levRows, 14);
    EXPECT_EQ(app->m_tapSkill, -1);
    EXPECT_EQ(app->m_player[30], 5400);
    for (int x = 0; x < 30; ++x) {
        for (int y = 0; y < 16; ++y) {
            const bool inside = x >= 1 && x <= 28 && y >= 1 && y <= 14;
            const bool block = inside && (x == 1 || x == 28 || y == 14 || (y == 13 && (x < 18 || x > 21)));
            float want = 0;
            if (x == 4 && y == 11) want = 9;
            if (x == 26 && y == 12) want = 10;
            if (block) {
                EXPECT_TRUE(Tile(x, y) >= 1 && Tile(x, y) <= 8) << x << "," << y << ": " << Tile(x, y);
            } else {
                EXPECT_EQ(Tile(x, y), want) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(app->m_player[496], 4);
    EXPECT_EQ(app->m_player[497], 11);
    EXPECT_EQ(app->m_player[498], 26);
    EXPECT_EQ(app->m_player[499], 12);
    EXPECT_EQ(app->m_player[50], 10) << "ten Jumps";
    for (int i = 51; i < 60; ++i) EXPECT_EQ(app->m_player[i], 0) << i;
}

TEST_F(LevelData, CountersComeFromTheTextOnlyInLevelOneAndLaterFromTheLevelBefore) {
    // The default level's own characters give ten of everything, when they are read.
    app->p_BuildLevel(1, app->p_JuNKrunch(app->p_GetLevDat(16)));
    for (int i = 50; i < 60; ++i) EXPECT_EQ(app->m_player[i], 10) << i;

    // Level 2 and later: the counters the level before left in its record.
    for (int i = 0; i < 10; ++i) app->m_player[50 + i] = 0;
    for (int i = 0; i < 8; ++i) app->m_progress[151 + i] = i + 1;
    app->m_progress[150] = 40;
    app->m_progress[159] = 40;
    app->p_GetLev(2);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(app->m_player[50 + i], i + 1) << i;
    EXPECT_EQ(app->m_player[58], 0);
    EXPECT_EQ(app->m_player[59], 0);
    for (int i = 0; i < 8; ++i) app->m_progress[271 + i] = 2;
    app->p_GetLev(14);
    EXPECT_EQ(app->m_player[50], 2) << "level 14 reads level 13's record";

    // A level number of 0 or below leaves the counters alone.
    app->p_BuildLevel(0, app->p_JuNKrunch(app->p_GetLevDat(1)));
    EXPECT_EQ(app->m_player[50], 2);
}

TEST_F(LevelData, PenguinsWaitAtTheStartAndEnterOneAfterAnother) {
    app->m_settings[0] = 0;
    app->p_GetLev(1);
    EXPECT_EQ(app->m_player[490], 0);
    for (int r = 0; r < 50; ++r) EXPECT_EQ(app->m_pen[20 * r], 0) << r;

    app->m_player[1] = 7;
    app->m_settings[0] = 3;
    app->p_GetLev(1);
    EXPECT_EQ(app->m_player[490], 3);
    EXPECT_EQ(app->m_player[1], 49) << "the first one added is selected";
    const float delays[] = {60, 280, 500};
    for (int k = 0; k < 3; ++k) {
        const float* p = &app->m_pen[20 * (49 - k)];
        SCOPED_TRACE(k);
        EXPECT_EQ(p[0], 1);
        EXPECT_EQ(p[1], 4);
        EXPECT_EQ(p[2], 11);
        EXPECT_EQ(p[5], 1) << "facing right";
        EXPECT_EQ(p[7], delays[k]);
        EXPECT_EQ(p[9], 9) << "waiting";
    }
    for (int r = 0; r < 47; ++r) EXPECT_EQ(app->m_pen[20 * r], 0) << r;
}

TEST_F(LevelData, TheSameSeedGivesTheSameBlockLooks) {
    app->p_SeedRnd(1234);
    app->p_GetLev(1);
    const std::vector<float> first = Tiles();
    app->p_SeedRnd(1234);
    app->p_GetLev(1);
    EXPECT_EQ(Tiles(), first);
    app->p_SeedRnd(4321);
    app->p_GetLev(1);
    EXPECT_NE(Tiles(), first) << "the looks follow the generator";
}

TEST_F(LevelData, PickUpsAreLaidAndTheirCodesPrinted) {
    // Column 1 from the top: "=" (61), the pick-ups "A" to "F", "O" (79), and "<" and "P" just
    // outside the printed range.
    const std::vector<std::pair<int, char>> cells = {{0, '='}, {1, 'A'}, {2, 'B'}, {3, 'C'}, {4, 'D'},
                                                     {5, 'E'}, {6, 'F'}, {7, 'O'}, {8, '<'}, {9, 'P'}};
    testing::internal::CaptureStdout();
    app->p_BuildLevel(1, Text(cells));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "61\n65\n66\n67\n68\n69\n70\n79\n");
    const float codes[] = {0, 50, 51, 52, 53, 54, 55, 0, 0, 0};
    for (int y = 1; y <= 10; ++y) EXPECT_EQ(Tile(1, y), codes[y - 1]) << y;
}

TEST_F(LevelData, ANumberWithNoStoredLevelBuildsAnEmptyLevel) {
    app->m_settings[0] = 3;
    for (int i = 50; i < 60; ++i) app->m_player[i] = 4;
    app->p_PutTile(3, 3, 2);
    testing::internal::CaptureStdout();
    app->p_GetLev(31);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    for (float code : Tiles()) EXPECT_EQ(code, 0);
    EXPECT_EQ(app->m_player[490], 0);
    for (int i = 50; i < 60; ++i) EXPECT_EQ(app->m_player[i], 0) << i;
    for (int r = 0; r < 50; ++r) EXPECT_EQ(app->m_pen[20 * r], 0) << r;
    EXPECT_EQ(app->m_player[30], 5400);

    // A short text is not read at all, not even for the pick-ups it holds.
    testing::internal::CaptureStdout();
    app->p_BuildLevel(1, String("FFAA"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(Tile(1, 1), 0);
}

TEST_F(LevelData, ALevelStartsFromACleanStateAndAFlushClearsWithoutStarting) {
    FinishLoading();
    auto dirty = [this] {
        app->m_paused = app->m_score = app->m_levelOver = app->m_endTimer = app->m_endReason = 8;
        app->m_camX = app->m_camY = app->m_camDX = app->m_camDY = 3;
        app->m_player[120] = app->m_player[505] = app->m_pen[1500] = app->m_grid[4999990] = 5;
        app->m_partMax = 40;
        app->m_part[2500] = 1;
        app->m_mode = 11;
        app->m_tapSkill = 3;
    };
    auto expectClean = [this] {
        EXPECT_EQ(app->m_paused + app->m_score + app->m_levelOver + app->m_endTimer + app->m_endReason, 0);
        EXPECT_EQ(app->m_camX + app->m_camY + app->m_camDX + app->m_camDY, 0);
        EXPECT_EQ(app->m_player[120] + app->m_pen[1500] + app->m_grid[4999990] + app->m_part[2500], 0);
        EXPECT_EQ(app->m_player[505], 5) << "the play state past index 499 is kept";
        EXPECT_EQ(app->m_partMax, 250);
    };

    dirty();
    app->p_FlushGame();
    expectClean();
    EXPECT_EQ(app->m_mode, 11);
    EXPECT_EQ(app->m_tapSkill, 3);
    EXPECT_EQ(Tile(4, 11), 0) << "no level is built";

    dirty();
    app->m_level = 1;
    app->m_settings[0] = 1;
    app->p_LoadGame();
    expectClean();
    EXPECT_EQ(app->m_mode, 10);
    EXPECT_EQ(app->m_tapSkill, -1);
    EXPECT_EQ(app->m_tune.ToUtf8(), "Garlic");
    EXPECT_EQ(app->m_musicOn, 1);
    EXPECT_EQ(Tile(4, 11), 9);
    EXPECT_EQ(app->m_pen[49 * 20], 1);
}

}  // namespace
}  // namespace game_test
