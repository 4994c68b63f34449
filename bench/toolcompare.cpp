// SPDX-License-Identifier: GPL-3.0-or-later
// The same 4K frames through general-purpose tools, timed from outside.
#include "toolcompare.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <linux/videodev2.h>

#include "framecycle.h"

namespace {

const int kWidth = 3840;
const int kHeight = 2160;

QStringList ffmpegArgs(const QStringList& decoding, const QString& file) {
    return QStringList{"-hide_banner", "-nostdin", "-nostats", "-loglevel", "error"} + decoding +
           QStringList{"-f",       "mjpeg", "-i", file,   "-vf", "scale=1920:1080",
                       "-pix_fmt", "rgb24", "-f", "null", "-"};
}

}  // namespace

QString ToolRun::commandLine() const {
    return (QStringList{program} + arguments).join(' ');
}

bool writeMjpegFile(const QString& path, int count, double* meanBytes) {
    optigrab::sim::FrameCycle cycle(V4L2_PIX_FMT_MJPEG, kWidth, kHeight);
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    double total = 0;
    for (int i = 0; i < count; ++i) {
        const std::vector<std::uint8_t>& frame = cycle.frame(i);
        if (frame.empty())
            return false;
        if (out.write(reinterpret_cast<const char*>(frame.data()), static_cast<qint64>(frame.size())) !=
            static_cast<qint64>(frame.size()))
            return false;
        total += static_cast<double>(frame.size());
    }
    *meanBytes = count ? total / count : 0.0;
    return out.flush();
}

std::vector<ToolRun> comparisonTools(const QString& file) {
    const QStringList oneThread{"-threads", "1", "-filter_threads", "1"};
    return {
        {"ffmpeg_1thread", "ffmpeg, one thread", "ffmpeg", ffmpegArgs(oneThread, file)},
        {"ffmpeg_threads", "ffmpeg, default threads", "ffmpeg", ffmpegArgs({}, file)},
        {"ffmpeg_lowres_1thread", "ffmpeg -lowres 1, one thread", "ffmpeg",
         ffmpegArgs(oneThread + QStringList{"-lowres", "1"}, file)},
        {"ffmpeg_lowres_threads", "ffmpeg -lowres 1, default threads", "ffmpeg",
         ffmpegArgs({"-lowres", "1"}, file)},
        {"gst",
         "gst-launch-1.0",
         "gst-launch-1.0",
         {"-q", "filesrc", "location=" + file, "!", "jpegparse", "!", "jpegdec", "!", "videoscale", "!",
          "videoconvert", "!", "video/x-raw,format=RGB,width=1920,height=1080", "!", "fakesink",
          "sync=false"}},
    };
}

double timeTool(const ToolRun& run, int count, QString* error) {
    if (QStandardPaths::findExecutable(run.program).isEmpty()) {
        *error = run.program + " is not installed (scripts/bench installs it)";
        return -1.0;
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer clock;
    clock.start();
    process.start(run.program, run.arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        *error = QString("failed (exit %1): %2")
                     .arg(process.exitCode())
                     .arg(QString::fromLocal8Bit(process.readAll()).trimmed());
        return -1.0;
    }
    return count / (clock.nsecsElapsed() / 1e9);
}
