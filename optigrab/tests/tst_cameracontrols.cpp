// SPDX-License-Identifier: GPL-3.0-or-later
// The camera's own controls on simulated UVC document cameras: listed with their ranges and states,
// set and refused with the right codes, and seen in the picture (levels, focus blur, flicker bands).
#include <QtTest>

#include <linux/videodev2.h>

#include <cmath>

#include "testsupport.h"

namespace {

const OptigrabSimMode kModes[] = {{2, 640, 480, {30, 0, 0, 0}}};

// A fresh camera with quirks; returns its index after the rescan.
long plugFresh(unsigned quirks) {
    OptigrabSimConfig config;
    optigrabSimDefaultConfig(&config);
    config.name = "Controls Cam";
    config.vendorId = "1234";
    config.productId = "0c0c";
    config.modes = kModes;
    config.modeCount = 1;
    config.quirks = quirks;
    if (optigrabSimPlug(&config) < 0)
        return -1;
    long count = 0;
    camGetDevCount(&count);
    return count - 1;
}

bool findControl(long dev, unsigned id, CamControlInfo* info) {
    long count = 0;
    if (camGetControlCount(dev, &count) != CAM_OK)
        return false;
    for (long i = 0; i < count; ++i)
        if (camGetControlInfo(dev, i, info) == CAM_OK && info->id == id)
            return true;
    return false;
}

struct PictureMeasure {
    double mean = 0;       // average level
    double warmth = 0;     // average red minus average blue
    double detail = 0;     // average difference between neighbours: falls when blurred
    double rowSpread = 0;  // how much the rows' averages differ from the page's own: bands
    std::vector<double> rows;
};

// The latest preview frame, measured against the rows of an earlier one (none: no spread).
PictureMeasure measureLastFrame(const std::vector<double>& baselineRows = {}) {
    FrameRecorder& r = FrameRecorder::instance();
    std::lock_guard<std::mutex> lock(r.mutex);
    PictureMeasure m;
    const int width = int(r.width), height = int(r.height);
    m.rows.assign(height, 0);
    int previous = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned char* rgb = &r.last[3 * (std::size_t(y) * width + x)];
            const int v = (rgb[0] * 299 + rgb[1] * 587 + rgb[2] * 114) / 1000;
            m.mean += v;
            m.warmth += rgb[0] - rgb[2];
            m.rows[y] += v / double(width);
            if (x > 0)
                m.detail += std::abs(v - previous);
            previous = v;
        }
    const double pixels = std::max(1.0, double(width) * height);
    m.mean /= pixels;
    m.warmth /= pixels;
    m.detail /= pixels;
    for (int y = 0; y < height && y < int(baselineRows.size()); ++y)
        m.rowSpread = std::max(m.rowSpread, std::abs(m.rows[y] / std::max(1.0, baselineRows[y]) - 1.0));
    return m;
}

// Waits until a few frames more have come.
bool settle() {
    const long start = FrameRecorder::instance().count();
    return waitFor([&] { return FrameRecorder::instance().count() >= start + 4; });
}

QString describe(const PictureMeasure& plain, const PictureMeasure& changed) {
    return QString("mean %1 -> %2, warmth %3 -> %4, detail %5 -> %6, row spread %7")
        .arg(plain.mean)
        .arg(changed.mean)
        .arg(plain.warmth)
        .arg(changed.warmth)
        .arg(plain.detail)
        .arg(changed.detail)
        .arg(changed.rowSpread);
}

}  // namespace

class CameraControlsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(camInitCameraLib(), long(CAM_OK)); }
    void cleanupTestCase() { QCOMPARE(camUnInitCameraLib(), long(CAM_OK)); }
    void cleanup() { optigrabSimUnplugAll(); }

    void controlsAreListed_data() {
        QTest::addColumn<unsigned>("id");
        QTest::addColumn<long>("type");
        QTest::addColumn<long>("minimum");
        QTest::addColumn<long>("maximum");
        QTest::addColumn<long>("defaultValue");
        QTest::addColumn<bool>("inactive");
        QTest::addRow("brightness") << unsigned(V4L2_CID_BRIGHTNESS) << long(CAM_CONTROL_INTEGER) << -64L
                                    << 64L << 0L << false;
        QTest::addRow("power line") << unsigned(V4L2_CID_POWER_LINE_FREQUENCY) << long(CAM_CONTROL_MENU) << 0L
                                    << 3L << 1L << false;
        QTest::addRow("exposure mode")
            << unsigned(V4L2_CID_EXPOSURE_AUTO) << long(CAM_CONTROL_MENU) << 0L << 3L << 3L << false;
        QTest::addRow("exposure time, automatic") << unsigned(V4L2_CID_EXPOSURE_ABSOLUTE)
                                                  << long(CAM_CONTROL_INTEGER) << 3L << 2047L << 250L << true;
        QTest::addRow("white balance temperature")
            << unsigned(V4L2_CID_WHITE_BALANCE_TEMPERATURE) << long(CAM_CONTROL_INTEGER) << 2800L << 6500L
            << 4600L << true;
        QTest::addRow("focus automatic")
            << unsigned(V4L2_CID_FOCUS_AUTO) << long(CAM_CONTROL_BOOLEAN) << 0L << 1L << 1L << false;
        QTest::addRow("focus, while automatic")
            << unsigned(V4L2_CID_FOCUS_ABSOLUTE) << long(CAM_CONTROL_INTEGER) << 0L << 1023L << 300L << true;
    }
    void controlsAreListed() {
        QFETCH(unsigned, id);
        QFETCH(long, type);
        QFETCH(long, minimum);
        QFETCH(long, maximum);
        QFETCH(long, defaultValue);
        QFETCH(bool, inactive);
        const long dev = plugFresh(0);
        CamControlInfo info{};
        QVERIFY(findControl(dev, id, &info));
        QCOMPARE(info.type, type);
        QCOMPARE(info.minimum, minimum);
        QCOMPARE(info.maximum, maximum);
        QCOMPARE(info.defaultValue, defaultValue);
        QCOMPARE(info.value, defaultValue);
        QCOMPARE(bool(info.flags & CAM_CONTROL_FLAG_INACTIVE), inactive);
        // Headings and buttons are no controls to show.
        QVERIFY(!findControl(dev, V4L2_CID_CAMERA_CLASS, &info));
        QVERIFY(!findControl(dev, V4L2_CID_AUTO_FOCUS_START, &info));
    }

    void menuEntriesSkipGaps() {
        const long dev = plugFresh(0);
        char name[32];
        QCOMPARE(camGetControlMenuName(dev, V4L2_CID_EXPOSURE_AUTO, 1, name), long(CAM_OK));
        QCOMPARE(QString(name), QString("Manual Mode"));
        QCOMPARE(camGetControlMenuName(dev, V4L2_CID_EXPOSURE_AUTO, 2, name), long(CAM_ERR_BAD_ARGUMENT));
        QCOMPARE(camGetControlMenuName(dev, V4L2_CID_POWER_LINE_FREQUENCY, 2, name), long(CAM_OK));
        QCOMPARE(QString(name), QString("60 Hz"));
    }

    void settingAControl_data() {
        QTest::addColumn<unsigned>("quirks");
        QTest::addColumn<unsigned>("firstId");  // set first (0: nothing)
        QTest::addColumn<long>("firstValue");
        QTest::addColumn<unsigned>("id");
        QTest::addColumn<long>("value");
        QTest::addColumn<long>("expected");
        QTest::addColumn<long>("readBack");
        const unsigned none = 0;
        QTest::addRow("in range") << none << 0u << 0L << unsigned(V4L2_CID_BRIGHTNESS) << 20L << long(CAM_OK)
                                  << 20L;
        QTest::addRow("above range") << none << 0u << 0L << unsigned(V4L2_CID_BRIGHTNESS) << 65L
                                     << long(CAM_ERR_BAD_ARGUMENT) << 0L;
        QTest::addRow("menu gap") << none << 0u << 0L << unsigned(V4L2_CID_EXPOSURE_AUTO) << 2L
                                  << long(CAM_ERR_BAD_ARGUMENT) << 3L;
        QTest::addRow("inactive: exposure is automatic")
            << none << 0u << 0L << unsigned(V4L2_CID_EXPOSURE_ABSOLUTE) << 500L << long(CAM_ERR_INACTIVE)
            << 250L;
        QTest::addRow("active once exposure is manual")
            << none << unsigned(V4L2_CID_EXPOSURE_AUTO) << 1L << unsigned(V4L2_CID_EXPOSURE_ABSOLUTE) << 500L
            << long(CAM_OK) << 500L;
        QTest::addRow("unknown control")
            << none << 0u << 0L << 0x00ABCDEFu << 1L << long(CAM_ERR_BAD_ARGUMENT) << -1L;
        QTest::addRow("driver fails") << unsigned(OPTIGRAB_SIM_QUIRK_CONTROLS_FAIL) << 0u << 0L
                                      << unsigned(V4L2_CID_BRIGHTNESS) << 20L << long(CAM_ERR_IO) << 0L;
        QTest::addRow("camera without controls")
            << unsigned(OPTIGRAB_SIM_QUIRK_NO_CONTROLS) << 0u << 0L << unsigned(V4L2_CID_BRIGHTNESS) << 20L
            << long(CAM_ERR_BAD_ARGUMENT) << -1L;
    }
    void settingAControl() {
        QFETCH(unsigned, quirks);
        QFETCH(unsigned, firstId);
        QFETCH(long, firstValue);
        QFETCH(unsigned, id);
        QFETCH(long, value);
        QFETCH(long, expected);
        QFETCH(long, readBack);
        const long dev = plugFresh(quirks);
        if (firstId)
            QCOMPARE(camSetControl(dev, firstId, firstValue), long(CAM_OK));
        QCOMPARE(camSetControl(dev, id, value), expected);
        long now = -1;
        camGetControl(dev, id, &now);
        QCOMPARE(now, readBack);
    }

    void controlsShowInThePicture_data() {
        QTest::addColumn<unsigned>("firstId");
        QTest::addColumn<long>("firstValue");
        QTest::addColumn<unsigned>("id");
        QTest::addColumn<long>("value");
        QTest::addColumn<QString>("effect");
        QTest::addRow("brighter") << 0u << 0L << unsigned(V4L2_CID_BRIGHTNESS) << 40L << "lighter";
        QTest::addRow("less contrast") << 0u << 0L << unsigned(V4L2_CID_CONTRAST) << 8L << "flatter";
        QTest::addRow("out of focus")
            << unsigned(V4L2_CID_FOCUS_AUTO) << 0L << unsigned(V4L2_CID_FOCUS_ABSOLUTE) << 900L << "blurred";
        QTest::addRow("white balance warmer")
            << unsigned(V4L2_CID_AUTO_WHITE_BALANCE) << 0L << unsigned(V4L2_CID_WHITE_BALANCE_TEMPERATURE)
            << 6500L << "warmer";
        QTest::addRow("white balance cooler")
            << unsigned(V4L2_CID_AUTO_WHITE_BALANCE) << 0L << unsigned(V4L2_CID_WHITE_BALANCE_TEMPERATURE)
            << 2800L << "cooler";
        QTest::addRow("sharpness least") << 0u << 0L << unsigned(V4L2_CID_SHARPNESS) << 0L << "softer";
        QTest::addRow("sharpness most") << 0u << 0L << unsigned(V4L2_CID_SHARPNESS) << 7L << "crisper";
        QTest::addRow("60 Hz under 50 Hz light")
            << 0u << 0L << unsigned(V4L2_CID_POWER_LINE_FREQUENCY) << 2L << "bands";
        QTest::addRow("50 Hz matches the light")
            << 0u << 0L << unsigned(V4L2_CID_POWER_LINE_FREQUENCY) << 1L << "none";
    }
    void controlsShowInThePicture() {
        QFETCH(unsigned, firstId);
        QFETCH(long, firstValue);
        QFETCH(unsigned, id);
        QFETCH(long, value);
        QFETCH(QString, effect);
        const long dev = plugFresh(0);
        FrameRecorder::instance().reset();
        QCOMPARE(camRegCallBackPreviewImage(dev, &FrameRecorder::callback), long(CAM_OK));
        QCOMPARE(camOpenDev(dev, 2, 640, 480, 30), long(CAM_OK));
        QVERIFY(settle());
        const PictureMeasure plain = measureLastFrame();
        if (firstId)
            QCOMPARE(camSetControl(dev, firstId, firstValue), long(CAM_OK));
        QCOMPARE(camSetControl(dev, id, value), long(CAM_OK));
        QVERIFY(settle());
        const PictureMeasure changed = measureLastFrame(plain.rows);
        QCOMPARE(camCloseDev(dev), long(CAM_OK));
        const QString what = describe(plain, changed);
        const bool seen = effect == "lighter"   ? changed.mean > plain.mean + 12
                          : effect == "flatter" ? changed.detail < plain.detail * 0.5
                          : effect == "blurred" ? changed.detail < plain.detail * 0.6
                          : effect == "softer"  ? changed.detail < plain.detail * 0.8
                          : effect == "crisper" ? changed.detail > plain.detail * 1.2
                          : effect == "warmer"  ? changed.warmth > plain.warmth + 20
                          : effect == "cooler"  ? changed.warmth < plain.warmth - 20
                          : effect == "bands"
                              ? changed.rowSpread > 0.2
                              : changed.rowSpread < 0.1 && std::abs(changed.mean - plain.mean) < 3;
        QVERIFY2(seen, qPrintable(what));
    }

    // A lens left out of focus by hand comes back to the page: at once by the camera's focus button,
    // or, where it has none, by a spell of continuous focus that ends as the user left it. With
    // continuous focus on the picture sharpens by itself.
    void focusAsSeen_data() {
        QTest::addColumn<unsigned>("quirks");
        QTest::addColumn<long>("supported");
        QTest::addColumn<bool>("continuous");  // the user switches continuous focus back on
        QTest::addColumn<long>("expected");
        QTest::addRow("focus button") << 0u << 1L << false << long(CAM_OK);
        QTest::addRow("spell of continuous focus")
            << unsigned(OPTIGRAB_SIM_QUIRK_NO_FOCUS_START) << 1L << false << long(CAM_OK);
        QTest::addRow("continuous focus on")
            << unsigned(OPTIGRAB_SIM_QUIRK_NO_FOCUS_START) << 1L << true << long(CAM_OK);
        QTest::addRow("no focus") << unsigned(OPTIGRAB_SIM_QUIRK_NO_CONTROLS) << 0L << false
                                  << long(CAM_ERR_NOT_SUPPORTED);
    }
    void focusAsSeen() {
        QFETCH(unsigned, quirks);
        QFETCH(long, supported);
        QFETCH(bool, continuous);
        QFETCH(long, expected);
        const long dev = plugFresh(quirks);
        long can = -1;
        QCOMPARE(camAutoFocusSupport(dev, &can), long(CAM_OK));
        QCOMPARE(can, supported);
        if (!supported) {
            QCOMPARE(camAutoFocusOnce(dev), expected);
            return;
        }
        FrameRecorder::instance().reset();
        QCOMPARE(camRegCallBackPreviewImage(dev, &FrameRecorder::callback), long(CAM_OK));
        QCOMPARE(camOpenDev(dev, 2, 640, 480, 30), long(CAM_OK));
        QVERIFY(settle());
        const PictureMeasure sharp = measureLastFrame();
        QCOMPARE(camSetControl(dev, V4L2_CID_FOCUS_AUTO, 0), long(CAM_OK));
        QCOMPARE(camSetControl(dev, V4L2_CID_FOCUS_ABSOLUTE, 900), long(CAM_OK));
        QVERIFY(settle());
        const PictureMeasure blurred = measureLastFrame();
        QVERIFY2(blurred.detail < sharp.detail * 0.6, qPrintable(describe(sharp, blurred)));
        if (continuous)
            QCOMPARE(camSetControl(dev, V4L2_CID_FOCUS_AUTO, 1), long(CAM_OK));
        QCOMPARE(camAutoFocusOnce(dev), expected);
        // Sharp again within a second, and it stays so.
        QVERIFY2(waitFor([&] { return settle() && measureLastFrame().detail > sharp.detail * 0.9; }, 1000),
                 qPrintable(describe(sharp, measureLastFrame())));
        QTest::qWait(300);
        QVERIFY(settle());
        QVERIFY2(measureLastFrame().detail > sharp.detail * 0.9,
                 qPrintable(describe(sharp, measureLastFrame())));
        long automatic = -1;
        QCOMPARE(camGetControl(dev, V4L2_CID_FOCUS_AUTO, &automatic), long(CAM_OK));
        QCOMPARE(automatic, long(continuous));
        QCOMPARE(camCloseDev(dev), long(CAM_OK));
    }
};

QTEST_GUILESS_MAIN(CameraControlsTest)
#include "tst_cameracontrols.moc"
