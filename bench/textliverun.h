// SPDX-License-Identifier: GPL-3.0-or-later
// The live picture while the page's text is read: a 4K camera at 30 fps showing a printed page, the
// view's copy text (the O key) three times, run against a real VideoWidget in a process of its own.
#pragma once

// Runs the scenario and prints its figures as "figure KEY VALUE" lines: the longest gap between two
// painted frames while the text is read and over as long a time before, and the times from the key to
// the text copied. Returns the exit code.
int runTextLive(int argc, char** argv);
