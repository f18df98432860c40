// "Garlic", the level tune: 32 bars at 120 beats a minute (64 s) in C major, sections
// A A B A over I-V-vi-IV harmony, rendered around a ring so that its end runs into its start.
#include <cmath>
#include <vector>

#include "tools/assetgen/audio_files.h"
#include "tools/assetgen/synth.h"

namespace assetgen {

namespace {

constexpr float kBeat = 0.5f;
constexpr int kBars = 32;
constexpr float kLength = kBars * 4 * kBeat;

struct Step {
    float beat, beats, note;
};

// Eight bars each; beats from the section's start.
const std::vector<Step> kMelodyA = {
    {0, 1, 76}, {1, 1, 79}, {2, 1.5f, 84}, {3.5f, 0.5f, 83}, {4, 1, 81}, {5, 1, 79}, {6, 2, 74},
    {8, 1, 72}, {9, 1, 76}, {10, 1.5f, 81}, {11.5f, 0.5f, 79}, {12, 1, 77}, {13, 1, 76}, {14, 2, 74},
    {16, 1, 76}, {17, 1, 79}, {18, 1.5f, 84}, {19.5f, 0.5f, 86}, {20, 1, 88}, {21, 1, 86}, {22, 2, 83},
    {24, 1, 81}, {25, 1, 84}, {26, 1, 81}, {27, 1, 77}, {28, 1, 79}, {29, 0.5f, 77}, {29.5f, 0.5f, 76}, {30, 2, 74},
};
const std::vector<Step> kMelodyB = {
    {0, 1.5f, 81}, {1.5f, 0.5f, 79}, {2, 1, 76}, {3, 1, 72}, {4, 1, 77}, {5, 1, 81}, {6, 2, 84},
    {8, 1, 84}, {9, 1, 83}, {10, 1, 79}, {11, 1, 76}, {12, 2, 79}, {14, 1, 74}, {15, 1, 71},
    {16, 1.5f, 81}, {17.5f, 0.5f, 83}, {18, 1, 84}, {19, 1, 81}, {20, 1, 77}, {21, 1, 81}, {22, 2, 84},
    {24, 1, 83}, {25, 1, 81}, {26, 1, 79}, {27, 1, 77}, {28, 1, 74}, {29, 1, 79}, {30, 2, 83},
};

struct Chord {
    float root;        // bass note
    float tones[3];    // for the arpeggio
};
const Chord kC{36, {60, 64, 67}}, kG{43, {59, 62, 67}}, kAm{45, {57, 60, 64}}, kF{41, {57, 60, 65}};
const Chord* const kChordsA[8] = {&kC, &kG, &kAm, &kF, &kC, &kG, &kF, &kG};
const Chord* const kChordsB[8] = {&kAm, &kF, &kC, &kG, &kAm, &kF, &kG, &kG};

// A stereo bus: each voice mixes into its own pair of rings and is panned there.
struct StereoBus {
    std::vector<float> left, right;
    explicit StereoBus(int n) : left(n, 0.0f), right(n, 0.0f) {}
    void Add(const std::vector<float>& mono, float pan, float gain) {
        float l = std::cos((pan + 1) * kPi / 4) * gain, r = std::sin((pan + 1) * kPi / 4) * gain;
        for (size_t i = 0; i < mono.size(); i++) left[i] += mono[i] * l, right[i] += mono[i] * r;
    }
};

// A feedback echo computed around the ring: a few passes let the end's echoes reach the start.
std::vector<float> RingEcho(const std::vector<float>& dry, float delaySeconds, float feedback) {
    int n = static_cast<int>(dry.size()), d = Samples(delaySeconds);
    std::vector<float> wet(dry.size(), 0.0f);
    for (int pass = 0; pass < 3; pass++) {
        for (int i = 0; i < n; i++) wet[i] = (dry[(i - d + n) % n] + wet[(i - d + n) % n]) * feedback;
    }
    return wet;
}

}  // namespace

bool WriteTune(const std::string& path) {
    const int n = Samples(kLength);
    std::vector<float> lead(n, 0.0f), bass(n, 0.0f), arp(n, 0.0f), drums(n, 0.0f), bells(n, 0.0f);
    for (int section = 0; section < 4; section++) {
        bool b = section == 2;
        float t0 = section * 32 * kBeat;
        for (const Step& s : b ? kMelodyB : kMelodyA) {
            float len = s.beats * kBeat;
            AddNote(lead, {.start = t0 + s.beat * kBeat, .length = len * 0.95f, .from = Midi(s.note), .to = Midi(s.note),
                           .wave = Wave::Square, .duty = 0.3f, .volume = 0.32f, .env = {0.008f, 0.25f, 0.55f, 0.06f},
                           .vibratoHz = 5.5f, .vibratoDepth = len > 0.6f ? 0.18f : 0.0f, .lowpassHz = 2600}, true);
            if (section == 3) {  // the last A brings a bell an octave up
                AddNote(bells, {.start = t0 + s.beat * kBeat, .length = len + 0.3f, .from = Midi(s.note + 12), .to = Midi(s.note + 12),
                                .wave = Wave::Bell, .volume = 0.22f, .env = {0.003f, 0.3f, 0.2f, 0.2f}}, true);
            }
        }
        for (int bar = 0; bar < 8; bar++) {
            const Chord& c = *(b ? kChordsB : kChordsA)[bar];
            float bt = t0 + bar * 4 * kBeat;
            const float pattern[4][3] = {{0, 1, 0}, {1.5f, 0.5f, 12}, {2, 1, 7}, {3.5f, 0.5f, 12}};
            for (const auto& p : pattern) {
                float f = Midi(c.root + p[2]);
                AddNote(bass, {.start = bt + p[0] * kBeat, .length = p[1] * kBeat * 0.9f, .from = f, .to = f, .wave = Wave::Triangle,
                               .volume = 0.6f, .env = {0.004f, 0.18f, 0.45f, 0.04f}}, true);
            }
            const int order[8] = {0, 1, 2, 1, 0, 1, 2, 1};
            for (int e = 0; e < 8; e++) {
                float note = c.tones[order[e]] + (e >= 4 ? 12 : 0);
                AddNote(arp, {.start = bt + e * 0.5f * kBeat, .length = 0.3f, .from = Midi(note), .to = Midi(note), .wave = Wave::Bell,
                              .volume = 0.16f, .env = {0.002f, 0.12f, 0.0f, 0.05f}}, true);
            }
            // The first two bars of the loop start without drums, like a breath.
            if (section == 0 && bar < 2) continue;
            for (int beat = 0; beat < 4; beat++) {
                float at = bt + beat * kBeat;
                if (beat % 2 == 0) {
                    AddNote(drums, {.start = at, .length = 0.18f, .from = 140, .to = 45, .wave = Wave::Sine, .volume = 0.9f,
                                    .env = {0.001f, 0.07f, 0.0f, 0.03f}}, true);
                } else {
                    AddNoise(drums, {.start = at, .length = 0.15f, .volume = 0.45f, .env = {0.001f, 0.05f, 0.0f, 0.04f},
                                     .fromHz = 7000, .toHz = 3000, .highpassHz = 600, .seed = static_cast<uint32_t>(bar * 4 + beat)}, true);
                    AddNote(drums, {.start = at, .length = 0.08f, .from = 200, .to = 160, .wave = Wave::Sine, .volume = 0.3f,
                                    .env = {0.001f, 0.03f, 0.0f, 0.02f}}, true);
                }
                for (int half = 0; half < 2; half++) {
                    AddNoise(drums, {.start = at + half * kBeat * 0.5f, .length = half ? 0.09f : 0.04f, .volume = half ? 0.16f : 0.12f,
                                     .env = {0.001f, 0.02f, 0.0f, 0.01f}, .fromHz = 14000, .toHz = 14000, .highpassHz = 7000,
                                     .seed = static_cast<uint32_t>(1000 + bar * 8 + beat * 2 + half)}, true);
                }
            }
        }
    }
    StereoBus mix(n);
    mix.Add(lead, -0.15f, 0.8f);
    mix.Add(RingEcho(lead, 0.75f * kBeat, 0.3f), 0.5f, 0.8f);
    mix.Add(bells, 0.35f, 0.7f);
    mix.Add(bass, 0.0f, 0.8f);
    mix.Add(arp, 0.3f, 0.8f);
    mix.Add(RingEcho(arp, 1.5f * kBeat, 0.25f), -0.5f, 0.6f);
    mix.Add(drums, 0.0f, 0.7f);
    float peak = 1e-9f;
    for (int i = 0; i < n; i++) peak = std::max({peak, std::fabs(mix.left[i]), std::fabs(mix.right[i])});
    // Gentle saturation after a fixed normalisation keeps the level even without clipping.
    for (int i = 0; i < n; i++) {
        mix.left[i] = std::tanh(mix.left[i] / peak * 1.2f) * 0.8f;
        mix.right[i] = std::tanh(mix.right[i] / peak * 1.2f) * 0.8f;
    }
    return WriteOggVorbis(path, mix.left, mix.right);
}

}  // namespace assetgen
