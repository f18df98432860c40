// For fuzz targets whose reader takes a file by name: a private folder, on a memory file system
// when there is one so that writing and syncing stay cheap, removed when the program ends
// normally (a failing input leaves it behind, with that input in it).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

inline const std::string& vo_fuzz_ScratchFolder() {
    static const std::string folder = [] {
        std::string pattern = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
        pattern += "/floeward_fuzz_XXXXXX";
        if (!mkdtemp(pattern.data())) {
            std::perror("floeward fuzz: mkdtemp");
            std::abort();
        }
        return pattern;
    }();
    // Registered once the name is made, so that it runs before the name is destroyed.
    static const bool removedAtExit = std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }) == 0;
    (void)removedAtExit;
    return folder;
}

// Replaces the file of that name in the scratch folder with the bytes; returns its path.
inline std::string vo_fuzz_WriteScratchFile(const char* name, const uint8_t* data, size_t size) {
    std::string path = vo_fuzz_ScratchFolder() + "/" + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::perror("floeward fuzz: writing the input file");
        std::abort();
    }
    return path;
}

// The whole file, or "" when it cannot be opened; sets exists accordingly.
inline std::string vo_fuzz_ReadScratchFile(const std::string& path, bool* exists = nullptr) {
    std::string bytes;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (exists) *exists = file != nullptr;
    if (!file) return bytes;
    char block[4096];
    for (size_t n; (n = std::fread(block, 1, sizeof block, file)) > 0;) bytes.append(block, n);
    std::fclose(file);
    return bytes;
}
