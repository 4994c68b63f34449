// SPDX-License-Identifier: GPL-3.0-or-later
// One scenario of the live-picture path in a process of its own: a simulated camera behind the real
// library, the real presenter and a real VideoWidget on the offscreen platform, timed from outside.
#include "liverun.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>
#include <QWheelEvent>

#include <pthread.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>
#include <mutex>
#include <vector>

#include <fcntl.h>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "allocwatch.h"
#include "camera/campresenter.h"
#include "controltimer.h"
#include "liveview/videowidget.h"
#include "optigrab.h"
#include "optigrab_sim.h"
#include "samples.h"
#include "settings/readxml.h"

namespace {

using Clock = std::chrono::steady_clock;

const QSize kViewSize(1920, 1080);
const int kWarmupFrames = 60;  // painted before the window opens: frame cycle encoded, pools filled
const char* kVendor = "fa11";
const char* kProduct = "be01";

double msBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double cpuMs(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The clock of the library's capture time stamps, in microseconds.
long long monotonicUs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000LL + now.tv_nsec / 1000;
}

double processCpuMs(const rusage& usage) {
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// Resident set from /proc/self/statm, read without allocating so that sampling it disturbs nothing.
double residentMiB() {
    char text[128] = {};
    const int fd = ::open("/proc/self/statm", O_RDONLY);
    if (fd < 0)
        return 0.0;
    const ssize_t got = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (got <= 0)
        return 0.0;
    long size = 0, resident = 0;
    if (std::sscanf(text, "%ld %ld", &size, &resident) != 2)
        return 0.0;
    return resident * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// What the hooks record. Each Samples has one writer thread; the GUI thread reads the capture
// thread's samples only after the camera was closed.
struct Probe {
    explicit Probe(std::size_t capacity)
        : libraryGapMs(capacity),
          libraryCpuMs(capacity),
          presenterMs(capacity),
          handOverMs(capacity),
          intakeMs(capacity),
          paintMs(capacity),
          repaintMs(capacity),
          glassMs(capacity) {}

    std::atomic<bool> measuring{false};

    // Capture thread.
    Samples libraryGapMs, libraryCpuMs, presenterMs, handOverMs;
    Clock::time_point lastCallbackEnd;
    bool callbackSeen = false;
    double handOverThisFrame = 0.0;
    std::atomic<long> captured{0};  // callbacks inside the window
    std::atomic<int> frameWidth{0}, frameHeight{0};
    // The library calls back from its decoding threads (two where two cores run them).
    std::mutex callbackClocksMutex;  // guards callbackClocks
    std::vector<clockid_t> callbackClocks;

    // Counted on the capture thread (emissions) and the GUI thread (intakes).
    std::atomic<long> emitted{0}, intakesStarted{0}, maxWaiting{0};
    std::atomic<long> handOvers{0}, emittedInWindow{0};
    // Capture time of the newest frame handed to the view, written once its hand-over has ended.
    std::atomic<long long> handedOverCaptureUs{0};

    // GUI thread.
    Samples intakeMs, paintMs, repaintMs;
    // Camera to glass: from a frame's capture time stamp to the end of the first repaint (flush
    // included) after the intake that took it. The frame an intake takes is the newest handed over
    // when it took it: the one named by handedOverCaptureUs as the intake began, or one handed over
    // within the microseconds before (then the figure is one frame interval high, never low).
    Samples glassMs;
    long long takenCaptureUs = 0;  // taken by the last intake, not painted yet; 0 = none
    long long shownCaptureUs = 0;  // the newest frame painted so far
    bool freshFrame = false;
    QSize settledSize;
    int paintedAtSize = 0;
    int windowFrames = 0;
    bool finished = false;
    Clock::time_point windowStart, windowEnd;
    double guiCpuStart = 0, guiCpuEnd = 0, captureCpuStart = 0, captureCpuEnd = 0;
    rusage usageStart{}, usageEnd{};
    double rssStart = 0, rssEnd = 0, rssMax = 0;
    long capturedAtEnd = 0;
    long largeAllocationsStart = 0, largeAllocationsEnd = 0;
};

Probe* g_probe = nullptr;

// What the user draws in the annotated scenarios.
struct Annotator {
    QWidget* view = nullptr;
    int kind = kNoAnnotation;
    QTimer dragTimer;  // a pointer move every 4 ms while the window is open
    QPoint dragAt;
    int dragStep = 6;  // pixels a move: each one draws a segment
    long moves = 0;
    bool zoomed = false;
    QTimer wheelTimer;  // a wheel notch twice a second while the window is open
    int wheelTurns = 0;
    Clock::time_point wheelAt;  // when the last notch was sent
    bool awaitingRepaint = false, awaitingFrame = false, frameAfterWheel = false;
};

Annotator* g_annotator = nullptr;
ControlTimer* g_controlTimer = nullptr;

// Wheel zoom to the next painted picture: from the notch to the end of the next repaint, and to the
// end of the first repaint of a camera frame taken in after the notch.
Samples* g_wheelRepaintMs = nullptr;
Samples* g_wheelFrameMs = nullptr;

void sendMouse(QWidget* view, QEvent::Type type, const QPoint& pos) {
    QMouseEvent event(type, pos, view->mapToGlobal(pos),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &event);
}

// A few strokes of the kind a teacher makes on a page: two underlines, a circle, a highlighted line.
void drawStrokes(QWidget* view) {
    QMetaObject::invokeMethod(view, "switchToDrawingMode");
    QMetaObject::invokeMethod(view, "updateToolSettings", Q_ARG(int, 0), Q_ARG(QColor, QColor(Qt::red)),
                              Q_ARG(int, 5));
    for (int y : {300, 620}) {
        sendMouse(view, QEvent::MouseButtonPress, {400, y});
        for (int x = 410; x <= 1100; x += 10)
            sendMouse(view, QEvent::MouseMove, {x, y + (x % 40 == 0 ? 2 : 0)});
        sendMouse(view, QEvent::MouseButtonRelease, {1100, y});
    }
    sendMouse(view, QEvent::MouseButtonPress, {1500, 450});
    for (int degree = 5; degree <= 360; degree += 5) {
        const double angle = degree * M_PI / 180.0;
        sendMouse(view, QEvent::MouseMove,
                  {int(1400 + 100 * std::cos(angle)), int(450 + 80 * std::sin(angle))});
    }
    sendMouse(view, QEvent::MouseButtonRelease, {1500, 450});
    QMetaObject::invokeMethod(view, "updateToolSettings", Q_ARG(int, 1), Q_ARG(QColor, QColor(Qt::yellow)),
                              Q_ARG(int, 20));
    sendMouse(view, QEvent::MouseButtonPress, {300, 800});
    for (int x = 320; x <= 1300; x += 20)
        sendMouse(view, QEvent::MouseMove, {x, 800});
    sendMouse(view, QEvent::MouseButtonRelease, {1300, 800});
    QMetaObject::invokeMethod(view, "updateToolSettings", Q_ARG(int, 0), Q_ARG(QColor, QColor(Qt::blue)),
                              Q_ARG(int, 4));
}

// A notch in, then one out, about the middle of the view: the zoom stays between 1.95x and 2.4x, so
// that the camera keeps delivering parts.
void wheelOnce() {
    Annotator& a = *g_annotator;
    const QPoint middle(kViewSize.width() / 2, kViewSize.height() / 2);
    QWheelEvent event(QPointF(middle), QPointF(a.view->mapToGlobal(middle)), QPoint(),
                      QPoint(0, a.wheelTurns++ % 2 == 0 ? 120 : -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    a.wheelAt = Clock::now();
    a.awaitingRepaint = a.awaitingFrame = true;
    a.frameAfterWheel = false;
    QCoreApplication::sendEvent(a.view, &event);
}

// Masking opened on the bar and a mask chosen in its popup, as a user does.
void chooseMask(QWidget* view, const char* choice) {
    view->findChild<QAbstractButton*>("toolButton_mark")->click();
    if (QWidget* popup = view->findChild<QWidget*>("MaskWidget"))
        popup->findChild<QAbstractButton*>(choice)->click();
}

// One move of the drag: left to right along a line, then the next line down, like handwriting.
void dragOnce() {
    Annotator& a = *g_annotator;
    QPoint next = a.dragAt + QPoint(a.dragStep, (a.moves % 8) < 4 ? 2 : -2);
    if (next.x() > 1800)
        next = QPoint(120, a.dragAt.y() + 40 > 1000 ? 120 : a.dragAt.y() + 40);
    a.dragAt = next;
    ++a.moves;
    sendMouse(a.view, QEvent::MouseMove, next);
}

// CPU time of all the library threads that called back so far.
double captureThreadCpuMs() {
    std::lock_guard<std::mutex> lock(g_probe->callbackClocksMutex);
    double total = 0.0;
    for (clockid_t clock : g_probe->callbackClocks)
        total += cpuMs(clock);
    return total;
}

// CPU clock reading of this thread at the end of its previous callback; < 0 before its first.
thread_local double tl_lastCallbackEndCpu = -1.0;
// Capture time stamp of the frame this thread's callback is handling.
thread_local long long tl_captureUs = 0;

// Select, then a drag over the middle half of the view: the picture zooms 2x.
void zoomBySelection(VideoWidget* view) {
    QMetaObject::invokeMethod(view, "switchToSelectMode");
    sendMouse(view, QEvent::MouseButtonPress, {kViewSize.width() / 4, kViewSize.height() / 4});
    sendMouse(view, QEvent::MouseMove, {kViewSize.width() * 3 / 4, kViewSize.height() * 3 / 4});
    sendMouse(view, QEvent::MouseButtonRelease, {kViewSize.width() * 3 / 4, kViewSize.height() * 3 / 4});
}

void openWindow() {
    Probe& p = *g_probe;
    Annotator& a = *g_annotator;
    // The layer has its final size once frames come at the settled size; strokes drawn earlier
    // would go with the layer of the first, smaller frames.
    if (a.kind != kNoAnnotation)
        drawStrokes(a.view);
    if (a.kind == kStrokesAndDrag) {
        a.dragAt = QPoint(120, 120);
        sendMouse(a.view, QEvent::MouseButtonPress, a.dragAt);
        a.dragTimer.start();
    }
    if (a.kind == kCurtain) {
        chooseMask(a.view, "pushButton_curtain");
        QMetaObject::invokeMethod(a.view, "switchToMovingMode");
        sendMouse(a.view, QEvent::MouseButtonPress, {960, 5});
        sendMouse(a.view, QEvent::MouseMove, {960, 540});
        sendMouse(a.view, QEvent::MouseButtonRelease, {960, 540});
    }
    if (a.kind == kSpotlight)
        chooseMask(a.view, "pushButton_spotlight");
    if (a.kind == kWheelZoom)
        a.wheelTimer.start();
    p.windowStart = Clock::now();
    p.guiCpuStart = cpuMs(CLOCK_THREAD_CPUTIME_ID);
    p.captureCpuStart = captureThreadCpuMs();
    getrusage(RUSAGE_SELF, &p.usageStart);
    p.rssStart = p.rssMax = residentMiB();
    p.largeAllocationsStart = largeAllocations();
    watchLargeAllocations(true);
    p.measuring.store(true);
}

void closeWindow() {
    Probe& p = *g_probe;
    p.measuring.store(false);
    g_annotator->wheelTimer.stop();
    if (g_annotator->dragTimer.isActive()) {
        g_annotator->dragTimer.stop();
        sendMouse(g_annotator->view, QEvent::MouseButtonRelease, g_annotator->dragAt);
    }
    watchLargeAllocations(false);
    p.largeAllocationsEnd = largeAllocations();
    p.windowEnd = Clock::now();
    p.guiCpuEnd = cpuMs(CLOCK_THREAD_CPUTIME_ID);
    p.captureCpuEnd = captureThreadCpuMs();
    getrusage(RUSAGE_SELF, &p.usageEnd);
    p.rssEnd = residentMiB();
    p.rssMax = std::max(p.rssMax, p.rssEnd);
    p.capturedAtEnd = p.captured.load();
    p.finished = true;
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

// Runs on the capture thread in place of the presenter's callback, which it calls unchanged: the time
// between two callbacks is the library's (dequeue, decode or convert, the copy kept for stills).
bool timedPreview(unsigned char* src, long width, long height, long size, void* param) {
    Probe& p = *g_probe;
    if (tl_lastCallbackEndCpu < 0) {
        clockid_t clock{};
        pthread_getcpuclockid(pthread_self(), &clock);
        std::lock_guard<std::mutex> lock(p.callbackClocksMutex);
        p.callbackClocks.push_back(clock);
    }
    const Clock::time_point start = Clock::now();
    const double startCpu = cpuMs(CLOCK_THREAD_CPUTIME_ID);
    p.handOverThisFrame = 0.0;
    tl_captureUs = static_cast<const PreviewParam*>(param)->captureTimeUs;
    g_controlTimer->notePreview(src, width, height, tl_captureUs);
    const bool result = callBackPreviewData(src, width, height, size, param);
    const Clock::time_point end = Clock::now();
    if (p.measuring.load()) {
        if (p.callbackSeen)
            p.libraryGapMs.add(msBetween(p.lastCallbackEnd, start));
        if (tl_lastCallbackEndCpu >= 0)
            p.libraryCpuMs.add(startCpu - tl_lastCallbackEndCpu);
        p.presenterMs.add(msBetween(start, end) - p.handOverThisFrame);
        p.captured.fetch_add(1);
    }
    p.lastCallbackEnd = end;
    tl_lastCallbackEndCpu = cpuMs(CLOCK_THREAD_CPUTIME_ID);
    p.callbackSeen = true;
    return result;
}

// The product's view with clocks around its stages; every override calls the base unchanged.
class TimedView : public VideoWidget {
public:
    TimedView() {
        connect(
            this, &VideoWidget::imageReady, this,
            [](const QImage&) {
                Probe& p = *g_probe;
                const long waiting = p.emitted.fetch_add(1) + 1 - p.intakesStarted.load();
                long seen = p.maxWaiting.load();
                while (waiting > seen && !p.maxWaiting.compare_exchange_weak(seen, waiting)) {
                }
                if (p.measuring.load())
                    p.emittedInWindow.fetch_add(1);
            },
            Qt::DirectConnection);
    }

    // Capture thread: the view's hand-over (prepare at the view size, post, emit).
    void drawQImage(long devIndex, QImage* image, long width, long height) override {
        timedHandOver(image, [&] { VideoWidget::drawQImage(devIndex, image, width, height); });
    }
    // Capture thread: the same for a frame of the part a zoomed view shows.
    void drawQImagePart(long devIndex, QImage* image, const QRectF& part) override {
        timedHandOver(image, [&] { VideoWidget::drawQImagePart(devIndex, image, part); });
    }

private:
    template <typename HandOver>
    static void timedHandOver(const QImage* image, HandOver handOver) {
        Probe& p = *g_probe;
        if (image != nullptr) {
            p.frameWidth.store(image->width());
            p.frameHeight.store(image->height());
        }
        const Clock::time_point start = Clock::now();
        handOver();
        if (image != nullptr && !image->isNull())
            p.handedOverCaptureUs.store(tl_captureUs);
        p.handOverThisFrame = msBetween(start, Clock::now());
        if (p.measuring.load()) {
            p.handOverMs.add(p.handOverThisFrame);
            p.handOvers.fetch_add(1);
        }
    }

protected:
    // GUI thread: a queued call is the delivery of imageReady to onImageReady; an update request
    // paints the window and its children into the backing store and flushes it.
    bool event(QEvent* event) override {
        Probe& p = *g_probe;
        if (event->type() == QEvent::MetaCall) {
            p.intakesStarted.fetch_add(1);
            const long long taken = p.handedOverCaptureUs.load();
            const Clock::time_point start = Clock::now();
            const bool result = VideoWidget::event(event);
            p.takenCaptureUs = taken;
            if (p.measuring.load())
                p.intakeMs.add(msBetween(start, Clock::now()));
            if (g_annotator->awaitingFrame && start > g_annotator->wheelAt)
                g_annotator->frameAfterWheel = true;
            p.freshFrame = true;
            return result;
        }
        if (event->type() == QEvent::UpdateRequest) {
            const Clock::time_point start = Clock::now();
            const bool result = VideoWidget::event(event);
            const Clock::time_point end = Clock::now();
            if (p.measuring.load())
                p.repaintMs.add(msBetween(start, end));
            Annotator& a = *g_annotator;
            if (a.awaitingRepaint && p.measuring.load()) {
                a.awaitingRepaint = false;
                g_wheelRepaintMs->add(msBetween(a.wheelAt, end));
            }
            if (a.awaitingFrame && a.frameAfterWheel && p.takenCaptureUs != 0 && p.measuring.load()) {
                a.awaitingFrame = false;
                g_wheelFrameMs->add(msBetween(a.wheelAt, end));
            }
            if (p.takenCaptureUs > p.shownCaptureUs) {
                if (p.measuring.load())
                    p.glassMs.add((monotonicUs() - p.takenCaptureUs) / 1e3);
                p.shownCaptureUs = p.takenCaptureUs;
            }
            p.takenCaptureUs = 0;
            return result;
        }
        return VideoWidget::event(event);
    }

    void paintEvent(QPaintEvent* event) override {
        Probe& p = *g_probe;
        const Clock::time_point start = Clock::now();
        VideoWidget::paintEvent(event);
        if (p.measuring.load())
            p.paintMs.add(msBetween(start, Clock::now()));
        if (!p.freshFrame || p.finished)
            return;
        p.freshFrame = false;
        // Frames count once their size settles: the view's size hint reaches the library only after
        // the first frames, which come at the camera's size.
        const QSize frameSize(p.frameWidth.load(), p.frameHeight.load());
        if (frameSize != p.settledSize && p.paintedAtSize < kWarmupFrames) {
            p.settledSize = frameSize;
            p.paintedAtSize = 0;
        }
        ++p.paintedAtSize;
        // Zoomed from the first frame on, so that the warm-up settles the zoomed picture.
        if ((g_annotator->kind == kZoomed || g_annotator->kind == kWheelZoom) && !g_annotator->zoomed) {
            g_annotator->zoomed = true;
            QTimer::singleShot(0, this, [this] { zoomBySelection(this); });
        }
        if (p.paintedAtSize == kWarmupFrames)
            openWindow();
        else if (p.paintedAtSize == kWarmupFrames + p.windowFrames)
            closeWindow();
    }
};

// The settings the view reads at construction: our simulated camera, its format and size.
bool storeSettings(const Scenario& scenario) {
    const QString folder = QCoreApplication::applicationDirPath() + "/Configuration";
    QDir().mkpath(folder);
    ReadXML* settings = ReadXML::instance();
    settings->devName = "Bench Camera";
    settings->devPIDVID = QString("%1&%2").arg(kVendor, kProduct).toStdString();
    settings->videoFormat = static_cast<int>(scenario.mediaType);
    settings->resolution = QString("%1 x %2").arg(scenario.width).arg(scenario.height).toStdString();
    settings->language = "en";
    settings->savePath = QDir::tempPath().toStdString();
    return settings->writeData((folder + "/lastsetting.xml").toUtf8().constData());
}

long benchCameraIndex() {
    long count = 0;
    if (camGetDevCount(&count) != CAM_OK)
        return -1;
    for (long i = 0; i < count; ++i) {
        char vid[10] = {}, pid[10] = {};
        if (camGetDevVid(i, vid) == CAM_OK && camGetDevPid(i, pid) == CAM_OK &&
            std::strcmp(vid, kVendor) == 0 && std::strcmp(pid, kProduct) == 0)
            return i;
    }
    return -1;
}

// Share of sampled pixels that are not black: the picture really reached the window.
// Share of lit points on a grid over where the picture is fitted into the view (a turned picture
// leaves bars at the sides).
double litShare(const QImage& shot, const QSize& frame) {
    const QSize fitted = frame.isEmpty() ? shot.size() : frame.scaled(shot.size(), Qt::KeepAspectRatio);
    const QRect area(QPoint((shot.width() - fitted.width()) / 2, (shot.height() - fitted.height()) / 2),
                     fitted);
    int lit = 0, total = 0;
    for (int y = area.height() / 20; y < area.height(); y += std::max(1, area.height() / 10))
        for (int x = area.width() / 20; x < area.width(); x += std::max(1, area.width() / 10)) {
            ++total;
            if (qGray(shot.pixel(area.left() + x, area.top() + y)) > 16)
                ++lit;
        }
    return total ? static_cast<double>(lit) / total : 0.0;
}

void stage(const char* key, const Samples& samples) {
    if (samples.count() == 0)
        return;
    std::printf("figure %s_median %.6g\nfigure %s_p95 %.6g\n", key, samples.median(), key, samples.p95());
}

}  // namespace

int runLive(const Scenario& scenario, int frames, int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (scenario.screenScale != 1.0) {
        qputenv("QT_SCALE_FACTOR", QByteArray::number(scenario.screenScale));
        QApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    }
    QApplication app(argc, argv);

    Probe probe(static_cast<std::size_t>(frames) * 8 + 1024);
    probe.windowFrames = frames;
    g_probe = &probe;

    OptigrabSimMode mode{scenario.mediaType, scenario.width, scenario.height, {scenario.modeFps, 0, 0, 0}};
    OptigrabSimConfig config;
    optigrabSimDefaultConfig(&config);
    config.name = "Bench Camera";
    config.vendorId = kVendor;
    config.productId = kProduct;
    config.modes = &mode;
    config.modeCount = 1;
    config.frameClock = scenario.frameClock;
    if (optigrabSimPlug(&config) < 0) {
        std::fprintf(stderr, "the simulated camera could not be plugged\n");
        return 2;
    }
    if (!storeSettings(scenario)) {
        std::fprintf(stderr, "the settings file could not be written\n");
        return 2;
    }

    ControlTimer controlTimer;
    g_controlTimer = &controlTimer;
    auto* view = new TimedView;  // opens the stored camera
    Annotator annotator;
    annotator.view = view;
    annotator.kind = scenario.annotation;
    annotator.dragTimer.setTimerType(Qt::PreciseTimer);
    annotator.dragTimer.setInterval(4);
    QObject::connect(&annotator.dragTimer, &QTimer::timeout, &dragOnce);
    annotator.wheelTimer.setInterval(500);
    QObject::connect(&annotator.wheelTimer, &QTimer::timeout, &wheelOnce);
    Samples wheelRepaintMs(1024), wheelFrameMs(1024);
    g_wheelRepaintMs = &wheelRepaintMs;
    g_wheelFrameMs = &wheelFrameMs;
    g_annotator = &annotator;
    const long devIndex = benchCameraIndex();
    if (devIndex < 0 || camRegCallBackPreviewImage(devIndex, timedPreview) != CAM_OK) {
        std::fprintf(stderr, "the simulated camera is not open\n");
        delete view;
        return 2;
    }
    camSetImageRotateMode(devIndex, scenario.rotate);
    camSetImageColorStyle(devIndex, scenario.look);
    view->resize(kViewSize);
    view->show();

    QTimer rssSampler;
    QObject::connect(&rssSampler, &QTimer::timeout, [&probe] {
        if (probe.measuring.load())
            probe.rssMax = std::max(probe.rssMax, residentMiB());
    });
    rssSampler.start(250);
    // Even a slow machine paints a few frames a second; a run that stalls is reported, not awaited.
    const int timeoutMs = (60 + (frames + kWarmupFrames) / 3) * 1000;
    QTimer::singleShot(timeoutMs, &app, &QCoreApplication::quit);
    app.exec();
    rssSampler.stop();

    const QImage shot = view->grab().toImage();
    const QSize viewSize = view->size();
    const bool controlTimed = scenario.annotation == kControlChanges && controlTimer.run(view, 12);
    double stillMs = -1;
    if (scenario.rotate != 0 || scenario.look != 0) {
        const QString still = QDir::temp().filePath(QString("pagelux-bench-%1.jpg").arg(getpid()));
        QElapsedTimer timer;
        timer.start();
        if (camCaptureImageFile(devIndex, still.toUtf8().constData()) == CAM_OK)
            stillMs = timer.nsecsElapsed() / 1e6;
        QFile::remove(still);
    }
    delete view;  // closes the camera: the capture thread's samples are ours to read from here on
    camUnInitCameraLib();

    if (!probe.finished) {
        std::fprintf(stderr, "timed out after %d of %d frames\n", probe.paintedAtSize,
                     kWarmupFrames + frames);
        return 3;
    }
    const double wallMs = msBetween(probe.windowStart, probe.windowEnd);
    const double processMs = processCpuMs(probe.usageEnd) - processCpuMs(probe.usageStart);
    const long faults = probe.usageEnd.ru_minflt - probe.usageStart.ru_minflt;
    const double n = frames;

    figure("view_width", viewSize.width());
    figure("view_height", viewSize.height());
    figure("frame_width", probe.frameWidth.load());
    figure("frame_height", probe.frameHeight.load());
    figure("picture_lit", litShare(shot, QSize(probe.frameWidth.load(), probe.frameHeight.load())));
    figure("frames", frames);
    figure("wall_s", wallMs / 1e3);
    figure("delivered_fps", n / (wallMs / 1e3));
    figure("captured_fps", probe.capturedAtEnd / (wallMs / 1e3));
    stage("library_gap", probe.libraryGapMs);
    stage("library_cpu", probe.libraryCpuMs);
    stage("presenter", probe.presenterMs);
    stage("handover", probe.handOverMs);
    stage("intake", probe.intakeMs);
    stage("paint", probe.paintMs);
    stage("repaint", probe.repaintMs);
    stage("glass", probe.glassMs);
    figure("cpu_ms_per_frame", processMs / n);
    figure("cpu_core_pct", 100.0 * processMs / wallMs);
    figure("gui_cpu_ms_per_frame", (probe.guiCpuEnd - probe.guiCpuStart) / n);
    figure("capture_cpu_ms_per_frame", (probe.captureCpuEnd - probe.captureCpuStart) / n);
    figure("minflt_per_frame", faults / n);
    figure("large_allocs", probe.largeAllocationsEnd - probe.largeAllocationsStart);
    figure("large_allocs_per_frame", (probe.largeAllocationsEnd - probe.largeAllocationsStart) / n);
    figure("peak_rss_mib", probe.usageEnd.ru_maxrss / 1024.0);
    figure("rss_start_mib", probe.rssStart);
    figure("rss_end_mib", probe.rssEnd);
    figure("rss_max_mib", probe.rssMax);
    figure("max_waiting", probe.maxWaiting.load());
    if (scenario.annotation == kStrokesAndDrag)
        figure("drag_moves_per_s", annotator.moves / (wallMs / 1e3));
    figure("replaced", probe.handOvers.load() - probe.emittedInWindow.load());
    if (stillMs >= 0)
        figure("still_ms", stillMs);
    stage("wheel_repaint", wheelRepaintMs);
    stage("wheel_frame", wheelFrameMs);
    if (controlTimed)
        controlTimer.print();
    std::fflush(stdout);
    return 0;
}

const std::vector<Scenario>& scenarios() {
    static const std::vector<Scenario> list = {
        {"mjpeg4k-free", "4K MJPEG, camera unthrottled", 2, 3840, 2160, 30, -1.0, 3000, kNoAnnotation},
        {"mjpeg4k-free-ink", "4K MJPEG, camera unthrottled, strokes on the layer", 2, 3840, 2160, 30, -1.0,
         1000, kStrokes},
        {"mjpeg4k-30", "4K MJPEG, camera at 30 fps", 2, 3840, 2160, 30, 30.0, 300, kNoAnnotation},
        {"mjpeg4k-30-turned", "4K MJPEG, camera at 30 fps, turned 90 degrees", 2, 3840, 2160, 30, 30.0, 300,
         kNoAnnotation, CAM_ROTATE_90, CAM_LOOK_COLOUR},
        {"mjpeg4k-30-grey", "4K MJPEG, camera at 30 fps, grey", 2, 3840, 2160, 30, 30.0, 300, kNoAnnotation,
         CAM_ROTATE_0, CAM_LOOK_GREY},
        {"mjpeg4k-30-document", "4K MJPEG, camera at 30 fps, turned 90 degrees, document look", 2, 3840, 2160,
         30, 30.0, 300, kNoAnnotation, CAM_ROTATE_90, CAM_LOOK_DOCUMENT},
        {"mjpeg4k-30-blackwhite", "4K MJPEG, camera at 30 fps, black and white", 2, 3840, 2160, 30, 30.0, 300,
         kNoAnnotation, CAM_ROTATE_0, CAM_LOOK_BLACK_WHITE},
        {"mjpeg4k-30-hidpi", "4K MJPEG, camera at 30 fps, on a 3840x2160 screen at 200 %", 2, 3840, 2160, 30,
         30.0, 300, kNoAnnotation, CAM_ROTATE_0, CAM_LOOK_COLOUR, 2.0},
        {"mjpeg4k-30-ink", "4K MJPEG, camera at 30 fps, strokes on the layer", 2, 3840, 2160, 30, 30.0, 300,
         kStrokes},
        {"mjpeg4k-30-drag", "4K MJPEG, camera at 30 fps, a pen drag with a move every 4 ms", 2, 3840, 2160,
         30, 30.0, 150, kStrokesAndDrag},
        {"mjpeg4k-30-zoom2", "4K MJPEG, camera at 30 fps, zoomed 2x by a selection", 2, 3840, 2160, 30, 30.0,
         300, kZoomed},
        {"mjpeg4k-30-curtain", "4K MJPEG, camera at 30 fps, a curtain pulled halfway back", 2, 3840, 2160, 30,
         30.0, 300, kCurtain},
        {"mjpeg4k-30-spotlight", "4K MJPEG, camera at 30 fps, a spotlight", 2, 3840, 2160, 30, 30.0, 300,
         kSpotlight},
        {"mjpeg4k-30-wheel", "4K MJPEG, camera at 30 fps, zoomed 2x, a wheel notch in or out twice a second",
         2, 3840, 2160, 30, 30.0, 300, kWheelZoom},
        {"mjpeg4k-60", "4K MJPEG, camera at 60 fps", 2, 3840, 2160, 60, 60.0, 600, kNoAnnotation},
        {"mjpeg1080-60", "1080p MJPEG, camera at 60 fps", 2, 1920, 1080, 60, 60.0, 600, kNoAnnotation},
        {"mjpeg1080-30-control", "1080p MJPEG, camera at 30 fps, brightness moved on the Adjustment popup", 2,
         1920, 1080, 30, 30.0, 60, kControlChanges},
        {"yuy2-1080-free", "1080p YUY2, camera unthrottled", 1, 1920, 1080, 60, -1.0, 3000, kNoAnnotation},
        {"yuy2-4k-free", "4K YUY2, camera unthrottled", 1, 3840, 2160, 5, -1.0, 1000, kNoAnnotation},
    };
    return list;
}

const Scenario* findScenario(const char* name) {
    for (const Scenario& scenario : scenarios())
        if (std::strcmp(scenario.name, name) == 0)
            return &scenario;
    return nullptr;
}
