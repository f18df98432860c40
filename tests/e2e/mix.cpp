// Wave files read as one channel, and a sound found in a mix in two steps. Where its notes start
// is the same at any volume and over any other sound, so the pattern of its onsets across pitch
// bands, stretched for each rate asked for, finds the few places and rates it may play at; there
// the sound itself, resampled at rates close by, is correlated with the mix sample for sample.
#include "e2e/mix.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <fstream>
#include <string>
#include <utility>

namespace fs = std::filesystem;

namespace {

constexpr size_t kRiffHeader = 12, kChunkHeader = 8;
constexpr uint16_t kPcm = 1, kExtensible = 0xfffe;
// Header fields of a recording still being written.
constexpr uint32_t kOpenSize = 0xffffffff;
constexpr float kFullScale = 32768;
constexpr double kSampleRate = 44100;

// Onsets from spectra of frames of 2048 samples (46 ms at 44.1 kHz) every 1024, Hann-windowed;
// their magnitudes from bin 24 (about 500 Hz, above the tunes' bass) in 128 bands of two bins each
// (43 Hz, up to about 6 kHz). Rates are tried 1% apart, a step that moves a band's pitch by less
// than a band and a sound's length by less than a frame.
constexpr size_t kFrame = 2048, kHop = 1024;
constexpr size_t kFirstBin = 24, kBinsPerBand = 2, kBands = 128;
constexpr double kRateStep = 0.01;
// The best places found by onsets, at least a third of a second apart, are looked at closely.
constexpr int kPlaces = 3;
constexpr size_t kPlacesApart = 13;
// Close by: rates within a step either side, 0.1% apart, and starts within two frames either
// side. At most the first three tenths of a second are compared, where sounds are loud and a rate
// 0.05% off drifts by a few hundredths of a millisecond; each third must be there, not just the sum.
constexpr double kFineStep = 0.001;
constexpr size_t kStartReach = 2 * kHop;
constexpr double kComparedSeconds = 0.3;
constexpr int kParts = 3;

uint32_t Le(const std::string& s, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<size_t>(i)]);
    return v;
}

struct Layout {
    size_t dataAt = 0, dataBytes = 0;
    int channels = 0;
    bool ok = false;
};

// Where the samples lie: the chunks walked up to "data", whose size may not be written yet.
Layout ReadLayout(const std::string& s) {
    Layout l;
    if (s.size() < kRiffHeader || s.compare(0, 4, "RIFF") != 0 || s.compare(8, 4, "WAVE") != 0) return l;
    bool pcm16 = false;
    for (size_t at = kRiffHeader; at + kChunkHeader <= s.size();) {
        const std::string id = s.substr(at, 4);
        const uint32_t size = Le(s, at + 4, 4);
        const size_t body = at + kChunkHeader;
        if (id == "fmt " && body + 16 <= s.size()) {
            const uint32_t tag = Le(s, body, 2);
            l.channels = static_cast<int>(Le(s, body + 2, 2));
            pcm16 = (tag == kPcm || tag == kExtensible) && Le(s, body + 14, 2) == 16;
        } else if (id == "data") {
            l.dataAt = body;
            const size_t present = s.size() - body;
            l.dataBytes = size == kOpenSize || size == 0 || size > present ? present : size;
            l.ok = pcm16 && l.channels > 0;
            return l;
        }
        at = body + size + (size & 1);
    }
    return l;
}

using Complex = std::complex<double>;

// The discrete Fourier transform in place (the length a power of two), or its inverse without
// the division by the length, which no correlation here needs.
void Fft(std::vector<Complex>& a, bool inverse = false) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    std::vector<Complex> twiddle(n / 2);
    for (size_t k = 0; k < n / 2; ++k) {
        const double angle = (inverse ? 2 : -2) * M_PI * static_cast<double>(k) / static_cast<double>(n);
        twiddle[k] = Complex(std::cos(angle), std::sin(angle));
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const size_t half = len / 2, stride = n / len;
        for (size_t i = 0; i < n; i += len) {
            for (size_t k = 0; k < half; ++k) {
                const Complex w = twiddle[k * stride], b = a[i + k + half];
                const Complex v(b.real() * w.real() - b.imag() * w.imag(), b.real() * w.imag() + b.imag() * w.real());
                a[i + k + half] = a[i + k] - v;
                a[i + k] += v;
            }
        }
    }
}

// Onsets: how much louder each band got from one frame to the next. A sound's notes start
// where they start whatever else plays, so they tell apart sounds that share their notes.
struct Onsets {
    size_t frames = 0;
    std::vector<double> bands;  // frames × kBands
    const double* Frame(size_t f) const { return bands.data() + f * kBands; }
};

Onsets Analyse(const std::vector<float>& s, size_t from, size_t to) {
    static const std::vector<double> hann = [] {
        std::vector<double> w(kFrame);
        for (size_t i = 0; i < kFrame; ++i) w[i] = 0.5 - 0.5 * std::cos(2 * M_PI * static_cast<double>(i) / kFrame);
        return w;
    }();
    Onsets out;
    if (to < from + kFrame + kHop) return out;
    out.frames = (to - from - kFrame) / kHop;
    out.bands.assign(out.frames * kBands, 0);
    std::vector<Complex> a(kFrame);
    std::vector<double> last(kBands, 0), now(kBands, 0);
    for (size_t f = 0; f <= out.frames; ++f) {
        const size_t start = from + f * kHop;
        for (size_t i = 0; i < kFrame; ++i) a[i] = hann[i] * s[start + i];
        Fft(a);
        for (size_t b = 0; b < kBands; ++b) {
            now[b] = 0;
            for (size_t k = 0; k < kBinsPerBand; ++k) now[b] += std::abs(a[kFirstBin + b * kBinsPerBand + k]);
            if (f > 0) out.bands[(f - 1) * kBands + b] = std::max(0.0, now[b] - last[b]);
        }
        std::swap(last, now);
    }
    return out;
}

// The sound as the device plays it at this rate: read that much faster, between samples linearly.
std::vector<float> AtRate(const std::vector<float>& s, double rate) {
    std::vector<float> out(static_cast<size_t>(static_cast<double>(s.size() - 1) / rate) + 1);
    for (size_t i = 0; i < out.size(); ++i) {
        const double at = static_cast<double>(i) * rate;
        const size_t k = static_cast<size_t>(at);
        const double part = at - static_cast<double>(k);
        out[i] = static_cast<float>(k + 1 < s.size() ? s[k] * (1 - part) + s[k + 1] * part : s[k]);
    }
    return out;
}

// The Pearson correlation of the pattern's onsets with the mix's from every frame on, kept in
// `best` (with the rate in `rateAt`) where it beats what is there.
void Correlate(const Onsets& mix, const Onsets& pattern, double rate, std::vector<double>& best,
               std::vector<double>& rateAt) {
    if (pattern.frames == 0 || mix.frames < pattern.frames) return;
    const size_t n = pattern.frames * kBands;
    double mean = 0;
    for (double v : pattern.bands) mean += v;
    mean /= static_cast<double>(n);
    std::vector<double> centred(n);
    double norm = 0;
    for (size_t i = 0; i < n; ++i) {
        centred[i] = pattern.bands[i] - mean;
        norm += centred[i] * centred[i];
    }
    if (norm <= 0) return;
    // Sums and sums of squares of the mix's frames, added up so that any run of them is one subtraction.
    std::vector<double> sum(mix.frames + 1, 0), squares(mix.frames + 1, 0);
    for (size_t f = 0; f < mix.frames; ++f) {
        double s = 0, q = 0;
        for (size_t b = 0; b < kBands; ++b) {
            s += mix.Frame(f)[b];
            q += mix.Frame(f)[b] * mix.Frame(f)[b];
        }
        sum[f + 1] = sum[f] + s;
        squares[f + 1] = squares[f] + q;
    }
    for (size_t at = 0; at + pattern.frames <= mix.frames; ++at) {
        const double* m = mix.Frame(at);
        double dot = 0;
        for (size_t i = 0; i < n; ++i) dot += m[i] * centred[i];
        const double s = sum[at + pattern.frames] - sum[at], q = squares[at + pattern.frames] - squares[at];
        const double spread = q - s * s / static_cast<double>(n);
        const double r = spread > 0 ? dot / std::sqrt(spread * norm) : 0;
        if (r > best[at]) {
            best[at] = r;
            rateAt[at] = rate;
        }
    }
}

// The normalised correlation of a stretch of the played sound with the mix at one place.
double Normalised(const std::vector<float>& mix, size_t at, const std::vector<float>& played, size_t from, size_t to) {
    double dot = 0, heard = 0, own = 0;
    for (size_t i = from; i < to; ++i) {
        dot += static_cast<double>(mix[at + i]) * played[i];
        heard += static_cast<double>(mix[at + i]) * mix[at + i];
        own += static_cast<double>(played[i]) * played[i];
    }
    return heard > 0 && own > 0 ? dot / std::sqrt(heard * own) : 0;
}

// How surely the sound's start, played at a rate from `low` to `high`, is in the mix within
// kStartReach of `start`: at the place where it correlates best, the least correlation of its parts.
double StartLikeness(const std::vector<float>& mix, const std::vector<float>& sound, size_t start, double low,
                     double high) {
    const size_t compared = std::min(static_cast<size_t>(kComparedSeconds * kSampleRate), AtRate(sound, high).size());
    const size_t from = start > kStartReach ? start - kStartReach : 0;
    const size_t to = std::min(mix.size(), start + kStartReach + compared);
    if (to < from + compared) return 0;
    const size_t n = to - from;
    size_t size = 1;
    while (size < n) size <<= 1;
    std::vector<Complex> heard(size);
    for (size_t i = 0; i < n; ++i) heard[i] = mix[from + i];
    Fft(heard);
    std::vector<double> energy(n + 1, 0);
    for (size_t i = 0; i < n; ++i) energy[i + 1] = energy[i] + static_cast<double>(mix[from + i]) * mix[from + i];

    double best = 0;
    for (double rate = low; rate <= high + kFineStep / 2; rate += kFineStep) {
        std::vector<float> played = AtRate(sound, rate);
        if (played.size() < compared) continue;
        played.resize(compared);
        double playedEnergy = 0;
        std::vector<Complex> product(size);
        for (size_t i = 0; i < compared; ++i) {
            product[i] = played[i];
            playedEnergy += static_cast<double>(played[i]) * played[i];
        }
        if (playedEnergy <= 0) continue;
        Fft(product);
        for (size_t i = 0; i < size; ++i) product[i] = heard[i] * std::conj(product[i]);
        Fft(product, true);
        // No sum reaches past the mix taken, so none wraps round.
        size_t place = 0;
        double whole = -1;
        for (size_t k = 0; k + compared <= n; ++k) {
            const double window = energy[k + compared] - energy[k];
            const double r =
                window > 0 ? product[k].real() / static_cast<double>(size) / std::sqrt(window * playedEnergy) : 0;
            if (r > whole) {
                whole = r;
                place = k;
            }
        }
        double least = whole;
        for (int part = 0; part < kParts; ++part) {
            least = std::min(least, Normalised(mix, from + place, played, compared * static_cast<size_t>(part) / kParts,
                                               compared * static_cast<size_t>(part + 1) / kParts));
        }
        best = std::max(best, least);
    }
    return best;
}

}  // namespace

std::vector<float> MonoSamples(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string s((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const Layout l = ReadLayout(s);
    if (!l.ok) return {};
    const size_t frameBytes = 2 * static_cast<size_t>(l.channels);
    std::vector<float> out(l.dataBytes / frameBytes);
    for (size_t f = 0; f < out.size(); ++f) {
        float sum = 0;
        for (int c = 0; c < l.channels; ++c) {
            sum += static_cast<float>(
                static_cast<int16_t>(Le(s, l.dataAt + f * frameBytes + 2 * static_cast<size_t>(c), 2)));
        }
        out[f] = sum / kFullScale;
    }
    return out;
}

size_t RecordedFrames(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string head(512, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(in.gcount()));
    const Layout l = ReadLayout(head);
    std::error_code error;
    const auto size = fs::file_size(file, error);
    if (!l.ok || error || size < l.dataAt) return 0;
    return (size - l.dataAt) / (2 * static_cast<size_t>(l.channels));
}

double Likeness(const std::vector<float>& mix, const std::vector<float>& sound, size_t from, size_t to,
                double lowestRate, double highestRate) {
    to = std::min(to, mix.size());
    if (from >= to || sound.size() < 2) return 0;
    const Onsets heard = Analyse(mix, from, to);
    std::vector<double> score(heard.frames, 0), rateAt(heard.frames, 1);
    const int rates = static_cast<int>(std::round((highestRate - lowestRate) / kRateStep));
    for (int step = 0; step <= rates; ++step) {
        const double rate = lowestRate + kRateStep * step;
        // After a frame of silence, so that the first notes start within the pattern: the sound
        // starts kFrame samples after the mix frame the pattern lines up with.
        std::vector<float> played(kFrame, 0);
        const std::vector<float> sped = AtRate(sound, rate);
        played.insert(played.end(), sped.begin(), sped.end());
        Correlate(heard, Analyse(played, 0, played.size()), rate, score, rateAt);
    }
    double best = 0;
    for (int place = 0; place < kPlaces && !score.empty(); ++place) {
        const size_t at = static_cast<size_t>(std::max_element(score.begin(), score.end()) - score.begin());
        if (score[at] <= 0) break;
        const double low = std::max(lowestRate, rateAt[at] - kRateStep);
        const double high = std::min(highestRate, rateAt[at] + kRateStep);
        best = std::max(best, StartLikeness(mix, sound, from + at * kHop + kFrame, low, high));
        const size_t first = at > kPlacesApart ? at - kPlacesApart : 0,
                     last = std::min(score.size(), at + kPlacesApart + 1);
        std::fill(score.begin() + static_cast<std::ptrdiff_t>(first), score.begin() + static_cast<std::ptrdiff_t>(last),
                  0);
    }
    return best;
}
