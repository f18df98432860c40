// The credit lines the title screen's credits panel scrolls through.
#include "game/globals.h"

Array<String> vo_game_CreditLines() {
    static const char* const kLines[] = {
        "",
        "A game by",
        "The Floeward Team",
        // The line of the maker's web site, empty while the game has none.
        "",
        "",
        "-=-=-",
        "",
        "Built on",
        "The Floeward Framework",
        // The framework's web site, likewise.
        "",
        "",
        "-=-=-",
        "",
        "Graphics",
        "",
        "Every picture drawn in code",
        "by the Floeward asset generator",
        "",
        "Floe Strokes",
        "by The Floeward Team",
        "Lower-case letters drawn",
        "from the same stroke grid",
        "",
        "",
        "-=-=-",
        "",
        "Audio",
        "",
        "Every sound and tune",
        "synthesised at build time",
        "libvorbisenc",
        "stb_vorbis",
        "OpenAL Soft",
        "A small WAV writer",
        "Made to be heard",
        "by penguins everywhere",
        "",
        "-=-=-",
        "",
        "Thanks to",
        "GLFW",
        "Mesa",
        "stb_image",
        "GoogleTest",
        "Google Benchmark",
        "CMake",
        "Ninja",
        "Xvfb",
        "and everyone who writes",
        "and shares free software",
        "",
        "-=-=-",
        "End",
    };
    constexpr int kCount = static_cast<int>(sizeof kLines / sizeof kLines[0]);
    static_assert(kCount == 53, "the credits panel scrolls through 53 lines");
    Array<String> lines(kCount);
    for (int i = 0; i < kCount; ++i) lines[i] = String(kLines[i]);
    return lines;
}
