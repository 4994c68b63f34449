// SPDX-License-Identifier: GPL-3.0-or-later
// The measured scenarios of the live-picture path, and the run of one of them in this process.
#pragma once

#include <vector>

struct Scenario {
    const char* name;   // on the command line: --run NAME, --only NAME
    const char* title;  // in the report
    long mediaType;     // 1 YUY2, 2 MJPG
    long width;         // the camera's mode
    long height;
    long modeFps;              // the rate the mode advertises
    double frameClock;         // the rate the simulated camera really delivers; negative = unthrottled
    int frames;                // frames painted in the measured window
    int annotation;            // what the user does: one of the kinds below
    long rotate = 0;           // camSetImageRotateMode
    long look = 0;             // camSetImageColorStyle; with a turn or a look, a still is timed at the end
    double screenScale = 1.0;  // the desktop's scaling: at 2, the 1920x1080 view has 3840x2160 pixels
};

// Annotation kinds of a scenario: none; a few strokes on the layer; those and a pen drag all
// through; the picture zoomed 2x; after the window, the brightness slider moved and timed; a curtain
// half pulled back, or a spotlight, chosen in the Masking popup; the wheel turned a notch in or out
// twice a second.
enum {
    kNoAnnotation = 0,
    kStrokes = 1,
    kStrokesAndDrag = 2,
    kZoomed = 3,
    kControlChanges = 4,
    kCurtain = 5,
    kSpotlight = 6,
    kWheelZoom = 7
};

// In report order. The 3,000-frame run is the one whose resident size must stay flat.
const std::vector<Scenario>& scenarios();
const Scenario* findScenario(const char* name);

// Runs one scenario against a real VideoWidget on the offscreen platform at 1920x1080 (in device
// pixels times the scenario's screen scale) and prints its
// figures as "figure KEY VALUE" lines on standard output. Returns the process's exit code.
int runLive(const Scenario& scenario, int frames, int argc, char** argv);
