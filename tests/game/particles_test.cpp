// The particle pool and the snow field: slot choice, a full pool, resets, the motion and life
// of the kinds, what each kind draws, and the flakes' drift and wrap.
#include <algorithm>
#include <cmath>
#include <set>

#include "game_fixture.h"

namespace {

class Particles : public game_test::GameTest {
protected:
    float& Field(int slot, int field) { return app->m_part[slot * 10 + field]; }
    float& Flake(int field) { return app->m_star[field]; }
    const float* Record(int n) const { return app->m_drawQueue.Data() + 15 * n; }
    int Records() const { return app->m_drawCount / 15; }
    void Step(float scale = 1) {
        app->p_CLS2D(0, 0, 0, 1);
        app->p_DoParticles(scale);
    }
    // Within the tolerance of the wanted value, or anywhere on screen when none is wanted.
    static void Near(float value, float want, float tolerance, float screenEnd) {
        if (std::isnan(want)) {
            EXPECT_TRUE(value >= -8 && value < screenEnd) << value;
        } else {
            EXPECT_NEAR(value, want, tolerance);
        }
    }
    void Snow(float dx = 0, float dy = 0) {
        app->p_CLS2D(0, 0, 0, 1);
        app->p_DoSnow(dx, dy);
    }
};

TEST_F(Particles, RandGivesEveryWholeNumberOfItsRangeAndNoOther) {
    for (auto [a, b] : {std::pair{1, 3}, std::pair{2, 4}, std::pair{0, 0}}) {
        std::set<int> seen, expected;
        for (int i = 0; i < 1000; ++i) seen.insert(app->p_Rand(static_cast<float>(a), static_cast<float>(b)));
        for (int v = a; v <= b; ++v) expected.insert(v);
        EXPECT_EQ(seen, expected);
    }
}

TEST_F(Particles, NewParticlesTakeTheHighestFreeSlotUntilThePoolIsFull) {
    for (int i = 0; i <= 248; ++i) Field(i, 0) = 1;
    app->p_ThrowParticle(10, 20, 3, 4, 90, 2);
    EXPECT_EQ(Field(250, 0), 3);
    EXPECT_NEAR(Field(250, 3), 2, 1e-5) << "90 degrees is to the right";
    EXPECT_NEAR(Field(250, 4), 0, 1e-5);
    EXPECT_GE(Field(250, 5), 20 - 16) << "kind 3 keeps its floor near its start";
    EXPECT_LT(Field(250, 5), 20 + 16);
    app->p_ThrowParticle(0, 0, 2, 1);
    float speed = std::hypot(Field(249, 3), Field(249, 4));
    EXPECT_TRUE(speed >= 3 && speed < 8) << "no speed given: 3 to 8, got " << speed;
    EXPECT_TRUE(Field(249, 7) >= 0.7f && Field(249, 7) < 1.3f);

    EXPECT_EQ(app->p_FreeParticle(), -1);
    std::vector<float> before(app->m_part.begin(), app->m_part.end());
    app->p_ThrowParticle(5, 5, 7, 1);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), app->m_part.begin()));
}

TEST_F(Particles, ResetFreesTheSlotsInUseAndKeepsTheLimitWhenOutOfRange) {
    for (auto [n, max] : {std::pair{0, 250}, std::pair{500, 250}, std::pair{1, 1}, std::pair{499, 499}}) {
        app->m_partMax = 250;
        for (int i = 0; i < 500; ++i) Field(i, 0) = 1;
        app->p_ResetParticles(n);
        EXPECT_EQ(app->m_partMax, max);
        EXPECT_EQ(app->p_FreeParticle(), max) << n;
        int used = 0;
        for (int i = 0; i < 500; ++i) used += Field(i, 0) != 0;
        EXPECT_EQ(used, 499 - max) << n;
    }
}

TEST_F(Particles, KindsMoveAndAgeByTheirRules) {
    // Straight up at speed 5 against gravity 0.2: 25 updates rising, then falling.
    app->p_ThrowParticle(0, 0, 2, 1, 0, 5);
    int rising = 0;
    for (float last = 0; Step(), Field(250, 2) < last; last = Field(250, 2)) ++rising;
    EXPECT_EQ(rising, 25);

    // Kind 3 bounces up again once it passes its floor.
    app->p_ThrowParticle(0, 0, 3, 1, 180, 1);
    float floorY = Field(249, 5);
    int update = 0;
    while (Field(249, 4) >= 0 && ++update < 60) Step();
    EXPECT_GT(Field(249, 2), floorY);
    EXPECT_TRUE(Field(249, 4) >= -3 && Field(249, 4) < -1) << Field(249, 4);

    // Life 0.7 lasts 71 updates, 234 for kind 4 and 54 for the squares of kind 16.
    for (auto [kind, updates] : {std::pair{1, 71}, std::pair{4, 234}, std::pair{16, 54}}) {
        app->p_ResetParticles(0);
        app->p_ThrowParticle(0, 0, kind, 1, 90, 1);
        Field(250, 7) = 0.7f;
        for (int i = 1; i < updates; ++i) Step();
        EXPECT_EQ(Field(250, 0), kind);
        Step();
        EXPECT_EQ(Field(250, 0), 0) << kind;
    }
}

TEST_F(Particles, EachKindDrawsItsOwnWay) {
    app->m_camX = 100;
    app->m_camY = 50;
    app->m_partMax = 3;
    app->p_ThrowParticle(300, 200, 1, 5, 90, 0);  // slot 3: a spark
    app->p_ThrowParticle(157, -3, 16, 2, 90, 0);  // slot 2: a square on the 16-pixel grid
    app->p_ThrowParticle(400, 300, 52, 9, 0, 0);  // slot 1: a pick-up floating off
    app->p_ThrowParticle(10, 20, 7, 12, 90, 0);   // slot 0: an unknown colour
    Field(3, 7) = 1.2f;
    Field(2, 7) = 0.5f;
    float rotation = Field(3, 5) + Field(3, 6), pickUpLife = Field(1, 7);
    app->p_SetCol(1, 2, 3, 0.1f);
    Step(2);
    ASSERT_EQ(Records(), 4);
    struct Want {
        float slot, x, y, rot, size, frame, alpha, r, g, b;
    };
    const Want want[] = {
        {96, -90, -30, -1, 2, Field(0, 9), -1, 76.5f, 76.5f, 76.5f},
        {2, 300, 250, 0, 1, 18, std::min(pickUpLife, 1.0f), 255, 255, 255},
        {-3717, 44, -66, -1, 16, 0, 0.5f, 255, 127.5f, 25.5f},
        {96, 200, 150, rotation, 2, Field(3, 9), 1, 25.5f, 255, 255},
    };
    for (int n = 0; n < 4; ++n) {
        SCOPED_TRACE(n);
        const float* r = Record(n);
        const Want& w = want[n];
        EXPECT_EQ(r[0], w.slot);
        EXPECT_EQ(r[1], w.x);
        EXPECT_EQ(r[2], w.y);
        if (w.rot != -1) {
            EXPECT_FLOAT_EQ(r[3], w.rot);
        }
        EXPECT_EQ(r[4], w.size);
        EXPECT_EQ(r[6], w.frame);
        if (w.alpha != -1) {
            EXPECT_FLOAT_EQ(r[7], w.alpha);
        }
        EXPECT_FLOAT_EQ(r[10], w.r);
        EXPECT_FLOAT_EQ(r[11], w.g);
        EXPECT_FLOAT_EQ(r[12], w.b);
    }
    EXPECT_EQ(app->m_drawAlpha + app->m_drawSizeX + app->m_drawRot, 2) << "the drawing state is left plain";
}

TEST_F(Particles, FlakesAreSeededFromTheClockAndKeepTheirCountWhenOutOfRange) {
    for (auto [n, max] : {std::pair{0, 100}, std::pair{500, 100}, std::pair{499, 499}}) {
        app->m_starMax = 100;
        app->p_ResetStars(n);
        EXPECT_EQ(app->m_starMax, max);
    }
    ws.now = 12.345;
    app->p_ResetStars(100);
    std::vector<float> first(app->m_star.begin(), app->m_star.end());
    for (int i = 0; i <= 100; ++i) {
        const float* s = app->m_star.Data() + 10 * i;
        ASSERT_TRUE(s[1] >= -8 && s[1] < 648 && s[2] >= -8 && s[2] < 488 && s[3] >= 0.2f && s[3] < 0.8f) << i;
    }
    app->p_Rand(0, 9);
    app->p_ResetStars(100);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), app->m_star.begin())) << "same clock, same field";
}

TEST_F(Particles, FlakesSinkSlowlyAndWrapAtTheBorders) {
    app->p_ResetStars(100);
    double drift = 0;
    for (int u = 0; u < 100; ++u) {
        float before = app->m_star[502];
        Snow();
        ASSERT_EQ(Records(), 101);
        if (std::fabs(app->m_star[502] - before) < 2) drift += app->m_star[502] - before;
    }
    EXPECT_NEAR(drift / 100, 0.15, 0.1);

    app->m_starMax = 0;
    struct Case {
        float x, y, dx, dy, wantX, wantY;  // NAN: a new place anywhere along the edge
    };
    for (Case c : {Case{-17, 100, 0, 0, 655, NAN}, Case{657, 100, 0, 0, -15, NAN}, Case{100, -17, 0, 0, NAN, 495},
                   Case{100, 497, 0, 0, NAN, -15}, Case{300, 100, 10, -4, 305, 98}}) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        Flake(1) = c.x;
        Flake(2) = c.y;
        Flake(3) = 0.5f;
        Snow(c.dx, c.dy);
        Near(Flake(1), c.wantX, 0.31f, 648);
        Near(Flake(2), c.wantY + 0.15f, 0.46f, 488);
        EXPECT_EQ(Record(0)[0], 96);
        EXPECT_EQ(Record(0)[7], Flake(3)) << "deeper flakes are fainter";
        EXPECT_EQ(Record(0)[6], Flake(0));
    }
    // The picture inset widens the border the flakes may drift into.
    overscan = 20;
    Flake(1) = -37;
    Snow();
    EXPECT_NEAR(Flake(1), -37 + 712, 0.31);
}

}  // namespace
