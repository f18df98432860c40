// Decodes a whole Ogg Vorbis stream into one block of interleaved 16-bit samples.
#pragma once

#include <cstdio>

// The decoded sound, allocated with malloc (the caller frees it), or null when the stream
// cannot be decoded or would not fit in 2 GB. The stream stays open.
unsigned char* LoadOGG(FILE* file, int* length, int* channels, int* format, int* hertz);
