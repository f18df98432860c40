// The tile grid: writes, the neighbourhood read around and beyond the level, the level's place
// on the screen, the tiles drawn and rendered, and the pick-ups penguins collect.
#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

#include "game_fixture.h"
#include "support/backed_memory.h"

namespace game_test {
namespace {

class LevelGrid : public GameTest {
protected:
    float& Tile(int x, int y) { return app->m_grid[(y * 50 + x) * 10]; }
    std::vector<int> Matrix(float x, float y) {
        app->p_GetMatrix(x, y);
        return std::vector<int>(app->m_matrix.begin() + 1, app->m_matrix.begin() + 10);
    }
    // A tile's drawing position on screen.
    std::pair<float, float> TileAt(int x, int y) const {
        const float t = app->m_tileSize;
        return {(x - 0.5f) * t - app->m_camX, (y - 0.5f) * t + 32 - app->m_camY};
    }
    int Particles(float kind = 0) const {
        int n = 0;
        for (int i = 0; i <= app->m_partMax; ++i) n += kind == 0 ? app->m_part[10 * i] > 0 : app->m_part[10 * i] == kind;
        return n;
    }
    // Level 1 with no penguins, a pick-up at (10, 12) above the floor, and the tiles drawn with
    // one penguin at (x, y) facing dir.
    void CollectWith(int code, int x, int y, float yOffset, int dir) {
        app->m_settings[0] = 0;
        app->p_ResetParticles(250);
        app->p_GetLev(1);
        app->p_PutTile(10, 12, code);
        app->p_AddPen(static_cast<float>(x), static_cast<float>(y), dir, 0, 1);
        app->m_pen[49 * 20 + 4] = yOffset;
        app->p_PlaceLevel();
        app->p_CLS2D(0, 0, 0, 1);
        app->p_DrawTiles();
    }
};

TEST_F(LevelGrid, WritesStayInsideTheLevelAndItsBorder) {
    EXPECT_EQ(app->p_PutTile(29.9f, 15.9f, 7), 1);
    EXPECT_EQ(Tile(29, 15), 7);
    EXPECT_EQ(app->p_PutTile(29, 15, 7), 0) << "already that code";
    EXPECT_EQ(app->p_PutTile(29.2f, 15.5f, 0), 1);
    EXPECT_EQ(Tile(29, 15), 0);
    for (auto [x, y] : {std::pair{30.0f, 0.0f}, {-1.0f, 0.0f}, {-0.5f, 3.0f}, {0.0f, 16.0f}, {3.0f, -0.1f},
                        {NAN, 3.0f}, {3.0f, 1e30f}}) {
        EXPECT_EQ(app->p_PutTile(x, y, 4), 0) << x << "," << y;
    }
    EXPECT_EQ(std::count(app->m_grid.begin(), app->m_grid.end(), 4.0f), 0) << "nothing written anywhere";
    EXPECT_EQ(app->p_PutTile(0, 0, 4), 1);
    EXPECT_EQ(app->p_isFloor(1) + app->p_isFloor(8) + app->p_isSolid(5), 3);
    EXPECT_EQ(app->p_isFloor(0) + app->p_isFloor(9) + app->p_isFloor(10) + app->p_isSolid(50), 0);
}

TEST_F(LevelGrid, TheNeighbourhoodReadsSkyAboveAndBlocksEverywhereElseOutside) {
    const int top[3][3] = {{3, 9, 50}, {4, 10, 55}, {0, 2, 0}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) Tile(x, y) = static_cast<float>(top[y][x]);
    // Above the grid: walls over the border columns, open sky over the level.
    const std::vector<int> atTop = {1, 0, 0, 3, 9, 50, 4, 10, 55};
    EXPECT_EQ(Matrix(1, 0), atTop);
    EXPECT_EQ(Matrix(1.9f, 0.99f), atTop) << "positions round down to their cell";
    EXPECT_EQ(Matrix(1, 1), (std::vector<int>{3, 9, 50, 4, 10, 55, 0, 2, 0}));
    EXPECT_EQ(Matrix(28, -0.5f), (std::vector<int>{0, 0, 1, 0, 0, 1, 0, 0, 0})) << "-0.5 is row -1";
    EXPECT_EQ(Matrix(5, -400), std::vector<int>(9, 0)) << "the sky goes on up";

    Tile(28, 14) = 2;
    Tile(28, 15) = 0;
    // Row 15 is the empty border under the level; below it, and right of column 29, is block.
    EXPECT_EQ(Matrix(29, 15.5f), (std::vector<int>{2, 0, 1, 0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(Matrix(28, 14)[7], 0);
    EXPECT_EQ(Matrix(-3, 5), std::vector<int>(9, 1));
    EXPECT_EQ(Matrix(-1e9f, 1e9f), std::vector<int>(9, 1));
}

TEST_F(LevelGrid, TheTileSizeFollowsTheScreensShape) {
    app->p_PlaceLevel();
    EXPECT_FLOAT_EQ(app->m_tileSize, 640.0f / 28);
    EXPECT_NEAR(app->m_camX, 0, 1e-4) << "the level fills the width";
    EXPECT_FLOAT_EQ(app->m_camY, 640.0f / 28 * 17 - 480);
    EXPECT_EQ(app->m_levCols, 28);
    EXPECT_EQ(app->m_levRows, 14);

    // Too wide for its height: sized by the height, centred across.
    jscrw = 853;
    jscrh = 480;
    app->p_PlaceLevel();
    EXPECT_FLOAT_EQ(app->m_tileSize, 416.0f / 14);
    EXPECT_FLOAT_EQ(app->m_camX, 416.0f - 853.0f / 2);

}

TEST_F(LevelGrid, ALevelStartedByTheDriverIsDrawnTileByTile) {
    FinishLoading();
    app->m_level = 1;
    app->m_settings[0] = 1;
    app->m_mode = screen::kStartLevel;
    Pass();
    ASSERT_EQ(app->m_mode, screen::kInLevel);
    EXPECT_EQ(Tile(26, 12), 10);
    EXPECT_EQ(app->m_pen[49 * 20 + 9], 9);

    app->p_PlaceLevel();
    app->p_CLS2D(0, 0, 0, 1);
    app->p_DrawTiles();
    std::set<std::pair<int, int>> want;
    for (int x = 1; x <= 28; ++x)
        for (int y = 1; y <= 14; ++y)
            if (Tile(x, y) != 0) want.insert({x, y});
    ASSERT_EQ(want.size(), 78u) << "76 blocks, the start and the exit";

    const float t = app->m_tileSize;
    std::set<std::pair<int, int>> drawn;
    for (int at = 0; at < app->m_drawCount; at += 15) {
        const float* r = app->m_drawQueue.Data() + at;
        ASSERT_EQ(r[0], 2) << "only tiles";
        EXPECT_FLOAT_EQ(r[4], t / 32);
        EXPECT_FLOAT_EQ(r[5], t / 32);
        const int x = static_cast<int>(std::lround((r[1] + app->m_camX) / t + 0.5f));
        const int y = static_cast<int>(std::lround((r[2] - 32 + app->m_camY) / t + 0.5f));
        auto [tx, ty] = TileAt(x, y);
        EXPECT_NEAR(r[1], tx, 1e-3);
        EXPECT_NEAR(r[2], ty, 1e-3);
        EXPECT_EQ(r[6], Tile(x, y) - 1) << "blocks, start and exit are frames 0 to 9";
        drawn.insert({x, y});
    }
    EXPECT_EQ(drawn, want);

    // On screen: one batch of quads, each centred on its tile (a 640x480 window is 1:1).
    gl.Clear();
    Render();
    EXPECT_EQ(gl.Draws(), 2) << "the background, then every tile in one batch";
    const gxtkVertex* v = vo_graphics_device->m_vertices;
    for (int q = 0; q < 78; ++q) {
        const float* r = app->m_drawQueue.Data() + 15 * q;
        EXPECT_NEAR((v[4 * q].x + v[4 * q + 2].x) / 2, r[1], 1e-3) << q;
        EXPECT_NEAR((v[4 * q].y + v[4 * q + 2].y) / 2, r[2], 1e-3) << q;
        EXPECT_NEAR(v[4 * q + 2].x - v[4 * q].x, 36 * t / 32, 1e-3) << "a 36-pixel frame at the tile's scale";
    }
}

// Of the grid's 5,000,000 floats a level writes its own rows alone, 16 of 50 cells: only their
// pages are backed, and starting a level afresh hands them back.
TEST_F(LevelGrid, OnlyTheLevelsRowsOfTheGridAreBacked) {
    const size_t bytes = static_cast<size_t>(app->m_grid.Length()) * sizeof(float);
    const long levelPages = static_cast<long>((16 * 50 * 10 * sizeof(float) + 4095) / 4096);
    FinishLoading();
    EXPECT_EQ(BackedPages(app->m_grid.Data(), bytes), 0);
    app->m_level = 1;
    app->m_settings[0] = 3;
    app->m_mode = screen::kStartLevel;
    for (int i = 0; i < 600; ++i) Pass();
    ASSERT_EQ(app->m_mode, screen::kInLevel);
    EXPECT_GT(BackedPages(app->m_grid.Data(), bytes), 0);
    EXPECT_LE(BackedPages(app->m_grid.Data(), bytes), levelPages);
    app->p_FlushGame();
    EXPECT_EQ(BackedPages(app->m_grid.Data(), bytes), 0);
    EXPECT_EQ(Tile(4, 11), 0);
}

TEST_F(LevelGrid, APenguinOnASkillPickUpCollectsItOnce) {
    FinishLoading();
    CollectWith(51, 10, 12, -0.4f, 1);
    auto [px, py] = TileAt(10, 12);
    const auto images = Images();
    EXPECT_TRUE(std::any_of(images.begin(), images.end(), [&](const auto& r) {
        return r[0] == 2 && r[1] == px && r[2] == py && r[3] == 25;
    })) << "drawn, as frame 24 + skill, in the update it is collected";
    EXPECT_EQ(app->m_player[51], 3);
    EXPECT_EQ(Tile(10, 12), 0);
    EXPECT_EQ(Particles(), 18);
    EXPECT_EQ(Particles(51), 1) << "the pick-up floats off";
    for (int i = 0; i <= app->m_partMax; ++i) {
        const float* p = &app->m_part[10 * i];
        if (p[0] == 0) continue;
        EXPECT_FLOAT_EQ(p[1], px + app->m_camX) << "from the pick-up, in level pixels";
        EXPECT_FLOAT_EQ(p[2], py + app->m_camY);
        if (p[0] == 51) {
            EXPECT_EQ(p[8], 9);
            EXPECT_EQ(std::vector<float>(p + 3, p + 5), (std::vector<float>{0, -0.25f})) << "straight up, slowly";
        } else {
            EXPECT_TRUE(p[0] == 1 || p[0] == 2) << p[0];
            const float speed = std::hypot(p[3], p[4]);
            EXPECT_TRUE(speed >= 2 && speed <= 5) << speed;
            EXPECT_LE(std::fabs(std::atan2(p[3], -p[4])), 25.0f * 3.1416f / 180) << "within 25 degrees of up";
        }
    }
    EXPECT_EQ(audio->Plays("sfx/012.wav"), 1);
    app->p_DrawTiles();
    EXPECT_EQ(app->m_player[51], 3) << "gone once collected";
    EXPECT_EQ(audio->Plays("sfx/012.wav"), 1);

    // Out of reach: a cell aside, a cell above, or a record not in play.
    for (auto [x, y] : {std::pair{11, 12}, {10, 11}}) {
        CollectWith(52, x, y, 0, 1);
        EXPECT_EQ(Tile(10, 12), 52) << x << "," << y;
    }
    CollectWith(52, 10, 12, 0, 1);
    EXPECT_EQ(app->m_player[52], 3);
    app->m_pen[49 * 20] = 0;
    app->p_PutTile(10, 12, 52);
    app->p_DrawTiles();
    EXPECT_EQ(Tile(10, 12), 52);
}

TEST_F(LevelGrid, APenguinPickUpAddsAPenguinPoppingInWhereItWas) {
    FinishLoading();
    CollectWith(55, 10, 12, 0, -1);
    EXPECT_EQ(Tile(10, 12), 0);
    const float* added = &app->m_pen[48 * 20];
    EXPECT_EQ(added[0], 1);
    EXPECT_EQ(added[1], 10);
    EXPECT_EQ(added[2], 12);
    EXPECT_EQ(added[5], -1) << "facing the collector's way";
    EXPECT_EQ(added[7], 90);
    EXPECT_EQ(added[9], 6) << "popping in";
    EXPECT_EQ(app->m_player[1], 49) << "the collector stays selected";
    for (int i = 50; i < 55; ++i) EXPECT_EQ(app->m_player[i], i == 50 ? 10 : 0) << "no counter changes";
    EXPECT_EQ(Particles(55), 1);
    EXPECT_EQ(audio->Plays("sfx/010.wav"), 1);
    EXPECT_EQ(audio->Plays("sfx/012.wav"), 1);
}

}  // namespace
}  // namespace game_test
