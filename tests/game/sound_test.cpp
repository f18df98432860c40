// Sound effects and music: slot file names, the channel ring, the sound option gate and the
// tune calls, as they reach the audio device.
#include <algorithm>

#include "game_fixture.h"

namespace {

// Every effect and music call the game makes, as text.
class CallLog : public gxtkAudio {
public:
    std::vector<std::string> calls;
    std::vector<std::string> missing;  // files that fail to load
    std::vector<std::string> loads;

    Ref<gxtkSample> LoadSample(String path) override {
        loads.push_back(path.ToUtf8());
        for (const auto& name : missing) {
            if (path.ToUtf8().find(name) != std::string::npos) return nullptr;
        }
        return New<gxtkSample>();
    }
    int PlaySample(gxtkSample*, int channel, int) override { return Log("play", channel); }
    void StopChannel(int channel) override { Log("stop", channel); }
    void SetRate(int channel, float v) override { Log("rate", channel, v); }
    void SetVolume(int channel, float v) override { Log("volume", channel, v); }
    void SetPan(int channel, float v) override { Log("pan", channel, v); }
    int PlayMusic(String path, int flags) override { return Log("music " + path.ToUtf8(), flags); }
    void StopMusic() override { calls.push_back("stop music"); }

private:
    int Log(const std::string& what, int n, float v = 0) {
        char text[96];
        std::snprintf(text, sizeof text, "%s %d %g", what.c_str(), n, static_cast<double>(v));
        calls.push_back(text);
        return 0;
    }
};

class Sound : public game_test::GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        log = New<CallLog>();
        vo_audio_SetAudioDevice(log);
        log->missing = {"sfx/005.wav"};
        for (int n : {5, 12, 99}) app->p_LoadSFX(n);
    }
    Ref<CallLog> log;
    using Calls = std::vector<std::string>;
};

TEST_F(Sound, EffectsPlayOnARingOfTwentyFourChannels) {
    EXPECT_EQ(log->loads, (Calls{"zembra://data/sfx/005.wav", "zembra://data/sfx/012.wav", "zembra://data/sfx/099.wav"}));
    EXPECT_TRUE(app->m_sfx[12] && app->m_sfx[99]);
    EXPECT_FALSE(app->m_sfx[5]) << "a file that fails to load leaves its slot empty";
    // Numbers without a slot, or an empty slot, play nothing and move no channel.
    app->p_LoadSFX(100);
    EXPECT_EQ(log->loads.size(), 3u);
    for (int n : {5, 100, -1}) app->p_PlaySFX(n, 1);
    EXPECT_TRUE(log->calls.empty());

    app->p_PlaySFX(99, 0.8f, 0.5f, -0.25f);
    EXPECT_EQ(log->calls, (Calls{"stop 1 0", "play 1 0", "rate 1 0.8", "volume 1 0.5", "pan 1 -0.25"}));
    std::vector<int> channels, expected;
    for (int i = 0; i < 24; ++i) {
        log->calls.clear();
        app->p_PlaySFX(12, 0.7f);
        channels.push_back(std::stoi(log->calls[0].substr(5)));
        expected.push_back((i + 2) % 24);
    }
    // The 25th sound since the start cuts off the first one on its channel.
    EXPECT_EQ(channels, expected);
    EXPECT_EQ(log->calls, (Calls{"stop 1 0", "play 1 0", "rate 1 1", "volume 1 0.7", "pan 1 0"}));
}

TEST_F(Sound, TheOptionGatesEffectsAndMusicApart) {
    struct Case {
        int option;
        bool effects, music;
    };
    for (Case c : {Case{0, false, false}, Case{1, true, true}, Case{2, true, false}, Case{3, false, true}}) {
        SCOPED_TRACE(c.option);
        app->m_options[option::kSound] = c.option;
        app->m_musicOn = 0;
        app->m_chanIdx = 0;
        log->calls.clear();
        app->p_PlaySFX(12, 1);
        app->p_PlayTune(String("Garlic"), 1);
        auto count = [&](const std::string& call) { return std::count(log->calls.begin(), log->calls.end(), call); };
        EXPECT_EQ(count("play 1 0"), c.effects ? 1 : 0);
        EXPECT_EQ(count("music zembra://data/sfx/Garlic.ogg 1 0"), c.music ? 1 : 0);
        EXPECT_EQ(app->m_musicOn, c.music ? 1 : 0);
    }
}

TEST_F(Sound, TunesStartRestartAndStop) {
    app->p_PlayTune(String("-1"), 1);
    EXPECT_TRUE(log->calls.empty()) << "nothing to restart before a tune was started";
    EXPECT_TRUE(app->m_tune.Empty());

    app->p_PlayTune(String("Garlic"), 1);
    app->p_PlayTune(String("-1"), 1);
    EXPECT_EQ(log->calls, (Calls{"music zembra://data/sfx/Garlic.ogg 1 0", "stop music",
                                 "music zembra://data/sfx/Garlic.ogg 1 0"}));
    // Music switched off while it plays: the restart only stops it.
    log->calls.clear();
    app->m_options[option::kSound] = 2;
    app->p_PlayTune(String("-1"), 1);
    app->m_options[option::kSound] = 1;
    app->p_PlayTune(String(""), 1);
    EXPECT_EQ(log->calls, (Calls{"stop music"}));
    EXPECT_EQ(app->m_musicOn, 0);

    app->p_PlayTune(String("-1"), 0);
    app->p_StopTune();
    EXPECT_EQ(app->m_musicOn, 0);
    HasMusicStream = 0;
    app->p_PlayTune(String("Other"), 1);
    EXPECT_EQ(log->calls, (Calls{"stop music", "music zembra://data/sfx/Garlic.ogg 0 0", "stop music"}));
    EXPECT_TRUE(app->m_tune == String("Garlic"));
}

}  // namespace
