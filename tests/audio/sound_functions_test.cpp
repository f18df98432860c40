// The framework's sound functions, the order of the delegate's suspend and resume, and a
// machine where no audio device opens.
#include <gtest/gtest.h>

#include <unistd.h>

#include "audio_test_support.h"
#include "framework/app/app.h"
#include "framework/app/game_delegate.h"
#include "framework/audio/sound.h"

namespace {

using namespace audio_test;

class SoundFunctions : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        vo_audio_SetAudioDevice(device);
    }
    void TearDown() override {
        vo_audio_device = nullptr;
        DeviceTest::TearDown();
    }
};

TEST_F(SoundFunctions, LoadedSoundsPlayAndMissingOnesPlayNothing) {
    std::string path = WriteFile("sfx.wav", ToneWav(1.0, 440));
    Ref<c_Sound> sound = vo_audio_LoadSound(String(path.c_str()));
    ASSERT_TRUE(sound);
    vo_audio_PlaySound(sound, 3, 0);
    EXPECT_EQ(device->ChannelState(3), 1);

    std::string missing = ScratchDir() + "/missing.wav";
    EXPECT_FALSE(vo_audio_LoadSound(String(missing.c_str())));
    EXPECT_EQ(vo_audio_PlayMusic(String(missing.c_str()), 1), -1);
    vo_audio_PlaySound(nullptr, 0, 0);
    auto empty = New<c_Sound>();
    vo_audio_PlaySound(Ref<c_Sound>(empty->m_new2()), 1, 0);
    EXPECT_EQ(SourceOf(0), 0u);
    EXPECT_EQ(SourceOf(1), 0u);
}

// Records, at each callback, whether the sound on channel 0 was playing at that moment.
class ProbeApp : public c_App {
public:
    ALint atSuspend = 0, atResume = 0;
    ALuint source = 0;
    int p_OnSuspend() override {
        atSuspend = SourceState(source);
        return 0;
    }
    int p_OnResume() override {
        atResume = SourceState(source);
        return 0;
    }
};

TEST_F(SoundFunctions, TheGameIsToldOfSuspensionWhileItsSoundStillPlaysAndOfResumptionOnceItPlaysAgain) {
    Ref<gxtkSample> tone = LoadTone(3.0);
    device->PlaySample(tone.Get(), 0, 0);
    vo_framework_Init();
    auto app = New<ProbeApp>();
    vo_app__app = app;
    app->source = SourceOf(0);
    auto delegate = New<c_GameDelegate>();
    delegate->m_audio = device;

    delegate->SuspendGame();
    EXPECT_EQ(app->atSuspend, AL_PLAYING);
    EXPECT_EQ(SourceState(SourceOf(0)), AL_PAUSED);
    delegate->ResumeGame();
    EXPECT_EQ(app->atResume, AL_PLAYING);
    vo_framework_Init();
}

TEST(AudioDeviceOpen, WithoutAnyDeviceTheProgramCarriesOnSilently) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            // OpenAL reads its configuration once, so this runs in a fresh process.
            std::string conf = WriteFile("none.conf", "[general]\ndrivers = nosuchdriver\n");
            unsetenv("ALSOFT_DRIVERS");
            setenv("ALSOFT_CONF", conf.c_str(), 1);
            dup2(2, 1);
            Host();
            auto device = New<gxtkAudio>();
            std::string path = WriteFile("quiet.wav", ToneWav(0.1, 440));
            Ref<gxtkSample> sample = device->LoadSample(String(path.c_str()));
            bool silent = !device->m_alcDevice && sample && device->PlaySample(sample.Get(), 0, 0) == -1;
            device->SetVolume(1, 0.5f);
            device->SetPan(1, 1.0f);
            device->PlayMusic(String(path.c_str()), 1);
            device->Suspend();
            device->Resume();
            silent = silent && device->ChannelState(0) == 0 && device->MusicState() == 0;
            sample = nullptr;
            device = nullptr;
            gc_collect();
            std::exit(silent ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "opening openal device\nOpenAl error: alcOpenDevice failed\n");
}

}  // namespace
