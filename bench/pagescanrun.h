// SPDX-License-Identifier: GPL-3.0-or-later
// The page-scanning scenarios, each in a process of its own: the live analysis of a 4K MJPEG camera
// at 30 fps (page finding on every third frame, the motion detection of automatic capture), a cropped
// and straightened 4K still, a PDF of twenty 4K captures, and how well the outlines found in photographs
// of pages match those marked by hand.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct PageScanScenario {
    const char* name;   // on the command line: --run NAME, --only NAME
    const char* title;  // in the report
};

const std::vector<PageScanScenario>& pageScanScenarios();
const PageScanScenario* findPageScanScenario(const char* name);
// The photographs of pages on desks the scenarios play, file names in the pages folder.
const char* const* pagePhotographs(std::size_t* count);
// The figure that holds a photograph's intersection over union in the accuracy scenario.
std::string photographKey(const char* photograph);

// Waits up to timeoutMs for the camera's first page outline. False when none was found.
bool waitForPageCorners(long dev, long corners[8], int timeoutMs);

// Runs one scenario and prints its figures as "figure KEY VALUE" lines. Returns the exit code.
int runPageScan(const PageScanScenario& scenario, int argc, char** argv);
