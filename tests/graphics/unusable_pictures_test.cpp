// Pictures the game cannot use: each file is named in one line and the game goes on without
// it, and no texture is made larger than the context takes.
#include <cstdio>
#include <filesystem>

#include "framework/graphics/image.h"
#include "framework/graphics/surface.h"
#include "graphics_support.h"

namespace {

using UnusablePictures = RecordedGraphics;

template <class F>
std::string Stderr(F&& call) {
    testing::internal::CaptureStderr();
    call();
    return testing::internal::GetCapturedStderr();
}

int Lines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

TEST_F(UnusablePictures, EachFileThatCannotBeLoadedIsNamedInOneLine) {
    std::string said = Stderr([&] { EXPECT_FALSE(device->LoadSurface(String("/nonexistent/gfx/logo.png"))); });
    EXPECT_NE(said.find("/nonexistent/gfx/logo.png cannot be opened"), std::string::npos) << said;
    EXPECT_EQ(Lines(said), 1);

    std::string cut = WritePng("cut.png", 16, 16, 4, Rgba(16, 16, [](int x, int y) { return 0xFF000000u | (x * 977 + y * 131); }));
    std::filesystem::resize_file(cut, std::filesystem::file_size(cut) / 2);
    said = Stderr([&] { EXPECT_FALSE(device->LoadSurface(String(cut))); });
    EXPECT_NE(said.find(cut + " cannot be decoded"), std::string::npos) << said;
    EXPECT_EQ(Lines(said), 1);

    // Through the data folder the line names the real path looked at.
    said = Stderr([&] { EXPECT_FALSE(vo_graphics_LoadImage(String("no_such_picture.png"), 1, 0)); });
    EXPECT_NE(said.find("/data/no_such_picture.png cannot be opened"), std::string::npos) << said;
}

TEST_F(UnusablePictures, APictureTooSmallForItsFramesIsNamedBeforeTheError) {
    std::string path = WritePng("small_strip.png", 8, 8, 4, Rgba(8, 8, [](int, int) { return 0xFFFFFFFFu; }));
    EXPECT_EXIT(
        {
            dup2(2, 1);
            vo_graphics_LoadImage2(String(path), 16, 16, 2, 0);
        },
        testing::ExitedWithCode(255),
        "small_strip\\.png \\(8x8\\) is too small for its frames of 16x16\n"
        "Zembra Runtime Error : Image frame outside surface\n");
}

TEST_F(UnusablePictures, NoTextureIsMadeLargerThanTheContextTakes) {
    gl.maxTextureSize = 64;
    vo_surface_maxTextureSize = 0;
    std::string wide = WritePng("wide.png", 100, 2, 4, Rgba(100, 2, [](int, int) { return 0xFF102030u; }));

    // Before any context has said, the picture is decoded but gets no texture.
    Ref<gxtkSurface> s;
    std::string said = Stderr([&] { s = device->LoadSurface(String(wide)); });
    ASSERT_TRUE(s);
    EXPECT_EQ(gl.Count("TexImage2D"), 0);
    EXPECT_NE(said.find("wide.png (100x2) is larger than the 64 pixels"), std::string::npos) << said;
    EXPECT_EQ(vo_surface_maxTextureSize, 64);

    // With the limit known, it is refused before it is decoded.
    long long before = gc_ext_new_bytes.load();
    said = Stderr([&] { EXPECT_FALSE(device->LoadSurface(String(wide))); });
    EXPECT_EQ(gc_ext_new_bytes.load(), before);
    EXPECT_NE(said.find("wide.png is 100x2, larger than the 64 pixels"), std::string::npos) << said;

    // At the limit it loads; a power-of-two retry past the limit is not made either.
    gl.Clear();
    EXPECT_TRUE(device->LoadSurface(String(WritePng("edge.png", 64, 2, 4, Rgba(64, 2, [](int, int) { return ~0u; })))));
    EXPECT_EQ(gl.Of("TexImage2D").at(0).args, (std::vector<double>{vo_gl::RGBA, 64, 2, vo_gl::RGBA}));
    gl.Clear();
    gl.refuseNpot = true;
    std::string odd = WritePng("odd.png", 60, 3, 4, Rgba(60, 3, [](int, int) { return ~0u; }));
    gl.maxTextureSize = 62;
    vo_surface_maxTextureSize = 0;
    said = Stderr([&] { EXPECT_TRUE(device->LoadSurface(String(odd))); });
    EXPECT_EQ(gl.Count("TexImage2D"), 1);
    EXPECT_NE(said.find("odd.png (60x3) is larger than the 62 pixels"), std::string::npos) << said;
    vo_surface_maxTextureSize = 0;
}

}  // namespace
