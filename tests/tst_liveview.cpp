// SPDX-License-Identifier: GPL-3.0-or-later
// The live picture with simulated cameras: which camera opens at start, hot-plug, switching,
// freezing, panning, and a GUI thread that falls behind the camera.
#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "liveview/videowidget.h"
#include "optigrab.h"
#include "optigrab_sim.h"
#include "settings/extrasettings.h"
#include "settings/readxml.h"
#include "settings/settingdevwidget.h"
#include "testenvironment.h"
#include "toolbars/toolswidget.h"
#include "toolbars/toolwidget_left.h"
#include "viewdriver.h"

namespace {

struct Running {
    long subtype = 0, width = 0, height = 0, fps = 0;
};

Running runningMode(long devIndex) {
    Running mode;
    camGetCurPreviewResolution(devIndex, &mode.subtype, &mode.width, &mode.height, &mode.fps);
    return mode;
}

// A capture node that offers only H.264, which the library does not list: a camera without media
// types, as the second node of some cameras is.
int plugFormatless(const char* name, const char* vendor, const char* product) {
    static const OptigrabSimMode h264{5, 1920, 1080, {30, 0, 0, 0}};
    OptigrabSimConfig config;
    optigrabSimDefaultConfig(&config);
    config.name = name;
    config.vendorId = vendor;
    config.productId = product;
    config.modes = &h264;
    config.modeCount = 1;
    return optigrabSimPlug(&config);
}

QByteArray fileContents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int plugCamera(const char* name, const char* vendor, const char* product, double frameClock = 0) {
    OptigrabSimConfig config;
    optigrabSimDefaultConfig(&config);
    config.name = name;
    config.vendorId = vendor;
    config.productId = product;
    config.frameClock = frameClock;
    return optigrabSimPlug(&config);
}

// Records the size of the frames the library delivers, which follows the view's size hint, and
// counts the frames the view has finished taking (the library hands them over one at a time).
class FrameSizeView : public VideoWidget {
public:
    std::atomic<long> frameWidth{0};
    std::atomic<long> framesTaken{0};
    // Runs on the capture thread.
    void drawQImage(long devIndex, QImage* image, long width, long height) override {
        frameWidth = width;
        VideoWidget::drawQImage(devIndex, image, width, height);
        ++framesTaken;
    }
    // Waits until count more frames have been taken: one that was being taken when a test changed
    // something has ended, and count - 1 were taken wholly after the change.
    bool framesPass(long count) {
        const long target = framesTaken + count;
        return QTest::qWaitFor([&] { return framesTaken >= target; }, 30000);
    }
};

}  // namespace

class TestLiveView : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QString m_configPath;

    void storeSettings(const QString& name, const QString& id, int format, const QString& resolution) {
        ReadXML* s = ReadXML::instance();
        s->devName = name.toStdString();
        s->devPIDVID = id.toStdString();
        s->videoFormat = format;
        s->resolution = resolution.toStdString();
        s->language = "en";
        s->savePath = m_home.filePath("captures").toStdString();
        QVERIFY(s->writeData(m_configPath.toUtf8().constData()));
    }

    static bool showsPicture(VideoWidget& view) { return viewdriver::showsPicture(view); }
    static bool promptShown(VideoWidget& view) {
        return view.findChild<QLabel*>("label_noDeviceText")->isVisible();
    }
    // The picture covers the whole view, corner to corner.
    static bool fillsView(VideoWidget& view) {
        const QImage shot = viewdriver::painted(view);
        return shot.pixel(1, 1) != qRgb(0, 0, 0) &&
               shot.pixel(shot.width() - 2, shot.height() - 2) != qRgb(0, 0, 0);
    }
    // The left bar's camera panel, opened as with its button.
    static settingDevWidget* openCameraPanel(VideoWidget& view) {
        view.findChild<ToolWidget_Left*>()->findChild<QToolButton*>("toolButton_set")->click();
        for (settingDevWidget* panel : view.findChildren<settingDevWidget*>())
            if (panel->isVisible())
                return panel;
        return nullptr;
    }
    // The names of the cameras the view knows, as its camera panel lists them.
    static QStringList listedCameras(VideoWidget& view) {
        settingDevWidget* panel = openCameraPanel(view);
        QStringList names;
        if (panel == nullptr)
            return names;
        const QComboBox* devices = panel->findChild<QComboBox*>("comboBox_device");
        for (int i = 0; i < devices->count(); ++i)
            names << devices->itemText(i);
        view.findChild<ToolWidget_Left*>()->findChild<QToolButton*>("toolButton_set")->click();  // closed
        return names;
    }
    // Which of the simulated cameras (their ids) the view opened: the one that delivers frames.
    static int openedOf(const QVector<int>& cameras) {
        QVector<long> before;
        for (int id : cameras)
            before << optigrabSimFramesDelivered(id);
        int opened = -1;
        const bool delivered = QTest::qWaitFor(
            [&] {
                for (int i = 0; i < cameras.size(); ++i)
                    if (optigrabSimFramesDelivered(cameras[i]) > before[i] + 1)
                        opened = i;
                return opened >= 0;
            },
            10000);
        return delivered ? opened : -1;
    }

    void showFullHd(VideoWidget& view) {
        view.resize(1920, 1080);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }

private slots:
    void initTestCase() { m_configPath = testenvironment::isolate(m_home.path()); }

    void init() {
        optigrabSimUnplugAll();
        storeSettings("", "", 0, "");
    }

    void cleanup() { optigrabSimUnplugAll(); }

    // K and A switch cropping and automatic capture in the camera library, with or without all tools
    // shown, and are remembered; typed into a text field they are text.
    void keysSwitchPageScanning_data() {
        QTest::addColumn<bool>("typing");
        QTest::addRow("picture has the focus") << false;
        QTest::addRow("a text field has the focus") << true;
    }
    void keysSwitchPageScanning() {
        QFETCH(bool, typing);
        plugCamera("Desk", "fa11", "0c01");
        ExtraSettings extra;
        extra.open(ExtraSettings::defaultFilePath());
        VideoWidget view(nullptr, &extra);
        showFullHd(view);
        QTRY_VERIFY_WITH_TIMEOUT(showsPicture(view), 10000);
        // From off, whatever an earlier run left in the settings file.
        if (extra.value("capture/cropPages", false).toBool())
            QTest::keyClick(&view, Qt::Key_K);
        if (extra.value("capture/autoCapture", false).toBool())
            QTest::keyClick(&view, Qt::Key_A);
        auto* field = new QLineEdit(&view);
        field->show();
        if (typing) {
            view.activateWindow();
            field->setFocus();
            QTRY_VERIFY(field->hasFocus());
        }
        const QString still = m_home.filePath("still.jpg");
        // The simulated page fills the picture: with cropping on no page lies whole, and the call says so.
        const long expectedCrop = typing ? long(CAM_OK) : long(CAM_ERR_NO_PAGE);
        for (bool on : {true, false}) {
            QTest::keyClick(typing ? static_cast<QWidget*>(field) : &view, Qt::Key_K);
            QTest::keyClick(typing ? static_cast<QWidget*>(field) : &view, Qt::Key_A);
            QCOMPARE(camCaptureImageFile(0, still.toUtf8().constData()), on ? expectedCrop : long(CAM_OK));
            long state = -1;
            QCOMPARE(camGetAutoCaptureState(0, &state), long(CAM_OK));
            QCOMPARE(state != CAM_AUTO_OFF, on && !typing);
            QCOMPARE(extra.value("capture/cropPages", false).toBool(), on && !typing);
        }
        QCOMPARE(field->text(), typing ? QString("kaka") : QString());
    }

    void firstStartOpensTheFirstCamera() {
        const QVector<int> cameras{plugCamera("Desk", "fa11", "0c01"), plugCamera("Wall", "fa11", "0c02")};
        VideoWidget view;
        showFullHd(view);
        QCOMPARE(openedOf(cameras), 0);
        QCOMPARE(listedCameras(view), QStringList({"Desk", "Wall"}));
        const Running mode = runningMode(0);
        QCOMPARE(mode.subtype, 2L);
        QCOMPARE(mode.width, 3840L);
        QCOMPARE(mode.height, 2160L);
        ReadXML* s = ReadXML::instance();
        QCOMPARE(QString::fromStdString(s->devName), QString("Desk"));
        QCOMPARE(QString::fromStdString(s->devPIDVID), QString("fa11&0c01"));
        QCOMPARE(s->videoFormat, 2);
        QCOMPARE(QString::fromStdString(s->resolution), QString("3840 x 2160"));
        QTRY_VERIFY_WITH_TIMEOUT(showsPicture(view), 10000);
        QVERIFY(!promptShown(view));
        QVERIFY(fillsView(view));
    }

    void storedCameraIsChosen_data() {
        QTest::addColumn<QString>("secondProduct");
        QTest::addColumn<QString>("storedId");
        QTest::addColumn<int>("storedFormat");
        QTest::addColumn<QString>("storedResolution");
        QTest::addColumn<int>("device");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("resolution");
        QTest::newRow("stored id matches camera 1")
            << "0c02"
            << "fa11&0c02" << 1 << "640 x 480" << 1 << 1 << "640 x 480";
        QTest::newRow("two cameras with the stored id: the later one")
            << "0c01"
            << "fa11&0c01" << 2 << "1280 x 720" << 1 << 2 << "1280 x 720";
        QTest::newRow("stored id absent: camera 0 as MJPG")
            << "0c02"
            << "dead&beef" << 1 << "1280 x 720" << 0 << 2 << "1280 x 720";
        QTest::newRow("stored resolution unreadable: the first usable one")
            << "0c02"
            << "fa11&0c02" << 2 << "large" << 1 << 2 << "3840 x 2160";
        QTest::newRow("stored id absent, another camera's resolution: camera 0's largest")
            << "0c02"
            << "dead&beef" << 2 << "1600 x 1200" << 0 << 2 << "3840 x 2160";
        QTest::newRow("a resolution the stored format does not offer: its largest")
            << "0c02"
            << "fa11&0c02" << 1 << "1920 x 1080" << 1 << 1 << "1280 x 720";
    }

    void storedCameraIsChosen() {
        QFETCH(QString, secondProduct);
        QFETCH(QString, storedId);
        QFETCH(int, storedFormat);
        QFETCH(QString, storedResolution);
        QFETCH(int, device);
        QFETCH(int, format);
        QFETCH(QString, resolution);
        const QVector<int> cameras{plugCamera("Desk", "fa11", "0c01"),
                                   plugCamera("Wall", "fa11", secondProduct.toUtf8().constData())};
        storeSettings("Somewhere", storedId, storedFormat, storedResolution);
        VideoWidget view;
        QCOMPARE(openedOf(cameras), device);
        const Running mode = runningMode(device);
        const QStringList size = resolution.split(" x ");
        QCOMPARE(mode.subtype, long(format));
        QCOMPARE(mode.width, size[0].toLong());
        QCOMPARE(mode.height, size[1].toLong());
        QCOMPARE(ReadXML::instance()->videoFormat, format);
        QCOMPARE(QString::fromStdString(ReadXML::instance()->resolution), resolution);
        QFile file(m_configPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains(QString("<videoFormat>%1</videoFormat>").arg(format).toUtf8()));
        // The settings panel shows what opened.
        settingDevWidget* panel = openCameraPanel(view);
        QVERIFY(panel != nullptr);
        QCOMPARE(panel->findChild<QComboBox*>("comboBox_resolution")->currentText(), resolution);
    }

    void plugInWhileShowingKeepsThePicture() {
        const int desk = plugCamera("Desk", "fa11", "0c01");
        VideoWidget view;
        showFullHd(view);
        QTRY_VERIFY_WITH_TIMEOUT(showsPicture(view), 10000);
        QSignalSpy hide(&view, &VideoWidget::signalHideUI);
        // The settings are refreshed from the camera list: a stale name in memory and a missing
        // file are both put right.
        ReadXML::instance()->devName = "Stale";
        QVERIFY(QFile::remove(m_configPath));
        const int wall = plugCamera("Wall", "fa11", "0c02");
        QTRY_COMPARE_WITH_TIMEOUT(hide.count(), 1, 10000);  // the view took the new camera
        QVERIFY(showsPicture(view));                        // no reopen, no black frame
        QCOMPARE(listedCameras(view), QStringList({"Desk", "Wall"}));
        QCOMPARE(hide.count(), 1);
        QCOMPARE(openedOf({desk, wall}), 0);
        QCOMPARE(runningMode(0).width, 3840L);
        QCOMPARE(QString::fromStdString(ReadXML::instance()->devName), QString("Desk"));
        QVERIFY(fileContents(m_configPath).contains("<devName>Desk</devName>"));
    }

    void sizeHintFollowsTheOpenCamera() {
        const int desk = plugCamera("Desk", "fa11", "0c01");
        FrameSizeView view;
        showFullHd(view);
        QTRY_COMPARE_WITH_TIMEOUT(view.frameWidth.load(), 1920L, 10000);
        // Listed last, the new camera is where the enumeration left the presenter's own choice.
        QSignalSpy plugged(&view, &VideoWidget::signalHideUI);
        const int wall = plugCamera("Wall", "fa11", "0c02");
        QTRY_COMPARE_WITH_TIMEOUT(plugged.count(), 1, 10000);
        // A projector changes resolution: the open camera decodes for the smaller window.
        view.resize(960, 540);
        QTRY_COMPARE_WITH_TIMEOUT(view.frameWidth.load(), 960L, 10000);
        QCOMPARE(openedOf({desk, wall}), 0);
        camCloseDev(0);  // no frame reaches the view while it is taken down
    }

    // The library does not list a capture node with nothing it decodes, so the camera that really
    // delivers pictures is the one chosen, whether the stored one or the first.
    void cameraWithoutFormatsIsPassedOver_data() {
        QTest::addColumn<bool>("formatlessFirst");
        QTest::addColumn<QString>("storedName");
        QTest::addColumn<QString>("storedId");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("resolution");
        QTest::newRow("the stored camera's second node: its first node opens in the stored mode")
            << false << "Desk"
            << "fa11&0c01" << 1 << "640 x 480";
        QTest::newRow("first start, first node without formats: the camera opens in its first mode")
            << true << ""
            << "" << 2 << "3840 x 2160";
    }

    void cameraWithoutFormatsIsPassedOver() {
        QFETCH(bool, formatlessFirst);
        QFETCH(QString, storedName);
        QFETCH(QString, storedId);
        QFETCH(int, format);
        QFETCH(QString, resolution);
        if (formatlessFirst)
            plugFormatless("Desk", "fa11", "0c01");
        const int desk = plugCamera("Desk", "fa11", "0c01");
        if (!formatlessFirst)
            plugFormatless("Desk", "fa11", "0c01");
        storeSettings(storedName, storedId, 1, "640 x 480");
        VideoWidget view;
        showFullHd(view);
        QCOMPARE(listedCameras(view), QStringList({"Desk"}));
        QCOMPARE(openedOf({desk}), 0);
        QTRY_VERIFY_WITH_TIMEOUT(showsPicture(view), 10000);
        QVERIFY(!promptShown(view));
        // The settings name the camera that really opened, in a mode it offers.
        QCOMPARE(ReadXML::instance()->videoFormat, format);
        QCOMPARE(QString::fromStdString(ReadXML::instance()->resolution), resolution);
        QCOMPARE(runningMode(0).width, resolution.section(" x ", 0, 0).toLong());
    }

    void onlyCamerasWithoutFormatsShowThePrompt() {
        plugFormatless("Desk", "fa11", "0c01");
        plugFormatless("Wall", "fa11", "0c02");
        storeSettings("Desk", "fa11&0c01", 2, "1920 x 1080");
        const QByteArray stored = fileContents(m_configPath);
        VideoWidget view;
        showFullHd(view);
        QVERIFY(promptShown(view));
        QTest::qWait(300);
        QVERIFY(!showsPicture(view));
        QCOMPARE(fileContents(m_configPath), stored);
        QCOMPARE(QString::fromStdString(ReadXML::instance()->resolution), QString("1920 x 1080"));
    }

    void unplugAndPlugTheOnlyCamera() {
        const int id = plugCamera("Desk", "fa11", "0c01");
        VideoWidget view;
        showFullHd(view);
        QTRY_VERIFY_WITH_TIMEOUT(showsPicture(view), 10000);
        optigrabSimUnplug(id);
        QTRY_VERIFY_WITH_TIMEOUT(promptShown(view), 10000);
        QVERIFY(!showsPicture(view));
        QTest::qWait(300);  // nothing of the old camera shows up afterwards
        QVERIFY(!showsPicture(view));
        plugCamera("Desk", "fa11", "0c01");
        QTRY_VERIFY_WITH_TIMEOUT(showsPicture(view), 10000);
        QVERIFY(!promptShown(view));
    }

    void unplugOneOfTwoReopensAnother() {
        const int desk = plugCamera("Desk", "fa11", "0c01");
        plugCamera("Wall", "fa11", "0c02");
        VideoWidget view;
        showFullHd(view);
        QTRY_VERIFY_WITH_TIMEOUT(showsPicture(view), 10000);
        QSignalSpy unplugged(&view, &VideoWidget::signalHideUI);
        optigrabSimUnplug(desk);
        // The view closes the camera, waits two seconds and opens the one that is left.
        QTRY_COMPARE_WITH_TIMEOUT(unplugged.count(), 1, 15000);
        QCOMPARE(listedCameras(view), QStringList({"Wall"}));
        QTRY_VERIFY_WITH_TIMEOUT(showsPicture(view), 10000);
        QCOMPARE(QString::fromStdString(ReadXML::instance()->devPIDVID), QString("fa11&0c02"));
        QCOMPARE(runningMode(0).subtype, 2L);
    }

    void changeCameraReopens() {
        plugCamera("Desk", "fa11", "0c01");
        VideoWidget view;
        showFullHd(view);
        QTRY_VERIFY_WITH_TIMEOUT(showsPicture(view), 10000);
        QElapsedTimer timer;
        timer.start();
        view.changeCamera(0, 1, 0, 640, 480);
        QVERIFY(timer.elapsed() >= 1000);
        QVERIFY(!showsPicture(view));
        const Running mode = runningMode(0);
        QCOMPARE(mode.subtype, 1L);
        QCOMPARE(mode.width, 640L);
        QTRY_VERIFY_WITH_TIMEOUT(showsPicture(view), 10000);
        QVERIFY(fillsView(view));
    }

    void frozenFramesNeverReachTheGuiThread() {
        plugCamera("Desk", "fa11", "0c01");
        FrameSizeView view;
        showFullHd(view);
        QTRY_VERIFY_WITH_TIMEOUT(showsPicture(view), 10000);
        QAbstractButton* freeze =
            view.findChild<ToolsWidget*>()->findChild<QAbstractButton*>("toolButton_freeze");
        freeze->click();
        QVERIFY(view.framesPass(2));  // a frame already on its way may still land
        QCoreApplication::processEvents();
        // The simulated page changes from frame to frame: its disc moves, its noise changes.
        const QImage frozen = viewdriver::painted(view);
        {
            // Gone before the camera may emit again: the spy records on the emitting thread.
            QSignalSpy delivered(&view, &VideoWidget::imageReady);
            QVERIFY(view.framesPass(10));
            QCOMPARE(delivered.count(), 0);
        }
        QCOMPARE(viewdriver::painted(view), frozen);
        freeze->click();  // the picture goes on
        QTRY_VERIFY_WITH_TIMEOUT(viewdriver::painted(view) != frozen, 5000);
    }

    void emptyFramesAreDropped() {
        VideoWidget view;
        QSignalSpy delivered(&view, &VideoWidget::imageReady);
        QImage empty;
        view.drawQImage(0, &empty, 0, 0);
        view.drawQImage(0, nullptr, 0, 0);
        QCOMPARE(delivered.count(), 0);
    }

    void panningShiftsPictureAndLayer() {
        VideoWidget view;
        showFullHd(view);
        QImage white(1920, 1080, QImage::Format_RGB888);
        white.fill(Qt::white);
        QMetaObject::invokeMethod(&view, "onImageReady", Q_ARG(QImage, white));
        QVERIFY(fillsView(view));
        // A red stroke on the layer, well inside the picture so that it stays in view when panned.
        view.updateToolSettings(0, Qt::red, 10);
        QMetaObject::invokeMethod(&view, "switchToDrawingMode");
        for (const auto& [type, x] : {std::pair{QEvent::MouseButtonPress, 200},
                                      {QEvent::MouseMove, 240},
                                      {QEvent::MouseButtonRelease, 240}}) {
            QMouseEvent event(type, QPoint(x, 200), view.mapToGlobal(QPoint(x, 200)),
                              type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                              type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                              Qt::NoModifier);
            QApplication::sendEvent(&view, &event);
        }

        QImage shot = view.grab().toImage();
        QCOMPARE(shot.pixelColor(210, 1079), QColor(Qt::white));
        QCOMPARE(shot.pixelColor(220, 200), QColor(Qt::red));

        // Dragged with the Move tool 100 pixels right and 50 up.
        QMetaObject::invokeMethod(&view, "switchToMovingMode");
        viewdriver::stroke(view, {{600, 600}, {650, 575}, {700, 550}});
        shot = view.grab().toImage();
        QCOMPARE(shot.pixelColor(99, 500), QColor(Qt::black));    // band at the left
        QCOMPARE(shot.pixelColor(500, 1030), QColor(Qt::black));  // band at the bottom
        QCOMPARE(shot.pixelColor(210, 1029), QColor(Qt::white));
        QCOMPARE(shot.pixelColor(1919, 0), QColor(Qt::white));
        // The stroke moved with the picture: it is where the picture's (220, 200) went, and gone
        // from where it was.
        QCOMPARE(shot.pixelColor(320, 150), QColor(Qt::red));
        QCOMPARE(shot.pixelColor(220, 200), QColor(Qt::white));
    }

    void slowGuiThreadKeepsMemoryBounded() {
        const int id = plugCamera("Desk", "fa11", "0c01", -1);  // unthrottled 4K camera
        VideoWidget view;
        showFullHd(view);
        QTRY_VERIFY_WITH_TIMEOUT(showsPicture(view), 10000);
        QTest::qWait(500);
        const long before = testenvironment::residentKiB();
        const long framesBefore = optigrabSimFramesDelivered(id);
        // The GUI thread is busy for two seconds, and longer until the camera has sent 20 frames
        // (a busy machine decodes slowly), while the camera goes on.
        QElapsedTimer busy;
        busy.start();
        while (busy.elapsed() < 2000 ||
               (optigrabSimFramesDelivered(id) < framesBefore + 20 && busy.elapsed() < 30000))
            QThread::msleep(50);
        const long framesDuring = optigrabSimFramesDelivered(id) - framesBefore;
        QCoreApplication::processEvents();
        const long grown = testenvironment::residentKiB() - before;
        QVERIFY2(framesDuring >= 10, qPrintable(QString("camera delivered %1 frames").arg(framesDuring)));
        // Each waiting 1080p frame is 8 MB; a queue would hold one per camera frame.
        QVERIFY2(grown < 64 * 1024,
                 qPrintable(QString("grew by %1 KiB over %2 frames").arg(grown).arg(framesDuring)));
    }
};

QTEST_MAIN(TestLiveView)
#include "tst_liveview.moc"
