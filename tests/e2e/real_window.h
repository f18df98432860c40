// The real executable in a window of the test's X display: its picture read straight from the
// server, keys held as a player holds them, and runs of the game in a folder of the test's with
// OpenAL Soft recording the mix to a file there.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/process.h"

// A window's picture as 8-bit RGB rows.
struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* At(int x, int y) const { return rgb.data() + 3 * (static_cast<size_t>(y) * width + x); }
    bool Empty() const { return rgb.empty(); }
};

// The window's picture now; empty while it cannot be read (not mapped yet, or gone).
Picture GrabWindow(unsigned long window);
// Writes the picture as a PPM file, for a failing test to leave behind.
void SavePicture(const Picture& picture, const std::filesystem::path& file);
// Writes the picture as a PNG file, for the screenshot programs; false when it is empty or
// could not be written.
bool SavePng(const Picture& picture, const std::filesystem::path& file);

struct Geometry {
    int x = -1, y = -1, width = 0, height = 0;
};
Geometry WindowGeometry(unsigned long window);

// Holds a key of the focused window down for several updates, then lets it go; X key names.
void PressKey(const std::string& key);

std::string ReadFile(const std::filesystem::path& path);

// Another client opens a window and takes the keyboard focus; it stays open while the returned
// process lives. Null when it never showed its window.
std::unique_ptr<GameProcess> FocusAnotherWindow(const std::string& workDir);

// A test that runs the game in a folder of its own, with no saved file at first.
class RealGameTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the game there, waits for its window and gives it the focus. A command given starts
    // it instead, in the same process (a program that sets something up and runs the game).
    void Launch(const std::vector<std::string>& command = {});
    // Starts the game and stops it the moment its window exists, before it has drawn; RunFor
    // lets it go on for a moment at a time, Resume for good.
    void LaunchStopped();
    void RunFor(std::chrono::milliseconds slice);
    void Resume();
    // Ends the game as the window manager's close button does; its exit status.
    int Close();
    // Reads the window's picture until the check passes; false after the timeout. The last
    // picture read is kept in `shot`, and when the check failed also as NAME.ppm in FailedDir().
    bool WaitForPicture(const std::function<bool(const Picture&)>& check, std::chrono::milliseconds timeout,
                        const std::string& name);
    // Sample frames of the mix the device has recorded so far.
    size_t MixFramesSoFar() const;
    std::filesystem::path MixFile() const { return dir / "mix.wav"; }
    // Keeps the mix recorded so far as NAME.wav in FailedDir(), for a failed check of it.
    void KeepMix(const std::string& name) const;
    // Where a failed test leaves what it saw: the build folder's e2e-failures.
    static std::filesystem::path FailedDir();

    std::filesystem::path dir;
    std::unique_ptr<GameProcess> game;
    unsigned long window = 0;
    Picture shot;

private:
    void Start(const std::vector<std::string>& command = {});
};
