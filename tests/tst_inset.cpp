// SPDX-License-Identifier: GPL-3.0-or-later
// The inset camera from the outside: a second simulated camera of its own colour in a corner of the
// view, moved and resized by the pointer, in a recording and not in a capture, and what an unplug of
// either camera leaves on screen.
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "controls/noticelabel.h"
#include "liveview/recordingcontroller.h"
#include "liveview/videowidget.h"
#include "optigrab.h"
#include "optigrab_sim.h"
#include "settings/extrasettings.h"
#include "settings/readxml.h"
#include "testenvironment.h"
#include "viewdriver.h"

namespace {

// The inset camera's picture: all green, which the main camera's page never is.
bool isGreen(QRgb pixel) {
    return qAbs(qGreen(pixel) - 220) < 30 && qRed(pixel) < 40 && qBlue(pixel) < 40;
}

// Where picture shows green: the bounding box of its green pixels, empty when there are none.
QRect greenIn(const QImage& picture) {
    QRect box;
    for (int y = 0; y < picture.height(); y += 2)
        for (int x = 0; x < picture.width(); x += 2)
            if (isGreen(picture.pixel(x, y)))
                box |= QRect(x, y, 2, 2);
    return box;
}

QRect insetOn(VideoWidget& view) {
    return greenIn(viewdriver::painted(view));
}

// The main camera: a page, with ids of its own. Its id, or -1.
int plugPageCamera() {
    OptigrabSimConfig config;
    optigrabSimDefaultConfig(&config);
    config.name = "Main";
    config.vendorId = "4c50";
    config.productId = "0001";
    return optigrabSimPlug(&config);
}

QString noticeOf(VideoWidget& view) {
    return view.findChild<NoticeLabel*>()->text();
}

}  // namespace

class TestInset : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        m_settingsFile = testenvironment::isolate(m_home.path());
        optigrabSimUnplugAll();
        ReadXML::instance()->language = "en";
        QImage green(1280, 720, QImage::Format_RGB888);
        green.fill(QColor(0, 220, 0));
        QVERIFY(green.save(m_frames.filePath("green.jpg"), "JPEG", 95));
    }

    // Two cameras, the main one first (a page), the inset's second (green); a view that shows the
    // first, with I pressed.
    void init() {
        m_mainId = plugPageCamera();
        QVERIFY(m_mainId >= 0);
        m_insetId = optigrabSimPlugFrames(m_frames.path().toUtf8().constData(), 30);
        QVERIFY(m_insetId >= 0);
        ReadXML* settings = ReadXML::instance();
        settings->devName.clear();  // a first start: the first camera listed is the view's
        settings->savePath = m_saved.path().toStdString();
        settings->bsaveType = true;
        settings->customPrefix = "inset";
        QVERIFY(settings->writeData(m_settingsFile.toUtf8().constData()));
        m_extra = std::make_unique<ExtraSettings>();  // in memory, nothing chosen before
        m_extra->setShowAllTools(true);
        m_view = std::make_unique<VideoWidget>(nullptr, m_extra.get());
        m_view->resize(960, 540);
        m_view->show();
        m_view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
        QTRY_VERIFY_WITH_TIMEOUT(viewdriver::showsPicture(*m_view), 10000);
        QTest::keyClick(m_view.get(), Qt::Key_I);
        QTRY_VERIFY_WITH_TIMEOUT(!insetOn(*m_view).isEmpty(), 10000);
    }

    void cleanup() {
        m_view.reset();
        optigrabSimUnplugAll();
        optigrabSimSettle(5000);
        QDir(m_saved.path()).removeRecursively();
        QDir().mkpath(m_saved.path());
    }

    void pointer_data();
    void pointer();
    void output_data();
    void output();
    void unplug_data();
    void unplug();

private:
    QTemporaryDir m_home;
    QTemporaryDir m_frames;
    QTemporaryDir m_saved;
    QString m_settingsFile;
    std::unique_ptr<ExtraSettings> m_extra;
    std::unique_ptr<VideoWidget> m_view;
    int m_mainId = -1;
    int m_insetId = -1;
};

void TestInset::pointer_data() {
    QTest::addColumn<QString>("grab");  // where the drag starts on the inset: "" for none
    QTest::addColumn<QPoint>("by");
    QTest::addColumn<QRect>("change");  // of the inset's left, top, width and height
    QTest::newRow("a quarter of the view, top right") << "" << QPoint() << QRect();
    QTest::newRow("drag moves it") << "middle" << QPoint(-400, 200) << QRect(-400, 200, 0, 0);
    QTest::newRow("drag at its corner resizes")
        << "bottom left" << QPoint(-160, 0) << QRect(-160, 0, 160, 90);
}

// The inset shows the second camera's picture at a quarter of the view's width in its top right
// corner; the main picture around it stays the first camera's. A drag inside moves it, a drag at a
// corner resizes it with its shape kept, the opposite corner staying.
void TestInset::pointer() {
    QFETCH(QString, grab);
    QFETCH(QPoint, by);
    QFETCH(QRect, change);
    const QRect before = insetOn(*m_view);
    // All the tools make the view wider than asked.
    const int width = m_view->width() / 4;
    QVERIFY2(qAbs(before.width() - width) <= 6 && qAbs(before.height() - width * 9 / 16) <= 6,
             qPrintable(QString::number(before.width())));
    QVERIFY(before.right() > m_view->width() - 30 && before.top() < 30);
    QVERIFY(!isGreen(viewdriver::painted(*m_view).pixel(480, 300)));
    if (grab.isEmpty())
        return;
    const QPoint from = grab == "middle" ? before.center() : before.bottomLeft() + QPoint(3, -3);
    viewdriver::stroke(*m_view, {from, from + by / 2, from + by});
    const QRect after = insetOn(*m_view);
    const QRect moved(after.left() - before.left(), after.top() - before.top(),
                      after.width() - before.width(), after.height() - before.height());
    QVERIFY2(qAbs(moved.left() - change.left()) <= 4 && qAbs(moved.top() - change.top()) <= 4 &&
                 qAbs(moved.width() - change.width()) <= 6 && qAbs(moved.height() - change.height()) <= 6,
             qPrintable(QString("%1 %2 %3 %4")
                            .arg(moved.left())
                            .arg(moved.top())
                            .arg(moved.width())
                            .arg(moved.height())));
}

void TestInset::output_data() {
    QTest::addColumn<bool>("recording");  // else a capture
    QTest::addColumn<bool>("holdsInset");
    QTest::newRow("recording") << true << true;
    QTest::newRow("capture") << false << false;
}

// A lesson recording holds what the class sees, the inset with it; a capture holds the main camera's
// picture only.
void TestInset::output() {
    QFETCH(bool, recording);
    QFETCH(bool, holdsInset);
    QImage saved;
    if (recording) {
        auto* recorder = m_view->findChild<RecordingController*>();
        QSignalSpy files(recorder, &RecordingController::fileSaved);
        m_view->toggleRecording();
        QTest::qWait(1500);
        m_view->toggleRecording();
        QTRY_VERIFY_WITH_TIMEOUT(!files.isEmpty(), 20000);
        const QString path = files.last().first().toString();
        saved = QImage(960, 540, QImage::Format_RGB32);
        long width = 0, height = 0;
        double seconds = 0;
        QCOMPARE(camReadRecordingPicture(path.toUtf8().constData(), 960, 540, saved.bits(), &width, &height,
                                         &seconds),
                 0L);
        saved = saved.copy(0, 0, width, height);
    } else {
        m_view->captureImage();
        const QString file = m_saved.filePath("inset_00001.jpg");
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(file), 20000);
        saved = QImage(file);
    }
    QVERIFY(!saved.isNull());
    const QRect green = greenIn(saved);
    QCOMPARE(!green.isEmpty(), holdsInset);
    if (holdsInset)  // at the top right, as on screen
        QVERIFY(green.right() > saved.width() * 9 / 10 && green.top() < saved.height() / 10);
}

void TestInset::unplug_data() {
    QTest::addColumn<bool>("mainCamera");  // the camera unplugged: the view's own, else the inset's
    QTest::addColumn<QString>("notice");
    QTest::newRow("inset camera") << false << "The inset camera was unplugged. The main picture goes on.";
    QTest::newRow("main camera") << true
                                 << "The main camera was unplugged. Another camera is shown in its place.";
}

// Unplugging the inset's camera leaves the main picture live; unplugging the main camera puts the
// other one in its place. Either says so, and the inset is back when a camera comes back.
void TestInset::unplug() {
    QFETCH(bool, mainCamera);
    QFETCH(QString, notice);
    QSignalSpy frames(m_view.get(), &VideoWidget::imageReady);
    QVERIFY(optigrabSimUnplug(mainCamera ? m_mainId : m_insetId) == 0);
    QTRY_COMPARE_WITH_TIMEOUT(noticeOf(*m_view), notice, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(insetOn(*m_view).isEmpty() != mainCamera, 10000);
    frames.clear();
    QTRY_VERIFY_WITH_TIMEOUT(frames.count() >= 5, 10000);
    if (mainCamera) {  // the green camera now fills the view
        QTRY_VERIFY_WITH_TIMEOUT(insetOn(*m_view).width() > 900, 10000);
        QVERIFY(plugPageCamera() >= 0);
    } else {
        QVERIFY(optigrabSimPlugFrames(m_frames.path().toUtf8().constData(), 30) >= 0);
    }
    QTRY_COMPARE_WITH_TIMEOUT(noticeOf(*m_view), QString("The inset camera is back."), 10000);
    // The page in the inset over the green camera, or the green inset over the page.
    const auto insetBack = [this, mainCamera] {
        const QImage shown = viewdriver::painted(*m_view);
        const QRect inset = greenIn(shown);
        return mainCamera
                   ? isGreen(shown.pixel(100, 400)) && !isGreen(shown.pixel(shown.width() - 60, 60))
                   : !inset.isEmpty() && inset.width() < shown.width() / 3 && !isGreen(shown.pixel(100, 400));
    };
    QTRY_VERIFY_WITH_TIMEOUT(insetBack(), 10000);
}

QTEST_MAIN(TestInset)
#include "tst_inset.moc"
