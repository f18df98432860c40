// The framework's pseudo-random generator: one 32-bit linear congruential state for the program.
#pragma once

#include <cstdint>

extern int32_t vo_random_Seed;

// The generator's step on a state: state × 1664525 + 1013904223, modulo 2^32.
inline uint32_t vo_random_Next(uint32_t state) { return state * 1664525u + 1013904223u; }

float vo_random_Rnd();
float vo_random_Rnd2(float low, float high);
float vo_random_Rnd3(float range);
