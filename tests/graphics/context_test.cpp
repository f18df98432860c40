// Images and the drawing context: frame layout, flags and handles, the matrix and its stack,
// what reaches the device and when, and fonts.
#include <unistd.h>

#include <cmath>

#include "graphics_support.h"

namespace {

using Args = std::vector<double>;
using Points = std::vector<std::pair<int, int>>;

std::string WhitePng(const std::string& name, int width, int height) {
    return WritePng(name, width, height, 4, Rgba(width, height, [](int, int) { return 0xFFFFFFFFu; }));
}

// A device that notes the calls the drawing context makes, then draws them as usual.
class SpyGraphics : public gxtkGraphics {
public:
    using gxtkGraphics::gxtkGraphics;
    using D = double;
    std::vector<RecordingGl::Call> calls;

    int SetColor(float r, float g, float b) override { return Note("SetColor", {r, g, b}); }
    int SetAlpha(float a) override { return Note("SetAlpha", {a}); }
    int SetBlend(int mode) override { return Note("SetBlend", {D(mode)}); }
    int SetScissor(int x, int y, int w, int h) override { return Note("SetScissor", {D(x), D(y), D(w), D(h)}); }
    int SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) override {
        Note("SetMatrix", {ix, iy, jx, jy, tx, ty});
        return gxtkGraphics::SetMatrix(ix, iy, jx, jy, tx, ty);
    }
    int DrawOval(float x, float y, float w, float h) override { return Note("DrawOval", {x, y, w, h}); }
    int DrawSurface(gxtkSurface*, float x, float y) override { return Note("DrawSurface", {x, y}); }
    int DrawSurface2(gxtkSurface*, float x, float y, int sx, int sy, int sw, int sh) override {
        return Note("DrawSurface2", {x, y, D(sx), D(sy), D(sw), D(sh)});
    }
    std::vector<RecordingGl::Call> Of(const std::string& name) const {
        std::vector<RecordingGl::Call> found;
        for (const auto& call : calls)
            if (call.name == name) found.push_back(call);
        return found;
    }
    std::string Names() const {
        std::string names;
        for (const auto& call : calls) names += call.name + " ";
        return names;
    }

private:
    int Note(const char* name, std::vector<double> args) {
        calls.push_back({name, std::move(args)});
        return 0;
    }
};

class Context : public RecordedGraphics {
protected:
    void SetUp() override {
        RecordedGraphics::SetUp();
        spy = new SpyGraphics(&window);
        device = spy;
        vo_graphics_SetGraphicsDevice(spy);
    }
    void StartFrame() {
        BeginFrame();
        spy->calls.clear();
    }
    Points Corners(const c_Image& image) {
        Points corners;
        for (const Ref<c_Frame>& f : image.m_frames) corners.emplace_back(f->m_x, f->m_y);
        return corners;
    }
    // Where the device's current matrix puts a point.
    std::pair<float, float> Mapped(float x, float y) const {
        return {spy->m_ix * x + spy->m_jx * y + spy->m_tx, spy->m_iy * x + spy->m_jy * y + spy->m_ty};
    }

    SpyGraphics* spy = nullptr;
};

// Runs a statement that must end the program with a runtime error naming the message.
#define EXPECT_RUNTIME_ERROR(statement, message)                                   \
    EXPECT_EXIT(                                                                   \
        {                                                                          \
            dup2(STDERR_FILENO, STDOUT_FILENO);                                    \
            statement;                                                             \
        },                                                                         \
        ::testing::ExitedWithCode(255), "Zembra Runtime Error : " message)

TEST_F(Context, GridFramesRunLeftToRightThenDownAndMustFitTheSurface) {
    std::string path = WhitePng("grid.png", 100, 40);
    Ref<c_Image> image = vo_graphics_LoadImage2(String(path), 32, 20, 6, 0);
    ASSERT_TRUE(image);
    EXPECT_EQ(Corners(*image), (Points{{0, 0}, {32, 0}, {64, 0}, {0, 20}, {32, 20}, {64, 20}}));
    EXPECT_EQ(std::make_pair(image->m_width, image->m_height), std::make_pair(32, 20));

    EXPECT_RUNTIME_ERROR(vo_graphics_LoadImage2(String(path), 32, 20, 7, 0), "Image frame outside surface");
    EXPECT_RUNTIME_ERROR(vo_graphics_LoadImage2(String(path), 101, 10, 1, 0), "Image frame outside surface");
    EXPECT_RUNTIME_ERROR(image->p_Init(image->m_surface.Get(), 1, 0), "Image already initialized");
    EXPECT_RUNTIME_ERROR(vo_graphics_LoadImage(String(path), 0, 0), "Image frame count");
    EXPECT_FALSE(vo_graphics_LoadImage2(String("/nonexistent.png"), 32, 20, 1, 0));
}

TEST_F(Context, GuttersShrinkFramesAndTheMidHandleBitIsSpentOnTheHandle) {
    Ref<c_Image> image = vo_graphics_LoadImage2(String(WhitePng("cells.png", 64, 32)), 32, 32, 2, 7);
    ASSERT_TRUE(image);
    EXPECT_EQ(Corners(*image), (Points{{1, 1}, {33, 1}}));
    EXPECT_EQ(std::make_pair(image->m_width, image->m_height), std::make_pair(30, 30));
    EXPECT_EQ(std::make_pair(image->m_handleX, image->m_handleY), std::make_pair(15.f, 15.f));
    EXPECT_EQ(image->m_flags, 6);

    Ref<c_Image> created = vo_graphics_CreateImage(16, 8, 3, 1);
    EXPECT_EQ(created->m_surface->Width(), 48);
    EXPECT_EQ(Corners(*created), (Points{{0, 0}, {16, 0}, {32, 0}}));
    EXPECT_EQ(std::make_pair(created->m_handleX, created->m_handleY), std::make_pair(8.f, 4.f));
}

TEST_F(Context, OnlyAWholeSurfaceImageUsesTheWholeSurfaceCall) {
    std::string path = WhitePng("whole.png", 20, 10);
    Ref<c_Image> whole = vo_graphics_LoadImage(String(path), 1, 0);
    Ref<c_Image> gutter = vo_graphics_LoadImage(String(path), 1, 2);
    Ref<c_Image> strip = vo_graphics_LoadImage(String(path), 2, 0);
    ASSERT_TRUE(whole && gutter && strip);
    EXPECT_EQ(whole->m_flags, c_Image::FullFrame);
    EXPECT_EQ(gutter->m_flags, 2);
    EXPECT_EQ(strip->m_flags, 0);

    StartFrame();
    whole->p_SetHandle(5, 5);
    vo_graphics_DrawImage(whole.Get(), 50, 60, 0);
    vo_graphics_DrawImage(gutter.Get(), 50, 60, 0);
    vo_graphics_DrawImage(strip.Get(), 50, 60, 1);
    EXPECT_EQ(spy->Names(), "SetMatrix DrawSurface DrawSurface2 DrawSurface2 ");
    EXPECT_EQ(spy->calls[1].args, (Args{45, 55}));
    EXPECT_EQ(spy->calls[2].args, (Args{50, 60, 1, 0, 18, 10}));
    EXPECT_EQ(spy->calls[3].args, (Args{50, 60, 10, 0, 10, 10}));
    EXPECT_RUNTIME_ERROR(vo_graphics_DrawImage(strip.Get(), 0, 0, 2), "Array index 2");
}

TEST_F(Context, FrameStartResetsTheStateAndOnlyDrawingSendsTheMatrix) {
    vo_app__devWidth = 320;
    vo_graphics_Translate(5, 5);
    vo_graphics_PushMatrix();
    vo_graphics_DrawRect(0, 0, 1, 1);  // outside a frame nothing reaches the device
    EXPECT_TRUE(spy->calls.empty());

    device->BeginRender();
    vo_graphics_BeginRender();
    EXPECT_EQ(spy->Names(), "SetColor SetAlpha SetBlend SetScissor ");
    EXPECT_EQ(spy->calls[0].args, (Args{255, 255, 255}));
    EXPECT_EQ(spy->calls[1].args[0] + spy->calls[2].args[0], 1);
    EXPECT_EQ(spy->calls[3].args, (Args{0, 0, 320, 480}));
    EXPECT_EQ(vo_graphics_context->m_matrixSp, 0);

    spy->calls.clear();
    vo_graphics_SetScissor(10.9f, 0, 100.5f, 50);
    EXPECT_EQ(spy->calls.at(0).args, (Args{10, 0, 100, 50}));
    EXPECT_FLOAT_EQ(vo_graphics_context->m_scissorX, 10.9f);

    vo_graphics_DrawRect(0, 0, 1, 1);
    vo_graphics_DrawRect(0, 0, 1, 1);
    EXPECT_EQ(spy->Of("SetMatrix").size(), 1u);
    EXPECT_EQ(spy->Of("SetMatrix")[0].args, (Args{1, 0, 0, 1, 0, 0}));
}

TEST_F(Context, MatrixStackDoublesWhenFullAndPopsInReverseOrder) {
    c_GraphicsContext& context = *vo_graphics_context;
    EXPECT_EQ(context.m_matrixStack.Length(), 192);
    for (int i = 0; i < 40; ++i) {
        vo_graphics_PushMatrix();
        vo_graphics_Translate(1, float(i));
    }
    EXPECT_EQ(context.m_matrixSp, 240);
    EXPECT_EQ(context.m_matrixStack.Length(), 384);
    for (int i = 39; i >= 0; --i) {
        EXPECT_EQ(std::make_pair(context.m_tx, context.m_ty), std::make_pair(float(i + 1), float(i * (i + 1) / 2))) << i;
        vo_graphics_PopMatrix();
    }
    EXPECT_EQ(std::make_pair(context.m_tx, context.m_ty), std::make_pair(0.f, 0.f));

    // An unmatched pop leaves the matrix alone.
    vo_graphics_Translate(3, 4);
    vo_graphics_PopMatrix();
    EXPECT_EQ(context.m_matrixSp, 0);
    EXPECT_EQ(std::make_pair(context.m_tx, context.m_ty), std::make_pair(3.f, 4.f));
}

TEST_F(Context, RotatedImageTurnsAboutItsHandleWithOneMatrixSent) {
    Ref<c_Image> image = vo_graphics_LoadImage(String(WhitePng("turn.png", 8, 4)), 2, 0);
    ASSERT_TRUE(image);
    image->p_SetHandle(3, 1);
    StartFrame();
    vo_graphics_DrawImage2(image.Get(), 100, 50, 90, 2, 1, 1);
    EXPECT_EQ(spy->Names(), "SetMatrix DrawSurface2 ");
    EXPECT_EQ(spy->calls[1].args, (Args{0, 0, 4, 0, 4, 4}));
    auto [hx, hy] = Mapped(3, 1);
    EXPECT_NEAR(hx, 100, 1e-4);
    EXPECT_NEAR(hy, 50, 1e-4);
    auto [ax, ay] = Mapped(4, 1);  // the frame's x axis points up the screen, scaled by 2
    EXPECT_NEAR(ax, 100, 1e-4);
    EXPECT_NEAR(ay, 48, 1e-4);

    vo_graphics_DrawEllipse(10, 20, 5, 3);
    EXPECT_EQ(spy->Names(), "SetMatrix DrawSurface2 SetMatrix DrawOval ");
    EXPECT_EQ(spy->calls[3].args, (Args{5, 17, 10, 6}));
}

TEST_F(Context, NoFontSelectsTheDefaultFontWithFirstCharacter32) {
    vo_graphics_SetFont(nullptr, 65);
    EXPECT_FALSE(vo_graphics_context->m_font) << "no default font file beside the test program";
    EXPECT_EQ(vo_graphics_context->m_firstChar, 32);

    Ref<c_Image> font = vo_graphics_LoadImage(String(WhitePng("font.png", 96 * 4, 6)), 96, 2);
    ASSERT_TRUE(font);
    vo_graphics_SetFont(font.Get(), 48);
    EXPECT_EQ(vo_graphics_context->m_font, font);
    EXPECT_EQ(vo_graphics_context->m_firstChar, 48);
    vo_graphics_context->m_defaultFont = font;
    vo_graphics_SetFont(nullptr, 0);
    EXPECT_EQ(vo_graphics_context->m_font, font);
    EXPECT_EQ(vo_graphics_context->m_firstChar, 32);
}

}  // namespace
