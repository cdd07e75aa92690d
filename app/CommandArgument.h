#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The n-th argument of the process's command line; 0 gives the full path of the program file.
std::string CommandArgument(std::uint32_t n);

// Every argument of the process's command line after the program.
std::vector<std::string> CommandArguments();

// The n-th argument of a raw command line, n = 0 being the program path written first; empty
// when the line ends before it. Blanks and control characters separate arguments, and so does
// an empty pair of quotes. A double quote starts a part that runs to the next one, blanks
// included. Quotes stay in the argument, except a pair enclosing all of it.
std::string ArgumentOfCommandLine(std::string_view line, std::uint32_t n);
