// gxtkAudio: opening OpenAL, the channel operations, the source rule and buffer release.
#include "framework/audio/audio_device.h"

#include <AL/efx.h>

#include <cmath>
#include <cstdlib>

#include "framework/app/error.h"
#include "framework/app/host.h"
#include "framework/audio/al_format.h"

gxtkAudio* gxtkAudio::audio = nullptr;

namespace {

// Channel numbers come from the game; one outside the table is ignored rather than trusted.
bool ValidChannel(int channel) { return channel >= 0 && channel < gxtkAudio::kChannelCount; }

ALint SourceState(ALuint source) {
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

}  // namespace

gxtkAudio::gxtkAudio() {
    audio = this;
    m_alcDevice = alcOpenDevice(nullptr);
    if (!m_alcDevice) m_alcDevice = alcOpenDevice("Generic Hardware");
    if (!m_alcDevice) m_alcDevice = alcOpenDevice("Generic Software");
    voPrint(String("opening openal device"));
    if (!m_alcDevice) {
        voPrint(String("OpenAl error: alcOpenDevice failed"));
    } else {
        // Nothing here sends sound to effects: a context without effect sends keeps about a
        // megabyte less for its voices.
        const ALCint attributes[] = {ALC_MAX_AUXILIARY_SENDS, 0, 0};
        m_alcContext = alcCreateContext(m_alcDevice, attributes);
        if (!m_alcContext) {
            voPrint(String("OpenAl error: alcCreateContext failed"));
        } else if (!alcMakeContextCurrent(m_alcContext)) {
            voPrint(String("OpenAl error: alcMakeContextCurrent failed"));
        }
    }
    // Positions only give the direction of a sound; distance never changes its gain.
    alDistanceModel(AL_NONE);
    Source(kMusicChannel);
}

gxtkAudio::~gxtkAudio() {
    for (gxtkChannel& channel : m_channels) {
        if (channel.m_source != 0) {
            alSourceStop(channel.m_source);
            alSourcei(channel.m_source, AL_BUFFER, 0);
        }
    }
    FlushDiscarded();
    for (gxtkChannel& channel : m_channels) {
        if (channel.m_source != 0) alDeleteSources(1, &channel.m_source);
        channel = gxtkChannel();
    }
    // Whatever is still queued belongs to the context that goes now.
    gxtkSample::discarded.clear();
    if (audio == this) audio = nullptr;
    if (m_alcContext) {
        if (alcGetCurrentContext() == m_alcContext) alcMakeContextCurrent(nullptr);
        alcDestroyContext(m_alcContext);
    }
    if (m_alcDevice) alcCloseDevice(m_alcDevice);
}

ALuint gxtkAudio::Source(int channel) {
    gxtkChannel& chan = m_channels[channel];
    if (chan.m_source != 0) return chan.m_source;
    alGetError();
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) {
        source = 0;
        for (int other = 0; other < kMusicChannel; ++other) {
            if (m_channels[other].m_source == 0 || ChannelState(other) != 0) continue;
            source = m_channels[other].m_source;
            m_channels[other].m_source = 0;
            break;
        }
    }
    chan.m_source = source;
    return source;
}

void gxtkAudio::FlushDiscarded() {
    std::vector<unsigned>& discarded = gxtkSample::discarded;
    if (discarded.empty() || !audio) return;
    // A stopped source still holds its buffer, and OpenAL refuses to delete a held buffer.
    for (gxtkChannel& channel : audio->m_channels) {
        if (channel.m_source == 0 || SourceState(channel.m_source) != AL_STOPPED) continue;
        alSourcei(channel.m_source, AL_BUFFER, 0);
        channel.m_state = 0;
    }
    size_t kept = 0;
    for (unsigned buffer : discarded) {
        alGetError();
        alDeleteBuffers(1, &buffer);
        if (alGetError() != AL_NO_ERROR) discarded[kept++] = buffer;
    }
    discarded.resize(kept);
}

void gxtkAudio::Suspend() {
    for (gxtkChannel& channel : m_channels) {
        if (channel.m_state == 1 && SourceState(channel.m_source) == AL_PLAYING) alSourcePause(channel.m_source);
    }
}

void gxtkAudio::Resume() {
    for (gxtkChannel& channel : m_channels) {
        if (channel.m_state == 1 && SourceState(channel.m_source) == AL_PAUSED) alSourcePlay(channel.m_source);
    }
}

Ref<gxtkSample> gxtkAudio::LoadSample(String path) {
    FlushDiscarded();
    auto sample = New<gxtkSample>();
    if (!LoadSample__UNSAFE__(sample.Get(), path)) return nullptr;
    return sample;
}

bool gxtkAudio::LoadSample__UNSAFE__(gxtkSample* sample, String path) {
    if (!VoGame::_game) return false;
    int length = 0, channels = 0, format = 0, hertz = 0;
    unsigned char* block = VoGame::_game->LoadAudioData(path, &length, &channels, &format, &hertz);
    if (!block) return false;
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    alBufferData(buffer, vo_audio_ALFormat(format, channels), block, format * channels * length, hertz);
    std::free(block);
    sample->SetBuffer(buffer);
    return true;
}

int gxtkAudio::PlaySample(gxtkSample* sample, int channel, int flags) {
    if (!sample || !ValidChannel(channel)) return -1;
    FlushDiscarded();
    ALuint source = Source(channel);
    if (source == 0) return -1;
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(sample->m_buffer));
    alSourcei(source, AL_LOOPING, flags != 0 ? AL_TRUE : AL_FALSE);
    alSourcePlay(source);
    gxtkChannel& chan = m_channels[channel];
    chan.m_sample = sample;
    chan.m_flags = flags;
    chan.m_state = 1;
    return 0;
}

void gxtkAudio::StopChannel(int channel) {
    if (!ValidChannel(channel)) return;
    gxtkChannel& chan = m_channels[channel];
    if (chan.m_state == 0) return;
    alSourceStop(chan.m_source);
    chan.m_state = 0;
}

void gxtkAudio::PauseChannel(int channel) {
    if (!ValidChannel(channel)) return;
    gxtkChannel& chan = m_channels[channel];
    if (chan.m_state != 1) return;
    if (SourceState(chan.m_source) == AL_STOPPED) {
        chan.m_state = 0;
        return;
    }
    alSourcePause(chan.m_source);
    chan.m_state = 2;
}

void gxtkAudio::ResumeChannel(int channel) {
    if (!ValidChannel(channel)) return;
    gxtkChannel& chan = m_channels[channel];
    if (chan.m_state != 2) return;
    alSourcePlay(chan.m_source);
    chan.m_state = 1;
}

int gxtkAudio::ChannelState(int channel) {
    if (!ValidChannel(channel)) return 0;
    gxtkChannel& chan = m_channels[channel];
    if (chan.m_state == 1 && SourceState(chan.m_source) == AL_STOPPED) chan.m_state = 0;
    return chan.m_state;
}

void gxtkAudio::SetVolume(int channel, float volume) {
    if (!ValidChannel(channel)) return;
    alSourcef(Source(channel), AL_GAIN, volume);
}

void gxtkAudio::SetPan(int channel, float pan) {
    if (!ValidChannel(channel)) return;
    alSource3f(Source(channel), AL_POSITION, std::sin(pan), 0.0f, -std::cos(pan));
}

void gxtkAudio::SetRate(int channel, float rate) {
    if (!ValidChannel(channel)) return;
    alSourcef(Source(channel), AL_PITCH, rate);
}

int gxtkAudio::PlayMusic(String path, int flags) {
    StopMusic();
    Ref<gxtkSample> sample = LoadSample(path);
    if (!sample) return -1;
    PlaySample(sample.Get(), kMusicChannel, flags);
    return 0;
}

void gxtkAudio::StopMusic() {
    StopChannel(kMusicChannel);
    // A stopped tune is never resumed (playing music loads its file again): its decoded sound
    // goes, and its buffer with the next sound played.
    m_channels[kMusicChannel].m_sample = nullptr;
}
void gxtkAudio::PauseMusic() { PauseChannel(kMusicChannel); }
void gxtkAudio::ResumeMusic() { ResumeChannel(kMusicChannel); }
int gxtkAudio::MusicState() { return ChannelState(kMusicChannel); }
void gxtkAudio::SetMusicVolume(float volume) { SetVolume(kMusicChannel, volume); }
