// SPDX-License-Identifier: GPL-3.0-or-later
// The cameras of the scenarios that run a real view: simulated 4K MJPEG cameras at 30 fps, and the
// settings that make the view open one and save into a folder of the scenario's.
#pragma once

#include <QString>

// Plugs the camera and writes the view's settings file beside the benchmark (English, files named
// bench_NNNNN in saveFolder). False when either fails.
bool plugBenchCamera(const QString& saveFolder);
// A second camera like the first, with ids of its own. False when it cannot be plugged.
bool plugSecondBenchCamera();
// A camera playing the 4K JPEG files of framesFolder instead (a page lying on a desk), and the settings
// that open it.
bool plugPageCamera(const QString& framesFolder, const QString& saveFolder);
