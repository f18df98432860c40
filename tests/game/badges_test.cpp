// The badge pop-up list: its slide in and out, its place by slot, and the icon only for the
// badges that have one.
#include "game_fixture.h"

namespace {

class BadgePopup : public game_test::GameTest {
protected:
    // One update of the list on an empty queue; its records.
    std::vector<const float*> Update() {
        app->p_CLS2D(0, 0, 0, 1);
        app->p_ShowBadges();
        std::vector<const float*> records;
        for (int at = 0; at + 15 <= app->m_drawCount; at += 15) records.push_back(app->m_drawQueue.Data() + at);
        return records;
    }
};

TEST_F(BadgePopup, SlidesInRestsAndSlidesOutOver240Updates) {
    EXPECT_TRUE(Update().empty());
    app->m_badgeTime[0] = 1;
    std::vector<float> xs;
    while (app->m_badgeTime[0] > 0) xs.push_back(Update().front()[1]);
    ASSERT_EQ(xs.size(), 240u);
    EXPECT_EQ(xs[0], -128);
    EXPECT_EQ(xs[7], -16);
    EXPECT_EQ(xs[8], 0);
    EXPECT_EQ(xs[228], 0);
    EXPECT_EQ(xs[229], -16);
    EXPECT_EQ(xs[239], -176);
    EXPECT_TRUE(Update().empty());
}

TEST_F(BadgePopup, SlotsStackUpFromTheBottomWithAnIconOnlyForTheFirst64Badges) {
    jscrh = 360;
    for (auto [slot, id] : {std::pair{0, 5}, std::pair{12, 63}, std::pair{3, 64}, std::pair{4, -2}}) {
        SCOPED_TRACE(id);
        for (int i = 0; i < 15; ++i) app->m_badgeTime[i] = 0;
        app->m_badgeShow[slot] = id;
        app->m_badgeTime[slot] = 20;
        std::vector<const float*> records = Update();
        float y = 360 - 34.0f * (slot + 1);
        const float* box = records.front();
        EXPECT_EQ(box[0], -3717);
        EXPECT_EQ(box[2], y);
        EXPECT_EQ(box[4] * box[5], 160 * 32);
        EXPECT_EQ(box[12], 80);
        EXPECT_EQ(records[1][10] + records[1][7], 256) << "the name is white and opaque";
        const float* last = records.back();
        bool icon = id >= 0 && id < 64;
        EXPECT_EQ(last[0] == 80, icon);
        if (icon) {
            EXPECT_EQ(last[1], 144);
            EXPECT_EQ(last[2], y + 16);
            EXPECT_EQ(last[4], 0.5f);
            EXPECT_EQ(last[6], id);
        }
    }
}

}  // namespace
