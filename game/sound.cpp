// Sound effects on a ring of channels and the one looping tune, both gated by the player's
// sound option.
#include "framework/audio/sound.h"
#include "game/globals.h"
#include "game/my_app.h"

namespace {

// Sound option values: 0 off, 1 effects and music, 2 effects only, 3 music only.
bool EffectsOn(int option) { return option == 1 || option == 2; }
bool MusicOn(int option) { return option == 1 || option == 3; }

}  // namespace

int c_MyApp::p_LoadSFX(int n) {
    if (n < 0 || n >= sfx::kSlots) return 0;
    m_sfx[n] = nullptr;
    const char* lead = n < 10 ? "sfx/00" : "sfx/0";
    m_sfx[n] = vo_audio_LoadSound(String(lead) + String(n) + String(".wav"));
    return 0;
}

int c_MyApp::p_PlaySFX(int n, float rate, float volume, float pan) {
    if (!EffectsOn(m_options[option::kSound])) return 0;
    if (n < 0 || n >= sfx::kSlots || !m_sfx[n]) return 0;
    // Effects go round the first entries of the channel table, cutting off the oldest sound; the
    // device's other channels (music among them) are never taken.
    m_chanIdx = (m_chanIdx + 1) % sfx::kRingSize;
    int channel = m_chan[m_chanIdx];
    vo_audio_StopChannel(channel);
    vo_audio_PlaySound(m_sfx[n], channel, 0);
    vo_audio_SetChannelRate(channel, rate);
    vo_audio_SetChannelVolume(channel, volume);
    vo_audio_SetChannelPan(channel, pan);
    return 0;
}

int c_MyApp::p_PlaySFX(int n, float volume) { return p_PlaySFX(n, 1.0f, volume, 0.0f); }

int c_MyApp::p_PlayTune(String name, int flags) {
    if (HasMusicStream == 0) return 0;
    // "-1" restarts the last tune, if there was one.
    if (name == String("-1")) name = m_tune;
    if (name.Empty()) return 0;
    m_tune = name;
    if (m_musicOn == 1) {
        vo_audio_StopMusic();
        m_musicOn = 0;
    }
    if (!MusicOn(m_options[option::kSound])) return 0;
    vo_audio_PlayMusic(String("sfx/") + name + String(".ogg"), flags);
    m_musicOn = 1;
    return 0;
}

int c_MyApp::p_StopTune() {
    vo_audio_StopMusic();
    m_musicOn = 0;
    return 0;
}
