// The renderer's batching, flushing and vertex writing, observed through a recording OpenGL table.
#include <array>
#include <functional>

#include "graphics_support.h"

namespace {

using Batching = RecordedGraphics;
using Args = std::vector<double>;

TEST_F(Batching, QuadBufferHoldsExactly256RectanglesPerDrawCall) {
    BeginFrame();
    for (int i = 0; i < 256; ++i) device->DrawRect(float(i), 0, 1, 1);
    EXPECT_EQ(gl.Draws(), 0);
    device->DrawRect(0, 0, 1, 1);
    ASSERT_EQ(gl.Draws(), 1);
    EXPECT_EQ(gl.Of("DrawElements")[0].args, (Args{vo_gl::TRIANGLES, 1536, vo_gl::UNSIGNED_SHORT}));
    EXPECT_EQ(device->m_vertexCount, 4);
    device->EndRender();
    ASSERT_EQ(gl.Count("DrawElements"), 2);
    EXPECT_EQ(gl.Of("DrawElements")[1].args[1], 6);
}

TEST_F(Batching, OnlyKindTextureBlendAndScissorChangesFlush) {
    Ref<gxtkSurface> a = device->CreateSurface(8, 8), b = device->CreateSurface(8, 8);
    const std::pair<std::function<void(gxtkGraphics&)>, int> cases[] = {
        {[&](gxtkGraphics& g) { g.DrawRect(0, 0, 4, 4), g.DrawSurface(a.Get(), 0, 0); }, 1},
        {[&](gxtkGraphics& g) { g.DrawSurface(a.Get(), 0, 0), g.DrawSurface(b.Get(), 0, 0); }, 1},
        {[&](gxtkGraphics& g) { g.DrawSurface(a.Get(), 0, 0), g.DrawSurface2(a.Get(), 0, 0, 1, 1, 2, 2); }, 0},
        {[&](gxtkGraphics& g) {
             g.DrawRect(0, 0, 4, 4), g.SetColor(1, 2, 3), g.SetAlpha(0.5f), g.SetMatrix(2, 0, 0, 2, 5, 5);
             g.DrawRect(0, 0, 4, 4);
         }, 0},
        {[&](gxtkGraphics& g) { g.DrawRect(0, 0, 4, 4), g.SetBlend(1), g.DrawRect(0, 0, 4, 4); }, 1},
        {[&](gxtkGraphics& g) { g.DrawRect(0, 0, 4, 4), g.SetScissor(1, 1, 2, 2), g.DrawRect(0, 0, 4, 4); }, 1},
        {[&](gxtkGraphics& g) { g.DrawOval(0, 0, 40, 40), g.DrawOval(50, 50, 40, 40); }, 0},
        {[&](gxtkGraphics& g) { g.DrawOval(0, 0, 40, 40), g.DrawOval(0, 0, 80, 80); }, 1},
        {[&](gxtkGraphics& g) { g.DrawOval(0, 0, 12, 12), g.DrawPoly(Array<float>(24)); }, 0},
    };
    int index = 0;
    for (const auto& [draw, flushes] : cases) {
        BeginFrame();
        device->SetMatrix(1, 0, 0, 1, 0, 0);
        draw(*device);
        EXPECT_EQ(gl.Draws(), flushes) << "case " << index++;
        device->EndRender();
    }
}

TEST_F(Batching, ColourIsPackedPremultipliedPerVertex) {
    BeginFrame();
    device->SetAlpha(1);
    device->SetColor(255, 0, 0);
    device->DrawRect(0, 0, 4, 4);
    device->SetColor(0, 0, 255);
    device->DrawRect(0, 0, 4, 4);
    EXPECT_EQ(device->m_vertices[3].color, 0xFF0000FFu);
    EXPECT_EQ(device->m_vertices[4].color, 0xFFFF0000u);

    const std::pair<std::array<float, 4>, uint32_t> cases[] = {
        {{255, 255, 255, 0.5f}, 0x7F7F7F7Fu},
        {{10.9f, 20.5f, 200, 0}, 0u},
        {{300, -5, 30.99f, 1}, 0xFF1E00FFu},  // out of range saturates instead of spilling over
    };
    for (const auto& [c, packed] : cases) {
        device->SetColor(c[0], c[1], c[2]);
        device->SetAlpha(c[3]);
        EXPECT_EQ(device->m_packedColor, packed) << c[0];
    }
}

TEST_F(Batching, VerticesGoThroughTheMatrixAndLinesAndPointsSitOnPixelCentres) {
    BeginFrame();
    device->DrawLine(0, 0, 10, 0);
    EXPECT_EQ(std::make_pair(device->m_vertices[1].x, device->m_vertices[1].y), std::make_pair(10.5f, 0.5f));
    device->DrawPoint(3, 4);
    EXPECT_EQ(std::make_pair(device->m_vertices[0].x, device->m_vertices[0].y), std::make_pair(3.5f, 4.5f));

    device->SetMatrix(0, 2, -2, 0, 100, 50);  // a quarter turn, doubled, moved
    device->DrawRect(1, 2, 3, 4);
    const float expected[4][2] = {{96, 52}, {96, 58}, {88, 58}, {88, 52}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(device->m_vertices[i].x, expected[i][0]) << i;
        EXPECT_FLOAT_EQ(device->m_vertices[i].y, expected[i][1]) << i;
    }
}

TEST_F(Batching, OvalSegmentsFollowTheOutlineEstimate) {
    struct Case {
        float w, h, scale, turn;
        int segments;
    };
    const Case cases[] = {
        {0, 0, 1, 0, 12},      {14, 12, 1, 0, 12},    {1000, 1000, 1, 0, 1000}, {1000, 1046, 1, 0, 1020},
        {1030, 1030, 1, 0, 1024}, {-40, 40, 1, 0, 40}, {20, 20, 2, 0, 40},       {20, 20, 0, 3, 60},
    };
    for (const Case& c : cases) {
        BeginFrame();
        device->SetMatrix(c.scale, c.turn, -c.turn, c.scale, 0, 0);
        device->DrawOval(10, 20, c.w, c.h);
        EXPECT_EQ(device->m_vertexCount, c.segments) << c.w << "x" << c.h;
        device->EndRender();
        ASSERT_EQ(gl.Count("DrawArrays"), 1);
        EXPECT_EQ(gl.Of("DrawArrays")[0].args, (Args{vo_gl::TRIANGLE_FAN, 0, double(c.segments)}));
    }
    // An empty oval still has its twelve points, all on its corner; others start on the right
    // and run anticlockwise.
    device->SetMatrix(1, 0, 0, 1, 0, 0);
    device->DrawOval(10, 20, 0, 0);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(std::make_pair(device->m_vertices[i].x, device->m_vertices[i].y), std::make_pair(10.f, 20.f));
    device->DrawOval(0, 0, 80, 40);
    EXPECT_NEAR(device->m_vertices[0].x, 80, 1e-3);
    EXPECT_NEAR(device->m_vertices[15].y, 0, 1e-3);  // a quarter of 60 segments is the top
}

TEST_F(Batching, PolygonsBatchByVertexCountAndSkipImpossibleSizes) {
    BeginFrame();
    device->DrawPoly(Array<float>(0));
    device->DrawPoly(Array<float>(2 * 1025));
    EXPECT_EQ(device->m_vertexCount, 0);
    device->DrawPoly(Array<float>(11));  // the odd value is dropped: five vertices
    device->DrawPoly(Array<float>(10));
    device->DrawPoly(Array<float>(6));
    device->EndRender();
    auto draws = gl.Of("DrawArrays");
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0].args, (Args{vo_gl::TRIANGLE_FAN, 0, 5}));
    EXPECT_EQ(draws[1].args, (Args{vo_gl::TRIANGLE_FAN, 5, 5}));
    EXPECT_EQ(draws[2].args, (Args{vo_gl::TRIANGLES, 0, 3}));
}

TEST_F(Batching, ScissorOfTheWholeWindowSwitchesTheTestOff) {
    BeginFrame();
    device->SetScissor(0, 0, 640, 480);
    device->SetScissor(10, 20, 30, 40);
    ASSERT_EQ(gl.calls.size(), 3u);
    EXPECT_EQ(gl.calls[0].name + gl.calls[1].name, "DisableEnable");
    EXPECT_EQ(gl.calls[0].args[0], vo_gl::SCISSOR_TEST);
    EXPECT_EQ(gl.calls[1].args[0], vo_gl::SCISSOR_TEST);
    EXPECT_EQ(gl.calls[2].args, (Args{10, 420, 30, 40}));
}

TEST_F(Batching, ClsDropsPendingVerticesUndrawn) {
    BeginFrame();
    device->DrawRect(0, 0, 4, 4);
    device->DrawRect(4, 4, 4, 4);
    device->Cls(255, 51, 0);
    device->EndRender();
    EXPECT_EQ(gl.Draws(), 0);
    EXPECT_EQ(gl.Of("ClearColor").at(0).args, (Args{1, 0.2f, 0, 1}));
    EXPECT_EQ(gl.Count("Clear"), 1);
}

TEST_F(Batching, ReadPixelsFlushesFirstAndRefusesRowsOutsideTheArray) {
    BeginFrame();
    device->DrawRect(0, 0, 4, 4);
    Array<int> pixels(4 * 3);
    device->ReadPixels(pixels, 5, 10, 4, 3, 0, 4);
    EXPECT_EQ(gl.calls.at(0).name, "DrawElements");
    EXPECT_EQ(gl.Of("ReadPixels").at(0).args, (Args{5, 467, 4, 3, vo_gl::BGRA, vo_gl::UNSIGNED_BYTE}));
    EXPECT_EXIT(device->ReadPixels(pixels, 0, 0, 4, 3, 1, 4), ::testing::ExitedWithCode(255), "");
    EXPECT_EXIT(device->ReadPixels(pixels, 0, 0, 4, 3, 0, 5), ::testing::ExitedWithCode(255), "");
}

}  // namespace
