// SPDX-License-Identifier: GPL-3.0-or-later
// The camera of the scenarios that run a real view: a simulated 4K MJPEG camera at 30 fps, and the
// settings that make the view open it and save into a folder of the scenario's.
#pragma once

#include <QString>

// Plugs the camera and writes the view's settings file beside the benchmark (English, files named
// bench_NNNNN in saveFolder). False when either fails.
bool plugBenchCamera(const QString& saveFolder);
// A second camera like the first, with ids of its own. False when it cannot be plugged.
bool plugSecondBenchCamera();
