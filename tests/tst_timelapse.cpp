// SPDX-License-Identifier: GPL-3.0-or-later
// Time-lapses from the outside: the stills, the video read back with libavformat, the note of a
// camera's absence, the marker and the tiles, a run that a failing write ends.
#include <sys/resource.h>
#include <QDir>
#include <QLabel>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

#include "controls/noticelabel.h"
#include "filebrowser/fileitemwidget.h"
#include "filebrowser/filelistwidget.h"
#include "liveview/timelapsecontroller.h"
#include "liveview/videowidget.h"
#include "optigrab_sim.h"
#include "recording/recordedfile.h"
#include "settings/readxml.h"
#include "testenvironment.h"

namespace {

// The pictures the marker over the view counts; -1 while it is hidden.
int markedPictures(VideoWidget& view) {
    const auto* marker = view.findChild<QLabel*>("timeLapseMarker");
    if (marker == nullptr || !marker->isVisible())
        return -1;
    const QRegularExpressionMatch match = QRegularExpression("(\\d+)").match(marker->text());
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

}  // namespace

class TestTimeLapse : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        m_settingsPath = testenvironment::isolate(m_home.path());
        ReadXML::instance()->language = "en";
        QVERIFY(ReadXML::instance()->writeData(m_settingsPath.toUtf8().constData()));
    }

    void run_data();
    void run();

private:
    QTemporaryDir m_home;
    QString m_settingsPath;
};

void TestTimeLapse::run_data() {
    QTest::addColumn<int>("durationS");  // at a picture a second; 0: until the test stops it
    QTest::addColumn<bool>("keep");      // the stills kept beside the video
    QTest::addColumn<QString>("event");  // what happens while it runs
    QTest::addColumn<QString>("notice");
    QTest::newRow("1 s for 10 s") << 10 << true << ""
                                  << "^Time-lapse saved: lesson_00001\\.mp4 \\(10 pictures\\)\\.$";
    QTest::newRow("stills not kept") << 4 << false << ""
                                     << "^Time-lapse saved: lesson_00001\\.mp4 \\(4 pictures\\)\\.$";
    QTest::newRow("camera unplugged and back")
        << 0 << true << "unplug"
        << "^Time-lapse saved: lesson_00001\\.mp4 \\(\\d+ pictures\\)\\.$";
    QTest::newRow("write fails") << 0 << true << "write fails"
                                 << "^The time-lapse stopped: .* pictures taken are kept\\.$";
}

// A picture a second into full-resolution stills in a numbered folder and a video of one frame each at
// 30 a second, both with tiles. A camera gone in the middle leaves a gap, noted beside a whole video;
// a write that fails ends the run, which keeps what it took.
void TestTimeLapse::run() {
    QFETCH(int, durationS);
    QFETCH(bool, keep);
    QFETCH(QString, event);
    QFETCH(QString, notice);
    QTemporaryDir folder;
    OptigrabSimConfig config;
    optigrabSimDefaultConfig(&config);
    QVERIFY(optigrabSimPlug(&config) >= 0);
    const rlimit previous = [] {
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        return limit;
    }();
    QStringList tiles;
    {
        VideoWidget view;
        ReadXML* settings = ReadXML::instance();  // read by the view at its start: set after it
        settings->savePath = folder.path().toStdString();
        settings->bsaveType = true;
        settings->customPrefix = "lesson";
        QSignalSpy pictures(&view, &VideoWidget::imageReady);
        view.resize(960, 540);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTRY_VERIFY_WITH_TIMEOUT(!pictures.isEmpty(), 10000);
        auto* timeLapse = view.findChild<TimeLapseController*>();
        QSignalSpy finished(timeLapse, &TimeLapseController::finished);
        timeLapse->start({1, durationS, keep});
        QCOMPARE(markedPictures(view), 0);
        if (event == "unplug") {
            QTRY_COMPARE_WITH_TIMEOUT(markedPictures(view), 3, 10000);
            optigrabSimUnplugAll();
            QTRY_VERIFY_WITH_TIMEOUT(
                view.findChild<QLabel*>("timeLapseMarker")->text().contains("waiting for the camera"), 10000);
            QTest::qWait(1500);
            QVERIFY(optigrabSimPlug(&config) >= 0);
            QTRY_COMPARE_WITH_TIMEOUT(markedPictures(view), 6, 20000);
            timeLapse->stop();
        } else if (event == "write fails") {
            // Past the video's first fragment (half a second of it), no file may grow beyond 64 KiB,
            // as on a full disk: the next still cannot be written.
            QTRY_COMPARE_WITH_TIMEOUT(markedPictures(view), 17, 40000);
            signal(SIGXFSZ, SIG_IGN);
            const rlimit small{64 * 1024, previous.rlim_max};
            setrlimit(RLIMIT_FSIZE, &small);
        } else if (durationS == 0) {
            timeLapse->stop();
        }
        QVERIFY(finished.wait(durationS * 1000 + 30000));
        setrlimit(RLIMIT_FSIZE, &previous);
        QCOMPARE(markedPictures(view), -1);
        const NoticeLabel* label = view.findChild<NoticeLabel*>();
        QVERIFY2(QRegularExpression(notice).match(label->text()).hasMatch(), qPrintable(label->text()));
        for (const FileItemWidget* tile : view.findChild<FileListWidget*>()->findChildren<FileItemWidget*>())
            tiles << QFileInfo(tile->path()).fileName();
    }
    optigrabSimUnplugAll();

    const QStringList stills = QDir(folder.filePath("lesson_00001")).entryList({"*.jpg"}, QDir::Files);
    const RecordedFile video = RecordedFile::read(folder.filePath("lesson_00001.mp4"), false);
    QVERIFY(video.opened);
    QVERIFY(!video.pictureTimesS.isEmpty());
    for (int frame = 0; frame < video.pictureTimesS.size(); ++frame)
        QVERIFY(qAbs(video.pictureTimesS[frame] - frame / 30.0) < 0.002);
    if (event == "write fails") {
        // The stills taken are whole; the video plays up to its last fragment written.
        QVERIFY(stills.size() >= 17);
        QVERIFY(video.pictureTimesS.size() >= 15 && video.pictureTimesS.size() <= stills.size());
        for (const QString& still : stills)
            QVERIFY(!QImage(QDir(folder.filePath("lesson_00001")).filePath(still)).isNull());
    } else if (keep) {
        QCOMPARE(stills.size(), video.pictureTimesS.size());
        QCOMPARE(QImage(QDir(folder.filePath("lesson_00001")).filePath(stills.first())).size(),
                 QSize(3840, 2160));
    } else {
        QVERIFY(!QFileInfo::exists(folder.filePath("lesson_00001")));
    }
    if (durationS > 0)
        QCOMPARE(video.pictureTimesS.size(), durationS);
    QCOMPARE(tiles.contains("lesson_00001"), keep);
    QVERIFY(tiles.contains("lesson_00001.mp4"));
    const QByteArray note = testenvironment::fileBytes(folder.filePath("lesson_00001.txt"));
    QCOMPARE(note.contains("between picture 3 and picture 4: the camera was gone."), event == "unplug");
}

QTEST_MAIN(TestTimeLapse)
#include "tst_timelapse.moc"
