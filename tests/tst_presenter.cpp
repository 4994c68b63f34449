// SPDX-License-Identifier: GPL-3.0-or-later
// The presenter against the camera library with simulated cameras: the nested enumeration it
// drives, its failure results, and the frames it hands to the view.
#include <QImage>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <mutex>

#include "camera/campresenter.h"
#include "optigrab_sim.h"

namespace {

// Records what the presenter tells the view.
class RecordingView : public IView {
public:
    IPresenter* presenter = nullptr;
    QStringList calls;
    std::mutex frameMutex;  // guards frames
    QList<QImage> frames;

    int frameCount() {
        std::lock_guard<std::mutex> lock(frameMutex);
        return frames.size();
    }

    void initCameraList(QStringList& list) override {
        calls << "cameras " + list.join('|');
        for (int i = 0; i < list.size(); ++i)
            presenter->getMediaNameList(i);
    }
    void initMediaTypeList(int devIndex, QStringList& list) override {
        calls << QString("media %1 %2").arg(devIndex).arg(list.join('|'));
        for (int j = 0; j < list.size(); ++j)
            presenter->getResolution(j);
    }
    void initReslutionList(int devIndex, int mediaIndex, int mediaType, QStringList& list) override {
        calls << QString("resolutions %1 %2 %3 %4")
                     .arg(devIndex)
                     .arg(mediaIndex)
                     .arg(mediaType)
                     .arg(list.join('|'));
    }
    void initFPSList(QStringList& list) override { calls << "fps " + list.join('|'); }
    void initAutoCrop(QStringList& list) override { calls << "crop " + list.join('|'); }
    void initRotate(QStringList& list) override { calls << "rotate " + list.join('|'); }
    void getDevChangeType(long changeType, long dev_id) override {
        Q_UNUSED(changeType);
        Q_UNUSED(dev_id);
    }
    void autoCaptureTriggered() override {}
    void drawQImage(long devIndex, QImage* image, long width, long height) override {
        Q_UNUSED(devIndex);
        Q_UNUSED(width);
        Q_UNUSED(height);
        std::lock_guard<std::mutex> lock(frameMutex);
        frames << image->copy();  // the image lives only during the call
    }
};

OptigrabSimMode mode(long type, long width, long height, long fps) {
    return {type, width, height, {fps, 0, 0, 0}};
}

int plugCamera(const char* product, long width = 640, long height = 480) {
    const OptigrabSimMode only = mode(2, width, height, 30);
    OptigrabSimConfig config;
    optigrabSimDefaultConfig(&config);
    config.productId = product;
    config.modes = &only;
    config.modeCount = 1;
    return optigrabSimPlug(&config);
}

}  // namespace

class TestPresenter : public QObject {
    Q_OBJECT

private slots:
    void init() { optigrabSimUnplugAll(); }
    void cleanup() { optigrabSimUnplugAll(); }

    void noCameraListsNothing() {
        RecordingView view;
        CamPresenter presenter(&view);
        view.presenter = &presenter;
        QCOMPARE(presenter.init(), 0L);
        QCOMPARE(presenter.getCameraList(), -1L);
        QVERIFY(view.calls.isEmpty());
        presenter.uninit();
    }

    void enumerationIsNestedInLibraryOrder() {
        const OptigrabSimMode modes[] = {mode(1, 640, 480, 30), mode(2, 1920, 1080, 30),
                                         mode(2, 1280, 720, 30), mode(3, 640, 480, 15)};
        OptigrabSimConfig first;
        optigrabSimDefaultConfig(&first);
        first.name = "Desk Cam";
        first.vendorId = "1234";
        first.productId = "5678";
        first.modes = modes;
        first.modeCount = 4;
        OptigrabSimConfig second;
        optigrabSimDefaultConfig(&second);
        second.name = "Second";
        second.vendorId = "abcd";
        second.productId = "0001";
        second.modes = modes + 1;
        second.modeCount = 1;
        QVERIFY(optigrabSimPlug(&first) >= 0);
        QVERIFY(optigrabSimPlug(&second) >= 0);

        RecordingView view;
        CamPresenter presenter(&view);
        view.presenter = &presenter;
        presenter.init();
        QCOMPARE(presenter.getCameraList(), 0L);
        const QStringList expected{
            "cameras Desk Cam(1234&5678)|Second(abcd&0001)",
            "media 0 MJPG|YUY2|NV12",
            "resolutions 0 0 2 1920 x 1080|1280 x 720",
            "resolutions 0 1 1 640 x 480",
            "resolutions 0 2 3 640 x 480",
            "media 1 MJPG",
            "resolutions 1 0 2 1920 x 1080",
        };
        QCOMPARE(view.calls, expected);

        // The enumeration's forwarders without a device act on the camera listed last.
        view.calls.clear();
        presenter.getMediaNameList(0);
        view.calls.clear();
        presenter.getResolution(0);
        QCOMPARE(view.calls, QStringList{"resolutions 0 0 2 1920 x 1080|1280 x 720"});
        view.calls.clear();
        QCOMPARE(presenter.getFPS(2), -1L);
        QVERIFY(view.calls.isEmpty());
        QCOMPARE(presenter.getFPS(1), 0L);
        QCOMPARE(view.calls, QStringList{"fps 30"});
        presenter.uninit();
    }

    void mediaTypeFailureKeepsTheLastList() {
        QVERIFY(optigrabSimPlug(nullptr) >= 0);
        RecordingView view;
        CamPresenter presenter(&view);
        view.presenter = &presenter;
        presenter.init();
        long count = 0;
        QCOMPARE(camGetDevCount(&count), 0L);
        presenter.getMediaNameList(0);  // lists YUY2 last: 1280 x 720 at 10 and 5 fps, 640 x 480
        view.calls.clear();
        QVERIFY(presenter.getResolution(99) != 0);
        QVERIFY(view.calls.isEmpty());
        // The resolutions listed before the failure are still the ones the rates are asked for.
        QCOMPARE(presenter.getFPS(0), 0L);
        QCOMPARE(view.calls, QStringList{"fps 10|5"});
        presenter.uninit();
    }

    void framesReachTheViewUndistorted_data() {
        QTest::addColumn<int>("width");
        QTest::newRow("width whose lines need no padding") << 4;
        QTest::newRow("odd width") << 5;
        QTest::newRow("width of 7") << 7;
    }

    void framesReachTheViewUndistorted() {
        QFETCH(int, width);
        const int height = 3;
        RecordingView view;
        CamPresenter presenter(&view);
        view.presenter = &presenter;
        presenter.init();
        // A gradient whose every pixel differs, tightly packed as the library delivers it.
        QByteArray bytes;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                bytes.append(char(x * 30)).append(char(y * 60)).append(char(7));
        PreviewParam param{3, 0, 0, 0, 0, 0};
        QVERIFY(callBackPreviewData(reinterpret_cast<unsigned char*>(bytes.data()), width, height,
                                    bytes.size(), &param));
        QCOMPARE(view.frames.size(), 1);
        const QImage frame = view.frames.first();
        QCOMPARE(frame.size(), QSize(width, height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                QCOMPARE(frame.pixel(x, y), qRgb(x * 30, y * 60, 7));

        // A frame shorter than its size claims never reaches the view as a picture.
        view.frames.clear();
        callBackPreviewData(reinterpret_cast<unsigned char*>(bytes.data()), width, height, bytes.size() - 1,
                            &param);
        QVERIFY(view.frames.isEmpty() || view.frames.first().isNull());
        presenter.uninit();
    }

    // What the list does after the camera was opened; the capture still comes from the open camera.
    void captureAfterTheListChanged_data() {
        QTest::addColumn<int>("camerasBefore");
        QTest::addColumn<int>("opened");
        QTest::addColumn<bool>("unplugFirst");  // else a camera is plugged in
        QTest::newRow("a second camera plugged in") << 1 << 0 << false;
        QTest::newRow("the camera before it unplugged") << 2 << 1 << true;
    }

    void captureAfterTheListChanged() {
        QFETCH(int, camerasBefore);
        QFETCH(int, opened);
        QFETCH(bool, unplugFirst);
        QList<int> ids;
        for (int i = 0; i < camerasBefore; ++i)
            ids << plugCamera(i == 0 ? "0a01" : "0a02");
        RecordingView view;
        CamPresenter presenter(&view);
        view.presenter = &presenter;
        presenter.init();
        // Also when a check fails: the library must not call a presenter that is gone.
        const auto uninit = qScopeGuard([&presenter] { presenter.uninit(); });
        QCOMPARE(presenter.getCameraList(), 0L);
        QCOMPARE(presenter.openDev(opened, 2, 0, 640, 480), 0L);
        QTRY_VERIFY_WITH_TIMEOUT(view.frameCount() >= 2, 10000);
        if (unplugFirst)
            optigrabSimUnplug(ids.first());
        else
            plugCamera("0a03");
        QTRY_COMPARE_WITH_TIMEOUT(optigrabSimCount(), unplugFirst ? camerasBefore - 1 : camerasBefore + 1,
                                  10000);
        QCOMPARE(presenter.getCameraList(), 0L);  // the view's rescan, walking every camera
        const int frames = view.frameCount();
        QTRY_VERIFY_WITH_TIMEOUT(view.frameCount() > frames + 1, 10000);

        QTemporaryDir folder;
        QByteArray path = folder.filePath("after.jpg").toUtf8();
        QCOMPARE(presenter.captureImage(path.data()), 0L);
        QCOMPARE(QImage(QString::fromUtf8(path)).size(), QSize(640, 480));
    }

    // The view shows one camera. When it opens another (as it does after a plug while the open camera
    // has shown no picture yet), the one open before stops: no frames of it reach the view any more.
    void openingAnotherCameraStopsTheFirst_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<bool>("unplugInFront");  // a camera before the open one goes, moving it down
        QTest::addColumn<int>("second");          // its index once the list is read again
        QTest::newRow("another camera") << 0 << false << 1;
        QTest::newRow("after the list moved the open camera") << 2 << true << 0;
    }

    void openingAnotherCameraStopsTheFirst() {
        QFETCH(int, first);
        QFETCH(bool, unplugInFront);
        QFETCH(int, second);
        const QList<QSize> sizes{{640, 480}, {320, 240}, {352, 288}};  // tell the cameras' frames apart
        const char* products[] = {"0a01", "0a02", "0a03"};
        QList<int> ids;
        for (int i = 0; i < sizes.size(); ++i)
            ids << plugCamera(products[i], sizes[i].width(), sizes[i].height());
        RecordingView view;
        CamPresenter presenter(&view);
        view.presenter = &presenter;
        presenter.init();
        const auto uninit = qScopeGuard([&presenter] { presenter.uninit(); });
        QCOMPARE(presenter.getCameraList(), 0L);
        const QSize firstSize = sizes[first];
        QCOMPARE(presenter.openDev(first, 2, 0, firstSize.width(), firstSize.height()), 0L);
        QTRY_VERIFY_WITH_TIMEOUT(view.frameCount() >= 2, 10000);
        QList<QSize> left = sizes;
        if (unplugInFront) {
            optigrabSimUnplug(ids.first());
            left.removeFirst();
            QTRY_COMPARE_WITH_TIMEOUT(optigrabSimCount(), 2, 10000);
            QCOMPARE(presenter.getCameraList(), 0L);
        }
        const QSize secondSize = left[second];
        QCOMPARE(presenter.openDev(second, 2, 0, secondSize.width(), secondSize.height()), 0L);
        {
            std::lock_guard<std::mutex> lock(view.frameMutex);
            view.frames.clear();
        }
        QTRY_VERIFY_WITH_TIMEOUT(view.frameCount() >= 10, 10000);
        std::lock_guard<std::mutex> lock(view.frameMutex);
        for (const QImage& frame : view.frames)
            QCOMPARE(frame.size(), secondSize);
    }

    void openedCameraDeliversItsPage() {
        QVERIFY(optigrabSimPlug(nullptr) >= 0);
        RecordingView view;
        CamPresenter presenter(&view);
        view.presenter = &presenter;
        presenter.init();
        QCOMPARE(presenter.getCameraList(), 0L);
        QCOMPARE(presenter.openDev(0, 2, 0, 1280, 720), 0L);
        QTRY_VERIFY_WITH_TIMEOUT(view.frameCount() >= 2, 10000);
        presenter.closeDev(0);
        std::lock_guard<std::mutex> lock(view.frameMutex);
        const QImage frame = view.frames.last();
        QCOMPARE(frame.size(), QSize(1280, 720));
        QVERIFY(qGray(frame.pixel(5, 5)) > 200);  // the paper's top-left corner is white
        presenter.uninit();
    }
};

QTEST_GUILESS_MAIN(TestPresenter)
#include "tst_presenter.moc"
