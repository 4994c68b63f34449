// SPDX-License-Identifier: GPL-3.0-or-later
// The first picture and the length of a recording, for the file panel's tile.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace VideoThumbnail {

// Decodes the first picture of the video file at path, scaled into bounds, and its duration in
// seconds. False when the file holds no picture that decodes.
bool read(const QString& path, const QSize& bounds, QImage* picture, double* seconds);

}  // namespace VideoThumbnail
