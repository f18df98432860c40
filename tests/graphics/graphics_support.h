// Shared set-up for the graphics tests: the desktop host (which decodes pictures), a real
// window when a test needs pixels, pictures written on the fly, and a device on a recording
// OpenGL table with the drawing context reset around each test.
#pragma once

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/app/app.h"
#include "framework/app/glfw_host.h"
#include "framework/app/glfw_window_system.h"
#include "framework/graphics/graphics_context.h"
#include "recording_gl.h"
#include "support/fake_window_system.h"

// The one host of the test program, on the real window system; no window until asked for.
inline VoGlfwGame& TestHost() {
    static VoGlfwWindowSystem windowSystem;
    static VoGlfwGame host(&windowSystem);
    return host;
}

// Opens (or with reopen, re-opens) the 640x480 window and makes its context current.
inline void OpenRealWindow(bool reopen = false) {
    VoGlfwGame& host = TestHost();
    static bool initialised = [&] {
        if (!host.WindowSystem()->Init()) return false;
        // Closing the context before the leak check at exit stops the driver's threads first.
        std::atexit([] { TestHost().WindowSystem()->CloseWindow(); });
        return true;
    }();
    ASSERT_TRUE(initialised) << "no display";
    if (reopen || !host.WindowSystem()->WindowOpen()) host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    ASSERT_TRUE(host.WindowSystem()->WindowOpen());
}

// Writes a PNG of the given channel count into a private temporary folder; returns its path.
inline std::string WritePng(const std::string& name, int width, int height, int channels,
                            const std::vector<unsigned char>& bytes) {
    static std::string folder = [] {
        char pattern[] = "/tmp/floeward_graphics_XXXXXX";
        return std::string(mkdtemp(pattern));
    }();
    std::string path = folder + "/" + name;
    EXPECT_NE(stbi_write_png(path.c_str(), width, height, channels, bytes.data(), width * channels), 0);
    return path;
}

// An RGBA picture whose pixel (x, y) is colour(x, y) as 0xAARRGGBB.
template <class F>
std::vector<unsigned char> Rgba(int width, int height, F colour) {
    std::vector<unsigned char> bytes;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned argb = colour(x, y);
            bytes.insert(bytes.end(), {static_cast<unsigned char>(argb >> 16), static_cast<unsigned char>(argb >> 8),
                                       static_cast<unsigned char>(argb), static_cast<unsigned char>(argb >> 24)});
        }
    }
    return bytes;
}

// A device on a recording OpenGL table and a scripted 640x480 window, inside generation 1.
class RecordedGraphics : public ::testing::Test {
protected:
    void SetUp() override {
        TestHost();
        m_savedSeq = glfwGraphicsSeq;
        glfwGraphicsSeq = 1;
        window.open = true;
        window.width = 640;
        window.height = 480;
        device = New<gxtkGraphics>(&window);
        vo_graphics_context = New<c_GraphicsContext>();
        vo_graphics_SetGraphicsDevice(device.Get());
        vo_app__devWidth = 640;
        vo_app__devHeight = 480;
    }
    void TearDown() override {
        vo_graphics_EndRender();
        vo_graphics_SetGraphicsDevice(nullptr);
        vo_graphics_context = New<c_GraphicsContext>();
        device = nullptr;
        gc_collect();
        glfwGraphicsSeq = m_savedSeq;
    }
    // Starts a frame as the delegate does and forgets the set-up calls.
    void BeginFrame() {
        device->BeginRender();
        vo_graphics_BeginRender();
        gl.Clear();
    }

    RecordingGl gl;
    FakeWindowSystem window;
    Ref<gxtkGraphics> device;

private:
    int m_savedSeq = 0;
};
