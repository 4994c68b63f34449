// SPDX-License-Identifier: GPL-3.0-or-later
// The library's log lines, written whole so lines of several threads do not interleave.
#include "log.h"

#include <cstdarg>
#include <cstdio>

namespace optigrab {

void logLine(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    std::fprintf(stderr, "optigrab: %s\n", text);
}

}  // namespace optigrab
