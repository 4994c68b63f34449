// SPDX-License-Identifier: GPL-3.0-or-later
// The device list as a caller sees it: names, ids, media types, sizes and rates of simulated cameras,
// bounded text output, nearest-mode opening, hot-plug reports, and the codes of refused calls.
#include <QtTest>

#include <functional>

#include "testsupport.h"

Q_DECLARE_METATYPE(std::function<long(long)>)

namespace {

// Camera B lists its modes out of order, as a driver may; the library must sort them.
const OptigrabSimMode kModesB[] = {
    {1, 640, 480, {30, 15, 0, 0}},   {2, 1280, 720, {15, 30, 0, 0}}, {3, 320, 240, {10, 0, 0, 0}},
    {2, 1920, 1080, {5, 30, 15, 0}}, {1, 1280, 720, {10, 0, 0, 0}},  {2, 1280, 960, {30, 0, 0, 0}},
    {2, 1600, 768, {30, 0, 0, 0}},
};
const char kLongName[] = "Камера для документов";  // 40 bytes: longer than a V4L2 card name
const QByteArray kLongSerial = QByteArray("Серийный-номер-").repeated(12);  // 336 bytes

using Sizes = QVector<QPair<long, long>>;
using Rates = QVector<long>;

bool autoCapture(long) {
    return true;
}

}  // namespace

class EnumerationTest : public QObject {
    Q_OBJECT

    long base_ = 0;  // index of camera A: real cameras, if any, come first
    int idA_ = -1, idB_ = -1;

    QByteArray text(std::function<long(char*)> call, long* result = nullptr, int size = 512) {
        QByteArray buffer(size, '\0');
        long r = call(buffer.data());
        if (result)
            *result = r;
        return QByteArray(buffer.constData());
    }

private slots:
    void initTestCase() {
        long count = -1;
        QCOMPARE(camGetDevCount(&count), long(CAM_ERR_NOT_INITIALISED));
        idA_ = plugCamera("Doc Cam A", "1234", "abcd", "SN-A");
        idB_ = plugCamera(kLongName, "0bda", "5801", kLongSerial.constData(), kModesB,
                          int(sizeof kModesB / sizeof kModesB[0]));
        QVERIFY(idA_ >= 0 && idB_ >= 0);
        QCOMPARE(camInitCameraLib(), long(CAM_OK));
        QCOMPARE(camRegCallBackDeviceChange(0, &ChangeRecorder::callback), long(CAM_OK));
        QCOMPARE(camGetDevCount(&count), long(CAM_OK));
        QVERIFY(count >= 2);
        base_ = count - optigrabSimCount();
    }

    void cleanupTestCase() { QCOMPARE(camUnInitCameraLib(), long(CAM_OK)); }

    void namesAndIds_data() {
        QTest::addColumn<long>("offset");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("vid");
        QTest::addColumn<QString>("pid");
        QTest::addRow("camera A") << 0L << "Doc Cam A"
                                  << "1234"
                                  << "abcd";
        QTest::addRow("camera B, name cut by the driver") << 1L << kLongName << "0bda"
                                                          << "5801";
    }
    void namesAndIds() {
        QFETCH(long, offset);
        QFETCH(QString, name);
        QFETCH(QString, vid);
        QFETCH(QString, pid);
        const long dev = base_ + offset;
        QByteArray gotName = text([&](char* b) { return camGetDevName(dev, b); });
        // A name cut to the driver's field width still ends on a whole character.
        QCOMPARE(QString::fromUtf8(gotName).toUtf8(), gotName);
        QVERIFY2(!gotName.isEmpty() && name.startsWith(QString::fromUtf8(gotName)), gotName.constData());
        if (name.toUtf8().size() < 31)
            QCOMPARE(QString::fromUtf8(gotName), name);

        // Ids: the caller may hand 40 bytes; no more than 10 may be written.
        QByteArray buffer(40, 'x');
        QCOMPARE(camGetDevVid(dev, buffer.data()), long(CAM_OK));
        QCOMPARE(QString::fromUtf8(buffer.constData()), vid);
        QCOMPARE(buffer.mid(10), QByteArray(30, 'x'));
        buffer.fill('x');
        QCOMPARE(camGetDevPid(dev, buffer.data()), long(CAM_OK));
        QCOMPARE(QString::fromUtf8(buffer.constData()), pid);
    }

    void serialIsCutOnACharacterBoundary() {
        QByteArray buffer(300, '\x7f');
        QCOMPARE(camGetDevSN(base_ + 1, buffer.data()), long(CAM_OK));
        const QByteArray got(buffer.constData());
        QVERIFY(got.size() <= 255);
        QVERIFY(got.size() >= 250);  // filled, not given up
        QCOMPARE(QString::fromUtf8(got).toUtf8(), got);
        QVERIFY(kLongSerial.startsWith(got));
        QCOMPARE(buffer.mid(256), QByteArray(44, '\x7f'));
        QCOMPARE(text([&](char* b) { return camGetDevSN(base_, b); }), QByteArray("SN-A"));
    }

    void mediaTypesSizesAndRates_data() {
        QTest::addColumn<long>("offset");
        QTest::addColumn<long>("code");
        QTest::addColumn<long>("mediaIndex");
        QTest::addColumn<Sizes>("sizes");
        QTest::addColumn<QVector<Rates>>("rates");  // per size; empty = not checked
        QTest::addRow("A MJPG: document camera sizes")
            << 0L << 2L << 0L << Sizes{{3840, 2160}, {1920, 1080}, {1280, 720}, {640, 480}}
            << QVector<Rates>{{30, 15, 5}, {30, 15, 5}, {30, 15, 5}, {30, 15, 5}};
        QTest::addRow("B MJPG first although listed second, equal areas by width")
            << 1L << 2L << 0L << Sizes{{1920, 1080}, {1600, 768}, {1280, 960}, {1280, 720}}
            << QVector<Rates>{{30, 15, 5}, {30}, {30}, {30, 15}};
        QTest::addRow("B YUY2 second")
            << 1L << 1L << 1L << Sizes{{1280, 720}, {640, 480}} << QVector<Rates>{{10}, {30, 15}};
        QTest::addRow("B NV12 last") << 1L << 3L << 2L << Sizes{{320, 240}} << QVector<Rates>{{10}};
    }
    void mediaTypesSizesAndRates() {
        QFETCH(long, offset);
        QFETCH(long, code);
        QFETCH(long, mediaIndex);
        QFETCH(Sizes, sizes);
        QFETCH(QVector<Rates>, rates);
        const long dev = base_ + offset;
        long type = 0;
        QCOMPARE(camGetMediaType(dev, mediaIndex, &type), long(CAM_OK));
        QCOMPARE(type, code);
        const char* names[] = {"", "YUY2", "MJPG", "NV12"};
        QCOMPARE(text([&](char* b) { return camGetMediaTypeName(dev, mediaIndex, b); }, nullptr, 256),
                 QByteArray(names[code]));
        long count = 0;
        QCOMPARE(camGetResolutionCount(dev, code, &count), long(CAM_OK));
        Sizes got;
        for (long i = 0; i < count; ++i) {
            long w = 0, h = 0;
            QCOMPARE(camGetResolution(dev, code, i, &w, &h), long(CAM_OK));
            got.append({w, h});
        }
        QCOMPARE(got, sizes);
        for (int s = 0; s < sizes.size(); ++s) {
            long fpsCount = 0;
            QCOMPARE(camGetFPSCount(dev, code, sizes[s].first, sizes[s].second, &fpsCount), long(CAM_OK));
            Rates gotRates;
            for (long i = 0; i < fpsCount; ++i) {
                long fps = 0;
                QCOMPARE(camGetFPS(dev, code, sizes[s].first, sizes[s].second, i, &fps), long(CAM_OK));
                gotRates.append(fps);
            }
            QCOMPARE(gotRates, rates[s]);
        }
    }

    void defaultCameraOffersMjpgThenYuy2() {
        long count = 0, type = 0;
        QCOMPARE(camGetMediaTypeCount(base_, &count), long(CAM_OK));
        QCOMPARE(count, 2L);
        QCOMPARE(camGetMediaType(base_, 1, &type), long(CAM_OK));
        QCOMPARE(type, 1L);
        QCOMPARE(camGetMediaTypeCount(base_ + 1, &count), long(CAM_OK));
        QCOMPARE(count, 3L);
    }

    void nearestModeIsOpened_data() {
        QTest::addColumn<long>("code");
        QTest::addColumn<long>("width");
        QTest::addColumn<long>("height");
        QTest::addColumn<long>("fps");
        QTest::addColumn<QVector<long>>("expected");  // code, width, height, fps
        QTest::addRow("exact, highest rate")
            << 2L << 1920L << 1080L << 0L << QVector<long>{2, 1920, 1080, 30};
        QTest::addRow("near size") << 2L << 1900L << 1000L << 0L << QVector<long>{2, 1920, 1080, 30};
        QTest::addRow("chosen rate") << 2L << 1280L << 720L << 15L << QVector<long>{2, 1280, 720, 15};
        QTest::addRow("rate not offered") << 2L << 1920L << 1080L << 7L << QVector<long>{2, 1920, 1080, 5};
        QTest::addRow("size of another type") << 3L << 1280L << 720L << 0L << QVector<long>{3, 320, 240, 10};
        QTest::addRow("unknown type: first type")
            << 99L << 640L << 480L << 0L << QVector<long>{2, 1280, 720, 30};
        QTest::addRow("no size given") << 1L << 0L << 0L << 0L << QVector<long>{1, 640, 480, 30};
    }
    void nearestModeIsOpened() {
        QFETCH(long, code);
        QFETCH(long, width);
        QFETCH(long, height);
        QFETCH(long, fps);
        QFETCH(QVector<long>, expected);
        const long dev = base_ + 1;
        QCOMPARE(camOpenDev(dev, code, width, height, fps), long(CAM_OK));
        long c = 0, w = 0, h = 0, f = 0;
        QCOMPARE(camGetCurPreviewResolution(dev, &c, &w, &h, &f), long(CAM_OK));
        QCOMPARE((QVector<long>{c, w, h, f}), expected);
        QCOMPARE(camCloseDev(dev), long(CAM_OK));
    }

    void reopeningRestartsInTheNewMode() {
        const long dev = base_ + 1;
        QCOMPARE(camOpenDev(dev, 2, 1920, 1080, 0), long(CAM_OK));
        QCOMPARE(camOpenDev(dev, 1, 640, 480, 15), long(CAM_OK));
        long c = 0, w = 0, h = 0, f = 0;
        QCOMPARE(camGetCurPreviewResolution(dev, &c, &w, &h, &f), long(CAM_OK));
        QCOMPARE((QVector<long>{c, w, h, f}), (QVector<long>{1, 640, 480, 15}));
        QCOMPARE(camCloseDev(dev), long(CAM_OK));
        QCOMPARE(camCloseDev(dev), long(CAM_ERR_NOT_OPEN));
    }

    void refusedCallsSayWhy_data() {
        QTest::addColumn<std::function<long(long)>>("call");  // takes camera A's index
        QTest::addColumn<long>("expected");
        static long v = 0, w = 0;  // outputs of the calls below, which run after this function returns
        static char buffer[512];
        auto add = [](const char* name, std::function<long(long)> call, long expected) {
            QTest::addRow("%s", name) << call << expected;
        };
        add(
            "index past the end", [&](long d) { return camGetDevName(d + 100, buffer); }, CAM_ERR_BAD_INDEX);
        add(
            "negative index", [&](long) { return camGetMediaTypeCount(-1, &v); }, CAM_ERR_BAD_INDEX);
        add(
            "media index", [&](long d) { return camGetMediaType(d, 5, &v); }, CAM_ERR_BAD_INDEX);
        add(
            "code not offered", [&](long d) { return camGetResolutionCount(d, 3, &v); },
            CAM_ERR_BAD_ARGUMENT);
        add(
            "size not offered", [&](long d) { return camGetFPSCount(d, 2, 1000, 1000, &v); },
            CAM_ERR_BAD_ARGUMENT);
        add(
            "rate index", [&](long d) { return camGetFPS(d, 2, 640, 480, 3, &v); }, CAM_ERR_BAD_INDEX);
        add(
            "null output", [&](long d) { return camGetDevCount(nullptr) + 0 * d; }, CAM_ERR_BAD_ARGUMENT);
        add(
            "null size output", [&](long d) { return camGetResolution(d, 2, 0, nullptr, &w); },
            CAM_ERR_BAD_ARGUMENT);
        add(
            "quality 0", [&](long d) { return camSetImageJPGQuanlity(d, 0); }, CAM_ERR_BAD_ARGUMENT);
        add(
            "quality 101", [&](long d) { return camSetImageJPGQuanlity(d, 101); }, CAM_ERR_BAD_ARGUMENT);
        add(
            "dpi 0", [&](long d) { return camSetImageDPI(d, 0, 300); }, CAM_ERR_BAD_ARGUMENT);
        add(
            "not open: resolution", [&](long d) { return camGetCurPreviewResolution(d, &v, &v, &v, &v); },
            CAM_ERR_NOT_OPEN);
        add(
            "not open: pause", [&](long d) { return camPause(d, 1); }, CAM_ERR_NOT_OPEN);
        add(
            "not open: close", [&](long d) { return camCloseDev(d); }, CAM_ERR_NOT_OPEN);
        add(
            "not open: capture", [&](long d) { return camCaptureImageFile(d, "/tmp/optigrab-never.jpg"); },
            CAM_ERR_NOT_OPEN);
        add(
            "light", [&](long d) { return camSetLightCtrl(d, 0, 1); }, CAM_ERR_NOT_SUPPORTED);
        add(
            "zoom in", [&](long d) { return camZooIn(d); }, CAM_ERR_NOT_SUPPORTED);
        add(
            "zoom out", [&](long d) { return camZoomOut(d); }, CAM_ERR_NOT_SUPPORTED);
        add(
            "original", [&](long d) { return camOriginalPreview(d); }, CAM_ERR_NOT_SUPPORTED);
        add(
            "not open: record",
            [&](long d) { return camStartUVCRecord(int(d), 0, 0, "/tmp/optigrab-never.jpg"); },
            CAM_ERR_NOT_OPEN);
        add(
            "stop record never started", [&](long d) { return camStopUVCRecord(int(d)); }, CAM_ERR_NOT_OPEN);
        add(
            "crop of several pages", [&](long d) { return camSetImageAutoCrop(d, 2); },
            CAM_ERR_NOT_SUPPORTED);
        add(
            "unknown crop type", [&](long d) { return camSetImageAutoCrop(d, 7); }, CAM_ERR_BAD_ARGUMENT);
        add(
            "rotate 1 degree", [&](long d) { return camSetImageRotateMode(d, 1); }, CAM_ERR_BAD_ARGUMENT);
        add(
            "unknown look", [&](long d) { return camSetImageColorStyle(d, 9); }, CAM_ERR_BAD_ARGUMENT);
        add(
            "adjust", [&](long d) { return camSetImageAdjust(d, 1); }, CAM_ERR_NOT_SUPPORTED);
        add(
            "unknown offset type", [&](long d) { return camSetImageOffsetCorrection(d, 2); },
            CAM_ERR_BAD_ARGUMENT);
        add(
            "unknown border type", [&](long d) { return camSetImageFillBorder(d, -1); },
            CAM_ERR_BAD_ARGUMENT);
        add(
            "not open: page corners",
            [&](long d) {
                long c[8], f;
                return camGetPageCorners(d, c, &f);
            },
            CAM_ERR_NOT_OPEN);
        add(
            "not open: is book",
            [&](long d) {
                long b;
                return camCaptureIsBook(d, &b);
            },
            CAM_ERR_NOT_OPEN);
        add(
            "denoise", [&](long d) { return camSetImageDenoise(d, true); }, CAM_ERR_NOT_SUPPORTED);
        add(
            "sign", [&](long d) { return camSetImageFileSign(d, true); }, CAM_ERR_NOT_SUPPORTED);
        add(
            "watermark",
            [&](long d) { return camSetImageWaterMark(d, "x", 0, 12, "", 0, 0, 0, 255, 0, 0, 1, 0.0, 1.0); },
            CAM_ERR_NOT_SUPPORTED);
        add(
            "book without a page mask",
            [&](long d) { return camCaptureBookEx(d, "/tmp/a.jpg", "/tmp/b.jpg", nullptr); },
            CAM_ERR_BAD_ARGUMENT);
        add(
            "not open: book",
            [&](long d) {
                int mask = 0;
                return camCaptureBookEx(d, "/tmp/optigrab-never.jpg", "/tmp/b.jpg", &mask);
            },
            CAM_ERR_NOT_OPEN);
        add(
            "auto capture without callback",
            [&](long d) { return camStartAutoCapture(d, 1, 1, nullptr, false); }, CAM_ERR_BAD_ARGUMENT);
        add(
            "auto capture holding 50 ms",
            [&](long d) { return camStartAutoCapture(d, 2, 50, autoCapture, true); }, CAM_ERR_BAD_ARGUMENT);
        add(
            "auto capture of unknown type",
            [&](long d) { return camStartAutoCapture(d, 0, 1, autoCapture, true); }, CAM_ERR_BAD_ARGUMENT);
        add(
            "pause auto before start", [&](long d) { return camPauseAutoCapture(d, 1); }, CAM_ERR_NOT_OPEN);
        add(
            "stop auto before start", [&](long d) { return camStopAutoCapture(d); }, CAM_ERR_NOT_OPEN);
    }
    void refusedCallsSayWhy() {
        QFETCH(std::function<long(long)>, call);
        QFETCH(long, expected);
        QCOMPARE(call(base_), expected);
        QVERIFY(QByteArray(camErrorText(expected)).size() > 3);
        QVERIFY(!QFile::exists("/tmp/optigrab-never.jpg"));
    }

    void hotplugReportsIndicesAndKeepsTheList() {
        QVERIFY(settled());
        ChangeRecorder::instance().take();
        long before = 0;
        QCOMPARE(camGetDevCount(&before), long(CAM_OK));
        const int idC = plugCamera("Camera C", "1111", "2222", "SN-C");
        QVERIFY(settled());
        auto events = ChangeRecorder::instance().take();
        QCOMPARE(events.size(), std::size_t(1));
        QCOMPARE(events[0].first, USB_DEVICE_CHANGE_ADD);
        QCOMPARE(events[0].second, before);  // where it will be after a rescan
        char name[512];
        QCOMPARE(camGetDevName(before, name), long(CAM_ERR_BAD_INDEX));  // the caller's list is unchanged

        long after = 0;
        QCOMPARE(camGetDevCount(&after), long(CAM_OK));
        QCOMPARE(after, before + 1);
        QCOMPARE(text([&](char* b) { return camGetDevName(before, b); }), QByteArray("Camera C"));

        // Camera B gone: its index reports REMOVE once and answers "gone" until the next rescan, while
        // camera C keeps its index.
        QCOMPARE(optigrabSimUnplug(idB_), 0);
        QVERIFY(settled());
        events = ChangeRecorder::instance().take();
        QCOMPARE(events.size(), std::size_t(1));
        QCOMPARE(events[0].first, USB_DEVICE_CHANGE_REMOVE);
        QCOMPARE(events[0].second, base_ + 1);
        QCOMPARE(camGetDevName(base_ + 1, name), long(CAM_ERR_DEVICE_GONE));
        QCOMPARE(text([&](char* b) { return camGetDevName(before, b); }), QByteArray("Camera C"));
        QCOMPARE(camGetDevCount(&after), long(CAM_OK));
        QCOMPARE(after, before);
        QCOMPARE(text([&](char* b) { return camGetDevName(base_ + 1, b); }), QByteArray("Camera C"));
        optigrabSimUnplug(idC);
    }
};

QTEST_GUILESS_MAIN(EnumerationTest)
#include "tst_enumeration.moc"
