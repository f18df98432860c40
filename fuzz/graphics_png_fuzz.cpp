// Feeds arbitrary bytes to the picture loader as a file, through the desktop host's decoder,
// the surface's texture upload on a recording OpenGL table and the image's frame layout.
// Input: a layout byte, a flags byte, three bytes of frame size and count, then the file.
// A picture that loads is no larger than a texture may be, every pixel byte it claims is
// readable, and every frame of a layout it is large enough for lies inside it; one that does
// not is named in one line of text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/app/glfw_host.h"
#include "framework/app/scripted_window_system.h"
#include "framework/graphics/graphics_context.h"
#include "framework/graphics/image.h"
#include "framework/graphics/surface.h"
#include "game/image_sheets.h"
#include "scratch_file.h"
#include "tests/graphics/recording_gl.h"

namespace {

// What the recording context reports; pictures beyond it are refused before decoding.
constexpr int kMaxTextureSize = 4096;
constexpr int kDetailLevels[] = {1, 2, 4};
constexpr int kHeaderBytes = 5;
// The bounds of the layouts made up from the header bytes.
constexpr int kMaxMadeFrameSize = 64;
constexpr int kMaxMadeFrames = 128;
constexpr int kFlagBits = c_Image::MidHandle | c_Image::XPadding | c_Image::YPadding;
constexpr int kWindowWidth = 640, kWindowHeight = 480;

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "graphics_png_fuzz: %s\n", what);
    std::abort();
}

// Reads every pixel byte uploaded, so that a block shorter than its size shows up under the
// sanitizer.
class ReadingGl : public RecordingGl {
public:
    void TexSubImage2D(unsigned t, int l, int x, int y, int w, int h, unsigned f, unsigned ty,
                       const void* p) override {
        RecordingGl::TexSubImage2D(t, l, x, y, w, h, f, ty, p);
        const int depth = f == vo_gl::LUMINANCE ? 1 : f == vo_gl::LUMINANCE_ALPHA ? 2 : f == vo_gl::RGB ? 3 : 4;
        const auto* bytes = static_cast<const unsigned char*>(p);
        volatile unsigned sum = 0;
        for (size_t i = 0; i < static_cast<size_t>(w) * h * depth; ++i) sum = sum + bytes[i];
    }
};

// How the picture is cut: a strip of equal frames, or frames of a size walked across it.
struct Layout {
    bool strip;
    int frameWidth, frameHeight, frameCount;
};

// The game's sheets at each detail level and its font, or made up from the header: a strip (as
// the framework cuts its default font) or frames of a size.
Layout LayoutOf(const uint8_t* header) {
    static const std::vector<Layout> game = [] {
        std::vector<Layout> layouts;
        for (int detail : kDetailLevels) {
            for (const image::Sheet& sheet : image::kSheets) {
                layouts.push_back({false, sheet.frameWidth * detail, sheet.frameHeight * detail, sheet.frameCount});
            }
            layouts.push_back({false, image::kFontCell * detail, image::kFontCell * detail, image::kFontCells});
        }
        return layouts;
    }();
    const size_t choice = header[0] % (game.size() + 2);
    if (choice < game.size()) return game[choice];
    if (choice == game.size()) return {true, 0, 0, header[2] % kMaxMadeFrames + 1};
    return {false, header[2] % kMaxMadeFrameSize + 1, header[3] % kMaxMadeFrameSize + 1,
            header[4] % kMaxMadeFrames + 1};
}

// Whether frames of this size, walked left to right and then down, fit in the picture.
bool FramesFit(const Layout& layout, int width, int height) {
    const int perRow = width / layout.frameWidth;
    if (perRow == 0) return false;
    const int rows = (layout.frameCount + perRow - 1) / perRow;
    return static_cast<int64_t>(rows) * layout.frameHeight <= height;
}

void CheckFrames(c_Image& image, const Layout& layout, int width, int height) {
    Check(image.m_frames.Length() == layout.frameCount, "frame count");
    if (image.m_width <= 0 || image.m_height <= 0) return;
    for (const Ref<c_Frame>& frame : image.m_frames) {
        Check(frame->m_x >= 0 && frame->m_y >= 0 && frame->m_x + image.m_width <= width &&
                  frame->m_y + image.m_height <= height,
              "frame outside the picture");
    }
}

// What call writes through stderr. The C library lets stderr be set like any variable; the
// sanitizers and the fuzzer write their own reports to the descriptor beneath, so these still
// reach the terminal when the call fails.
template <class F>
std::string ErrorOutputOf(F&& call) {
    char* text = nullptr;
    size_t length = 0;
    FILE* capture = open_memstream(&text, &length);
    Check(capture != nullptr, "standard error cannot be captured");
    FILE* terminal = stderr;
    stderr = capture;
    call();
    stderr = terminal;
    std::fclose(capture);
    std::string said(text, length);
    std::free(text);
    return said;
}

// What a picture that cannot be used may say: nothing, or one line of printable text.
bool OneLineOrNone(const std::string& text) {
    if (text.empty()) return true;
    if (text.back() != '\n') return false;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] < ' ' || text[i] > '~') return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ReadingGl* gl = [] {
        auto* table = new ReadingGl();
        table->maxTextureSize = kMaxTextureSize;
        return table;
    }();
    static VoScriptedWindowSystem* window = [] {
        auto* ws = new VoScriptedWindowSystem();
        ws->open = true;
        ws->width = kWindowWidth;
        ws->height = kWindowHeight;
        return ws;
    }();
    static VoGlfwGame* host = [] {
        auto* h = new VoGlfwGame(window);
        glfwGraphicsSeq = 1;
        vo_surface_maxTextureSize = kMaxTextureSize;
        vo_graphics_context = New<c_GraphicsContext>();
        vo_graphics_SetGraphicsDevice(New<gxtkGraphics>(window).Get());
        return h;
    }();
    (void)host;
    if (size < kHeaderBytes) return 0;
    const Layout layout = LayoutOf(data);
    const int flags = data[1] & kFlagBits;
    const std::string path = vo_fuzz_WriteScratchFile("picture.png", data + kHeaderBytes, size - kHeaderBytes);

    gl->Clear();
    // Loaded as vo_graphics_LoadImage and vo_graphics_LoadImage2 load, except that frames the
    // picture is too small for, which end the program with a runtime error by design, are not cut.
    Ref<gxtkSurface> surface;
    const std::string said = ErrorOutputOf([&] { surface = vo_graphics_device->LoadSurface(String(path)); });
    Check(OneLineOrNone(said), "what was said about the picture is not one line of text");
    Ref<c_Image> image;
    if (surface && layout.strip) {
        image = New<c_Image>()->m_new()->p_Init(surface.Get(), layout.frameCount, flags);
    } else if (surface && FramesFit(layout, surface->Width(), surface->Height())) {
        image = New<c_Image>()->m_new()->p_Init2(surface.Get(), 0, 0, layout.frameWidth, layout.frameHeight,
                                                 layout.frameCount, flags, nullptr, 0, 0, surface->Width(),
                                                 surface->Height());
    }
    for (const RecordingGl::Call& call : gl->Of("TexImage2D")) {
        Check(call.args[1] <= kMaxTextureSize && call.args[2] <= kMaxTextureSize, "texture beyond the limit");
    }
    if (surface) {
        Check(surface->Width() > 0 && surface->Height() > 0 && surface->Width() <= kMaxTextureSize &&
                  surface->Height() <= kMaxTextureSize,
              "picture size");
        Check(surface->m_depth >= 1 && surface->m_depth <= 4, "bytes per pixel");
    }
    if (image) CheckFrames(*image, layout, surface->Width(), surface->Height());

    image = nullptr;
    surface = nullptr;
    gc_collect();
    return 0;
}
