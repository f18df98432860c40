// The OpenAL format table for decoded PCM blocks.
#include "framework/audio/al_format.h"

#include <AL/al.h>

int vo_audio_ALFormat(int format, int channels) {
    if (format == 1 && channels == 1) return AL_FORMAT_MONO8;
    if (format == 1 && channels == 2) return AL_FORMAT_STEREO8;
    if (format == 2 && channels == 1) return AL_FORMAT_MONO16;
    if (format == 2 && channels == 2) return AL_FORMAT_STEREO16;
    return 0;
}
