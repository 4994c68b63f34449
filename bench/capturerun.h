// SPDX-License-Identifier: GPL-3.0-or-later
// The capture scenario: a 4K MJPEG camera at 30 fps, a drawing on the layer and ten captures a second
// apart, run against a real VideoWidget in a process of its own.
#pragma once

// Name of the scenario on the command line (--run NAME, --only NAME).
constexpr const char* kCaptureScenario = "captures";

// Runs the scenario and prints its figures as "figure KEY VALUE" lines: the median times from the
// click to the annotated file in place and to its tile painted, the longest gap between two painted
// frames during the captures and over as long a time without one. Returns the exit code.
int runCaptures(int argc, char** argv);
