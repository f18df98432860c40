// vo_random_Rnd and its two variants over vo_random_Seed.
#include "framework/app/random.h"

int32_t vo_random_Seed = 1234;

namespace {

// One step of the generator: a float in [0, 1) with 24 bits of resolution.
float Step() {
    uint32_t state = vo_random_Next(static_cast<uint32_t>(vo_random_Seed));
    vo_random_Seed = static_cast<int32_t>(state);
    return static_cast<float>(state >> 8) * 5.9604645e-8f;
}

}  // namespace

float vo_random_Rnd() { return Step(); }

float vo_random_Rnd2(float low, float high) { return low + (high - low) * Step(); }

float vo_random_Rnd3(float range) { return Step() * range; }
