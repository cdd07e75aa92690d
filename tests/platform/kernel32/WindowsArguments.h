#pragma once

// Splits a Windows command line into arguments by the rules Windows programs use, written
// here independently of the layer so that tests can check its command line round trip.

#include <string>
#include <vector>

namespace testing_support {

// The first argument is a program name: up to the closing quote when it starts with one,
// otherwise up to a blank or tab, with no escapes. The others: blanks and tabs outside quotes
// separate; a quote toggles quoting; 2n backslashes before a quote give n backslashes, 2n+1
// give n and a literal quote; other backslashes are literal.
inline std::vector<std::string> SplitWindowsCommandLine(const std::string& line) {
    std::vector<std::string> arguments;
    std::size_t at = 0;
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };

    std::string program;
    if (at < line.size() && line[at] == '"') {
        const std::size_t close = line.find('"', at + 1);
        const std::size_t end = close == std::string::npos ? line.size() : close;
        program = line.substr(at + 1, end - at - 1);
        at = close == std::string::npos ? line.size() : close + 1;
    } else {
        while (at < line.size() && !isBlank(line[at])) {
            program += line[at++];
        }
    }
    arguments.push_back(program);

    for (;;) {
        while (at < line.size() && isBlank(line[at])) {
            ++at;
        }
        if (at >= line.size()) {
            return arguments;
        }
        std::string argument;
        bool quoted = false;
        while (at < line.size() && (quoted || !isBlank(line[at]))) {
            std::size_t backslashes = 0;
            while (at < line.size() && line[at] == '\\') {
                ++backslashes;
                ++at;
            }
            if (at < line.size() && line[at] == '"') {
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    argument += '"';
                } else {
                    quoted = !quoted;
                }
                ++at;
            } else {
                argument.append(backslashes, '\\');
                if (at < line.size() && (quoted || !isBlank(line[at]))) {
                    argument += line[at++];
                }
            }
        }
        arguments.push_back(argument);
    }
}

} // namespace testing_support
