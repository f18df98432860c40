// The channels of the audio device on a real OpenAL Soft context: restarts, states,
// suspension, panning, buffer release, source stealing and music.
#include <gtest/gtest.h>

#include <algorithm>

#include "audio_test_support.h"

namespace {

using namespace audio_test;

bool Queued(unsigned buffer) {
    const auto& d = gxtkSample::discarded;
    return std::find(d.begin(), d.end(), buffer) != d.end();
}

class Channels : public DeviceTest {
protected:
    ALint Offset(int channel) {
        ALint offset = 0;
        alGetSourcei(SourceOf(channel), AL_SAMPLE_OFFSET, &offset);
        return offset;
    }
};

TEST_F(Channels, PlayingTheSameSampleAgainRestartsIt) {
    Ref<gxtkSample> tone = LoadTone(3.0);
    ASSERT_EQ(device->PlaySample(tone.Get(), 0, 0), 0);
    ASSERT_TRUE(WaitUntil([&] { return Offset(0) > 22050; }));
    ASSERT_EQ(device->PlaySample(tone.Get(), 0, 1), 0);
    EXPECT_LT(Offset(0), 11025);
    ALint looping = 0;
    alGetSourcei(SourceOf(0), AL_LOOPING, &looping);
    EXPECT_EQ(looping, AL_TRUE);
    EXPECT_EQ(device->ChannelState(0), 1);
}

TEST_F(Channels, PausingASoundThatEndedStopsTheChannelInstead) {
    Ref<gxtkSample> blip = LoadTone(0.05);
    device->PlaySample(blip.Get(), 5, 0);
    ASSERT_TRUE(Ended(5));
    device->PauseChannel(5);
    EXPECT_EQ(device->m_channels[5].m_state, 0);
    EXPECT_EQ(SourceState(SourceOf(5)), AL_STOPPED);
    device->ResumeChannel(5);
    EXPECT_EQ(SourceState(SourceOf(5)), AL_STOPPED);
}

TEST_F(Channels, SuspendAndResumeLeaveAChannelPausedByTheGamePaused) {
    Ref<gxtkSample> tone = LoadTone(3.0);
    device->PlaySample(tone.Get(), 1, 0);
    device->PlaySample(tone.Get(), 2, 0);
    device->PauseChannel(1);
    device->Suspend();
    EXPECT_EQ(SourceState(SourceOf(2)), AL_PAUSED);
    EXPECT_EQ(device->ChannelState(2), 1);
    device->Resume();
    EXPECT_EQ(SourceState(SourceOf(1)), AL_PAUSED);
    EXPECT_EQ(SourceState(SourceOf(2)), AL_PLAYING);
    EXPECT_EQ(device->ChannelState(1), 2);
    device->ResumeChannel(1);
    EXPECT_EQ(SourceState(SourceOf(1)), AL_PLAYING);
}

TEST_F(Channels, PanIsAnAngleInRadians) {
    struct {
        float pan, x, z;
    } pans[] = {{0.0f, 0.0f, -1.0f}, {1.5707964f, 1.0f, 0.0f}, {-1.0f, -0.84147098f, -0.54030231f}};
    for (const auto& p : pans) {
        device->SetPan(7, p.pan);
        ALfloat x = 9, y = 9, z = 9;
        alGetSource3f(SourceOf(7), AL_POSITION, &x, &y, &z);
        EXPECT_NEAR(x, p.x, 1e-6) << p.pan;
        EXPECT_EQ(y, 0.0f) << p.pan;
        EXPECT_NEAR(z, p.z, 1e-6) << p.pan;
    }
}

TEST_F(Channels, ChannelsOutsideTheTableAreIgnored) {
    Ref<gxtkSample> tone = LoadTone(0.1);
    for (int channel : {-1, 33}) {
        EXPECT_EQ(device->PlaySample(tone.Get(), channel, 0), -1);
        device->SetPan(channel, 1);
        EXPECT_EQ(device->ChannelState(channel), 0);
    }
}

// How a playing channel stops before its discarded buffer may go.
enum class StopBy { StopChannel, EndObserved, EndUnobserved };

class DiscardedBuffers : public Channels, public ::testing::WithParamInterface<StopBy> {};

TEST_P(DiscardedBuffers, StayQueuedWhileTheirChannelPlaysAndGoOnceItStopped) {
    Ref<gxtkSample> tone = LoadTone(GetParam() == StopBy::StopChannel ? 3.0 : 0.3);
    unsigned buffer = tone->m_buffer;
    device->PlaySample(tone.Get(), 9, 0);
    tone->Discard();
    gxtkAudio::FlushDiscarded();
    EXPECT_TRUE(Queued(buffer));
    EXPECT_TRUE(alIsBuffer(buffer));

    if (GetParam() == StopBy::StopChannel) {
        device->StopChannel(9);
    } else {
        ASSERT_TRUE(Ended(9));
    }
    if (GetParam() == StopBy::EndObserved) {
        EXPECT_EQ(device->ChannelState(9), 0);
    }
    gxtkAudio::FlushDiscarded();
    EXPECT_FALSE(Queued(buffer));
    EXPECT_FALSE(alIsBuffer(buffer));
}

INSTANTIATE_TEST_SUITE_P(Stops, DiscardedBuffers,
                         ::testing::Values(StopBy::StopChannel, StopBy::EndObserved, StopBy::EndUnobserved));

TEST_F(Channels, ASourcelessChannelTakesTheSourceOfAFinishedChannel) {
    Ref<gxtkSample> tone = LoadTone(3.0);
    Ref<gxtkSample> blip = LoadTone(0.05);
    // The music channel holds one source from the start; channels 0 to 4 take the rest.
    const int finished = kSourceLimit - 2;
    for (int channel = 0; channel < finished; ++channel) ASSERT_EQ(device->PlaySample(tone.Get(), channel, 0), 0);
    ASSERT_EQ(device->PlaySample(blip.Get(), finished, 0), 0);
    ASSERT_TRUE(Ended(finished));

    ALuint taken = SourceOf(finished);
    EXPECT_EQ(device->PlaySample(tone.Get(), 20, 0), 0);
    EXPECT_EQ(SourceOf(20), taken);
    EXPECT_EQ(SourceOf(finished), 0u);
    // Every source busy: the sound is not played.
    EXPECT_EQ(device->PlaySample(tone.Get(), finished, 0), -1);
    device->StopChannel(0);
    EXPECT_EQ(device->PlaySample(tone.Get(), finished, 0), 0);
}

TEST_F(Channels, NewMusicReleasesTheOldTuneAndAMissingTuneLeavesSilence) {
    std::string first = WriteFile("first.wav", ToneWav(3.0, 440));
    ASSERT_EQ(device->PlayMusic(String(first.c_str()), 1), 0);
    EXPECT_EQ(device->MusicState(), 1);
    unsigned firstBuffer = device->m_channels[32].m_sample->m_buffer;
    Ref<gxtkSample> blip = LoadTone(0.05);
    ASSERT_EQ(device->PlayMusic(String(first.c_str()), 1), 0);
    gc_collect();
    device->PlaySample(blip.Get(), 0, 0);
    EXPECT_FALSE(alIsBuffer(firstBuffer));

    EXPECT_EQ(device->PlayMusic(String((ScratchDir() + "/no-such-tune.ogg").c_str()), 1), -1);
    EXPECT_EQ(device->MusicState(), 0);

    // A stopped tune is let go: its buffer goes with the next sound; resuming plays nothing.
    ASSERT_EQ(device->PlayMusic(String(first.c_str()), 1), 0);
    const unsigned stoppedBuffer = device->m_channels[32].m_sample->m_buffer;
    device->StopMusic();
    gc_collect();
    device->PlaySample(blip.Get(), 0, 0);
    EXPECT_FALSE(alIsBuffer(stoppedBuffer));
    device->ResumeMusic();
    EXPECT_EQ(device->MusicState(), 0);
}

}  // namespace
