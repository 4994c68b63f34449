// SPDX-License-Identifier: GPL-3.0-or-later
// Recording pictures a program composes (camStartPictureRecord and its kin): the result codes, every
// picture given back, and the file read back through camReadRecordingPicture.
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>

#include "optigrab.h"

namespace {

long long nowUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int threadCount() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("Threads:"))
            return line.mid(8).trimmed().toInt();
    return -1;
}

void countRelease(void* counter) {
    ++*static_cast<int*>(counter);
}

}  // namespace

class TestPictureRecording : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        qputenv("PULSE_SERVER", "unix:/nonexistent/optigrab-test");  // no sound server
    }

    void codes_data();
    void codes();
    void recordedPictures_data();
    void recordedPictures();
};

void TestPictureRecording::codes_data() {
    QTest::addColumn<QString>("situation");
    QTest::addColumn<long>("start");
    QTest::addColumn<long>("add");
    QTest::addColumn<long>("stop");
    QTest::newRow("silent") << "silent" << long(CAM_OK) << long(CAM_OK) << long(CAM_OK);
    QTest::newRow("no sound server: recorded silent")
        << "sound" << long(CAM_ERR_NO_SOUND) << long(CAM_OK) << long(CAM_OK);
    QTest::newRow("folder missing") << "no folder" << long(CAM_ERR_FILE) << long(CAM_ERR_NOT_OPEN)
                                    << long(CAM_ERR_NOT_OPEN);
    QTest::newRow("empty path") << "empty path" << long(CAM_ERR_BAD_ARGUMENT) << long(CAM_ERR_NOT_OPEN)
                                << long(CAM_ERR_NOT_OPEN);
    QTest::newRow("one pixel wide") << "1 wide" << long(CAM_ERR_BAD_ARGUMENT) << long(CAM_ERR_NOT_OPEN)
                                    << long(CAM_ERR_NOT_OPEN);
    QTest::newRow("started twice") << "twice" << long(CAM_ERR_BUSY) << long(CAM_OK) << long(CAM_OK);
    QTest::newRow("stride too short")
        << "short stride" << long(CAM_OK) << long(CAM_ERR_BAD_ARGUMENT) << long(CAM_OK);
}

// What each call answers and says; a refused start leaves no file; every picture handed over is
// given back exactly once, whatever the answer.
void TestPictureRecording::codes() {
    QFETCH(QString, situation);
    QFETCH(long, start);
    QFETCH(long, add);
    QFETCH(long, stop);
    QTemporaryDir folder;
    QString path = folder.filePath("lesson.mp4");
    if (situation == "empty path")
        path.clear();
    if (situation == "no folder")
        path = folder.filePath("gone/lesson.mp4");
    CamPictureRecord* record = camNewPictureRecord();
    QVERIFY(record != nullptr);
    const long long startUs = nowUs();
    if (situation == "twice")
        QCOMPARE(camStartPictureRecord(record, folder.filePath("first.mp4").toUtf8().constData(), 320, 240,
                                       10, nullptr, startUs, nullptr, nullptr),
                 long(CAM_OK));
    QCOMPARE(camStartPictureRecord(record, path.toUtf8().constData(), situation == "1 wide" ? 1 : 320, 240,
                                   10, situation == "sound" ? "" : nullptr, startUs, nullptr, nullptr),
             start);
    QCOMPARE(QString(camPictureRecordText(record)).isEmpty(),
             start != CAM_ERR_NO_SOUND && start != CAM_ERR_FILE);
    if (start != CAM_OK && start != CAM_ERR_NO_SOUND && !path.isEmpty())
        QVERIFY(!QFileInfo::exists(path));
    QImage picture(320, 240, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    int released = 0;
    const long stride = situation == "short stride" ? 320 : picture.bytesPerLine();
    QCOMPARE(
        camRecordPicture(record, picture.constBits(), 320, 240, stride, nowUs(), &countRelease, &released),
        add);
    QCOMPARE(camStopPictureRecord(record, nullptr, nullptr), stop);
    QCOMPARE(released, 1);
    camFreePictureRecord(record);
}

void TestPictureRecording::recordedPictures_data() {
    QTest::addColumn<QSize>("picture");    // as handed over; the file's is 320x240
    QTest::addColumn<QSize>("bounds");     // of the first picture read back
    QTest::addColumn<QSize>("thumbnail");  // its size
    QTest::newRow("the file's size") << QSize(320, 240) << QSize(160, 160) << QSize(160, 120);
    QTest::newRow("larger, scaled down") << QSize(1280, 960) << QSize(160, 160) << QSize(160, 120);
    QTest::newRow("another shape, scaled to the file's")
        << QSize(240, 320) << QSize(160, 160) << QSize(160, 120);
    QTest::newRow("read into wide bounds") << QSize(320, 240) << QSize(400, 100) << QSize(133, 100);
}

// Pictures handed over in real time make a file as long as the recording, whose first picture shows
// what was handed over first; each picture is given back.
void TestPictureRecording::recordedPictures() {
    QFETCH(QSize, picture);
    QFETCH(QSize, bounds);
    QFETCH(QSize, thumbnail);
    QTemporaryDir folder;
    const QByteArray path = folder.filePath("lesson.mp4").toUtf8();
    CamPictureRecord* record = camNewPictureRecord();
    const int threadsBefore = threadCount();
    QCOMPARE(
        camStartPictureRecord(record, path.constData(), 320, 240, 10, nullptr, nowUs(), nullptr, nullptr),
        long(CAM_OK));
    int released = 0;
    constexpr int kCount = 8;
    QVector<QImage> pages;  // the library reads them until it gives them back
    for (int number = 0; number < kCount; ++number) {
        pages.append(QImage(picture, QImage::Format_RGB32));
        pages.last().fill(number == 0 ? Qt::red : Qt::green);
        QCOMPARE(camRecordPicture(record, pages.last().constBits(), picture.width(), picture.height(),
                                  pages.last().bytesPerLine(), nowUs(), &countRelease, &released),
                 long(CAM_OK));
        QThread::msleep(80);
    }
    long long pictures = 0, dropped = 0;
    QCOMPARE(camStopPictureRecord(record, &pictures, &dropped), long(CAM_OK));
    // A stopped recording keeps no thread while its record waits for the next one.
    QCOMPARE(threadCount(), threadsBefore);
    camFreePictureRecord(record);
    QCOMPARE(pictures + dropped, (long long)kCount);
    QVERIFY(pictures >= 2);
    QCOMPARE(released, kCount);

    QImage first(bounds, QImage::Format_RGB32);
    long width = 0, height = 0;
    double seconds = 0;
    QCOMPARE(camReadRecordingPicture(path.constData(), bounds.width(), bounds.height(), first.bits(), &width,
                                     &height, &seconds),
             long(CAM_OK));
    QCOMPARE(QSize(int(width), int(height)), thumbnail);
    const QRgb middle =
        QImage(first.constBits(), int(width), int(height), int(width) * 4, QImage::Format_RGB32)
            .pixel(int(width) / 2, int(height) / 2);
    QVERIFY2(qRed(middle) > 200 && qGreen(middle) < 60, qPrintable(QString::number(middle, 16)));
    QVERIFY2(seconds > kCount * 0.08 - 0.1 && seconds < kCount * 0.08 + 0.5,
             qPrintable(QString::number(seconds)));
    QCOMPARE(camReadRecordingPicture(folder.filePath("none.mp4").toUtf8().constData(), 10, 10, first.bits(),
                                     &width, &height, &seconds),
             long(CAM_ERR_FILE));
}

QTEST_MAIN(TestPictureRecording)
#include "tst_picturerecording.moc"
