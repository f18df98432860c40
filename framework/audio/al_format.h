// The OpenAL buffer format of decoded PCM, chosen by sample width and channel count.
#pragma once

// (bytes per sample, channels) to AL_FORMAT_MONO8/STEREO8/MONO16/STEREO16; 0 (which OpenAL
// rejects) for anything else.
int vo_audio_ALFormat(int format, int channels);
