// File helpers shared by the loaders: data locations and little-endian reads.
#pragma once

#include <cstdio>
#include <string>

#include "framework/app/string.h"

// The saved-state file, relative to the working directory.
inline constexpr const char* kStateFileName = "./.zembrastate";

// Turns an asset name into a data location unless it already names a scheme or a path.
String vo_data_FixDataPath(const String& name);

// The next 4 bytes as a little-endian signed integer, or -1 when 4 bytes cannot be read.
int readInt(FILE* stream);

// Where the bytes of a state file that did not load cleanly are kept, beside it.
inline constexpr const char* kStateDamagedSuffix = ".damaged";
// The real state file is under 2 KB; anything larger is not one the program wrote.
inline constexpr long long kStateFileLimit = 1 << 20;
// Files the program keeps for the player beside the state (replays) are text under this size.
inline constexpr long long kUserFileLimit = 1 << 20;

// Replaces the regular file at path (a symlink's target, in the target's folder) with the
// bytes, never leaving a partly written file behind: the bytes go to a temporary file with
// the old file's mode, which is synced and renamed over the old one. With keepSuffix, the
// old file is first kept under its name plus the suffix, and keptPath receives that name.
// 0 on success, -1 when the file cannot be created (or is not a regular file), -2 when the
// bytes could not all be written and kept.
int vo_file_ReplaceAtomically(const char* path, const char* bytes, size_t length, const char* keepSuffix = nullptr,
                              std::string* keptPath = nullptr);
