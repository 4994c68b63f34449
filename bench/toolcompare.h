// SPDX-License-Identifier: GPL-3.0-or-later
// The same 4K frames through general-purpose tools: a file of the simulated camera's MJPEG frames,
// decoded and scaled to 1920x1080 RGB by ffmpeg and gst-launch-1.0, timed from outside.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

struct ToolRun {
    QString key;    // figure name in the report
    QString label;  // what it is, in the report
    QString program;
    QStringList arguments;
    QString commandLine() const;
};

// Writes count frames of the simulated camera's 3840x2160 MJPEG cycle one after another: the stream
// the camera delivers, as ffmpeg's mjpeg demuxer and jpegparse read it. Sets the mean frame size.
bool writeMjpegFile(const QString& path, int count, double* meanBytes);

// The comparison commands on that file, in report order.
std::vector<ToolRun> comparisonTools(const QString& file);

// Frames per second of a run (count frames over its wall time, start-up included), or -1 when the
// tool is missing or fails; error then says why.
double timeTool(const ToolRun& run, int count, QString* error);
