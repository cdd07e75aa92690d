#include "platform/posix/kernel32/command_line.h"

namespace {

// Besides blank and tab, other control characters are quoted too: the program's own parsing of
// its command line treats every character up to code 32 as a separator.
bool NeedsQuotes(const std::string& argument) {
    if (argument.empty()) {
        return true;
    }
    for (const char c : argument) {
        const auto code = static_cast<unsigned char>(c);
        if ((code >= 1 && code <= 32) || c == '"') {
            return true;
        }
    }
    return false;
}

// A program name cannot hold a quote: on Windows no file name can. One found on POSIX is left
// out, so that the rest of the line still parses.
void AppendProgramName(std::string& line, const std::string& name) {
    const bool quoted = NeedsQuotes(name);
    if (quoted) {
        line += '"';
    }
    for (const char c : name) {
        if (c != '"') {
            line += c;
        }
    }
    if (quoted) {
        line += '"';
    }
}

// Backslashes are literal unless a quote follows them; then each one is doubled, and a quote
// that belongs to the argument gets one more backslash in front.
void AppendArgument(std::string& line, const std::string& argument) {
    if (!NeedsQuotes(argument)) {
        line += argument;
        return;
    }
    line += '"';
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            line.append(backslashes * 2 + 1, '\\');
        } else {
            line.append(backslashes, '\\');
        }
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, '\\');
    line += '"';
}

} // namespace

namespace posix {

std::string QuoteCommandLine(const std::vector<std::string>& arguments) {
    std::string line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i == 0) {
            AppendProgramName(line, arguments[i]);
            continue;
        }
        line += ' ';
        AppendArgument(line, arguments[i]);
    }
    return line;
}

} // namespace posix
