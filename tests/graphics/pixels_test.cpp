// The renderer on a real OpenGL context: what lands in the frame buffer, read back with ReadPixels.
#include "graphics_support.h"

namespace {

class Pixels : public ::testing::Test {
protected:
    void SetUp() override {
        OpenRealWindow();
        gl.forward = true;
        device = New<gxtkGraphics>();
        vo_graphics_context = New<c_GraphicsContext>();
        vo_graphics_SetGraphicsDevice(device.Get());
        vo_app__devWidth = 640;
        vo_app__devHeight = 480;
        BeginFrame();
    }
    void TearDown() override {
        vo_graphics_EndRender();
        device->EndRender();
        vo_graphics_SetGraphicsDevice(nullptr);
        vo_graphics_context = New<c_GraphicsContext>();
        device = nullptr;
        gc_collect();
    }
    void BeginFrame() {
        ASSERT_EQ(device->Width(), 640);
        device->BeginRender();
        vo_graphics_BeginRender();
        device->Cls(0, 0, 0);
    }
    // The window's pixels in a rectangle, as 0xAARRGGBB, row by row from the top.
    std::vector<unsigned> Read(int x, int y, int width, int height) {
        Array<int> pixels(width * height);
        device->ReadPixels(pixels, x, y, width, height, 0, width);
        return std::vector<unsigned>(pixels.begin(), pixels.end());
    }
    unsigned At(int x, int y) { return Read(x, y, 1, 1)[0]; }

    RecordingGl gl;
    Ref<gxtkGraphics> device;
};

// Each channel of a pixel within one step of the expected value.
::testing::AssertionResult Near(unsigned actual, unsigned expected) {
    for (int shift = 0; shift < 32; shift += 8) {
        int a = (actual >> shift) & 0xFF, e = (expected >> shift) & 0xFF;
        if (a - e > 1 || e - a > 1)
            return ::testing::AssertionFailure() << std::hex << "0x" << actual << " is not near 0x" << expected;
    }
    return ::testing::AssertionSuccess();
}

TEST_F(Pixels, FilledRectangleCoversExactlyItsPixels) {
    vo_graphics_SetColor(255, 128, 0);
    vo_graphics_DrawRect(10, 20, 30, 40);
    std::vector<unsigned> pixels = Read(0, 0, 64, 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            bool inside = x >= 10 && x < 40 && y >= 20 && y < 60;
            ASSERT_EQ(pixels[y * 64 + x], inside ? 0xFFFF8000u : 0xFF000000u) << x << "," << y;
        }
    }
}

TEST_F(Pixels, TranslucentColourBlendsPremultipliedAndAdditiveAdds) {
    device->Cls(0, 0, 255);
    vo_graphics_SetColor(255, 0, 0);
    vo_graphics_SetAlpha(0.5f);
    vo_graphics_DrawRect(0, 0, 10, 10);
    EXPECT_TRUE(Near(At(5, 5), 0xFF7F0080u));

    device->Cls(100, 50, 0);
    vo_graphics_SetBlend(1);
    vo_graphics_SetAlpha(1);
    vo_graphics_SetColor(100, 100, 100);
    vo_graphics_DrawRect(0, 0, 10, 10);
    vo_graphics_SetColor(200, 200, 200);
    vo_graphics_DrawRect(20, 0, 10, 10);
    EXPECT_TRUE(Near(At(5, 5), 0xFFC89664u));
    EXPECT_TRUE(Near(At(25, 5), 0xFFFFFAC8u));
}

TEST_F(Pixels, TexturedQuadShowsExactTexelsAtAnyScale) {
    const unsigned texels[3][4] = {{0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu},
                                   {0xFF102030u, 0x80FF0000u, 0x00FFFFFFu, 0xFF808080u},
                                   {0xFF010203u, 0xFFFEFDFCu, 0xFF00FFFFu, 0xFFFF00FFu}};
    // Over black, a translucent texel shows its premultiplied colour.
    auto shown = [&](int x, int y) {
        unsigned argb = texels[y][x], alpha = argb >> 24, rgb = 0;
        for (int shift = 0; shift < 24; shift += 8) rgb |= ((argb >> shift & 0xFF) * alpha / 255) << shift;
        return 0xFF000000u | rgb;
    };
    std::string path = WritePng("texels.png", 4, 3, 4, Rgba(4, 3, [&](int x, int y) { return texels[y][x]; }));
    Ref<c_Image> image = vo_graphics_LoadImage(String(path), 1, 0);
    ASSERT_TRUE(image);
    vo_graphics_DrawImage(image.Get(), 10, 20, 0);
    vo_graphics_DrawImage2(image.Get(), 100, 200, 0, 3, 3, 0);

    std::vector<unsigned> small = Read(10, 20, 4, 3);
    std::vector<unsigned> large = Read(100, 200, 12, 9);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(small[y * 4 + x], shown(x, y)) << x << "," << y;
            for (int i = 0; i < 9; ++i)
                EXPECT_EQ(large[(y * 3 + i / 3) * 12 + x * 3 + i % 3], shown(x, y)) << x << "," << y << " part " << i;
        }
    }
    EXPECT_EQ(At(14, 20), 0xFF000000u);
}

TEST_F(Pixels, ScissorClipsDrawingAndClearing) {
    vo_graphics_SetScissor(10, 20, 30, 40);
    device->Cls(255, 255, 255);
    vo_graphics_SetColor(0, 255, 0);
    vo_graphics_DrawRect(0, 0, 640, 480);
    vo_graphics_SetScissor(0, 0, 640, 480);
    vo_graphics_SetColor(0, 0, 255);
    vo_graphics_DrawRect(0, 0, 5, 5);
    const std::pair<int, int> inside[] = {{10, 20}, {39, 20}, {10, 59}, {39, 59}};
    const std::pair<int, int> outside[] = {{9, 20}, {40, 20}, {10, 19}, {10, 60}, {300, 300}};
    for (auto [x, y] : inside) EXPECT_EQ(At(x, y), 0xFF00FF00u) << x << "," << y;
    for (auto [x, y] : outside) EXPECT_EQ(At(x, y), 0xFF000000u) << x << "," << y;
    EXPECT_EQ(At(0, 0), 0xFF0000FFu) << "the whole-window scissor draws everywhere again";
}

TEST_F(Pixels, QuarterTurnAboutTheHandlePointsTheImageUp) {
    const unsigned texels[2][4] = {{0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFF00u},
                                   {0xFF00FFFFu, 0xFFFF00FFu, 0xFFFFFFFFu, 0xFF808080u}};
    std::string path = WritePng("turn.png", 4, 2, 4, Rgba(4, 2, [&](int x, int y) { return texels[y][x]; }));
    Ref<c_Image> image = vo_graphics_LoadImage(String(path), 1, 0);
    ASSERT_TRUE(image);
    image->p_SetHandle(2, 1);
    vo_graphics_DrawImage2(image.Get(), 100, 100, 90, 1, 1, 0);
    // Texel (i, j) lands on the pixel (99 + j, 101 - i): x runs up the screen, y to the right.
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 4; ++i) EXPECT_EQ(At(99 + j, 101 - i), texels[j][i]) << i << "," << j;
    EXPECT_EQ(At(101, 100), 0xFF000000u);
}

TEST_F(Pixels, SurfaceOnAReopenedWindowIsRebuiltFromItsBytes) {
    std::string path = WritePng("reopen.png", 5, 5, 4, Rgba(5, 5, [](int x, int y) { return 0xFF000000u | (x * 40) << 16 | y * 50; }));
    Ref<gxtkSurface> surface = device->LoadSurface(String(path));
    ASSERT_TRUE(surface);
    device->DrawSurface(surface.Get(), 30, 30);
    std::vector<unsigned> before = Read(30, 30, 5, 5);
    EXPECT_EQ(before[2 * 5 + 3], 0xFF780064u);
    device->EndRender();

    int seq = glfwGraphicsSeq;
    OpenRealWindow(true);
    ASSERT_EQ(glfwGraphicsSeq, seq + 1);
    gl.Clear();
    BeginFrame();
    device->DrawSurface(surface.Get(), 30, 30);
    EXPECT_EQ(Read(30, 30, 5, 5), before);
    EXPECT_EQ(gl.Count("GenTextures"), 1);
    EXPECT_EQ(surface->m_seq, glfwGraphicsSeq);
}

TEST_F(Pixels, RefusedTextureSizeStillShowsThePictureExactly) {
    gl.refuseNpot = true;
    auto colour = [](int x, int y) { return 0xFF000080u | (x * 2) << 16 | (y * 4) << 8; };
    std::string path = WritePng("npot_pixels.png", 100, 60, 4, Rgba(100, 60, colour));
    Ref<gxtkSurface> surface = device->LoadSurface(String(path));
    ASSERT_TRUE(surface);
    EXPECT_FLOAT_EQ(surface->m_uscale, 1.0f / 128);
    device->DrawSurface(surface.Get(), 0, 0);
    std::vector<unsigned> pixels = Read(0, 0, 101, 61);
    for (int y = 0; y < 61; ++y)
        for (int x = 0; x < 101; ++x)
            ASSERT_EQ(pixels[y * 101 + x], x < 100 && y < 60 ? colour(x, y) : 0xFF000000u) << x << "," << y;
}

TEST_F(Pixels, ReadPixelsHonoursOffsetAndPitch) {
    vo_graphics_SetColor(0, 0, 255);
    vo_graphics_DrawRect(1, 0, 1, 1);
    vo_graphics_SetColor(255, 0, 0);
    vo_graphics_DrawRect(0, 1, 1, 1);
    Array<int> pixels(3 + 2 * 5);
    device->ReadPixels(pixels, 0, 0, 2, 2, 3, 5);
    std::vector<unsigned> got(pixels.begin(), pixels.end());
    const unsigned k = 0xFF000000u;
    EXPECT_EQ(got, (std::vector<unsigned>{0, 0, 0, k, 0xFF0000FFu, 0, 0, 0, 0xFFFF0000u, k, 0, 0, 0}));
}

}  // namespace
