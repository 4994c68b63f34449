// SPDX-License-Identifier: GPL-3.0-or-later
// Copy text under a live 4K picture: the camera plays a printed page at 30 fps, cropping is on as a
// teacher would have it, and the view's text controller is asked for the page's text as the O key asks.
#include "textliverun.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include "benchcamera.h"
#include "countingview.h"
#include "framegaps.h"
#include "liveview/textcontroller.h"
#include "liveview/videowidget.h"
#include "optigrab.h"
#include "samples.h"
#include "settings/capturechoices.h"
#include "settings/extrasettings.h"
#include "settings/textchoices.h"
#include "textrun.h"

namespace {

const int kReadings = 3;
const int kWarmupMs = 3000;
const int kIdleMs = 3000;   // frames measured before the first reading
const int kPauseMs = 1000;  // between a reading's outcome and the next key

}  // namespace

int runTextLive(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir frames, saveFolder;
    const QImage page = textPageOnDesk(0, QSize(3840, 2160), 14, 0);
    if (!frames.isValid() || !saveFolder.isValid() || !page.save(frames.filePath("0.jpg"), "JPEG", 92) ||
        !plugPageCamera(frames.path(), saveFolder.path())) {
        std::fprintf(stderr, "the simulated camera or the settings could not be set up\n");
        return 2;
    }
    // Read by the view as it starts: the page cut out, its text read in English. Put back afterwards,
    // for the other scenarios share the settings file and capture whole pictures.
    const auto choose = [](bool forThisRun) {
        ExtraSettings choices;
        choices.open(ExtraSettings::defaultFilePath());
        CaptureChoices(&choices).setCropping(forThisRun);
        if (forThisRun)
            TextChoices(&choices).setLanguages({"en"});
        else
            TextChoices(&choices).restoreDefaults();
    };
    choose(true);
    auto* view = new CountingView;
    view->clock.start();
    view->resize(1920, 1080);
    view->show();
    auto* text = view->findChild<TextController*>();

    FrameGaps idle, reading;
    Samples keyToTextMs(kReadings);
    int asked = 0, copied = 0;
    double askedAtMs = 0;
    const auto ask = [&] {
        view->gaps = &reading;
        askedAtMs = view->clock.nsecsElapsed() / 1e6;
        ++asked;
        text->copyLivePicture();
    };
    // The first notice says the reading began, the next one its outcome.
    QObject::connect(text, &TextController::notice, view, [&](const QString& notice) {
        if (notice.startsWith("Reading"))
            return;
        keyToTextMs.add(view->clock.nsecsElapsed() / 1e6 - askedAtMs);
        copied += notice.startsWith("Text copied");
        view->gaps = nullptr;
        reading.lastMs = -1;  // the pause between readings is no gap of one
        if (asked < kReadings)
            QTimer::singleShot(kPauseMs, view, ask);
        else
            QTimer::singleShot(0, &app, &QCoreApplication::quit);
    });
    QTimer::singleShot(kWarmupMs, view, [&] { view->gaps = &idle; });
    QTimer::singleShot(kWarmupMs + kIdleMs, view, ask);
    QTimer::singleShot(kWarmupMs + kIdleMs + kReadings * 60000, &app, &QCoreApplication::quit);
    app.exec();
    view->gaps = nullptr;
    delete view;
    camUnInitCameraLib();
    choose(false);

    if (int(keyToTextMs.count()) < kReadings || copied < kReadings) {
        std::fprintf(stderr, "%d of %d readings copied text\n", copied, kReadings);
        return 3;
    }
    figure("readings", kReadings);
    figure("key_to_text_median_ms", keyToTextMs.median());
    figure("key_to_text_max_ms", keyToTextMs.percentile(100));
    figure("gap_reading_ms", reading.longestMs);
    figure("frames_reading", reading.frames);
    figure("gap_idle_ms", idle.longestMs);
    figure("frames_idle", idle.frames);
    std::fflush(stdout);
    return 0;
}
