// The game's sound effects, each designed for its use: refusal, landing and turning thuds
// (played at varying rates), falling out, the five skills' sounds, pick-ups, rescue, the
// jingle, confirm and click.
#include <filesystem>
#include <functional>

#include "tools/assetgen/audio_files.h"
#include "tools/assetgen/synth.h"

namespace assetgen {

namespace {

using Buffer = std::vector<float>;

Envelope Pluck(float decay, float release = 0.02f) { return {0.002f, decay, 0.0f, release}; }

// 1: a low two-step buzz, "uh-uh".
void Refusal(Buffer& s) {
    for (int i = 0; i < 2; i++) {
        Note n{.start = i * 0.15f, .length = 0.14f, .from = i ? 98.0f : 123.0f, .to = i ? 92.0f : 117.0f,
               .wave = Wave::Square, .duty = 0.4f, .volume = 0.5f, .env = {0.004f, 0.1f, 0.7f, 0.03f}, .lowpassHz = 900};
        AddNote(s, n);
    }
}

// 2-4: soft thuds: a falling low tone with a short muffled knock.
void Thud(Buffer& s, float from, float to, Wave wave, uint32_t seed) {
    AddNote(s, {.length = static_cast<float>(s.size()) / kSampleRate, .from = from, .to = to, .wave = wave, .volume = 0.8f,
                .env = Pluck(0.06f)});
    AddNoise(s, {.length = 0.04f, .volume = 0.35f, .env = Pluck(0.015f), .fromHz = 1400, .toHz = 300, .seed = seed});
}

// 5: a sliding whistle down, then a soft splash far below.
void FallOut(Buffer& s) {
    AddNote(s, {.length = 0.6f, .from = 950, .to = 170, .wave = Wave::Sine, .volume = 0.55f, .env = {0.01f, 0.5f, 0.8f, 0.08f},
                .vibratoHz = 9, .vibratoDepth = 0.5f});
    AddNoise(s, {.start = 0.58f, .length = 0.27f, .volume = 0.5f, .env = {0.005f, 0.08f, 0.2f, 0.1f}, .fromHz = 3000,
                 .toHz = 500, .seed = 5});
}

// 6: Jump, a springy rising chirp.
void JumpSound(Buffer& s) {
    AddNote(s, {.length = 0.28f, .from = 260, .to = 900, .wave = Wave::Square, .duty = 0.25f, .volume = 0.4f,
                .env = {0.003f, 0.15f, 0.3f, 0.05f}, .lowpassHz = 2500});
    AddNote(s, {.length = 0.28f, .from = 520, .to = 1800, .wave = Wave::Sine, .volume = 0.25f, .env = Pluck(0.12f)});
}

// 7: Leap, a whoosh under a long gliding tone.
void LeapSound(Buffer& s) {
    AddNoise(s, {.length = 0.42f, .volume = 0.6f, .env = {0.08f, 0.2f, 0.4f, 0.12f}, .fromHz = 600, .toHz = 5000, .highpassHz = 300,
                 .seed = 7});
    AddNote(s, {.length = 0.4f, .from = 380, .to = 760, .wave = Wave::Triangle, .volume = 0.35f, .env = {0.02f, 0.2f, 0.5f, 0.1f}});
}

// 8: Melt, a hiss with little bubbles rising in it.
void MeltSound(Buffer& s) {
    AddNoise(s, {.length = 0.5f, .volume = 0.45f, .env = {0.03f, 0.25f, 0.5f, 0.12f}, .fromHz = 9000, .toHz = 4000,
                 .highpassHz = 2000, .seed = 8});
    Rng rng(88);
    for (int i = 0; i < 7; i++) {
        float start = 0.03f + i * 0.06f + rng.Range(0, 0.02f);
        float f = rng.Range(500, 900);
        AddNote(s, {.start = start, .length = 0.05f, .from = f, .to = f * 1.8f, .wave = Wave::Sine, .volume = 0.3f,
                    .env = Pluck(0.03f)});
    }
}

// 9: Burst, a crack with a low thump and ice shards ringing off.
void BurstSound(Buffer& s) {
    AddNoise(s, {.length = 0.2f, .volume = 0.9f, .env = Pluck(0.05f), .fromHz = 9000, .toHz = 900, .seed = 9});
    AddNote(s, {.length = 0.3f, .from = 110, .to = 40, .wave = Wave::Sine, .volume = 0.8f, .env = Pluck(0.12f)});
    const float shards[4][2] = {{0.04f, 2300}, {0.09f, 3100}, {0.13f, 2700}, {0.19f, 3600}};
    for (const auto& sh : shards) {
        AddNote(s, {.start = sh[0], .length = 0.22f, .from = sh[1], .to = sh[1] * 0.98f, .wave = Wave::Bell, .volume = 0.18f,
                    .env = Pluck(0.08f)});
    }
}

// 10: a penguin pick-up, a happy double bloop.
void PenguinPickup(Buffer& s) {
    AddNote(s, {.length = 0.14f, .from = 420, .to = 820, .wave = Wave::Sine, .volume = 0.6f, .env = Pluck(0.1f)});
    AddNote(s, {.start = 0.15f, .length = 0.2f, .from = 630, .to = 1260, .wave = Wave::Sine, .volume = 0.6f, .env = Pluck(0.14f)});
    AddNote(s, {.start = 0.15f, .length = 0.2f, .from = 1260, .to = 2520, .wave = Wave::Triangle, .volume = 0.12f,
                .env = Pluck(0.1f)});
}

// 11: a penguin rescued, a rising bell arpeggio.
void Rescued(Buffer& s) {
    const float notes[4] = {84, 88, 91, 96};
    for (int i = 0; i < 4; i++) {
        AddNote(s, {.start = i * 0.075f, .length = 0.55f - i * 0.075f, .from = Midi(notes[i]), .to = Midi(notes[i]),
                    .wave = Wave::Bell, .volume = 0.45f, .env = Pluck(0.25f, 0.05f)});
    }
}

// 12: a skill pick-up, quick sparkles going up.
void SkillPickup(Buffer& s) {
    const float notes[5] = {88, 92, 95, 100, 104};
    for (int i = 0; i < 5; i++) {
        AddNote(s, {.start = i * 0.045f, .length = 0.4f - i * 0.045f, .from = Midi(notes[i]), .to = Midi(notes[i]),
                    .wave = Wave::Triangle, .volume = 0.35f, .env = Pluck(0.09f, 0.04f)});
    }
    AddNoise(s, {.length = 0.4f, .volume = 0.12f, .env = {0.05f, 0.2f, 0.3f, 0.1f}, .fromHz = 12000, .toHz = 12000,
                 .highpassHz = 6000, .seed = 12});
}

// 95: a spare soft chime.
void Chime(Buffer& s) {
    AddNote(s, {.length = 0.25f, .from = Midi(81), .to = Midi(81), .wave = Wave::Bell, .volume = 0.5f, .env = Pluck(0.12f)});
}

// 96: the start-up and end-of-level jingle.
void Jingle(Buffer& s) {
    const float lead[6][3] = {{0.0f, 0.15f, 79}, {0.15f, 0.15f, 84}, {0.3f, 0.15f, 88},
                              {0.45f, 0.3f, 91}, {0.8f, 0.15f, 88}, {0.95f, 0.85f, 91}};
    for (const auto& n : lead) {
        AddNote(s, {.start = n[0], .length = n[1], .from = Midi(n[2]), .to = Midi(n[2]), .wave = Wave::Bell, .volume = 0.45f,
                    .env = {0.003f, 0.2f, 0.4f, 0.05f}});
        AddNote(s, {.start = n[0], .length = n[1], .from = Midi(n[2] - 12), .to = Midi(n[2] - 12), .wave = Wave::Square,
                    .duty = 0.3f, .volume = 0.12f, .env = {0.005f, 0.1f, 0.5f, 0.04f}, .vibratoHz = 6, .vibratoDepth = 0.15f,
                    .lowpassHz = 2200});
    }
    const float bass[3][3] = {{0.0f, 0.75f, 48}, {0.8f, 0.15f, 43}, {0.95f, 0.85f, 48}};
    for (const auto& n : bass) {
        AddNote(s, {.start = n[0], .length = n[1], .from = Midi(n[2]), .to = Midi(n[2]), .wave = Wave::Triangle, .volume = 0.5f,
                    .env = {0.005f, 0.3f, 0.5f, 0.08f}});
    }
    for (float chord : {76.0f, 79.0f, 84.0f}) {
        AddNote(s, {.start = 0.95f, .length = 0.85f, .from = Midi(chord), .to = Midi(chord), .wave = Wave::Triangle,
                    .volume = 0.12f, .env = {0.02f, 0.4f, 0.4f, 0.2f}});
    }
}

// 98: confirm, two bright rising dings.
void Confirm(Buffer& s) {
    AddNote(s, {.length = 0.08f, .from = Midi(88), .to = Midi(88), .wave = Wave::Triangle, .volume = 0.5f, .env = Pluck(0.06f)});
    AddNote(s, {.start = 0.07f, .length = 0.15f, .from = Midi(93), .to = Midi(93), .wave = Wave::Bell, .volume = 0.5f,
                .env = Pluck(0.1f)});
}

// 99: move and click, a short soft tick.
void Click(Buffer& s) {
    AddNote(s, {.length = 0.06f, .from = 1500, .to = 1000, .wave = Wave::Sine, .volume = 0.6f, .env = Pluck(0.02f, 0.01f)});
    AddNoise(s, {.length = 0.01f, .volume = 0.2f, .env = Pluck(0.004f, 0.002f), .fromHz = 6000, .toHz = 6000, .seed = 99});
}

struct Effect {
    int number;
    float seconds;
    std::function<void(Buffer&)> make;
};

}  // namespace

// Defined with the tune.
bool WriteTune(const std::string& path);

bool WriteSounds(const std::string& dataDir) {
    const Effect effects[] = {
        {1, 0.32f, Refusal},
        {2, 0.16f, [](Buffer& s) { Thud(s, 120, 55, Wave::Sine, 2); }},
        {3, 0.14f, [](Buffer& s) { Thud(s, 150, 70, Wave::Triangle, 3); }},
        {4, 0.18f, [](Buffer& s) { Thud(s, 95, 45, Wave::Sine, 4); }},
        {5, 0.85f, FallOut},
        {6, 0.30f, JumpSound},
        {7, 0.42f, LeapSound},
        {8, 0.50f, MeltSound},
        {9, 0.45f, BurstSound},
        {10, 0.36f, PenguinPickup},
        {11, 0.55f, Rescued},
        {12, 0.40f, SkillPickup},
        {95, 0.25f, Chime},
        {96, 1.80f, Jingle},
        {98, 0.22f, Confirm},
        {99, 0.06f, Click},
    };
    std::filesystem::path dir = std::filesystem::path(dataDir) / "sfx";
    std::filesystem::create_directories(dir);
    for (const Effect& e : effects) {
        Buffer samples(Samples(e.seconds), 0.0f);
        e.make(samples);
        Finish(samples, 0.8f);
        char name[16];
        std::snprintf(name, sizeof name, "%03d.wav", e.number);
        if (!WriteWav((dir / name).string(), samples)) return false;
    }
    return WriteTune((dir / "Garlic.ogg").string());
}

}  // namespace assetgen
