// floeward-footprint: starts a program on the X server of DISPLAY and measures what its player
// waits for and what it holds: the time from launch to its window mapped and to the first
// picture in that window, and a while later its anonymous memory (RssAnon), with --smaps
// where that memory lies. Meant for a private server (scripts/footprint.sh starts Xvfb with a
// black root), where the first window mapped is the program's.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr char kUsage[] =
    "usage: floeward-footprint [--settle SECONDS] [--smaps] [--log FILE] -- COMMAND [ARG...]\n"
    "  Starts COMMAND on the X server of DISPLAY and prints, one 'name value' a line:\n"
    "  mapped_ms      launch to the first top-level window mapped\n"
    "  picture_ms     launch to the first pixel in that window that is not black (polled every 5 ms)\n"
    "  rss_anon_kb    RssAnon of the process SECONDS (3) after the window was mapped, and the\n"
    "                 other Rss figures of /proc/PID/status beside it\n"
    "  --smaps        also the process's anonymous memory by mapping, largest first\n"
    "  --log FILE     the program's standard output and error go to FILE (default /dev/null)\n";

constexpr auto kGiveUp = std::chrono::seconds(30);
constexpr auto kPicturePoll = std::chrono::milliseconds(5);
// Mappings with less anonymous memory than this are summed up in one line.
constexpr long kListedKb = 256;

double MillisSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The program, reaped once it has ended so that its id is never signalled afterwards.
struct Child {
    pid_t pid = -1;
    bool gone = false;

    bool Gone() {
        int status = 0;
        if (!gone && waitpid(pid, &status, WNOHANG) == pid) gone = true;
        return gone;
    }
    void Stop() {
        if (Gone()) return;
        kill(pid, SIGTERM);
        for (int i = 0; i < 100 && !Gone(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (Gone()) return;
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        gone = true;
    }
};

// Waits up to `limit` for an event on the display's connection.
void WaitForEvent(Display* display, std::chrono::milliseconds limit) {
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(limit.count()));
}

// The first top-level window mapped, or None once the program has ended or taken too long.
Window WaitForMap(Display* display, Child& child, Clock::time_point start) {
    while (Clock::now() - start < kGiveUp) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) return event.xmap.window;
        }
        if (child.Gone()) return None;
        WaitForEvent(display, std::chrono::milliseconds(50));
    }
    return None;
}

// The window may go at any moment (the program ends, or opens it again elsewhere): a request
// about a window that is gone fails quietly instead of ending the measurement.
bool g_requestFailed = false;

int NoteError(Display*, XErrorEvent*) {
    g_requestFailed = true;
    return 0;
}

bool AnyPixelLit(Display* display, Window window) {
    g_requestFailed = false;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) return false;
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!image || g_requestFailed) {
        if (image) XDestroyImage(image);
        return false;
    }
    bool lit = false;
    if (image->bits_per_pixel == 32) {
        // The usual TrueColor layout, read straight from the bytes: a pixel at a time through
        // XGetPixel would be slower than the picture it waits for.
        for (int y = 0; y < image->height && !lit; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(image->data + static_cast<size_t>(y) * image->bytes_per_line);
            for (int x = 0; x < image->width && !lit; ++x) lit = (row[x] & 0xFFFFFF) != 0;
        }
    } else {
        for (int y = 0; y < image->height && !lit; ++y) {
            for (int x = 0; x < image->width && !lit; ++x) lit = (XGetPixel(image, x, y) & 0xFFFFFF) != 0;
        }
    }
    XDestroyImage(image);
    return lit;
}

// Launch to the first lit pixel, or a negative time when none came.
double WaitForPicture(Display* display, Window window, Child& child, Clock::time_point start) {
    while (Clock::now() - start < kGiveUp) {
        if (AnyPixelLit(display, window)) return MillisSince(start);
        if (child.Gone()) return -1;
        std::this_thread::sleep_for(kPicturePoll);
    }
    return -1;
}

void PrintStatus(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        for (const char* field : {"VmRSS", "RssAnon", "RssFile", "RssShmem", "Threads"}) {
            if (line.rfind(std::string(field) + ":", 0) != 0) continue;
            std::istringstream words(line.substr(std::strlen(field) + 1));
            long value = 0;
            words >> value;
            std::string name = field;
            std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
            if (name == "vmrss") name = "rss";
            if (name == "rssanon") name = "rss_anon";
            if (name == "rssfile") name = "rss_file";
            if (name == "rssshmem") name = "rss_shmem";
            std::printf("%s%s %ld\n", name.c_str(), name == "threads" ? "" : "_kb", value);
        }
    }
}

struct Mapping {
    std::string name;
    long sizeKb = 0;
    long anonKb = 0;
};

// Anonymous memory by mapping, from /proc/PID/smaps: the heap, the unnamed mappings (large
// allocations, thread stacks) and the written pages of files mapped privately.
void PrintSmaps(pid_t pid) {
    std::ifstream smaps("/proc/" + std::to_string(pid) + "/smaps");
    std::vector<Mapping> mappings;
    for (std::string line; std::getline(smaps, line);) {
        const size_t colon = line.find(':');
        const bool field = colon != std::string::npos && colon + 1 < line.size() && line[colon + 1] == ' ' &&
                           line.find(' ') > colon;
        if (!field) {
            std::istringstream words(line);
            std::string range, perms, offset, device, inode, path;
            words >> range >> perms >> offset >> device >> inode;
            std::getline(words >> std::ws, path);
            Mapping m;
            const size_t dash = range.find('-');
            const unsigned long from = std::stoul(range.substr(0, dash), nullptr, 16);
            const unsigned long to = std::stoul(range.substr(dash + 1), nullptr, 16);
            m.sizeKb = static_cast<long>((to - from) / 1024);
            m.name = path.empty() ? "(unnamed, " + perms + ")" : path;
            mappings.push_back(m);
        } else if (!mappings.empty() && line.rfind("Anonymous:", 0) == 0) {
            mappings.back().anonKb = std::atol(line.c_str() + colon + 1);
        }
    }
    std::sort(mappings.begin(), mappings.end(), [](const Mapping& a, const Mapping& b) { return a.anonKb > b.anonKb; });
    long total = 0, rest = 0, restCount = 0;
    for (const Mapping& m : mappings) {
        total += m.anonKb;
        if (m.anonKb >= kListedKb) {
            std::printf("smaps %8ld kB anonymous in %8ld kB  %s\n", m.anonKb, m.sizeKb, m.name.c_str());
        } else if (m.anonKb > 0) {
            rest += m.anonKb;
            ++restCount;
        }
    }
    std::printf("smaps %8ld kB anonymous in %ld smaller mappings\n", rest, restCount);
    std::printf("smaps %8ld kB anonymous in all\n", total);
}

int Usage() {
    std::fputs(kUsage, stderr);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    double settle = 3;
    bool smaps = false;
    std::string log = "/dev/null";
    int first = 1;
    for (; first < argc; ++first) {
        const std::string arg = argv[first];
        if (arg == "--") {
            ++first;
            break;
        }
        if (arg == "--settle" && first + 1 < argc) {
            settle = std::atof(argv[++first]);
        } else if (arg == "--smaps") {
            smaps = true;
        } else if (arg == "--log" && first + 1 < argc) {
            log = argv[++first];
        } else {
            return Usage();
        }
    }
    if (first >= argc || !(settle >= 0)) return Usage();

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "floeward-footprint: no X display to run on\n");
        return 1;
    }
    XSetErrorHandler(NoteError);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point start = Clock::now();
    Child child;
    child.pid = fork();
    if (child.pid < 0) return 1;
    if (child.pid == 0) {
        const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0) {
            dup2(out, STDOUT_FILENO);
            dup2(out, STDERR_FILENO);
        }
        execvp(argv[first], argv + first);
        std::perror("floeward-footprint: exec");
        _exit(127);
    }

    const Window window = WaitForMap(display, child, start);
    if (window == None) {
        std::fprintf(stderr, "floeward-footprint: %s mapped no window\n", argv[first]);
        child.Stop();
        return 2;
    }
    std::printf("mapped_ms %.1f\n", MillisSince(start));
    const Clock::time_point mapped = Clock::now();
    std::printf("picture_ms %.1f\n", WaitForPicture(display, window, child, start));
    std::fflush(stdout);

    std::this_thread::sleep_until(mapped + std::chrono::duration<double>(settle));
    if (child.Gone()) {
        std::fprintf(stderr, "floeward-footprint: %s ended before its memory was read\n", argv[first]);
        return 2;
    }
    PrintStatus(child.pid);
    if (smaps) PrintSmaps(child.pid);
    child.Stop();
    XCloseDisplay(display);
    return 0;
}
