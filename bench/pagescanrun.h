// SPDX-License-Identifier: GPL-3.0-or-later
// The page-scanning scenarios, each in a process of its own: the live analysis of a 4K MJPEG camera
// at 30 fps (page finding on every third frame, the motion detection of automatic capture), a cropped
// and straightened 4K still, and a PDF of twenty 4K captures.
#pragma once

#include <vector>

struct PageScanScenario {
    const char* name;   // on the command line: --run NAME, --only NAME
    const char* title;  // in the report
};

const std::vector<PageScanScenario>& pageScanScenarios();
const PageScanScenario* findPageScanScenario(const char* name);

// Runs one scenario and prints its figures as "figure KEY VALUE" lines. Returns the exit code.
int runPageScan(const PageScanScenario& scenario, int argc, char** argv);
