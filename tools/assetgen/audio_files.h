// Writing sounds: 16-bit PCM WAV files and the Ogg Vorbis tune.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

// Mono 16-bit PCM at 44100 Hz; samples are clipped to -1..1.
bool WriteWav(const std::string& path, const std::vector<float>& samples);

// Interleaved stereo at 44100 Hz, encoded with libvorbisenc at a fixed quality and stream
// serial number so that every run writes the same bytes.
bool WriteOggVorbis(const std::string& path, const std::vector<float>& left, const std::vector<float>& right);

// Every sound effect and the tune, into dataDir/sfx/.
bool WriteSounds(const std::string& dataDir);

}  // namespace assetgen
