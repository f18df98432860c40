// The generator is the source of truth for the data folder: running it again must give the
// very same files, byte for byte.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <unistd.h>

#include "assets/data_dir.h"

namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> ReadTree(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[fs::relative(entry.path(), root).string()] =
            std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    return files;
}

TEST(Generator, ASecondRunWritesIdenticalFiles) {
    fs::path generator = fs::path(BuildDir()) / "tools" / "floeward_assetgen";
    ASSERT_TRUE(fs::exists(generator)) << generator;
    fs::path fresh = fs::temp_directory_path() / ("floeward-assets-" + std::to_string(getpid()));
    fs::remove_all(fresh);
    std::string command = "\"" + generator.string() + "\" \"" + fresh.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::map<std::string, std::string> built = ReadTree(DataDir()), again = ReadTree(fresh);
    fs::remove_all(fresh);
    ASSERT_FALSE(again.empty());
    for (const auto& [name, bytes] : again) {
        auto it = built.find(name);
        ASSERT_NE(it, built.end()) << name << " is missing from the build's data folder";
        EXPECT_TRUE(it->second == bytes) << name << " differs between runs";
    }
    EXPECT_EQ(built.size(), again.size());
}

}  // namespace
