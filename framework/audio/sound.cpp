// c_Sound and the vo_audio_ functions.
#include "framework/audio/sound.h"

#include "framework/app/files.h"
#include "framework/audio/audio_device.h"

Ref<gxtkAudio> vo_audio_device;

c_Sound* c_Sound::m_new(Ref<gxtkSample> sample) {
    m_sample = sample;
    return this;
}

c_Sound* c_Sound::m_new2() { return this; }

int vo_audio_SetAudioDevice(Ref<gxtkAudio> device) {
    vo_audio_device = device;
    return 0;
}

Ref<c_Sound> vo_audio_LoadSound(String path) {
    Ref<gxtkSample> sample = vo_audio_device->LoadSample(vo_data_FixDataPath(path));
    if (!sample) return nullptr;
    auto sound = New<c_Sound>();
    sound->m_new(sample);
    return sound;
}

int vo_audio_PlaySound(Ref<c_Sound> sound, int channel, int flags) {
    if (sound && sound->m_sample) vo_audio_device->PlaySample(sound->m_sample.Get(), channel, flags);
    return 0;
}

int vo_audio_StopChannel(int channel) {
    vo_audio_device->StopChannel(channel);
    return 0;
}

int vo_audio_SetChannelVolume(int channel, float volume) {
    vo_audio_device->SetVolume(channel, volume);
    return 0;
}

int vo_audio_SetChannelRate(int channel, float rate) {
    vo_audio_device->SetRate(channel, rate);
    return 0;
}

int vo_audio_SetChannelPan(int channel, float pan) {
    vo_audio_device->SetPan(channel, pan);
    return 0;
}

int vo_audio_PlayMusic(String path, int flags) { return vo_audio_device->PlayMusic(vo_data_FixDataPath(path), flags); }

int vo_audio_StopMusic() {
    vo_audio_device->StopMusic();
    return 0;
}

int vo_audio_PauseMusic() {
    vo_audio_device->PauseMusic();
    return 0;
}

int vo_audio_ResumeMusic() {
    vo_audio_device->ResumeMusic();
    return 0;
}
