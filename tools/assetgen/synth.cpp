// Oscillators, envelopes and note rendering of the synthesiser.
#include "tools/assetgen/synth.h"

#include <cmath>

namespace assetgen {

float Oscillate(Wave wave, double phase, float duty) {
    double f = phase - std::floor(phase);
    switch (wave) {
        case Wave::Sine: return static_cast<float>(std::sin(2 * M_PI * f));
        case Wave::Triangle: return static_cast<float>(f < 0.5 ? 4 * f - 1 : 3 - 4 * f);
        case Wave::Square: return f < duty ? 0.8f : -0.8f;
        case Wave::Saw: return static_cast<float>(2 * f - 1) * 0.7f;
        case Wave::Bell:  // a sine with the inharmonic partials of a small bell
            return static_cast<float>(0.7 * std::sin(2 * M_PI * f) + 0.25 * std::sin(2 * M_PI * phase * 2.76) +
                                      0.12 * std::sin(2 * M_PI * phase * 5.4));
    }
    return 0;
}

float Envelope::At(float t, float length) const {
    float level;
    if (t < attack) {
        level = t / attack;
    } else {
        level = sustain + (1 - sustain) * std::exp(-(t - attack) / std::max(decay, 1e-4f) * 3.0f);
    }
    float untilEnd = length - t;
    if (untilEnd < release) level *= std::max(0.0f, untilEnd / release);
    return level;
}

void AddNote(std::vector<float>& out, const Note& n, bool wrap) {
    int first = Samples(n.start), count = Samples(n.length);
    int size = static_cast<int>(out.size());
    double phase = 0;
    OnePole filter;
    float ratio = n.to / n.from;
    for (int i = 0; i < count; i++) {
        float t = static_cast<float>(i) / kSampleRate;
        float u = static_cast<float>(i) / count;
        float freq = n.from * std::pow(ratio, u);
        if (n.vibratoDepth > 0) freq *= std::pow(2.0f, n.vibratoDepth / 12.0f * std::sin(2 * kPi * n.vibratoHz * t) * std::min(1.0f, t * 4));
        phase += freq / kSampleRate;
        float v = Oscillate(n.wave, phase, n.duty);
        if (n.lowpassHz > 0) v = filter.Low(v, n.lowpassHz);
        int index = first + i;
        if (wrap) index %= size;
        if (index < 0 || index >= size) continue;
        out[index] += v * n.volume * n.env.At(t, n.length);
    }
}

void AddNoise(std::vector<float>& out, const Noise& n, bool wrap) {
    int first = Samples(n.start), count = Samples(n.length);
    int size = static_cast<int>(out.size());
    Rng rng(n.seed);
    OnePole low, high;
    for (int i = 0; i < count; i++) {
        float t = static_cast<float>(i) / kSampleRate;
        float u = static_cast<float>(i) / count;
        float cutoff = n.fromHz * std::pow(n.toHz / n.fromHz, u);
        float v = low.Low(rng.Range(-1, 1), cutoff);
        if (n.highpassHz > 0) v = high.High(v, n.highpassHz);
        int index = first + i;
        if (wrap) index %= size;
        if (index < 0 || index >= size) continue;
        out[index] += v * n.volume * n.env.At(t, n.length);
    }
}

void Finish(std::vector<float>& samples, float peak) {
    float top = 1e-9f;
    for (float s : samples) top = std::max(top, std::fabs(s));
    float gain = peak / top;
    int fade = std::min<int>(Samples(0.003f), static_cast<int>(samples.size()) / 2);
    for (size_t i = 0; i < samples.size(); i++) {
        float g = gain;
        size_t fromEnd = samples.size() - 1 - i;
        if (static_cast<int>(i) < fade) g *= static_cast<float>(i) / fade;
        if (static_cast<int>(fromEnd) < fade) g *= static_cast<float>(fromEnd) / fade;
        samples[i] *= g;
    }
}

}  // namespace assetgen
