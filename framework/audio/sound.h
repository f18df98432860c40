// The framework's sound calls for the game: loaded sounds and the channel and music functions,
// all forwarded to the one audio device.
#pragma once

#include "framework/app/object.h"
#include "framework/app/string.h"
#include "framework/audio/sample.h"

// The OpenAL device (framework/audio/audio_device.h); only framework sources need all of it.
class gxtkAudio;

class c_Sound : public Object {
public:
    c_Sound* m_new(Ref<gxtkSample> sample);
    c_Sound* m_new2();

    Ref<gxtkSample> m_sample;  // none when loading failed
};

extern Ref<gxtkAudio> vo_audio_device;

int vo_audio_SetAudioDevice(Ref<gxtkAudio> device);
// Null when the file is missing or cannot be decoded.
Ref<c_Sound> vo_audio_LoadSound(String path);
// Plays nothing for a missing sound.
int vo_audio_PlaySound(Ref<c_Sound> sound, int channel, int flags);
int vo_audio_StopChannel(int channel);
int vo_audio_SetChannelVolume(int channel, float volume);
int vo_audio_SetChannelRate(int channel, float rate);
int vo_audio_SetChannelPan(int channel, float pan);
// 0, or -1 when the file cannot be loaded.
int vo_audio_PlayMusic(String path, int flags);
int vo_audio_StopMusic();
int vo_audio_PauseMusic();
int vo_audio_ResumeMusic();
