// SPDX-License-Identifier: GPL-3.0-or-later
// The inset scenario in a process of its own: two simulated 4K MJPEG cameras at 30 fps behind the real
// library, a real 1920x1080 VideoWidget on the offscreen platform with all tools, first showing the
// first camera alone, then the second as an inset (I) a quarter of the view wide.
#include "insetrun.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include "benchcamera.h"
#include "camera/insetstream.h"
#include "countingview.h"
#include "liveview/insetcamera.h"
#include "liveview/videowidget.h"
#include "optigrab.h"
#include "samples.h"
#include "settings/extrasettings.h"

namespace {

const int kWarmupMs = 3000;  // before each window: the inset's camera starts in the second

}  // namespace

// The product's view, counting the paints that show a new camera frame.

int runInset(int argc, char** argv, int seconds) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir saveFolder;
    if (!saveFolder.isValid() || !plugBenchCamera(saveFolder.path()) || !plugSecondBenchCamera()) {
        std::fprintf(stderr, "the simulated cameras or the settings could not be set up\n");
        return 2;
    }
    ExtraSettings settings;  // in memory: all tools, the inset a quarter of the view wide
    settings.setShowAllTools(true);
    auto* view = new CountingView(nullptr, &settings);
    view->resize(1920, 1080);
    view->show();
    auto* inset = view->findChild<InsetCamera*>();
    int insetFrames = 0;
    QSize insetSize;
    QObject::connect(view->findChild<InsetStream*>(), &InsetStream::frameArrived, view,
                     [&](const QImage& frame) {
                         ++insetFrames;
                         insetSize = frame.size();
                     });

    QElapsedTimer clock;
    clock.start();
    struct Window {
        double cpuS = 0, wallS = 0;
        int painted = 0, inset = 0;
    } one, two;
    Window mark;
    const auto start = [&] {
        mark = {processCpuS(), clock.nsecsElapsed() / 1e9, view->painted, insetFrames};
    };
    const auto end = [&](Window* window) {
        *window = {processCpuS() - mark.cpuS, clock.nsecsElapsed() / 1e9 - mark.wallS,
                   view->painted - mark.painted, insetFrames - mark.inset};
    };
    const int windowMs = seconds * 1000;
    QTimer::singleShot(kWarmupMs, view, start);
    QTimer::singleShot(kWarmupMs + windowMs, view, [&] {
        end(&one);
        inset->toggle();
    });
    QTimer::singleShot(2 * kWarmupMs + windowMs, view, start);
    QTimer::singleShot(2 * kWarmupMs + 2 * windowMs, view, [&] {
        end(&two);
        app.quit();
    });
    app.exec();
    delete view;
    camUnInitCameraLib();

    const auto rate = [](int count, double s) { return count / std::max(1e-9, s); };
    figure("one_fps", rate(one.painted, one.wallS));
    figure("one_cores", one.cpuS / std::max(1e-9, one.wallS));
    figure("two_main_fps", rate(two.painted, two.wallS));
    figure("two_inset_fps", rate(two.inset, two.wallS));
    figure("two_cores", two.cpuS / std::max(1e-9, two.wallS));
    figure("cpu_ratio", (two.cpuS / std::max(1e-9, two.wallS)) / std::max(1e-9, one.cpuS / one.wallS));
    figure("inset_width", insetSize.width());
    figure("inset_height", insetSize.height());
    figure("window_s", two.wallS);
    std::fflush(stdout);
    return two.inset > 0 ? 0 : 3;
}
