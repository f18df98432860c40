// Reads the PCM sound of a RIFF/WAV file into one block of interleaved samples.
#pragma once

#include <cstdio>

// The first "data" chunk of a PCM file, allocated with malloc (the caller frees it), or null
// when the file is not PCM WAV or any size in it does not fit the file. Reads from the
// stream's current position; the stream stays open.
unsigned char* LoadWAV(FILE* file, int* length, int* channels, int* format, int* hertz);
