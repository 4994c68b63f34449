// SPDX-License-Identifier: GPL-3.0-or-later
// Records synthetic pictures at 30 frames a second into the file named by its argument until it is
// killed: the recording suite kills it to check what a cut-off file still holds.
#include <QCoreApplication>
#include <QThread>
#include <cstdio>

#include "recording/lessonrecorder.h"
#include "recording/recordingclock.h"
#include "syntheticpage.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    LessonRecorder recorder;
    LessonRecorder::Settings settings;
    settings.path = QString::fromLocal8Bit(argv[1]);
    settings.viewSize = QSize(640, 360);
    settings.sound = false;
    QString reason;
    if (!recorder.start(settings, &reason)) {
        std::fprintf(stderr, "%s\n", reason.toUtf8().constData());
        return 1;
    }
    std::printf("recording\n");
    std::fflush(stdout);
    for (int number = 0;; ++number) {
        recorder.addPicture(syntheticPage(settings.viewSize, number, false), RecordingClock::nowUs());
        QThread::msleep(33);
    }
}
