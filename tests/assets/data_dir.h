// Where the generated data folder is: beside the built executable.
#pragma once

#include <cstdlib>
#include <string>

inline std::string BuildDir() {
    const char* dir = std::getenv("FLOEWARD_BUILD_DIR");
    return dir ? dir : ".";
}

inline std::string DataDir() { return BuildDir() + "/data"; }
