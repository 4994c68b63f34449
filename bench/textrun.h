// SPDX-License-Identifier: GPL-3.0-or-later
// The page-text scenario: pages of known text in Latin, Cyrillic and Chinese script played through a
// simulated camera, captured cut out and straightened, recognised; the character error rate per
// script and resolution and the time a 4K page takes.
#pragma once

#include <QImage>

// Runs the scenario in this process and prints "figure KEY VALUE" lines; shortSet: one font size,
// straight pages only (a check that it runs, not figures to quote). Returns the exit code.
int runTextAccuracy(bool shortSet);
// The scripts' names in the figures: cer_NAME_4k, cer_NAME_1080p.
extern const char* const kTextScripts[3];
// A page of script (an index into kTextScripts) printed at pointSize, lying on a desk turned by degrees,
// as a camera of frame's size sees it.
QImage textPageOnDesk(int script, QSize frame, int pointSize, double degrees);
