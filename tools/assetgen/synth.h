// A tiny synthesiser for the sound effects and the tune: oscillators, envelopes, noise and
// one-pole filters, mixing into float buffers at 44100 Hz.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/assetgen/geometry.h"

namespace assetgen {

inline constexpr int kSampleRate = 44100;

enum class Wave { Sine, Triangle, Square, Saw, Bell };

// One oscillator value at phase (in cycles).
float Oscillate(Wave wave, double phase, float duty = 0.5f);

// Attack, exponential-ish decay to a sustain level, release at the end of the note.
struct Envelope {
    float attack = 0.005f, decay = 0.1f, sustain = 0.6f, release = 0.05f;
    float At(float t, float length) const;
};

struct OnePole {
    float state = 0;
    float Low(float x, float cutoffHz) {
        float k = 1.0f - std::exp(-2.0f * kPi * cutoffHz / kSampleRate);
        state += (x - state) * k;
        return state;
    }
    float High(float x, float cutoffHz) { return x - Low(x, cutoffHz); }
};

// A note mixed into a buffer: pitch glides exponentially from `from` to `to` Hz over its
// length, with optional vibrato. Index wraps around the buffer when `wrap` is set, which is
// how the looping tune keeps its tails at the start.
struct Note {
    float start = 0, length = 0.1f;
    float from = 440, to = 440;
    Wave wave = Wave::Sine;
    float duty = 0.5f;
    float volume = 0.5f;
    Envelope env;
    float vibratoHz = 0, vibratoDepth = 0;  // depth in semitones
    float lowpassHz = 0;                     // 0: unfiltered
};
void AddNote(std::vector<float>& out, const Note& n, bool wrap = false);

// Filtered noise whose low-pass cutoff glides from `fromHz` to `toHz`.
struct Noise {
    float start = 0, length = 0.1f;
    float volume = 0.5f;
    Envelope env;
    float fromHz = 8000, toHz = 8000;
    float highpassHz = 0;
    uint32_t seed = 1;
};
void AddNoise(std::vector<float>& out, const Noise& n, bool wrap = false);

inline float Midi(float note) { return 440.0f * std::pow(2.0f, (note - 69.0f) / 12.0f); }
inline int Samples(float seconds) { return static_cast<int>(std::lround(seconds * kSampleRate)); }

// Scales to the given peak and fades the first and last few milliseconds against clicks.
void Finish(std::vector<float>& samples, float peak);

}  // namespace assetgen
