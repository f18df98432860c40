// The render: fitting the virtual screen to the window, reloading after a size change, and the
// replay of the queue into as few draw calls as the pictures allow.
#include "game_fixture.h"

namespace game_test {
namespace {

using Replay = GameTest;

TEST_F(Replay, FitsTheVirtualScreenToTheWindow) {
    struct Case {
        int width, height;
        float scale, virtualW, virtualH;
        int fitMode, landscape;
    };
    const Case cases[] = {
        {640, 480, 1, 640, 480, 1, 1},
        {800, 600, 1.25f, 640, 480, 1, 1},
        {1280, 720, 2, 640, 360, 1, 1},
        {600, 800, 800.0f / 720, 540, 720, 2, 0},
        {480, 960, 960.0f / 720, 360, 720, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        Resize(c.width, c.height);
        Render();
        EXPECT_FLOAT_EQ(app->m_scaleX, c.scale);
        EXPECT_FLOAT_EQ(app->m_scaleY, c.scale);
        EXPECT_FLOAT_EQ(jscrw, c.virtualW);
        EXPECT_FLOAT_EQ(jscrh, c.virtualH);
        EXPECT_EQ(app->m_fitMode, c.fitMode);
        EXPECT_EQ(app->m_landscape, c.landscape);
    }
}

TEST_F(Replay, ASizeChangeRestartsTheLoaderOnce) {
    FinishLoading();
    Resize(800, 600);
    Render();
    EXPECT_EQ(app->m_loadStep, 1);
    app->m_loadStep = 0;
    Render();
    EXPECT_EQ(app->m_loadStep, 0);
    // A window without area keeps the last fit instead of dividing by nothing.
    Resize(0, 0);
    Render();
    EXPECT_EQ(app->m_loadStep, 0);
    EXPECT_FLOAT_EQ(jscrw, 640);
    EXPECT_FLOAT_EQ(app->m_scaleX, 1.25f);
}

TEST_F(Replay, ReplaysRecordsInWindowPixels) {
    Resize(1280, 720);
    Render();
    app->p_CLS2D(0, 0, 0, 1);
    app->p_Rect(10, 20, 30, 40);
    gl.Clear();
    Render();
    // The background and the rectangle share a batch: quads without a texture, one blend mode.
    ASSERT_EQ(gl.Count("DrawElements"), 1);
    const gxtkVertex* v = vo_graphics_device->m_vertices;
    EXPECT_EQ(v[0].x, -1);
    EXPECT_EQ(v[2].x, 1281);
    EXPECT_EQ(v[4].x, 20);
    EXPECT_EQ(v[4].y, 40);
    EXPECT_EQ(v[6].x, 80);
    EXPECT_EQ(v[6].y, 120);
    // Rendering again without an update shows the same queue.
    Render();
    EXPECT_EQ(app->m_drawCount, 15);
}

TEST_F(Replay, RecordsOfOnePictureShareADrawCallAndBlendChangesOnlyWhenTheModeDoes) {
    FinishLoading();
    app->p_CLS2D(0, 0, 0, 1);
    gl.Clear();
    Render();
    const int frameSetUp = gl.Count("BlendFunc");
    for (int i = 0; i < 40; ++i) app->p_DrawImg(2, static_cast<float>(i), 0, static_cast<float>(i));
    app->m_drawBlend = 3;
    for (int i = 0; i < 10; ++i) app->p_DrawImg(2, static_cast<float>(i), 0, 1);
    app->m_drawBlend = 1;
    app->p_DrawImg(2, 0, 0, 1);
    app->p_DrawImg(97, 0, 0, 1);
    app->p_DrawImg(55, 0, 0, 1);   // an empty slot
    app->p_DrawImg(120, 0, 0, 1);  // no such slot
    app->p_DrawImg(2, 0, 0, 64);   // no such frame
    gl.Clear();
    Render();
    // Background; 40 images; 10 additive; 1 back in normal mode; then another picture.
    EXPECT_EQ(gl.Draws(), 5);
    EXPECT_EQ(gl.Count("BlendFunc"), frameSetUp + 2);
}

}  // namespace
}  // namespace game_test
