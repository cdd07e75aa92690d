#pragma once

// The fixture of the kernel file tests: a scratch directory, and files put into it, read back
// and opened through CreateFileA.

#include "platform/win32.h"
#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

class KernelFileTest : public testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return (dir / name).string(); }

    static void Put(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static HANDLE Open(const std::string& path, DWORD access, DWORD disposition) {
        return CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    ScratchDir dir{"kernel-file"};
};
