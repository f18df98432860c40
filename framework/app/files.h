// File helpers shared by the loaders and the tools: data locations, little-endian reads, reading
// a file from outside with a limit, replacing a file whole, and clearing what a cut-short replace
// left.
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

// What reading a file found: read whole; not there at all; there but unreadable (not a regular
// file, no permission, a dangling link); over the limit.
enum class VoFileRead { kRead, kAbsent, kUnreadable, kTooLarge };

// Reads the file at path if it is a regular file of at most limit bytes, without blocking (a FIFO
// in its place cannot hang the reader) and reading at most limit + 1 bytes (a device or a growing
// file cannot fill the memory). When it was not read, why says so in a few words ("No such file or
// directory", "not a regular file", "Permission denied", "over 65536 bytes").
VoFileRead vo_file_ReadRegular(const std::string& path, long long limit, std::string& bytes, std::string& why);

// What a replace does with a symlink at the path: replace the file it points to (the state file
// a player linked elsewhere), or the link itself (files such as replays, where a link could aim
// the write at anything of the player's).
enum class VoLink { kFollow, kReplace };

// Replaces the regular file at path with the bytes, never leaving a partly written file behind:
// the bytes go to a temporary file (the path plus ".XXXXXX") with the old file's mode, which is
// synced and renamed over the old one; a followed link's temporary lies in its target's folder.
// With keepSuffix, the old file is first kept under its name plus the suffix, and keptPath
// receives that name. 0 on success, -1 when the file cannot be created (or is not a regular
// file), -2 when the bytes could not all be written and kept; errno says why.
int vo_file_ReplaceAtomically(const char* path, const char* bytes, size_t length, VoLink links = VoLink::kFollow,
                              const char* keepSuffix = nullptr, std::string* keptPath = nullptr);

// Removes the temporaries a replace of path left when it was cut short (path plus "." and six
// letters or digits, regular files only); how many went.
int vo_file_RemoveTemporaries(const std::string& path);

// Why a save of the state failed, in the kinds a player can act on.
enum class VoSaveProblem { kNone, kDiskFull, kReadOnly, kStateUnreadable, kOther };
// The kind of a failed write's errno.
VoSaveProblem vo_file_SaveProblem(int error);
