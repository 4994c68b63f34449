// SPDX-License-Identifier: GPL-3.0-or-later
// The picture tools of the bar with simulated cameras: orientation, look and the camera's controls
// remembered per camera and given back after a replug (not to another camera), the Adjustment popup
// built from what the camera offers, and Reset.
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <linux/videodev2.h>

#include "controls/noticelabel.h"
#include "liveview/camerapicturememory.h"
#include "liveview/picturetoolscontroller.h"
#include "liveview/videowidget.h"
#include "optigrab.h"
#include "optigrab_sim.h"
#include "settings/extrasettings.h"
#include "settings/readxml.h"
#include "testenvironment.h"
#include "toolbars/adjustwidget.h"
#include "toolbars/toolswidget.h"
#include "viewdriver.h"

namespace {

const OptigrabSimMode kWide[] = {{2, 1280, 720, {30, 0, 0, 0}}};

int plugCamera(const char* serial, unsigned quirks = 0) {
    OptigrabSimConfig config;
    optigrabSimDefaultConfig(&config);
    config.name = "Desk";
    config.vendorId = "fa11";
    config.productId = "0c01";
    config.serial = serial;
    config.modes = kWide;
    config.modeCount = 1;
    config.quirks = quirks;
    return optigrabSimPlug(&config);
}

// Records the size of the frames the library delivers: a quarter turn makes them tall.
class FrameSizeView : public VideoWidget {
public:
    std::atomic<long> frameWidth{0}, frameHeight{0};
    // Runs on the capture thread.
    void drawQImage(long devIndex, QImage* image, long width, long height) override {
        frameWidth = width;
        frameHeight = height;
        VideoWidget::drawQImage(devIndex, image, width, height);
    }
};

long brightnessOf(long dev) {
    long value = -1000;
    camGetControl(dev, V4L2_CID_BRIGHTNESS, &value);
    return value;
}

}  // namespace

class TestPictureTools : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    ExtraSettings m_extra;  // the configuration folder's, which every view of the suite reads

    static void press(QWidget& view, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&view, key, modifiers);
    }
    static ToolsWidget* bar(VideoWidget& view) { return view.findChild<ToolsWidget*>(); }
    static AdjustWidget* openAdjust(VideoWidget& view) {
        QTest::mouseClick(bar(view)->findChild<QToolButton*>("toolButton_adjust"), Qt::LeftButton);
        return bar(view)->findChild<AdjustWidget*>();
    }
    static const CameraPictureMemory& memory(VideoWidget& view) {
        return view.findChild<PictureToolsController*>()->memory();
    }
    // The camera's page shows: near the view's top left corner lies blank paper, not black.
    static bool showsPicture(VideoWidget& view) {
        return viewdriver::painted(view).pixelColor(view.width() / 20, view.height() / 20).lightness() > 100;
    }
    static bool promptShown(VideoWidget& view) {
        return view.findChild<QLabel*>("label_noDeviceText")->isVisible();
    }
    static NoticeLabel* notice(VideoWidget& view) { return view.findChild<NoticeLabel*>(); }
    // Whether the page shows width columns wide in the middle of the view along its middle row, black
    // beside it (a pixel either way for smoothing at the edges). The bars' row may make the view wider
    // than asked for.
    static bool pageSpans(VideoWidget& view, int width) {
        const QImage shot = viewdriver::painted(view);
        int from = -1, to = -1;
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixelColor(x, shot.height() / 2) != QColor(Qt::black)) {
                from = from < 0 ? x : from;
                to = x;
            }
        return qAbs(to - from + 1 - width) <= 2 && qAbs(from - (shot.width() - width) / 2) <= 1;
    }
    static void showView(VideoWidget& view) {
        view.resize(1280, 720);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }

private slots:
    void initTestCase() {
        const QString config = testenvironment::isolate(m_home.path());
        ReadXML* s = ReadXML::instance();
        s->language = "en";
        s->savePath = m_home.filePath("captures").toStdString();
        QVERIFY(s->writeData(config.toUtf8().constData()));
        // What an earlier run remembered about these cameras must not count.
        QFile::remove(ExtraSettings::defaultFilePath());
        m_extra.open(ExtraSettings::defaultFilePath());
        m_extra.setShowAllTools(true);
    }
    // The suites share the Configuration folder: the others expect the switch off.
    void cleanupTestCase() {
        m_extra.setShowAllTools(false);
        m_extra.remove("camera");
    }
    void init() { optigrabSimUnplugAll(); }
    void cleanup() { optigrabSimUnplugAll(); }

    void rememberedPerCamera_data() {
        QTest::addColumn<QString>("replugSerial");
        QTest::addColumn<bool>("restored");
        QTest::newRow("the same camera plugged in again") << "S1" << true;
        QTest::newRow("another camera of the same model") << "S2" << false;
    }
    void rememberedPerCamera() {
        QFETCH(QString, replugSerial);
        QFETCH(bool, restored);
        m_extra.remove("camera");
        const int id = plugCamera("S1");
        FrameSizeView view;
        showView(view);
        QTRY_COMPARE_WITH_TIMEOUT(view.frameWidth.load() > view.frameHeight.load(), true, 10000);
        press(view, Qt::Key_R);  // a quarter turn: tall frames
        press(view, Qt::Key_D);  // grey
        AdjustWidget* adjust = openAdjust(view);
        QVERIFY(adjust);
        adjust->findChild<QSlider*>(QString("control_%1").arg(V4L2_CID_BRIGHTNESS, 0, 16))->setValue(30);
        QTRY_COMPARE_WITH_TIMEOUT(view.frameWidth.load() < view.frameHeight.load(), true, 10000);
        // A turned picture keeps its shape in the wide window, not stretched across it: 405 wide in
        // the middle, black bands beside it.
        QTRY_VERIFY_WITH_TIMEOUT(pageSpans(view, 405), 10000);
        QCOMPARE(brightnessOf(0), 30L);
        // Written once the slider rests, without waiting for the camera to go.
        QTRY_COMPARE_WITH_TIMEOUT(
            m_extra.value("camera/fa11_0c01_S1/controls").toMap().value("980900").toInt(), 30, 3000);

        optigrabSimUnplug(id);
        QTRY_VERIFY_WITH_TIMEOUT(promptShown(view), 10000);
        view.frameWidth = 0;
        plugCamera(replugSerial.toUtf8().constData());
        QTRY_VERIFY_WITH_TIMEOUT(view.frameWidth.load() > 0, 10000);
        QCOMPARE(view.frameWidth.load() < view.frameHeight.load(), restored);
        QCOMPARE(brightnessOf(0), restored ? 30L : 0L);
        QCOMPARE(memory(view).look(), restored ? 1 : 0);
    }

    // The page outline is found in the camera's picture and drawn over the turned, mirrored one.
    void outlineFollowsTheTurn_data() {
        QTest::addColumn<QList<QKeySequence>>("keys");
        QTest::addColumn<QPointF>("shown");  // where the camera's (0.1, 0.2) shows
        using K = QKeySequence;
        QTest::newRow("as the camera sees it") << QList<K>{} << QPointF(0.1, 0.2);
        QTest::newRow("a quarter right") << QList<K>{K(Qt::Key_R)} << QPointF(0.8, 0.1);
        QTest::newRow("half a turn") << QList<K>{K(Qt::Key_R), K(Qt::Key_R)} << QPointF(0.9, 0.8);
        QTest::newRow("a quarter left") << QList<K>{K(Qt::SHIFT | Qt::Key_R)} << QPointF(0.2, 0.9);
        QTest::newRow("mirrored") << QList<K>{K(Qt::CTRL | Qt::Key_M)} << QPointF(0.9, 0.2);
        QTest::newRow("mirrored, a quarter right")
            << QList<K>{K(Qt::CTRL | Qt::Key_M), K(Qt::Key_R)} << QPointF(0.8, 0.9);
    }
    void outlineFollowsTheTurn() {
        QFETCH(QList<QKeySequence>, keys);
        QFETCH(QPointF, shown);
        m_extra.remove("camera");
        plugCamera("S1");
        FrameSizeView view;
        showView(view);
        QTRY_VERIFY_WITH_TIMEOUT(view.frameWidth.load() > 0, 10000);
        for (const QKeySequence& key : keys)
            QTest::keySequence(&view, key);
        const QPointF mapped = memory(view).shownFromCamera().map(QPointF(0.1, 0.2));
        QVERIFY2(QLineF(mapped, shown).length() < 1e-9,
                 qPrintable(QString("%1, %2").arg(mapped.x()).arg(mapped.y())));
    }

    void adjustmentOffersWhatTheCameraHas_data() {
        QTest::addColumn<unsigned>("quirks");
        QTest::addColumn<bool>("controls");
        QTest::newRow("document camera") << 0u << true;
        QTest::newRow("camera without controls") << unsigned(OPTIGRAB_SIM_QUIRK_NO_CONTROLS) << false;
    }
    void adjustmentOffersWhatTheCameraHas() {
        QFETCH(unsigned, quirks);
        QFETCH(bool, controls);
        plugCamera("S3", quirks);
        VideoWidget view;
        showView(view);
        AdjustWidget* adjust = openAdjust(view);
        QVERIFY(adjust);
        QVERIFY(adjust->findChild<QToolButton*>("toolButton_rotateRight")->isVisible());
        QCOMPARE(adjust->findChild<QLabel*>("label_noControls")->isVisible(), !controls);
        QCOMPARE(adjust->findChildren<QSlider*>().isEmpty(), !controls);
        QCOMPARE(bar(view)->findChild<QToolButton*>("toolButton_AFAutoFocus")->isEnabled(), controls);
        if (!controls)
            return;
        // Exposure time is greyed while exposure is automatic.
        auto* exposure =
            adjust->findChild<QSlider*>(QString("control_%1").arg(V4L2_CID_EXPOSURE_ABSOLUTE, 0, 16));
        QVERIFY(exposure && !exposure->isEnabled());
    }

    // F says that focusing began and that it ended, or that the camera cannot focus by itself.
    void focusKeyGivesNotice_data() {
        QTest::addColumn<unsigned>("quirks");
        QTest::addColumn<QStringList>("notices");
        QTest::newRow("document camera") << 0u << QStringList{"Focusing the camera", "Focused"};
        QTest::newRow("camera without controls")
            << unsigned(OPTIGRAB_SIM_QUIRK_NO_CONTROLS) << QStringList{"This camera cannot focus by itself"};
    }
    void focusKeyGivesNotice() {
        QFETCH(unsigned, quirks);
        QFETCH(QStringList, notices);
        plugCamera("S5", quirks);
        FrameSizeView view;
        showView(view);
        QTRY_VERIFY_WITH_TIMEOUT(showsPicture(view), 10000);
        press(view, Qt::Key_F);
        QVERIFY(notice(view)->isVisible());
        QCOMPARE(notice(view)->text(), notices.first());
        QTRY_COMPARE_WITH_TIMEOUT(notice(view)->text(), notices.last(), 10000);
        QVERIFY(notice(view)->isVisible());
    }

    // Reset gives the camera its own defaults, upright, and forgets what was stored for it.
    void resetForgets() {
        plugCamera("S4");
        FrameSizeView view;
        showView(view);
        QTRY_VERIFY_WITH_TIMEOUT(view.frameWidth.load() > 0, 10000);
        press(view, Qt::Key_R, Qt::ShiftModifier);
        AdjustWidget* adjust = openAdjust(view);
        QVERIFY(adjust);
        auto* focus = adjust->findChild<QCheckBox*>(QString("control_%1").arg(V4L2_CID_FOCUS_AUTO, 0, 16));
        focus->click();  // manual focus: focus position becomes settable
        auto* position =
            adjust->findChild<QSlider*>(QString("control_%1").arg(V4L2_CID_FOCUS_ABSOLUTE, 0, 16));
        QVERIFY(position->isEnabled());
        adjust->findChild<QSlider*>(QString("control_%1").arg(V4L2_CID_BRIGHTNESS, 0, 16))->setValue(-20);
        QTRY_COMPARE_WITH_TIMEOUT(view.frameWidth.load() < view.frameHeight.load(), true, 10000);
        QTest::mouseClick(adjust->findChild<QPushButton*>("pushButton_reset"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(view.frameWidth.load() > view.frameHeight.load(), true, 10000);
        QCOMPARE(brightnessOf(0), 0L);
        long automatic = 0;
        QCOMPARE(camGetControl(0, V4L2_CID_FOCUS_AUTO, &automatic), long(CAM_OK));
        QCOMPARE(automatic, 1L);
        QVERIFY(!position->isEnabled());
        QVERIFY(!m_extra.value("camera/fa11_0c01_S4/controls").isValid());
        QVERIFY(!m_extra.value("camera/fa11_0c01_S4/rotation").isValid());
    }
};

QTEST_MAIN(TestPictureTools)
#include "tst_picturetools.moc"
