// SPDX-License-Identifier: GPL-3.0-or-later
// The inset scenario: two 4K MJPEG cameras at 30 fps, the second shown as an inset a quarter of the
// view wide over the first in a 1080p view, against the first alone, run against a real VideoWidget in
// a process of its own.
#pragma once

// Name of the scenario on the command line (--run NAME, --only NAME).
constexpr const char* kInsetScenario = "inset";

// Runs the scenario (--frames N: seconds of each half, 20 by default) and prints its figures as
// "figure KEY VALUE" lines: painted frame rates of the main picture alone and with the inset, the
// inset's, and the process's CPU in both halves. Returns the exit code.
int runInset(int argc, char** argv, int seconds);
