// Prints the process's command line as the layer builds it, for the command line tests.

#include "platform/win32.h"

#include <cstdio>

int main() {
    std::fputs(GetCommandLineA(), stdout);
    return 0;
}
