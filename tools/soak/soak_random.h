// The soak's random source: splitmix64, so that a seed gives the same stream on every machine
// and standard library.
#pragma once

#include <cstddef>
#include <cstdint>

class c_SoakRandom {
public:
    explicit c_SoakRandom(uint64_t seed) : m_state(seed) {}

    uint64_t p_Next() {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A whole number from lo to hi, both included (lo <= hi).
    int p_Int(int lo, int hi) {
        return lo + static_cast<int>(p_Next() % static_cast<uint64_t>(static_cast<int64_t>(hi) - lo + 1));
    }
    // A number from lo up to hi.
    float p_Float(float lo, float hi) {
        return lo + (hi - lo) * static_cast<float>(p_Next() >> 40) / static_cast<float>(1ull << 24);
    }
    // True with probability `percent` in 100.
    bool p_Percent(int percent) { return p_Int(0, 99) < percent; }
    template <class T, size_t N>
    const T& p_Pick(const T (&items)[N]) {
        return items[p_Int(0, static_cast<int>(N) - 1)];
    }

private:
    uint64_t m_state;
};
