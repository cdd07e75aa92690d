#include "app/CommandArgument.h"

#include "platform/win32.h"

namespace {

bool IsSeparator(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

// The position of the next argument's first character, or the line's size.
std::size_t SkipSeparators(std::string_view line, std::size_t at) {
    while (at < line.size()) {
        if (IsSeparator(line[at])) {
            ++at;
        } else if (line.substr(at, 2) == "\"\"") {
            at += 2;
        } else {
            break;
        }
    }
    return at;
}

// The position just past the argument that starts at `at`.
std::size_t ArgumentEnd(std::string_view line, std::size_t at) {
    bool quoted = false;
    for (; at < line.size(); ++at) {
        if (line[at] == '"') {
            quoted = !quoted;
        } else if (!quoted && IsSeparator(line[at])) {
            break;
        }
    }
    return at;
}

std::string Unquoted(std::string_view argument) {
    if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"') {
        argument = argument.substr(1, argument.size() - 2);
    }
    return std::string(argument);
}

// The buffer grows until the whole path fits: a cut path would name another file.
std::string ProgramPath() {
    std::string path(261, '\0');
    while (path.size() <= 32768) {
        const DWORD length =
            GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
    return {};
}

} // namespace

std::string ArgumentOfCommandLine(std::string_view line, std::uint32_t n) {
    // A zero byte ends the command line.
    line = line.substr(0, line.find('\0'));
    std::size_t at = 0;
    for (std::uint32_t skipped = 0;; ++skipped) {
        at = SkipSeparators(line, at);
        if (at == line.size()) {
            return {};
        }
        const std::size_t end = ArgumentEnd(line, at);
        if (skipped == n) {
            return Unquoted(line.substr(at, end - at));
        }
        at = end;
    }
}

std::string CommandArgument(std::uint32_t n) {
    if (n == 0) {
        return ProgramPath();
    }
    const char* line = GetCommandLineA();
    return line != nullptr ? ArgumentOfCommandLine(line, n) : std::string();
}

std::vector<std::string> CommandArguments() {
    std::vector<std::string> arguments;
    for (std::uint32_t n = 1;; ++n) {
        std::string argument = CommandArgument(n);
        if (argument.empty()) {
            return arguments;
        }
        arguments.push_back(std::move(argument));
    }
}
