// The data folder's lock and the start-up clearing of stale temporaries of the state file.
#include "framework/app/data_folder.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/app/files.h"

VoFolderClaim vo_file_ClaimDataFolder() {
    const std::string lockPath = std::string(kStateFileName) + kStateLockSuffix;
    // Close-on-exec: a program the game starts (the URL opener) must not keep the folder locked.
    int fd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) fd = open(lockPath.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return VoFolderClaim::kNoLock;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        close(fd);
        return held ? VoFolderClaim::kHeldElsewhere : VoFolderClaim::kNoLock;
    }
    // The descriptor stays open, and the lock held, until the process ends.
    vo_file_RemoveTemporaries(kStateFileName);
    // A linked state file is replaced in its target's folder, where its temporaries lie.
    struct stat st;
    if (lstat(kStateFileName, &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* target = realpath(kStateFileName, nullptr)) {
            vo_file_RemoveTemporaries(target);
            std::free(target);
        }
    }
    return VoFolderClaim::kClaimed;
}
