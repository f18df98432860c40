// The framework's pseudo-random generator: one 32-bit linear congruential state for the program.
#pragma once

#include <cstdint>

extern int32_t vo_random_Seed;

float vo_random_Rnd();
float vo_random_Rnd2(float low, float high);
float vo_random_Rnd3(float range);
