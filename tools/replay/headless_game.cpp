// The headless game: made-up pictures sized from the sheet table, recorded sounds, the saved
// state in memory, and the start-up and tear-down the program's own start would do.
#include "tools/replay/headless_game.h"

#include <array>
#include <cstdlib>

#include "framework/app/app.h"
#include "framework/app/game_delegate.h"
#include "framework/audio/sound.h"
#include "framework/graphics/graphics_context.h"
#include "game/globals.h"
#include "game/image_sheets.h"
#include "tools/replay/shown_window.h"

namespace {

constexpr char kDataPrefix[] = "zembra://data/";
constexpr char kPictureSuffix[] = ".png";

// The window the program opens first.
constexpr int kWindowWidth = 640, kWindowHeight = 480, kColourBits = 8;

struct SheetSize {
    int frameWidth, frameHeight, frameCount;
};

// The frame size and count of the picture with this stem, from the game's own sheet table.
const SheetSize* FindSheet(const std::string& stem) {
    static const std::map<std::string, SheetSize> kSizes = [] {
        std::map<std::string, SheetSize> sizes;
        for (const image::Sheet& sheet : image::kSheets) {
            sizes[sheet.stem] = {sheet.frameWidth, sheet.frameHeight, sheet.frameCount};
        }
        sizes[image::kFontStem] = {image::kFontCell, image::kFontCell, image::kFontCells};
        return sizes;
    }();
    auto found = kSizes.find(stem);
    return found == kSizes.end() ? nullptr : &found->second;
}

}  // namespace

unsigned char* VoHeadlessHost::LoadImageData(String location, int* width, int* height, int* depth) {
    std::string path = location.ToUtf8();
    imageRequests.push_back(path);
    if (m_realPictures) return VoGlfwGame::LoadImageData(location, width, height, depth);
    const std::string prefix = kDataPrefix;
    const size_t suffixLength = sizeof kPictureSuffix - 1;
    if (path.rfind(prefix, 0) != 0 || path.size() < prefix.size() + suffixLength) return nullptr;
    std::string name = path.substr(prefix.size(), path.size() - prefix.size() - suffixLength);
    // The detail level's suffix scales the sheet: "-hd" twice, "-hd2" four times.
    int level = 1;
    for (auto [suffix, scale] : {std::pair<std::string, int>{"-hd2", 4}, {"-hd", 2}}) {
        if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
            name.resize(name.size() - suffix.size());
            level = scale;
            break;
        }
    }
    const SheetSize* sheet = FindSheet(name);
    if (!sheet) return nullptr;
    // Frames laid out on the smallest square grid that holds them.
    int columns = 1;
    while (columns * columns < sheet->frameCount) ++columns;
    const int rows = (sheet->frameCount + columns - 1) / columns;
    *width = columns * sheet->frameWidth * level;
    *height = rows * sheet->frameHeight * level;
    *depth = 1;
    return static_cast<unsigned char*>(std::calloc(static_cast<size_t>(*width) * *height, 1));
}

unsigned char* VoHeadlessHost::LoadAudioData(String, int*, int*, int*, int*) { return nullptr; }

int VoHeadlessHost::SaveState(String text) {
    ++saves;
    m_saveProblem = failSaves;
    if (failSaves != VoSaveProblem::kNone) return -1;
    state = text.ToUtf8();
    writes.emplace_back("state");
    return 0;
}

String VoHeadlessHost::LoadState() { return String(state); }

String VoHeadlessHost::LoadUserFile(String location) {
    auto file = files.find(location.ToUtf8());
    return file == files.end() ? String() : String(std::string_view(file->second));
}

int VoHeadlessHost::SaveUserFile(String location, String text) {
    files[location.ToUtf8()] = text.ToUtf8();
    writes.push_back(location.ToUtf8());
    return 0;
}

Ref<gxtkSample> gxtkRecordingAudio::LoadSample(String path) {
    auto sample = New<gxtkSample>();
    m_files[sample.Get()] = path.ToUtf8();
    loads.push_back(path.ToUtf8());
    return sample;
}

void VoHeadlessHost::StateDamaged() {
    ++damageReports;
    VoGlfwGame::StateDamaged();
}

int gxtkRecordingAudio::PlaySample(gxtkSample* sample, int channel, int) {
    plays.emplace_back(m_files[sample], channel);
    return 0;
}

void gxtkRecordingAudio::SetRate(int channel, float rate) {
    lastRate = rate;
    gxtkAudio::SetRate(channel, rate);
}

void gxtkRecordingAudio::SetVolume(int channel, float volume) {
    lastVolume = volume;
    gxtkAudio::SetVolume(channel, volume);
}

void gxtkRecordingAudio::PauseMusic() { ++musicPauses; }
void gxtkRecordingAudio::ResumeMusic() { ++musicResumes; }

int gxtkRecordingAudio::Plays(const std::string& file) const {
    int n = 0;
    for (const auto& play : plays) n += play.first.find(file) != std::string::npos;
    return n;
}

void VoHeadlessHost::UseData(const std::string& root) {
    m_appPath = String(std::string_view(root));
    m_realPictures = true;
}

c_HeadlessGame::c_HeadlessGame(const std::string& state, const c_HeadlessView* view, bool soundDevice)
    : m_ownedWs(view ? std::make_unique<VoShownWindowSystem>(*view->m_window) : std::make_unique<VoScriptedWindowSystem>()),
      m_ws(*m_ownedWs) {
    if (view) m_host.UseData(view->m_dataRoot);
    // OpenAL Soft's silent backend: the delegate's own device opens without a sound card. A list
    // naming no backend opens none, and no mixer thread.
    setenv("ALSOFT_DRIVERS", soundDevice ? "null" : "none", 1);
    m_host.state = state;
    vo_framework_Init();
    vo_game_Init();
    m_app = new c_MyApp();
    m_app->m_new();
    m_host.SetGlfwWindow(kWindowWidth, kWindowHeight, kColourBits, kColourBits, kColourBits, 0, 0, 0, false);
    m_host.StartGame();
    m_audio = New<gxtkRecordingAudio>();
    vo_app__delegate->m_audio = m_audio;
    vo_audio_SetAudioDevice(m_audio);
}

c_HeadlessGame::~c_HeadlessGame() {
    vo_framework_Init();
    vo_audio_SetAudioDevice(nullptr);
    vo_graphics_SetGraphicsDevice(nullptr);
    vo_input_SetInputDevice(nullptr);
    m_audio = nullptr;
    gc_collect();
}

void c_HeadlessGame::p_Render() { m_host.RenderGame(); }
void c_HeadlessGame::p_Tick() { m_ws.now += 1.0 / kRunningRate; }
void c_HeadlessGame::p_Update() { m_host.UpdateGame(); }

void c_HeadlessGame::p_Pass() {
    p_Render();
    p_Tick();
    p_Update();
}
