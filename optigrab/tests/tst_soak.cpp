// SPDX-License-Identifier: GPL-3.0-or-later
// Long runs of what goes wrong in a lesson: cameras unplugged while streaming, damaged frames mixed
// into a stream, stills written where they cannot be. Each prints its figures; CTest runs small
// sizes, PAGELUX_SOAK_FULL=1 (scripts/soak) the full ones.
#include <QtTest>

#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <csignal>

#include "testsupport.h"

namespace {

const OptigrabSimMode kSmallMjpeg[] = {{2, 320, 240, {30, 0, 0, 0}}};

bool fullSize() {
    return qEnvironmentVariableIntValue("PAGELUX_SOAK_FULL") == 1;
}

int entriesIn(const char* folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size();
}

// Frames as the viewer gets them, each looked at: a page is mostly paper with some ink, a damaged
// frame that got through would be grey blocks or noise.
struct PageWatcher {
    std::mutex mutex;  // guards the counts
    long frames = 0;
    long notAPage = 0;

    static PageWatcher& instance() {
        static PageWatcher watcher;
        return watcher;
    }
    static bool callback(unsigned char* frame, long, long, long size, void*) {
        double light = 0, dark = 0;
        lightAndDark(std::vector<unsigned char>(frame, frame + size), &light, &dark);
        std::lock_guard<std::mutex> lock(instance().mutex);
        ++instance().frames;
        if (light < 0.5 || dark < 0.002)
            ++instance().notAPage;
        return true;
    }
    long count() {
        std::lock_guard<std::mutex> lock(mutex);
        return frames;
    }
};

// Drops or restores, for the calling thread only, the capabilities that let root write anywhere, so
// that a read-only folder is read-only for this test also when it runs as root.
bool setFileOverride(bool on) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
        const unsigned bit = 1u << (cap % 32);
        if (on)
            data[cap / 32].effective |= data[cap / 32].permitted & bit;
        else
            data[cap / 32].effective &= ~bit;
    }
    return syscall(SYS_capset, &header, data) == 0;
}

}  // namespace

class SoakTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QCOMPARE(camInitCameraLib(), long(CAM_OK));
        QCOMPARE(camRegCallBackDeviceChange(0, &ChangeRecorder::callback), long(CAM_OK));
    }
    void cleanupTestCase() { camUnInitCameraLib(); }
    void cleanup() {
        optigrabSimUnplugAll();
        QVERIFY(waitFor([] {
            long count = -1;
            return camGetDevCount(&count) == CAM_OK && count == 0;
        }));
        ChangeRecorder::instance().take();
    }

    // Plug, stream, close or not, unplug: no crash, no frame callback after close or after the
    // REMOVE report, and nothing left behind (descriptors, threads).
    void plugAndUnplugWhileStreaming() {
        const int cycles = fullSize() ? 1000 : 100;
        auto& frames = FrameRecorder::instance();
        auto& changes = ChangeRecorder::instance();
        int fdsBefore = 0, threadsBefore = 0;
        long callbacksAfterClose = 0, callbacksAfterRemove = 0, framesSeen = 0;
        QElapsedTimer timer;
        // Cycle 0 warms up (the frame cycle of the mode is encoded once, lazily started threads);
        // the counts are taken after it.
        for (int cycle = 0; cycle <= cycles; ++cycle) {
            if (cycle == 1) {
                fdsBefore = entriesIn("/proc/self/fd");
                threadsBefore = entriesIn("/proc/self/task");
                timer.start();
            }
            frames.reset();
            const int id = plugCamera("Soak Cam", "1234", "5678", "SOAK", kSmallMjpeg, 1, -1);
            QVERIFY(waitFor([&] { return changes.size() >= 1; }));
            QCOMPARE(changes.take().front().first, USB_DEVICE_CHANGE_ADD);
            long count = 0;
            QCOMPARE(camGetDevCount(&count), long(CAM_OK));
            QCOMPARE(count, 1L);
            QCOMPARE(camRegCallBackPreviewImage(0, &FrameRecorder::callback), long(CAM_OK));
            QCOMPARE(camOpenDev(0, 2, 320, 240, 0), long(CAM_OK));
            QVERIFY(waitFor([&] { return frames.count() >= 2; }));
            if (cycle % 2 == 1) {  // every other cycle closes before the camera goes
                QCOMPARE(camCloseDev(0), long(CAM_OK));
                const long atClose = frames.count();
                QVERIFY(!frames.inside);
                QThread::msleep(2);
                callbacksAfterClose += frames.count() - atClose;
            }
            QCOMPARE(optigrabSimUnplug(id), 0);
            QVERIFY(waitFor([&] { return changes.size() >= 1; }));
            QCOMPARE(changes.take().front().first, USB_DEVICE_CHANGE_REMOVE);
            QThread::msleep(1);
            {
                std::lock_guard<std::mutex> lock(frames.mutex);
                callbacksAfterRemove += frames.framesAfterRemove;
                framesSeen += frames.frames;
            }
            QCOMPARE(camGetDevCount(&count), long(CAM_OK));
            QCOMPARE(count, 0L);
        }
        const int fdsAfter = entriesIn("/proc/self/fd"), threadsAfter = entriesIn("/proc/self/task");
        qInfo(
            "soak: %d plug/unplug cycles while streaming in %.1f s: %ld frames, %ld callbacks after close, "
            "%ld after REMOVE; descriptors %d -> %d, threads %d -> %d",
            cycles, timer.elapsed() / 1000.0, framesSeen, callbacksAfterClose, callbacksAfterRemove,
            fdsBefore, fdsAfter, threadsBefore, threadsAfter);
        QCOMPARE(callbacksAfterClose, 0L);
        QCOMPARE(callbacksAfterRemove, 0L);
        QCOMPARE(fdsAfter, fdsBefore);
        QCOMPARE(threadsAfter, threadsBefore);
    }

    // Damaged frames of every kind mixed into a stream: the stream goes on, no damaged frame reaches
    // the picture, and a still taken afterwards is the last good frame.
    void damagedFramesInAStream() {
        const long total = fullSize() ? 10000 : 2000;
        const int kinds[] = {OPTIGRAB_SIM_FAULT_CORRUPT, OPTIGRAB_SIM_FAULT_TRUNCATED,
                             OPTIGRAB_SIM_FAULT_EMPTY};
        const int batch = 50;
        auto& pages = PageWatcher::instance();
        const int id = plugCamera("Noisy Cam", "1234", "5679", "NOISY", kSmallMjpeg, 1, -1);
        long count = 0;
        QCOMPARE(camGetDevCount(&count), long(CAM_OK));
        QCOMPARE(camRegCallBackPreviewImage(0, &PageWatcher::callback), long(CAM_OK));
        QCOMPARE(camOpenDev(0, 2, 320, 240, 0), long(CAM_OK));
        QVERIFY(waitFor([&] { return pages.count() >= 3; }));

        QElapsedTimer timer;
        timer.start();
        const long cameraBefore = optigrabSimFramesDelivered(id), shownBefore = pages.count();
        long injected = 0;
        for (int round = 0; injected < total; ++round) {
            const long before = optigrabSimFramesDelivered(id);
            QCOMPARE(optigrabSimInjectFault(id, kinds[round % 3], batch), 0);
            injected += batch;
            // The faults take the camera's next frames; two more are good ones.
            QVERIFY(waitFor([&] { return optigrabSimFramesDelivered(id) >= before + batch + 2; }));
        }
        const long shownAfterFaults = pages.count();
        QVERIFY(waitFor([&] { return pages.count() >= shownAfterFaults + 10; }));  // the stream goes on
        const long fromCamera = optigrabSimFramesDelivered(id) - cameraBefore;
        const long shown = pages.count() - shownBefore;
        qInfo(
            "soak: %ld damaged frames (corrupt, truncated, empty in turns of %d) in %.1f s: the camera sent "
            "%ld frames, %ld were shown, %ld shown frames were not a page",
            injected, batch, timer.elapsed() / 1000.0, fromCamera, shown, pages.notAPage);
        QCOMPARE(pages.notAPage, 0L);
        QVERIFY(shown <= fromCamera - injected + 8);  // a few frames were on their way at the start

        QTemporaryDir dir;
        const QString still = dir.filePath("after-faults.jpg");
        QCOMPARE(optigrabSimInjectFault(id, OPTIGRAB_SIM_FAULT_CORRUPT, batch), 0);
        QCOMPARE(camCaptureImageFile(0, still.toUtf8().constData()), long(CAM_OK));
        std::vector<unsigned char> rgb;
        const QImage image = QImage(still).convertToFormat(QImage::Format_RGB888);
        QCOMPARE(image.size(), QSize(320, 240));
        rgb.assign(image.constBits(), image.constBits() + image.sizeInBytes());
        double light = 0, dark = 0;
        lightAndDark(rgb, &light, &dark);
        QVERIFY2(light > 0.5 && dark > 0.002, qPrintable(QString("light %1 dark %2").arg(light).arg(dark)));
        QCOMPARE(camCloseDev(0), long(CAM_OK));
    }

    // A still that cannot be written leaves an error code and nothing in the folder: no partial
    // file under the name, no temporary file beside it.
    void stillsWhereTheyCannotBeWritten_data() {
        QTest::addColumn<QString>("place");
        QTest::newRow("full file system") << "full";
        QTest::newRow("read-only folder") << "read-only";
        QTest::newRow("name taken by a folder") << "folder";
    }
    void stillsWhereTheyCannotBeWritten() {
        QFETCH(QString, place);
        const int id = plugCamera("Still Cam", "1234", "567a", "STILL", kSmallMjpeg, 1, -1);
        Q_UNUSED(id);
        long count = 0;
        QCOMPARE(camGetDevCount(&count), long(CAM_OK));
        QCOMPARE(camOpenDev(0, 2, 320, 240, 0), long(CAM_OK));
        QTemporaryDir dir;
        const QString target = dir.filePath("page_00001.jpg");
        QVERIFY(
            waitFor([&] { return camCaptureImageFile(0, qPrintable(dir.filePath("probe.jpg"))) == CAM_OK; }));
        QVERIFY(QFile::remove(dir.filePath("probe.jpg")));

        long result = CAM_OK;
        if (place == "full") {
            // The file system fills up after 16 KiB of the still (about 60 KiB): writes fail with
            // EFBIG as they would with ENOSPC.
            rlimit saved{};
            getrlimit(RLIMIT_FSIZE, &saved);
            const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
            rlimit small = saved;
            small.rlim_cur = 16 * 1024;
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
            result = camCaptureImageFile(0, qPrintable(target));
            setrlimit(RLIMIT_FSIZE, &saved);
            std::signal(SIGXFSZ, oldHandler);
        } else if (place == "read-only") {
            QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
            QVERIFY(setFileOverride(false));
            result = camCaptureImageFile(0, qPrintable(target));
            QVERIFY(setFileOverride(true));
            QVERIFY(
                QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        } else {
            QVERIFY(QDir(dir.path()).mkdir("page_00001.jpg"));
            result = camCaptureImageFile(0, qPrintable(target));
        }
        qInfo("soak: still into a %s: %s", QTest::currentDataTag(), camErrorText(result));
        QCOMPARE(result, long(CAM_ERR_FILE));
        const QStringList left =
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        QCOMPARE(left, place == "folder" ? QStringList{"page_00001.jpg"} : QStringList());
        QCOMPARE(QFileInfo(target).isFile(), false);

        // Once the folder can take it, the same capture works.
        if (place == "folder")
            QVERIFY(QDir(dir.path()).rmdir("page_00001.jpg"));
        QCOMPARE(camCaptureImageFile(0, qPrintable(target)), long(CAM_OK));
        QCOMPARE(QImage(target).size(), QSize(320, 240));
        QCOMPARE(camCloseDev(0), long(CAM_OK));
    }
};

QTEST_GUILESS_MAIN(SoakTest)
#include "tst_soak.moc"
