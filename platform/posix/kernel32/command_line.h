#pragma once

// Building a Windows command line from a list of arguments.

#include <string>
#include <vector>

namespace posix {

// Joins the arguments with blanks, quoting each the way the Windows parsing rules read back:
// the first as a program name (taken up to the closing quote, no escapes), the others with
// backslashes doubled before a quote and quotes escaped. Arguments that hold a blank, a control
// character or a quote, and empty ones, are quoted.
std::string QuoteCommandLine(const std::vector<std::string>& arguments);

} // namespace posix
