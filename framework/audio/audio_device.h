// The audio device on OpenAL: 33 numbered channels (0 to 31 for samples, 32 for music),
// each with at most one source, and the loading and deferred release of sample buffers.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>

#include "framework/app/object.h"
#include "framework/app/string.h"
#include "framework/audio/sample.h"

struct gxtkChannel {
    ALuint m_source = 0;
    Ref<gxtkSample> m_sample;
    int m_flags = 0;  // nonzero: looping
    int m_state = 0;  // 0 stopped, 1 playing, 2 paused by PauseChannel
};

class gxtkAudio : public Object {
public:
    static constexpr int kChannelCount = 33;
    static constexpr int kMusicChannel = 32;

    // Opens the default device (then "Generic Hardware", then "Generic Software"). When none
    // opens the device still works, silently.
    gxtkAudio();
    // Frees the sources and closes the device. The program keeps its device for the whole run.
    ~gxtkAudio() override;

    // Pause and restart whatever plays, leaving channels paused by PauseChannel paused.
    virtual void Suspend();
    virtual void Resume();
    virtual Ref<gxtkSample> LoadSample(String path);
    // Decodes through the host and uploads into a new buffer; OpenAL is only touched at the end.
    virtual bool LoadSample__UNSAFE__(gxtkSample* sample, String path);
    // 0, or -1 when the channel cannot get a source (or does not exist).
    virtual int PlaySample(gxtkSample* sample, int channel, int flags);
    virtual void StopChannel(int channel);
    virtual void PauseChannel(int channel);
    virtual void ResumeChannel(int channel);
    // 0 stopped, 1 playing, 2 paused; a sound that ended by itself reads 0.
    virtual int ChannelState(int channel);
    virtual void SetVolume(int channel, float volume);
    // The pan is an angle in radians: 0 straight ahead, positive to the right.
    virtual void SetPan(int channel, float pan);
    virtual void SetRate(int channel, float rate);
    // Decodes the whole file and plays it on channel 32; -1 when it cannot be loaded.
    virtual int PlayMusic(String path, int flags);
    virtual void StopMusic();
    virtual void PauseMusic();
    virtual void ResumeMusic();
    virtual int MusicState();
    virtual void SetMusicVolume(float volume);

    // Deletes the discarded buffers that no source holds any more; the rest stay queued.
    static void FlushDiscarded();

    ALCdevice* m_alcDevice = nullptr;
    ALCcontext* m_alcContext = nullptr;
    gxtkChannel m_channels[kChannelCount];

    // The one device.
    static gxtkAudio* audio;

private:
    // The channel's source, created on first use or taken from a finished channel; 0 if none.
    ALuint Source(int channel);
};
