// Part of the host that touches files: locations, whole-file reads, text decoding, the
// saved-state file and the local date.
#include "framework/app/files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
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

int vo_file_ReplaceAtomically(const char* path, const char* bytes, size_t length) {
    std::string temp = std::string(path) + ".XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) return -1;
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
    // mkstemp makes the file private; a state file is an ordinary file of the player's.
    if (ok) {
        mode_t mask = umask(0);
        umask(mask);
        chmod(temp.c_str(), 0666 & ~mask);
    }
    ok = ok && std::rename(temp.c_str(), path) == 0;
    if (!ok) {
        unlink(temp.c_str());
        return -2;
    }
    return 0;
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
    std::string bytes = state.ToUtf8();
    int result = vo_file_ReplaceAtomically(PathToFilePath(String(kStateFileName)).ToUtf8().c_str(), bytes.data(),
                                           bytes.size());
    if (result != 0) {
        std::fprintf(stderr, "Floeward: progress could not be saved to %s (%s)\n", kStateFileName,
                     std::strerror(errno));
    }
    return result;
}

String VoGame::LoadState() {
    FILE* stream = OpenFile(String(kStateFileName), String("rb"));
    if (!stream) return String();
    String text = String::Load(stream);
    std::fclose(stream);
    return text;
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
