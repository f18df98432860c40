// File helpers shared by the loaders: data locations and little-endian reads.
#pragma once

#include <cstdio>

#include "framework/app/string.h"

// The saved-state file, relative to the working directory.
inline constexpr const char* kStateFileName = "./.zembrastate";

// Turns an asset name into a data location unless it already names a scheme or a path.
String vo_data_FixDataPath(const String& name);

// The next 4 bytes as a little-endian signed integer, or -1 when 4 bytes cannot be read.
int readInt(FILE* stream);

// Replaces the file at path with the bytes, never leaving a partly written file behind:
// the bytes go to a temporary file in the same directory, which is flushed, synced and
// renamed over the old one. 0 on success, -1 when the file cannot be created, -2 when the
// bytes could not all be written and kept.
int vo_file_ReplaceAtomically(const char* path, const char* bytes, size_t length);
