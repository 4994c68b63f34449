// SPDX-License-Identifier: GPL-3.0-or-later
// The library's log lines: one line on standard error per event worth a user's attention (a camera
// that needed recovering, one that cannot be used), never one per frame.
#pragma once

namespace optigrab {

// Writes "optigrab: " and the formatted text as one line. Any thread.
void logLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace optigrab
