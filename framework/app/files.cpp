// Part of the host that touches files: locations, whole-file reads, text decoding, the
// saved-state file, the player's files, reading with a limit, atomic replacing and the local date.
#include "framework/app/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <cctype>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <string>
#include <unistd.h>

#include "framework/app/glfw_host.h"

std::atomic<long long> gc_ext_new_bytes{0};

String vo_data_FixDataPath(const String& name) {
    int scheme = name.Find(String(":/"));
    if (scheme >= 0 && name.Find(String("/")) == scheme + 1) return name;
    if (name.StartsWith(String("./")) || name.StartsWith(String("/"))) return name;
    return String("zembra://data/") + name;
}

int readInt(FILE* stream) {
    unsigned char b[4];
    if (std::fread(b, 1, 4, stream) != 4) return -1;
    return static_cast<int>(static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
                            (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24));
}

namespace {

// mkstemp's pattern after the target's name: six letters or digits.
constexpr char kTemporarySuffix[] = ".XXXXXX";
constexpr size_t kTemporaryLetters = sizeof kTemporarySuffix - 2;

}  // namespace

int vo_file_ReplaceAtomically(const char* path, const char* bytes, size_t length, VoLink links, const char* keepSuffix,
                              std::string* keptPath) {
    std::string target = path;
    struct stat old;
    bool exists = lstat(path, &old) == 0;
    if (exists && S_ISLNK(old.st_mode)) {
        if (links == VoLink::kFollow) {
            // The link stays a link: the file it points to is the one replaced, in its own folder.
            char* real = realpath(path, nullptr);
            if (!real) return -1;
            target = real;
            std::free(real);
            exists = stat(target.c_str(), &old) == 0;
        } else {
            // The rename below replaces the link; what it pointed to is neither read nor kept.
            exists = false;
        }
    }
    if (exists && !S_ISREG(old.st_mode)) {
        errno = ENOTSUP;
        return -1;
    }

    std::string temp = target + kTemporarySuffix;
    int fd = mkstemp(temp.data());
    if (fd < 0) return -1;
    // mkstemp makes the file private; the new file takes the old one's mode, or an ordinary one.
    mode_t mode;
    if (exists) {
        mode = old.st_mode & 07777;
        if (old.st_uid != geteuid() || old.st_gid != getegid()) (void)!fchown(fd, old.st_uid, old.st_gid);
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    fchmod(fd, mode);
    size_t written = 0;
    while (written < length) {
        ssize_t n = write(fd, bytes + written, length - written);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) continue;
            break;
        }
        written += static_cast<size_t>(n);
    }
    bool ok = written == length && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok && keepSuffix && exists) {
        // The old bytes stay whole under the new name; the rename below then swaps in the new file.
        std::string kept = target + keepSuffix;
        unlink(kept.c_str());
        ok = link(target.c_str(), kept.c_str()) == 0 || std::rename(target.c_str(), kept.c_str()) == 0;
        if (ok && keptPath) *keptPath = kept;
        if (!ok) {
            int reason = errno;
            unlink(temp.c_str());
            errno = reason;
            return -1;
        }
    }
    ok = ok && std::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        int reason = errno;
        unlink(temp.c_str());
        errno = reason;
        return -2;
    }
    return 0;
}

int vo_file_RemoveTemporaries(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string prefix = path.substr(slash == std::string::npos ? 0 : slash + 1) + ".";
    DIR* entries = opendir(folder.c_str());
    if (!entries) return 0;
    int removed = 0;
    while (const dirent* entry = readdir(entries)) {
        const std::string_view name = entry->d_name;
        if (name.size() != prefix.size() + kTemporaryLetters || name.substr(0, prefix.size()) != prefix) continue;
        const std::string_view letters = name.substr(prefix.size());
        if (!std::all_of(letters.begin(), letters.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); }))
            continue;
        struct stat st;
        const std::string file = folder + std::string(name);
        if (lstat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && unlink(file.c_str()) == 0) ++removed;
    }
    closedir(entries);
    return removed;
}

VoSaveProblem vo_file_SaveProblem(int error) {
    switch (error) {
        case ENOSPC: case EDQUOT: return VoSaveProblem::kDiskFull;
        case EROFS: case EACCES: case EPERM: return VoSaveProblem::kReadOnly;
        default: return VoSaveProblem::kOther;
    }
}

FILE* VoGame::OpenFile(String location, String mode) {
    String path = PathToFilePath(location);
    if (path.Empty()) return nullptr;
    return std::fopen(path.ToUtf8().c_str(), mode.ToUtf8().c_str());
}

String VoGame::LoadString(String location) {
    FILE* stream = OpenFile(location, String("rb"));
    if (!stream) return String();
    String text = String::Load(stream);
    std::fclose(stream);
    return text;
}

unsigned char* VoGame::LoadData(String location, int* length) {
    FILE* stream = OpenFile(location, String("rb"));
    if (!stream) return nullptr;
    size_t size = 0;
    size_t capacity = 4096;
    auto* data = static_cast<unsigned char*>(std::malloc(capacity));
    for (;;) {
        if (size == capacity) {
            capacity *= 2;
            data = static_cast<unsigned char*>(std::realloc(data, capacity));
        }
        size_t n = std::fread(data + size, 1, capacity - size, stream);
        size += n;
        if (n == 0) break;
    }
    std::fclose(stream);
    *length = static_cast<int>(size);
    gc_ext_new_bytes.fetch_add(static_cast<long long>(size));
    return data;
}

int VoGame::SaveState(String state) {
    // A file that exists but could not be read may hold progress this run never saw.
    if (m_stateFile == StateFile::Unreadable) {
        m_saveProblem = VoSaveProblem::kStateUnreadable;
        return -1;
    }
    std::string bytes = state.ToUtf8();
    std::string path = PathToFilePath(String(kStateFileName)).ToUtf8();
    bool keep = m_stateFile == StateFile::Damaged;
    std::string kept;
    int result = vo_file_ReplaceAtomically(path.c_str(), bytes.data(), bytes.size(), VoLink::kFollow,
                                           keep ? kStateDamagedSuffix : nullptr, &kept);
    if (result != 0) {
        m_saveProblem = vo_file_SaveProblem(errno);
        std::fprintf(stderr, "Floeward: progress could not be saved to %s (%s)\n", kStateFileName,
                     std::strerror(errno));
        return result;
    }
    if (!kept.empty()) {
        std::fprintf(stderr, "Floeward: %s did not load cleanly; its old bytes are kept in %s\n", kStateFileName,
                     kept.c_str());
    }
    m_stateFile = StateFile::Clean;
    m_saveProblem = VoSaveProblem::kNone;
    return 0;
}

VoFileRead vo_file_ReadRegular(const std::string& path, long long limit, std::string& bytes, std::string& why) {
    bytes.clear();
    const char* problem = nullptr;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 && errno == ENOENT) {
        why = std::strerror(ENOENT);
        return VoFileRead::kAbsent;
    }
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 || fstat(fd, &st) != 0) {
        problem = std::strerror(errno);
    } else if (!S_ISREG(st.st_mode)) {
        problem = "not a regular file";
    }
    if (!problem && st.st_size <= limit) {
        // Read at most one byte past the limit, in case the file grows while it is read.
        const size_t cap = static_cast<size_t>(limit) + 1;
        size_t size = 0;
        bytes.resize(static_cast<size_t>(st.st_size) + 1);
        while (size < cap) {
            if (size == bytes.size()) bytes.resize(std::min(cap, 2 * size));
            ssize_t n = read(fd, bytes.data() + size, bytes.size() - size);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) problem = std::strerror(errno);
            if (n <= 0) break;
            size += static_cast<size_t>(n);
        }
        bytes.resize(size);
    }
    if (fd >= 0) close(fd);
    if (problem) {
        bytes.clear();
        why = problem;
        return VoFileRead::kUnreadable;
    }
    if (st.st_size > limit || bytes.size() > static_cast<size_t>(limit)) {
        bytes.clear();
        why = "over " + std::to_string(limit) + " bytes";
        return VoFileRead::kTooLarge;
    }
    return VoFileRead::kRead;
}

namespace {

String DecodeBytes(const std::string& bytes) {
    return String::Decode(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

}  // namespace

String VoGame::LoadState() {
    std::string path = PathToFilePath(String(kStateFileName)).ToUtf8();
    std::string bytes, why;
    switch (vo_file_ReadRegular(path, kStateFileLimit, bytes, why)) {
        // Only a file that is not there at all is a fresh start.
        case VoFileRead::kAbsent: m_stateFile = StateFile::Absent; return String();
        case VoFileRead::kUnreadable:
            m_stateFile = StateFile::Unreadable;
            std::fprintf(stderr, "Floeward: %s exists but cannot be read (%s); progress will not be saved this run\n",
                         kStateFileName, why.c_str());
            return String();
        case VoFileRead::kTooLarge:
            m_stateFile = StateFile::Damaged;
            std::fprintf(stderr, "Floeward: %s is %s, too large to be a saved state; it is not read\n", kStateFileName,
                         why.c_str());
            return String();
        case VoFileRead::kRead: break;
    }
    String text = DecodeBytes(bytes);
    // Decoding an empty file leaves the last error alone; a save never writes invalid UTF-8.
    m_stateFile = !bytes.empty() && _str_load_err ? StateFile::Damaged : StateFile::Clean;
    return text;
}

String VoGame::LoadUserFile(String location) {
    const std::string path = PathToFilePath(location).ToUtf8();
    std::string bytes, why;
    switch (vo_file_ReadRegular(path, kUserFileLimit, bytes, why)) {
        case VoFileRead::kAbsent: return String();
        case VoFileRead::kUnreadable:
            std::fprintf(stderr, "Floeward: %s cannot be read (%s)\n", path.c_str(), why.c_str());
            return String();
        case VoFileRead::kTooLarge:
            std::fprintf(stderr, "Floeward: %s is %s; it is not read\n", path.c_str(), why.c_str());
            return String();
        case VoFileRead::kRead: break;
    }
    String text = DecodeBytes(bytes);
    if (!bytes.empty() && _str_load_err) {
        std::fprintf(stderr, "Floeward: %s is not UTF-8 text; it is not read\n", path.c_str());
        return String();
    }
    return text;
}

int VoGame::SaveUserFile(String location, String text) {
    const std::string path = PathToFilePath(location).ToUtf8();
    // The file's own folder is made if it is missing; anything further up must exist.
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        const std::string folder = path.substr(0, slash);
        struct stat st;
        if (stat(folder.c_str(), &st) != 0 && mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
            std::fprintf(stderr, "Floeward: %s could not be made (%s)\n", folder.c_str(), std::strerror(errno));
            return -1;
        }
    }
    const std::string bytes = text.ToUtf8();
    // A link in the file's place is replaced, never written through.
    if (vo_file_ReplaceAtomically(path.c_str(), bytes.data(), bytes.size(), VoLink::kReplace) != 0) {
        std::fprintf(stderr, "Floeward: %s could not be written (%s)\n", path.c_str(), std::strerror(errno));
        return -1;
    }
    return 0;
}

void VoGame::StateDamaged() {
    if (m_stateFile == StateFile::Clean) m_stateFile = StateFile::Damaged;
}

void VoGame::GetDate(Array<int> date) {
    time_t now = std::time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    const int fields[7] = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                           local.tm_min,         local.tm_sec,     0};
    for (int i = 0; i < date.Length() && i < 7; ++i) date[i] = fields[i];
}

String VoGlfwGame::PathToFilePath(String location) {
    if (m_appPath.Empty()) m_appPath = ExecutableDirectory();
    if (!location.StartsWith(String("zembra:"))) return location;
    if (location.StartsWith(String("zembra://data/"))) return m_appPath + String("/data/") + location.Slice(14);
    if (location.StartsWith(String("zembra://internal/"))) {
        if (m_internalPath.Empty()) m_internalPath = m_appPath + String("/internal");
        return m_internalPath + String("/") + location.Slice(18);
    }
    if (location.StartsWith(String("zembra://external/")))
        return m_appPath + String("/external/") + location.Slice(18);
    return String();
}

String VoGlfwGame::ExecutableDirectory() {
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return String(".");
    std::string full(path, static_cast<size_t>(n));
    size_t slash = full.rfind('/');
    return String(std::string_view(full).substr(0, slash == std::string::npos ? 0 : slash));
}
