// The data folder (the working directory, where the state file lives) belongs to one running copy
// of the program at a time; the copy that holds it clears what killed saves left there.
#pragma once

// The lock file, beside the state file.
inline constexpr const char* kStateLockSuffix = ".lock";

enum class VoFolderClaim { kClaimed, kHeldElsewhere, kNoLock };

// Takes the data folder for the life of the process with an advisory lock on the lock file; the
// lock goes with the process, so a crash leaves none behind. Once it is held, no other copy is
// saving here, and the temporary files of the state's interrupted saves are removed. kHeldElsewhere:
// another running copy holds it. kNoLock: no lock file can be opened (a read-only folder, which no
// copy can save into anyway).
VoFolderClaim vo_file_ClaimDataFolder();
