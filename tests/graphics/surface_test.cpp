// Surfaces: decoding with the file's channels, premultiplication, lazy textures per generation,
// the power-of-two retry and sub-rectangle writes.
#include <cstdio>

#include "graphics_support.h"

namespace {

using Surfaces = RecordedGraphics;
using Args = std::vector<double>;

std::vector<unsigned char> Bytes(const gxtkSurface& s, int from = 0, int count = -1) {
    if (count < 0) count = s.m_width * s.m_height * s.m_depth;
    return std::vector<unsigned char>(s.m_data + from, s.m_data + from + count);
}

TEST_F(Surfaces, PicturesKeepTheirChannelsAndArePremultipliedByDepth) {
    struct Case {
        int channels;
        std::vector<unsigned char> file;
        unsigned format;
        std::vector<unsigned char> stored;
    };
    const Case cases[] = {
        {1, {10, 200}, vo_gl::LUMINANCE, {10, 200}},
        {2, {255, 128, 100, 128}, vo_gl::LUMINANCE_ALPHA, {128, 128, 50, 128}},
        {3, {1, 2, 3, 250, 251, 252}, vo_gl::RGB, {1, 2, 3, 250, 251, 252}},
        {4, {200, 10, 20, 0, 255, 128, 100, 128}, vo_gl::RGBA, {0, 0, 0, 0, 128, 64, 50, 128}},
    };
    for (const Case& c : cases) {
        std::string path = WritePng("depth" + std::to_string(c.channels) + ".png", 2, 1, c.channels, c.file);
        long long before = gc_ext_new_bytes.load();
        gl.Clear();
        Ref<gxtkSurface> s = device->LoadSurface(String(path));
        ASSERT_TRUE(s) << c.channels;
        EXPECT_EQ(gc_ext_new_bytes.load() - before, 2 * c.channels);
        EXPECT_EQ(s->m_format, int(c.format)) << c.channels;
        EXPECT_EQ(Bytes(*s), c.stored) << c.channels;
        // Loading makes the texture at once, in the surface's own format.
        EXPECT_EQ(gl.Of("TexImage2D").at(0).args, (Args{double(c.format), 2, 1, double(c.format)}));
        EXPECT_EQ(gl.Count("TexSubImage2D"), 1);
    }
    EXPECT_FALSE(device->LoadSurface(String("/nonexistent/picture.png")));
    std::string garbage = WritePng("garbage.png", 1, 1, 1, {0});
    FILE* file = std::fopen(garbage.c_str(), "wb");
    std::fputs("not a picture", file);
    std::fclose(file);
    EXPECT_FALSE(device->LoadSurface(String(garbage)));
}

TEST_F(Surfaces, RefusedSizeIsRetriedAtPowersOfTwoAndScalesFollowTheTexture) {
    std::string path = WritePng("npot.png", 100, 60, 4, Rgba(100, 60, [](int, int) { return 0xFF102030u; }));
    gl.refuseNpot = true;
    Ref<gxtkSurface> s = device->LoadSurface(String(path));
    ASSERT_TRUE(s);
    auto images = gl.Of("TexImage2D");
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[1].args, (Args{vo_gl::RGBA, 128, 64, vo_gl::RGBA}));
    EXPECT_FLOAT_EQ(s->m_uscale, 1.0f / 128);
    EXPECT_FLOAT_EQ(s->m_vscale, 1.0f / 64);
    EXPECT_EQ(gl.Of("TexSubImage2D").at(0).args, (Args{0, 0, 100, 60, vo_gl::RGBA}));
    device->DrawSurface(s.Get(), 0, 0);
    EXPECT_FLOAT_EQ(device->m_vertices[2].u, 100.0f / 128);
    EXPECT_FLOAT_EQ(device->m_vertices[2].v, 60.0f / 64);
    device->DrawSurface2(s.Get(), 0, 0, 10, 20, 30, 40);
    EXPECT_FLOAT_EQ(device->m_vertices[4].u, 10.0f / 128);
    EXPECT_FLOAT_EQ(device->m_vertices[6].v, 60.0f / 64);
    device->Cls(0, 0, 0);
}

TEST_F(Surfaces, TextureIsMadeOncePerGenerationFromTheKeptBytes) {
    std::string path = WritePng("gen.png", 2, 2, 4, Rgba(2, 2, [](int x, int) { return x ? 0xFFFF0000u : 0xFF00FF00u; }));
    glfwGraphicsSeq = 0;
    Ref<gxtkSurface> s = device->LoadSurface(String(path));
    ASSERT_TRUE(s);
    EXPECT_TRUE(gl.calls.empty()) << "no window, no texture";

    glfwGraphicsSeq = 4;
    s->Bind();
    s->Bind();
    EXPECT_EQ(gl.Count("GenTextures"), 1);
    EXPECT_EQ(gl.Count("BindTexture"), 2);
    Ref<gxtkSurface> idle = device->LoadSurface(String(path));

    glfwGraphicsSeq = 5;  // the window was re-opened
    BeginFrame();
    device->DrawSurface(s.Get(), 0, 0);
    device->EndRender();
    EXPECT_EQ(gl.Count("GenTextures"), 1);
    EXPECT_EQ(gl.Count("TexSubImage2D"), 1);
    EXPECT_EQ(s->m_seq, 5);
    EXPECT_EQ(idle->m_seq, 4) << "a surface not drawn again keeps its old generation";

    idle->Discard();
    EXPECT_EQ(gl.Count("DeleteTextures"), 0) << "a texture of a lost context is not deleted";
    s->Discard();
    EXPECT_EQ(gl.Of("DeleteTextures").at(0).args[1], s->m_texture);
    EXPECT_EQ(s->m_data, nullptr);
}

// A program whose picture files stay lets its pictures keep no bytes: loading reads the size
// alone, the file is decoded whenever a texture is made and the bytes go at once; a file that
// changed gives an empty texture and a line saying so; a picture written to keeps its bytes.
TEST_F(Surfaces, PicturesWhoseFilesStayAreReadWhenATextureIsMade) {
    struct Restore {
        ~Restore() { vo_surface_keepPictureBytes = true; }
    } restore;
    vo_surface_keepPictureBytes = false;
    const std::vector<unsigned char> file = {200, 10, 20, 0, 255, 128, 100, 128};
    const std::string path = WritePng("read_when_drawn.png", 2, 1, 4, file);
    const long long before = gc_ext_new_bytes.load();
    gl.Clear();
    Ref<gxtkSurface> s = device->LoadSurface(String(path));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->m_width * s->m_height * s->m_depth, 8);
    EXPECT_EQ(s->m_format, int(vo_gl::RGBA));
    EXPECT_EQ(s->m_data, nullptr);
    EXPECT_TRUE(gl.calls.empty()) << "no texture before it is drawn";
    EXPECT_EQ(gc_ext_new_bytes.load(), before) << "nor a decode";

    s->Bind();
    s->Bind();
    EXPECT_EQ(gl.Count("TexSubImage2D"), 1) << "decoded once for its texture";
    EXPECT_EQ(s->m_data, nullptr);
    glfwGraphicsSeq = 2;
    s->Bind();
    EXPECT_EQ(gl.Count("TexSubImage2D"), 2) << "and again for the texture of a new window";

    WritePng("read_when_drawn.png", 3, 1, 4, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    glfwGraphicsSeq = 3;
    testing::internal::CaptureStderr();
    s->Bind();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("read_when_drawn.png is no longer the 2x1 it was"), std::string::npos) << said;
    EXPECT_EQ(gl.Count("TexSubImage2D"), 2) << "an empty texture";

    WritePng("read_when_drawn.png", 2, 1, 4, file);
    Array<int> pixels(1);
    pixels[0] = static_cast<int>(0xFF010203u);
    device->WritePixels2(s.Get(), pixels, 0, 0, 1, 1, 0, 1);
    ASSERT_NE(s->m_data, nullptr);
    EXPECT_EQ(Bytes(*s), (std::vector<unsigned char>{1, 2, 3, 255, 128, 64, 50, 128})) << "the file's, premultiplied";
    glfwGraphicsSeq = 4;
    s->Bind();
    EXPECT_NE(s->m_data, nullptr) << "a written picture keeps its bytes";
}

TEST_F(Surfaces, SubDataPremultipliesArgbPixelsIntoRgbaSurfacesOnly) {
    Ref<gxtkSurface> s = device->CreateSurface(4, 3);
    Array<int> pixels(6);  // rows of three in the array, two of them written
    pixels[0] = static_cast<int>(0x80FF8040u);
    pixels[1] = static_cast<int>(0xFF010203u);
    pixels[3] = static_cast<int>(0x00FFFFFFu);
    pixels[4] = static_cast<int>(0xFFFFFFFFu);
    gl.Clear();
    device->WritePixels2(s.Get(), pixels, 1, 1, 2, 2, 0, 3);
    EXPECT_EQ(Bytes(*s, 16, 32), (std::vector<unsigned char>{0, 0, 0, 0, 128, 64, 32, 128, 1, 2, 3, 255, 0, 0, 0, 0,
                                                             0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 0}));
    auto rows = gl.Of("TexSubImage2D");
    ASSERT_EQ(rows.size(), 2u) << "one upload per row of a narrower rectangle";
    EXPECT_EQ(rows[1].args, (Args{1, 2, 2, 1, vo_gl::RGBA}));

    gl.Clear();
    device->WritePixels2(s.Get(), Array<int>(8), 0, 1, 4, 2, 0, 4);
    EXPECT_EQ(gl.Of("TexSubImage2D").at(0).args, (Args{0, 1, 4, 2, vo_gl::RGBA}));

    // Rectangles reaching outside the surface, and luminance surfaces, are left alone.
    std::string path = WritePng("grey_sub.png", 2, 2, 1, {1, 2, 3, 4});
    Ref<gxtkSurface> grey = device->LoadSurface(String(path));
    gl.Clear();
    device->WritePixels2(s.Get(), pixels, 3, 2, 2, 1, 0, 2);
    device->WritePixels2(s.Get(), pixels, -1, 0, 1, 1, 0, 1);
    device->WritePixels2(grey.Get(), pixels, 0, 0, 2, 2, 0, 2);
    EXPECT_TRUE(gl.calls.empty());
    EXPECT_EQ(Bytes(*grey), (std::vector<unsigned char>{1, 2, 3, 4}));
}

}  // namespace
