// SPDX-License-Identifier: GPL-3.0-or-later
// Recordings cut off by a crash, a kill or a power loss: their temporary files hold fragments that
// play up to the cut, and are put under the name they were meant to have.
#pragma once

#include <QString>
#include <QStringList>

namespace CutOffRecordings {

// Renames every name.recording.mp4 / name.recording.mkv in folder that has not changed for
// quietMs (so not one being written now) to name.mp4 / name.mkv, unless that name is taken.
// Returns the new paths.
QStringList recover(const QString& folder, int quietMs = 10000);

}  // namespace CutOffRecordings
