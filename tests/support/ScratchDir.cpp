#include "tests/support/ScratchDir.h"

#include <random>
#include <system_error>

namespace fs = std::filesystem;

ScratchDir::ScratchDir(const std::string& prefix) {
    std::random_device random;
    do {
        path = fs::temp_directory_path() / (prefix + "-" + std::to_string(random()));
    } while (!fs::create_directory(path));
}

// A test may have taken the permissions of the directory itself; they are given back first.
ScratchDir::~ScratchDir() {
    std::error_code ignored;
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path, ignored);
}
