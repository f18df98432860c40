// The mix the sound device recorded, and finding one of the game's sound files in it.
#pragma once

#include <cstddef>
#include <filesystem>
#include <vector>

// A 16-bit PCM wave file's samples with its channels added together, scaled to ±1 per channel;
// empty when it is not one. A recording still being written is read up to where it has got.
std::vector<float> MonoSamples(const std::filesystem::path& file);
// Sample frames in a recording so far.
size_t RecordedFrames(const std::filesystem::path& file);

// A sound counts as heard where its likeness is above this. The rescue and the jingle, played,
// stay near 1 over the game's tune and other sounds, and the rescue not played below 0.2; a much
// shorter sound with notes in common with another one played can come close to it.
constexpr double kHeard = 0.5;

// How surely the sound plays within mix frames [from, to) at some rate from lowestRate to
// highestRate (1 as recorded, 2 twice as fast and an octave up): the normalised correlation of
// its start, so played, with the mix where it fits best, and of each third of that start alone,
// whichever is least. From 0 (nothing like it) to 1 (the sound alone, at any volume).
double Likeness(const std::vector<float>& mix, const std::vector<float>& sound, size_t from, size_t to,
                double lowestRate = 1, double highestRate = 1);
