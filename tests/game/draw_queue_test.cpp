// The draw queue: record layouts, the record limit, the drawing state and the backgrounds.
#include <gtest/gtest.h>

#include "game/my_app.h"

namespace {

class DrawQueue : public testing::Test {
protected:
    void SetUp() override {
        app.p_ResetDraw();
        app.p_SetCol(10, 20, 30, 0.5f);
        app.p_SetRot(30);
        app.p_SetSize(2, 3);
    }
    const float* Record(int n) const { return app.m_drawQueue.Data() + 15 * n; }
    c_MyApp app;
};

TEST_F(DrawQueue, EachCommandWritesItsKindGeometryAndTheState) {
    app.p_DrawImg(7, 1, 2, 5);
    app.p_Rect(1, 2, 40, 50);
    app.p_Oval(1, 2, 40, 50);
    app.p_Line(1, 2, 40, 50);
    ASSERT_EQ(app.m_drawCount, 60);
    struct Want {
        float kind, a4, a5, frame;
    };
    const Want want[] = {{7, 2, 3, 5}, {-3717, 40, 50, 0}, {-3716, 40, 50, 0}, {-3715, 40, 50, 0}};
    for (int n = 0; n < 4; ++n) {
        const float* r = Record(n);
        SCOPED_TRACE(n);
        EXPECT_EQ(r[0], want[n].kind);
        EXPECT_EQ(r[1], 1);
        EXPECT_EQ(r[2], 2);
        EXPECT_EQ(r[3], -30);
        EXPECT_EQ(r[4], want[n].a4);
        EXPECT_EQ(r[5], want[n].a5);
        EXPECT_EQ(r[6], want[n].frame);
        EXPECT_EQ(r[7], 0.5f);
        EXPECT_EQ(r[10], 10);
        EXPECT_EQ(r[11], 20);
        EXPECT_EQ(r[12], 30);
        EXPECT_EQ(r[13], 1);
    }
}

TEST_F(DrawQueue, HoldsAtMost2499RecordsAndDropsTheRest) {
    for (int i = 0; i < 2499; ++i) app.p_Rect(static_cast<float>(i), 0, 1, 1);
    EXPECT_EQ(app.m_drawCount, 2499 * 15);
    app.p_Line(9, 9, 9, 9);
    app.p_DrawImg(1, 9, 9);
    EXPECT_EQ(app.m_drawCount, 2499 * 15);
    EXPECT_EQ(Record(2498)[0], -3717);
    EXPECT_EQ(Record(2498)[1], 2498);
    app.p_CLS2D();
    EXPECT_EQ(app.m_drawCount, 0);
}

TEST_F(DrawQueue, StateMethods) {
    app.p_SetCol(1, 2, 3);
    EXPECT_EQ(app.m_drawAlpha, 0.5f) << "colour without alpha keeps the alpha";
    app.p_SetCol(10, 20, 30, 0.25f);
    EXPECT_EQ(app.m_drawAlpha, 0.25f);
    app.p_SetSize(2);
    EXPECT_EQ(app.m_drawSizeX, 2);
    EXPECT_EQ(app.m_drawSizeY, 2);
    app.p_SetSize(2, 3);
    EXPECT_EQ(app.m_drawSizeY, 3);

    struct InkCase {
        int colour;
        float brightness, r, g, b;
    };
    for (const InkCase& c : {InkCase{5, 0.5f, 12.75f, 127.5f, 127.5f}, InkCase{9, 2, 255, 255, 255},
                             InkCase{0, 1, 76.5f, 76.5f, 76.5f}, InkCase{2, 1, 255, 127.5f, 25.5f}}) {
        SCOPED_TRACE(c.colour);
        app.p_Ink(c.colour, c.brightness);
        EXPECT_FLOAT_EQ(app.m_drawR, c.r);
        EXPECT_FLOAT_EQ(app.m_drawG, c.g);
        EXPECT_FLOAT_EQ(app.m_drawB, c.b);
        EXPECT_EQ(app.m_drawAlpha, 0.25f) << "ink keeps the alpha";
    }
}

TEST_F(DrawQueue, DoBGEasesTowardsItsTargetAndStartsANewQueue) {
    app.m_bgCurR = app.m_bgCurG = app.m_bgCurB = 80;
    app.p_Rect(0, 0, 1, 1);
    app.p_DoBG(0, 0, 0, -123);
    EXPECT_EQ(app.m_bgR, 70);
    EXPECT_EQ(app.m_bgB, 70);
    EXPECT_EQ(app.m_bgAlpha, 1);
    EXPECT_EQ(app.m_drawCount, 0);
    EXPECT_EQ(app.m_drawSizeY, 1) << "the drawing state is reset";
    EXPECT_EQ(app.m_drawRot, 0);
    // The default keeps the target; a negative alpha is 0.
    app.p_DoBG(-123, -123, -123, -5);
    EXPECT_FLOAT_EQ(app.m_bgR, 61.25f);
    EXPECT_EQ(app.m_bgAlpha, 0);
}

TEST_F(DrawQueue, RightJustifiedNumbers) {
    EXPECT_EQ(app.p_rstr(42, 5, String("0")).ToUtf8(), "00042");
    EXPECT_EQ(app.p_rstr(123456, 3, String(" ")).ToUtf8(), "456");
    EXPECT_EQ(app.p_rstr(-7, 4, String(" ")).ToUtf8(), "  -7");
}

}  // namespace
