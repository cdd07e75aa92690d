#pragma once

// A temporary directory of a test's own, made under the system's temporary directory with a
// name no other test uses, and removed with everything in it at the end.

#include <filesystem>
#include <string>

class ScratchDir {
public:
    explicit ScratchDir(const std::string& prefix = "kestrin");
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return path / name; }

private:
    std::filesystem::path path;
};
