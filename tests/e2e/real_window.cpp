// Reading the game's window from the X server, holding keys, and the folder, sound device and
// process of a real run.
#include "e2e/real_window.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stb_image_write.h>
#include <unistd.h>

#include <bit>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "e2e/mix.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Long enough for several updates even when the game falls behind, so the key is seen held.
constexpr auto kKeyHeld = 150ms;
constexpr auto kKeyGap = 100ms;

// A window that goes away between finding it and reading it is an error the test expects, not a
// reason for Xlib to end the program.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

Display* TestDisplay() {
    static Display* display = [] {
        XSetErrorHandler(IgnoreXError);
        return XOpenDisplay(nullptr);
    }();
    return display;
}

// The top-level window with this name, asked of the server directly: quicker than a tool.
unsigned long FindWindowNamed(const std::string& name) {
    Display* display = TestDisplay();
    if (!display) return 0;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return 0;
    unsigned long found = 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        char* title = nullptr;
        if (XFetchName(display, children[i], &title) && title) {
            if (name == title) found = children[i];
            XFree(title);
        }
    }
    if (children) XFree(children);
    return found;
}

int Shift(unsigned long mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

}  // namespace

Picture GrabWindow(unsigned long window) {
    Display* display = TestDisplay();
    if (!display) return {};
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) return {};
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!image) return {};
    Picture p;
    p.width = image->width;
    p.height = image->height;
    p.rgb.resize(3 * static_cast<size_t>(p.width) * p.height);
    const int r = Shift(image->red_mask), g = Shift(image->green_mask), b = Shift(image->blue_mask);
    // Pixels of 32 bits in this machine's byte order are read straight; any other layout through Xlib.
    const bool direct = image->bits_per_pixel == 32 &&
                        image->byte_order == (std::endian::native == std::endian::little ? LSBFirst : MSBFirst);
    unsigned char* out = p.rgb.data();
    for (int y = 0; y < p.height; ++y) {
        const auto* row =
            reinterpret_cast<const uint32_t*>(image->data + static_cast<ptrdiff_t>(y) * image->bytes_per_line);
        for (int x = 0; x < p.width; ++x) {
            const unsigned long pixel = direct ? row[x] : XGetPixel(image, x, y);
            *out++ = static_cast<unsigned char>((pixel & image->red_mask) >> r);
            *out++ = static_cast<unsigned char>((pixel & image->green_mask) >> g);
            *out++ = static_cast<unsigned char>((pixel & image->blue_mask) >> b);
        }
    }
    XDestroyImage(image);
    return p;
}

void SavePicture(const Picture& picture, const fs::path& file) {
    std::ofstream out(file, std::ios::binary);
    out << "P6\n" << picture.width << " " << picture.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(picture.rgb.data()), static_cast<std::streamsize>(picture.rgb.size()));
}

bool SavePng(const Picture& picture, const fs::path& file) {
    return !picture.Empty() &&
           stbi_write_png(file.c_str(), picture.width, picture.height, 3, picture.rgb.data(), 3 * picture.width) != 0;
}

Geometry WindowGeometry(unsigned long window) {
    std::istringstream out(RunTool({"xdotool", "getwindowgeometry", "--shell", std::to_string(window)}));
    Geometry g;
    for (std::string line; std::getline(out, line);) {
        auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string key = line.substr(0, eq);
        int value = std::atoi(line.c_str() + eq + 1);
        if (key == "X") g.x = value;
        if (key == "Y") g.y = value;
        if (key == "WIDTH") g.width = value;
        if (key == "HEIGHT") g.height = value;
    }
    return g;
}

void PressKey(const std::string& key) {
    RunTool({"xdotool", "keydown", key});
    std::this_thread::sleep_for(kKeyHeld);
    RunTool({"xdotool", "keyup", key});
    std::this_thread::sleep_for(kKeyGap);
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::unique_ptr<GameProcess> FocusAnotherWindow(const std::string& workDir) {
    auto other = std::make_unique<GameProcess>(workDir, std::vector<std::string>{"xmessage", "Another window"});
    std::string found;
    for (int i = 0; i < 200 && found.empty(); ++i) {
        found = RunTool({"xdotool", "search", "--class", "xmessage"});
        if (found.empty()) std::this_thread::sleep_for(50ms);
    }
    if (found.empty() || !Focus(std::stoul(found.substr(0, found.find('\n'))))) return nullptr;
    return other;
}

void RealGameTest::SetUp() {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "end-to-end tests need an X display (the test command starts one)";
    ASSERT_NE(TestDisplay(), nullptr) << "cannot open the display";
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    dir = fs::temp_directory_path() /
          ("floeward-e2e-" + std::string(test->name()).substr(0, 24) + "-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    // The device records its mix instead of needing a sound card, sample for sample.
    std::ofstream(dir / "alsoft.conf") << "[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\n"
                                          "frequency = 44100\nhrtf = false\ndither = false\n[wave]\nfile = "
                                       << MixFile().string() << "\n";
}

void RealGameTest::TearDown() {
    game.reset();
    fs::remove_all(dir);
}

void RealGameTest::Start(const std::vector<std::string>& command) {
    // The headless game asks for the silent backend; the real one records.
    unsetenv("ALSOFT_DRIVERS");
    game = std::make_unique<GameProcess>(dir.string(), command,
                                         std::vector<std::string>{"ALSOFT_CONF=" + (dir / "alsoft.conf").string()});
}

void RealGameTest::Launch(const std::vector<std::string>& command) {
    Start(command);
    window = WaitForWindow("Floeward", 20s);
    ASSERT_NE(window, 0u) << game->Log();
    ASSERT_TRUE(Focus(window));
}

void RealGameTest::LaunchStopped() {
    Start();
    window = 0;
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (window == 0 && std::chrono::steady_clock::now() < deadline) {
        window = FindWindowNamed("Floeward");
        if (window == 0) std::this_thread::sleep_for(1ms);
    }
    ASSERT_NE(window, 0u) << game->Log();
    kill(game->Pid(), SIGSTOP);
}

void RealGameTest::RunFor(std::chrono::milliseconds slice) {
    kill(game->Pid(), SIGCONT);
    std::this_thread::sleep_for(slice);
    kill(game->Pid(), SIGSTOP);
}

void RealGameTest::Resume() { kill(game->Pid(), SIGCONT); }

int RealGameTest::Close() {
    RunTool({FLOEWARD_X11_CLOSE, std::to_string(window)});
    return game->WaitForExit(5s);
}

bool RealGameTest::WaitForPicture(const std::function<bool(const Picture&)>& check, std::chrono::milliseconds timeout,
                                  const std::string& name) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        shot = GrabWindow(window);
        if (!shot.Empty() && check(shot)) return true;
        std::this_thread::sleep_for(10ms);
    } while (std::chrono::steady_clock::now() < deadline);
    if (!shot.Empty()) SavePicture(shot, FailedDir() / (name + ".ppm"));
    return false;
}

size_t RealGameTest::MixFramesSoFar() const { return RecordedFrames(MixFile()); }

void RealGameTest::KeepMix(const std::string& name) const {
    std::error_code ignored;
    fs::copy_file(MixFile(), FailedDir() / (name + ".wav"), fs::copy_options::overwrite_existing, ignored);
}

fs::path RealGameTest::FailedDir() {
    const fs::path kept = fs::path(FLOEWARD_BUILD_DIR) / "e2e-failures";
    fs::create_directories(kept);
    return kept;
}
