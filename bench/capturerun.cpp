// SPDX-License-Identifier: GPL-3.0-or-later
// The capture scenario in a process of its own: a simulated 4K MJPEG camera at 30 fps behind the real
// library and presenter, a real VideoWidget on the offscreen platform with a drawing on its layer, and
// ten captures a second apart, timed from outside.
#include "capturerun.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <QSet>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <vector>

#include "benchcamera.h"
#include "countingview.h"
#include "filebrowser/fileitemwidget.h"
#include "filebrowser/filelistwidget.h"
#include "framegaps.h"
#include "liveview/capturewriter.h"
#include "liveview/videowidget.h"
#include "optigrab.h"
#include "samples.h"

namespace {

const int kCaptures = 10;
const int kCaptureIntervalMs = 1000;
const int kWarmupMs = 3000;
const int kSettleMs = 1000;  // after the last tile

double threadCpuMs() {
    timespec cpu{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
    return cpu.tv_sec * 1e3 + cpu.tv_nsec / 1e6;
}

}  // namespace

// The product's view, with a clock on the paints that show a new frame.
class CaptureRun : public CountingView {
public:
    // Five green pen strokes across the picture, drawn with the pointer as a user would.
    void drawSomething() {
        updateToolSettings(0, QColor(0, 200, 0), 12);
        QMetaObject::invokeMethod(this, "switchToDrawingMode");
        for (int i = 0; i < 5; ++i)
            for (const auto& [type, pos] : {std::pair{QEvent::MouseButtonPress, QPoint(200, 200 + 120 * i)},
                                            {QEvent::MouseMove, QPoint(900, 230 + 120 * i)},
                                            {QEvent::MouseMove, QPoint(1600, 260 + 120 * i)},
                                            {QEvent::MouseButtonRelease, QPoint(1600, 260 + 120 * i)}}) {
                QMouseEvent event(type, pos, mapToGlobal(pos), Qt::LeftButton,
                                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                                  Qt::NoModifier);
                QApplication::sendEvent(this, &event);
            }
    }
    CaptureWriter* writer() const { return findChild<CaptureWriter*>(); }
    FileListWidget* panel() const { return findChild<FileListWidget*>(); }
    void showPanel() {
        onShowListWidget();
        // Above the right end of the row on a 1920x1080 screen, whatever the offscreen screen's size.
        panel()->move(1920 - 229, 1080 - 666);
    }

protected:
    bool event(QEvent* event) override {
        if (gaps == nullptr || event->type() != QEvent::MetaCall)
            return VideoWidget::event(event);
        const double start = clock.nsecsElapsed() / 1e6;
        const double startCpu = threadCpuMs();
        const bool result = VideoWidget::event(event);
        gaps->longestEventMs = std::max(gaps->longestEventMs, clock.nsecsElapsed() / 1e6 - start);
        gaps->longestEventCpuMs = std::max(gaps->longestEventCpuMs, threadCpuMs() - startCpu);
        return result;
    }
};

namespace {

// Records when each tile is painted for the first time; tiles come in capture order.
class TilePaints : public QObject {
public:
    explicit TilePaints(const QElapsedTimer& clock) : m_clock(clock) {}
    std::vector<double> firstPaintMs;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && qobject_cast<FileItemWidget*>(watched) != nullptr &&
            !m_seen.contains(watched)) {
            m_seen.insert(watched);
            firstPaintMs.push_back(m_clock.nsecsElapsed() / 1e6);
        }
        return false;
    }

private:
    const QElapsedTimer& m_clock;
    QSet<QObject*> m_seen;
};

// The drawing reached the file: the middle of the first stroke, at the file's scale, is green.
bool drawingInFile(const QString& path) {
    const QImage file(path);
    if (file.size() != QSize(3840, 2160))
        return false;
    // The first stroke runs from (200, 200) to (1600, 260) on the 1920x1080 layer.
    const QColor c = file.pixelColor(900 * 2, 230 * 2);
    return c.green() > 150 && c.red() < 100 && c.blue() < 100;
}

}  // namespace

int runCaptures(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir saveFolder;
    if (!saveFolder.isValid() || !plugBenchCamera(saveFolder.path())) {
        std::fprintf(stderr, "the simulated camera or the settings could not be set up\n");
        return 2;
    }

    auto* view = new CaptureRun;
    view->clock.start();
    view->resize(1920, 1080);
    view->show();
    view->showPanel();
    TilePaints tiles(view->clock);
    app.installEventFilter(&tiles);
    // The panel shows four tiles; the newest is scrolled into view, as a user would, to see it painted.
    QListWidget* list = view->panel()->findChild<QListWidget*>();
    QObject::connect(
        list->model(), &QAbstractItemModel::rowsInserted, list,
        [list] { list->scrollToItem(list->item(list->count() - 1)); },
        Qt::QueuedConnection);  // once the row has its size and its tile

    std::vector<double> clickMs, fileMs;
    std::vector<double> writerCpuMs;  // the writer thread's CPU clock at the end of each capture
    std::mutex fileMutex;  // guards fileMs, writerCpuMs and files, written on the capture writer's thread
    std::vector<QString> files;
    QObject::connect(
        view->writer(), &CaptureWriter::captureWritten, view,
        [&](const QString& path, bool loaded) {
            std::lock_guard<std::mutex> lock(fileMutex);
            fileMs.push_back(loaded ? view->clock.nsecsElapsed() / 1e6 : -1.0);
            writerCpuMs.push_back(threadCpuMs());
            files.push_back(path);
        },
        Qt::DirectConnection);
    Samples guiCaptureMs(kCaptures);  // time captureImage() holds the GUI thread

    FrameGaps idle, capturing;
    const int idleMs = kCaptures * kCaptureIntervalMs + kSettleMs;
    QTimer::singleShot(kWarmupMs, view, [&] {
        if (!view->hasLayer())
            return;
        view->drawSomething();
        view->gaps = &idle;
    });
    QTimer::singleShot(kWarmupMs + idleMs, view, [&] { view->gaps = &capturing; });
    QTimer clicks;
    int clicked = 0;
    QObject::connect(&clicks, &QTimer::timeout, view, [&] {
        const double start = view->clock.nsecsElapsed() / 1e6;
        clickMs.push_back(start);
        view->captureImage();
        guiCaptureMs.add(view->clock.nsecsElapsed() / 1e6 - start);
        if (++clicked == kCaptures)
            clicks.stop();
    });
    QTimer::singleShot(kWarmupMs + idleMs + 500, view, [&] { clicks.start(kCaptureIntervalMs); });
    // Ends once the last tile is painted, and a little later, so that the frame gaps cover the end.
    QTimer done;
    QObject::connect(&done, &QTimer::timeout, view, [&] {
        if (int(tiles.firstPaintMs.size()) < kCaptures)
            return;
        done.stop();
        QTimer::singleShot(kSettleMs, &app, &QCoreApplication::quit);
    });
    done.start(100);
    QTimer::singleShot(kWarmupMs + idleMs + 500 + kCaptures * kCaptureIntervalMs + 60000, &app,
                       &QCoreApplication::quit);
    app.exec();
    app.removeEventFilter(&tiles);
    view->gaps = nullptr;
    delete view;  // waits for captures still being written
    camUnInitCameraLib();

    std::lock_guard<std::mutex> lock(fileMutex);
    if (clicked < kCaptures || int(fileMs.size()) < kCaptures || int(tiles.firstPaintMs.size()) < kCaptures) {
        std::fprintf(stderr, "%d clicks, %zu files, %zu tiles painted; expected %d of each\n", clicked,
                     fileMs.size(), tiles.firstPaintMs.size(), kCaptures);
        return 3;
    }
    Samples toFile(kCaptures), toTile(kCaptures), writerCpu(kCaptures);
    int withDrawing = 0;  // files whose drawing is there
    for (int i = 0; i < kCaptures; ++i) {
        toFile.add(fileMs[i] - clickMs[i]);
        toTile.add(tiles.firstPaintMs[i] - clickMs[i]);
        writerCpu.add(writerCpuMs[i] - (i > 0 ? writerCpuMs[i - 1] : 0.0));  // one thread writes them all
        if (drawingInFile(files[i]))
            ++withDrawing;
    }
    figure("captures", kCaptures);
    figure("files_missing", kCaptures - withDrawing);
    figure("click_to_file_median", toFile.median());
    figure("click_to_file_max", toFile.percentile(100));
    figure("click_to_tile_median", toTile.median());
    figure("click_to_tile_max", toTile.percentile(100));
    figure("gui_capture_call_median", guiCaptureMs.median());
    figure("writer_cpu_median", writerCpu.median());
    figure("gap_capturing_ms", capturing.longestMs);
    figure("event_capturing_ms", capturing.longestEventMs);
    figure("event_idle_ms", idle.longestEventMs);
    figure("event_cpu_capturing_ms", capturing.longestEventCpuMs);
    figure("event_cpu_idle_ms", idle.longestEventCpuMs);
    figure("frames_capturing", capturing.frames);
    figure("gap_idle_ms", idle.longestMs);
    figure("frames_idle", idle.frames);
    std::fflush(stdout);
    return 0;
}
