#include "platform/posix/kernel32/clock.h"
#include "platform/posix/kernel32/command_line.h"
#include "platform/posix/kernel32/kernel_error.h"

#include <sched.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<std::string> ReadOwnArguments() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    const std::string raw{std::istreambuf_iterator<char>(in), {}};
    std::vector<std::string> arguments;
    std::size_t start = 0;
    while (start < raw.size()) {
        std::size_t end = raw.find('\0', start);
        if (end == std::string::npos) {
            end = raw.size();
        }
        arguments.push_back(raw.substr(start, end - start));
        start = end + 1;
    }
    return arguments;
}

struct ExecutablePath {
    std::string Path;
    int Error = 0; // errno of a failed look-up, 0 when Path holds the path
};

ExecutablePath ReadExecutablePath() {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return {{}, errno};
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            return {std::string(buffer.data(), static_cast<std::size_t>(length)), 0};
        }
        buffer.resize(buffer.size() * 2);
    }
}

// Both are read once, at start-up: the process may later rewrite its argument area, and the
// executable may be replaced on disk while it runs.
std::string& CommandLine() {
    static std::string line = posix::QuoteCommandLine(ReadOwnArguments());
    return line;
}

const ExecutablePath& Executable() {
    static const ExecutablePath path = ReadExecutablePath();
    return path;
}

[[maybe_unused]] const bool readAtStartUp = (CommandLine(), Executable(), true);

} // namespace

LPSTR WINAPI GetCommandLineA() {
    return CommandLine().data();
}

DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
    if (module != nullptr && module != GetModuleHandleA(nullptr)) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    if (fileName == nullptr && size != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const ExecutablePath& executable = Executable();
    if (executable.Error != 0) {
        posix::SetLastErrorFromErrno(executable.Error);
        return 0;
    }
    const std::string& path = executable.Path;
    if (path.size() < size) {
        std::memcpy(fileName, path.c_str(), path.size() + 1);
        return static_cast<DWORD>(path.size());
    }
    if (size != 0) {
        std::memcpy(fileName, path.data(), size - 1);
        fileName[size - 1] = '\0';
    }
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
}

DWORD WINAPI GetTickCount() {
    return static_cast<DWORD>(posix::NowMs());
}

void WINAPI Sleep(DWORD ms) {
    if (posix::ClockIsVirtual()) {
        posix::AdvanceVirtualClock(ms);
        return;
    }
    // Sleep(0) gives up the rest of the time slice.
    if (ms == 0) {
        sched_yield();
        return;
    }
    timespec left{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    // A signal cuts the sleep short; the rest is slept.
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}
