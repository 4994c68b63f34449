// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson recorder from the outside: the files it writes, read back with libavformat.
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#include <QAbstractButton>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <cmath>
#include <csignal>
#include <mutex>
#include <thread>

#include "controls/noticelabel.h"
#include "filebrowser/fileitemwidget.h"
#include "filebrowser/filelistwidget.h"
#include "liveview/filenumbering.h"
#include "liveview/recordingcontroller.h"
#include "liveview/videowidget.h"
#include "optigrab_sim.h"
#include "recording/diskspacewatch.h"
#include "recording/lessonrecorder.h"
#include "recording/recordedfile.h"
#include "recording/recordingclock.h"
#include "recording/recordingwriter.h"
#include "recording/soundserver.h"
#include "recording/soundsource.h"
#include "recording/soundtimeline.h"
#include "recording/syntheticpage.h"
#include "settings/extrasettings.h"
#include "settings/readxml.h"
#include "testenvironment.h"
#include "toolbars/toolswidget.h"
#include "viewdriver.h"

namespace {

bool isRed(QRgb pixel) {
    return qRed(pixel) > 180 && qGreen(pixel) < 90 && qBlue(pixel) < 90;
}

double brightness(const QImage& picture) {
    const QImage tiny = picture.scaled(8, 8);
    double sum = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            sum += qGray(tiny.pixel(x, y));
    return sum / 64;
}

// Hands count pictures to the recorder in real time at fps, the stroke drawn from strokeFromMs on
// (by the clock: painting large pictures may fall behind the schedule). Returns the seconds from the
// first picture handed over to the last.
double feed(LessonRecorder& recorder, const QSize& size, int fps, int count, qint64 strokeFromMs) {
    QElapsedTimer clock;
    clock.start();
    for (int number = 0; number < count; ++number) {
        const qint64 due = qint64(number) * 1000 / fps;
        if (clock.elapsed() < due)
            QThread::msleep(unsigned(due - clock.elapsed()));
        const int64_t seenUs = RecordingClock::nowUs();
        recorder.addPicture(syntheticPage(size, number, clock.elapsed() >= strokeFromMs), seenUs);
    }
    return double(clock.nsecsElapsed()) / 1e9;
}

// Shows view at size, its captures and recordings going into folder, numbered after "lesson".
// The extra settings as the views of this suite read them, from the configuration folder.
std::unique_ptr<ExtraSettings> storedSettings() {
    auto settings = std::make_unique<ExtraSettings>();
    settings->open(ExtraSettings::defaultFilePath());
    return settings;
}

bool showNamingInto(VideoWidget& view, const QSize& size, const QString& folder) {
    ReadXML* settings = ReadXML::instance();  // read by the view at its start: set after it
    settings->savePath = folder.toStdString();
    settings->bsaveType = true;
    settings->customPrefix = "lesson";
    view.resize(size);
    view.show();
    return QTest::qWaitForWindowExposed(&view);
}

}  // namespace

class TestRecording : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // No sound server unless a test starts its own.
        qputenv("PULSE_SERVER", "unix:/nonexistent/pagelux-test");
        // The suites share the settings file: whatever language an earlier one left, notices are
        // read here in English.
        m_settingsPath = testenvironment::isolate(m_home.path());
        ReadXML::instance()->language = "en";
        QVERIFY(ReadXML::instance()->writeData(m_settingsPath.toUtf8().constData()));
    }

    void recordedFile_data();
    void recordedFile();
    void killedRecordingStillPlays();
    void diskFullEndsWithPlayableFile();
    void soundLinesUpWithPicture();
    void soundTimeline_data();
    void soundTimeline();
    void soundKeepsItsPlaceUnderLoad();
    void viewRecording_data();
    void viewRecording();
    void cameraTimesKept_data();
    void cameraTimesKept();
    void soundChoice_data();
    void soundChoice();
    void cutOffRecordingsRecovered_data();
    void cutOffRecordingsRecovered();
    void cameraRecordingWatchesTheDisk_data();
    void cameraRecordingWatchesTheDisk();
    void refusedRecordingLeavesNoFile_data();
    void refusedRecordingLeavesNoFile();

private:
    QTemporaryDir m_home;
    QString m_settingsPath;
};

void TestRecording::recordedFile_data() {
    QTest::addColumn<QSize>("view");
    QTest::addColumn<int>("fps");
    QTest::addColumn<QSize>("recorded");
    QTest::addColumn<double>("minimumShare");  // of the pictures handed over that must be written
    QTest::newRow("small view") << QSize(640, 480) << 30 << QSize(640, 480) << 0.5;
    QTest::newRow("odd sides, 15 fps") << QSize(801, 451) << 15 << QSize(800, 450) << 0.5;
    // A busy machine may drop most of these; what is written must still be right.
    QTest::newRow("4K view scaled down") << QSize(3840, 2160) << 30 << QSize(1920, 1080) << 0.05;
}

// Size, rate, duration and frame count as handed over, no sound track without a sound server, the
// stroke in the pictures after it was drawn and not before, and the file at its final name.
void TestRecording::recordedFile() {
    QFETCH(QSize, view);
    QFETCH(int, fps);
    QFETCH(QSize, recorded);
    QFETCH(double, minimumShare);
    QTemporaryDir folder;
    const QString path = folder.filePath("2026-12-07_00001.mp4");
    LessonRecorder recorder;
    QString reason;
    QVERIFY2(recorder.start({path, view, fps, true, {}}, &reason), qPrintable(reason));
    QVERIFY(!recorder.soundProblem().isEmpty());
    const int handed = 2 * fps;
    const double lastS = feed(recorder, view, fps, handed, 1000);
    const LessonRecorder::Outcome outcome = recorder.stop();
    QVERIFY2(outcome.complete, qPrintable(outcome.problem));
    QCOMPARE(outcome.path, path);
    QVERIFY(!QFileInfo::exists(LessonRecorder::temporaryPath(path)));
    QCOMPARE(outcome.pictures + outcome.dropped, handed);
    QVERIFY(outcome.pictures >= minimumShare * handed);

    const RecordedFile file = RecordedFile::read(path);
    QVERIFY(file.opened);
    QCOMPARE(file.size, recorded);
    // Every picture written; when the stop comes more than a picture's time after the last one (a busy
    // machine), the file ends with that last picture once more, so that it lasts until the stop.
    const int heldToTheStop = file.pictures.size() - int(outcome.pictures);
    QVERIFY2(
        heldToTheStop == 0 || heldToTheStop == 1,
        qPrintable(
            QString("%1 pictures in the file, %2 written").arg(file.pictures.size()).arg(outcome.pictures)));
    QVERIFY(!file.hasSound);
    QVERIFY2(file.frameRate < fps + 0.5 && file.frameRate > minimumShare * fps - 0.5,
             qPrintable(QString::number(file.frameRate)));
    // Up to the last picture handed over and its frame time; a busy machine may take longer than 2 s.
    QVERIFY2(std::abs(file.durationS - lastS - 1.0 / fps) < 0.25,
             qPrintable(QString("%1 s, handed over in %2 s").arg(file.durationS).arg(lastS)));
    // The stroke was drawn 1 s in; pictures close to that moment may go either way.
    for (int i = 0; i < file.pictures.size(); ++i) {
        const QImage& picture = file.pictures[i];
        const double t = file.pictureTimesS[i];
        if (t < 0.9 || t > 1.1)
            QCOMPARE(isRed(picture.pixel(picture.width() / 2, picture.height() / 2)), t > 1.1);
    }
}

// Fragments are written as the recording goes: a recorder killed after 5 s leaves at least 4 s.
void TestRecording::killedRecordingStillPlays() {
    QTemporaryDir folder;
    const QString path = folder.filePath("lesson_00001.mp4");
    QProcess child;
    child.start(QCoreApplication::applicationDirPath() + "/recordchild", {path});
    QVERIFY(child.waitForReadyRead(10000));
    QThread::msleep(5000);
    child.kill();
    QVERIFY(child.waitForFinished());
    const RecordedFile file = RecordedFile::read(LessonRecorder::temporaryPath(path));
    QVERIFY(file.opened);
    QVERIFY2(file.durationS >= 4.0, qPrintable(QString::number(file.durationS)));
}

// A write that fails (here: the file size limit, as a full disk does) stops the recording with a
// reason, and what was written before still plays.
void TestRecording::diskFullEndsWithPlayableFile() {
    QTemporaryDir folder;
    const QString path = folder.filePath("lesson_00002.mp4");
    LessonRecorder recorder;
    QSignalSpy failed(&recorder, &LessonRecorder::failed);
    QVERIFY(recorder.start({path, QSize(640, 360), 30, false, {}}, nullptr));
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    const rlimit small{3 * 1024 * 1024, previous.rlim_max};
    signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    // Noise does not compress: the limit is reached within a second or two.
    QImage noise(640, 360, QImage::Format_RGB32);
    for (int number = 0; number < 300 && failed.isEmpty(); ++number) {
        for (int y = 0; y < noise.height(); ++y) {
            auto* line = reinterpret_cast<quint32*>(noise.scanLine(y));
            for (int x = 0; x < noise.width(); ++x)
                line[x] = QRandomGenerator::global()->generate();
        }
        recorder.addPicture(noise.copy(), RecordingClock::nowUs());
        QTest::qWait(33);
    }
    const LessonRecorder::Outcome outcome = recorder.stop();
    setrlimit(RLIMIT_FSIZE, &previous);
    QVERIFY(failed.wait(1000) || !failed.isEmpty());
    QVERIFY(!outcome.complete);
    QVERIFY(!outcome.problem.isEmpty());
    const RecordedFile file = RecordedFile::read(outcome.path);
    QVERIFY(file.opened);
    QVERIFY(!file.pictures.isEmpty());
}

// Tone pulses spoken into the test's own sound server and white pictures stamped with the times the
// pulses are spoken land within 45 ms of each other in the file.
void TestRecording::soundLinesUpWithPicture() {
    SoundServer server;
    if (!server.start())
        QSKIP("pulseaudio could not be started");
    QTemporaryDir folder;
    const QString path = folder.filePath("lesson_00003.mp4");
    LessonRecorder recorder;
    QVERIFY(recorder.start({path, QSize(320, 240), 30, true, "lesson"}, nullptr));
    QVERIFY2(recorder.soundProblem().isEmpty(), qPrintable(recorder.soundProblem()));

    const int chunk = 480;  // 10 ms
    const QVector<int> pulseChunks = {100, 200, 300};
    float samples[chunk];
    QFile fifo(server.fifoPath());
    QVERIFY(fifo.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 400; ++i) {
        while (clock.nsecsElapsed() < qint64(i) * 10000000)
            QThread::usleep(500);
        int sinceOnset = -1;
        for (int onset : pulseChunks)
            if (i >= onset && i < onset + 10)
                sinceOnset = i - onset;
        for (int s = 0; s < chunk; ++s)
            samples[s] = sinceOnset >= 0
                             ? 0.8f * float(std::sin(2 * M_PI * 1000 * (s + sinceOnset * chunk) / 48000.0))
                             : 0;
        const int64_t heardUs = RecordingClock::nowUs();
        if (i % 3 == 0 || sinceOnset == 0) {
            const QImage picture(QSize(320, 240), QImage::Format_RGB32);
            QImage filled = picture;
            filled.fill(sinceOnset >= 0 ? Qt::white : Qt::black);
            recorder.addPicture(filled, heardUs);
        }
        fifo.write(reinterpret_cast<const char*>(samples), sizeof samples);
    }
    QThread::msleep(200);
    recorder.stop();

    const RecordedFile file = RecordedFile::read(path);
    QVERIFY(file.hasSound);
    QCOMPARE(file.sampleRate, 48000);
    QVector<double> heard, seen;
    int quietRun = 48000;
    for (int s = 0; s < file.sound.size(); ++s) {
        if (std::abs(file.sound[s]) > 0.2f && quietRun > 4800)
            heard.append(file.soundStartS + double(s) / 48000);
        quietRun = std::abs(file.sound[s]) > 0.2f ? 0 : quietRun + 1;
    }
    for (int i = 0; i < file.pictures.size(); ++i)
        if (brightness(file.pictures[i]) > 128 && (i == 0 || brightness(file.pictures[i - 1]) <= 128))
            seen.append(file.pictureTimesS[i]);
    qDebug() << "pulses heard at" << heard << "seen at" << seen;
    QCOMPARE(heard.size(), pulseChunks.size());
    QCOMPARE(seen.size(), pulseChunks.size());
    for (int p = 0; p < heard.size(); ++p)
        QVERIFY2(
            std::abs(heard[p] - seen[p]) <= 0.045,
            qPrintable(QString("pulse %1: heard at %2 s, seen at %3 s").arg(p).arg(heard[p]).arg(seen[p])));
}

namespace {

// Sound read in fragments of 20 ms: when each fragment's first sample was heard, when it reached the
// reading side's buffer and when it was read, in milliseconds; a heard time below 0 is not checked.
struct SoundFragment {
    int heardMs;
    int arrivedMs;
    int readMs;
};

}  // namespace
Q_DECLARE_METATYPE(QVector<SoundFragment>)

void TestRecording::soundTimeline_data() {
    QTest::addColumn<QVector<SoundFragment>>("fragments");
    auto steady = [](int count, int heardFromMs) {
        QVector<SoundFragment> fragments;
        for (int i = 0; i < count; ++i) {
            const int heard = heardFromMs + 20 * i;
            fragments.append({heard, heard + 22, heard + 22});
        }
        return fragments;
    };
    QTest::newRow("read on time") << steady(30, 0);
    QVector<SoundFragment> heldUp = steady(30, 0);
    for (int i = 2; i <= 7; ++i)
        heldUp[i].readMs = std::max(heldUp[i].arrivedMs, 160);
    QTest::newRow("the sound thread held up for 100 ms") << heldUp;
    QVector<SoundFragment> serverHeldUp = steady(30, 0);
    for (int i = 2; i <= 6; ++i)
        serverHeldUp[i].arrivedMs = serverHeldUp[i].readMs = 160 + i;
    QTest::newRow("the server held up for 100 ms") << serverHeldUp;
    QVector<SoundFragment> burst = steady(40, 0);
    for (int i = 0; i <= 10; ++i)
        burst[i].arrivedMs = burst[i].readMs = 220 + i;
    QTest::newRow("a burst of what the input kept, at the start") << burst;
    QVector<SoundFragment> gap = steady(30, 0) + steady(30, 900);
    for (SoundFragment& fragment : gap)
        if (fragment.heardMs >= 900 &&
            fragment.readMs <= 900 + optigrab::SoundTimeline::kGapWindowUs / 1000 + 22)
            fragment.heardMs = -1;
    QTest::newRow("the input silent for 300 ms") << gap;
}

// However late its samples are read, each fragment is placed where it was heard; where the input
// went silent, the samples after the gap move on by it; nothing placed overlaps what came before.
void TestRecording::soundTimeline() {
    QFETCH(QVector<SoundFragment>, fragments);
    const int fragment = 960;  // 20 ms at 48 kHz
    optigrab::SoundTimeline timeline(48000);
    QVector<int64_t> placedUs;  // of every sample handed over
    const optigrab::SoundTimeline::Sink sink = [&](const float*, int count, int64_t heardUs) {
        QVERIFY2(placedUs.isEmpty() || heardUs >= placedUs.last() + 20,
                 "samples handed over in place of ones before them");
        for (int s = 0; s < count; ++s)
            placedUs.append(heardUs + int64_t(s) * 1000000 / 48000);
    };
    const std::vector<float> samples(fragment, 0.0f);
    for (int i = 0; i < fragments.size(); ++i) {
        int waiting = 0;
        for (int j = i + 1; j < fragments.size(); ++j)
            waiting += fragments[j].arrivedMs <= fragments[i].readMs ? fragment : 0;
        timeline.add(samples.data(), fragment, waiting, int64_t(fragments[i].readMs) * 1000, sink);
    }
    timeline.flush(sink);
    QCOMPARE(placedUs.size(), fragments.size() * fragment);
    const int64_t firstUs = placedUs[0] - int64_t(fragments[0].heardMs) * 1000;
    for (int i = 0; i < fragments.size(); ++i) {
        const int64_t atUs = placedUs[i * fragment] - firstUs;
        if (fragments[i].heardMs >= 0)
            QVERIFY2(std::abs(atUs - int64_t(fragments[i].heardMs) * 1000) <= 1000,
                     qPrintable(QString("fragment %1 heard at %2 ms, placed at %3 ms")
                                    .arg(i)
                                    .arg(fragments[i].heardMs)
                                    .arg(double(atUs) / 1000)));
    }
}

// A minute's lesson recorded on a busy machine (two busy loops beside it, the camera's 4K picture
// decoded, drawing and zooming all along): the sound lasts as long as the picture, and a click
// spoken into the test's own sound server every second lands at its place in the file from the first
// second to the last.
void TestRecording::soundKeepsItsPlaceUnderLoad() {
    SoundServer server;
    if (!server.start())
        QSKIP("pulseaudio could not be started");
    constexpr int kSeconds = 60;
    QVector<QProcess*> busyLoops;
    auto stopBusyLoops = qScopeGuard([&] {
        for (QProcess* loop : busyLoops) {
            loop->kill();
            loop->waitForFinished();
            delete loop;
        }
    });
    for (int i = 0; i < 2; ++i) {
        busyLoops.append(new QProcess);
        busyLoops.last()->start("sh", {"-c", "while :; do :; done"});
    }

    // The microphone: 10 ms of sound at a time, on time by the clock; a 20 ms tone at every second.
    // Never blocking: a server that stops reading must not hold the test up.
    const int fifo = ::open(QFile::encodeName(server.fifoPath()).constData(), O_WRONLY | O_NONBLOCK);
    QVERIFY(fifo >= 0);
    auto closeFifo = qScopeGuard([fifo] { ::close(fifo); });
    std::atomic<bool> speaking{true};
    QVector<int64_t> clicksUs;
    std::mutex clicksMutex;
    const int64_t firstUs = RecordingClock::nowUs() + 500000;
    std::thread microphone([&] {
        float samples[480];
        for (int64_t chunk = 0; speaking.load(); ++chunk) {
            const int64_t dueUs = firstUs + chunk * 10000;
            while (RecordingClock::nowUs() < dueUs)
                QThread::usleep(500);
            const bool click = chunk % 100 < 2;
            for (int s = 0; s < 480; ++s)
                samples[s] =
                    click ? 0.8f * float(std::sin(2 * M_PI * 1000 * (s + chunk % 100 * 480) / 48000.0)) : 0;
            if (chunk % 100 == 0) {
                std::lock_guard<std::mutex> lock(clicksMutex);
                clicksUs.append(dueUs);
            }
            // A full pipe (the server not reading) loses the chunk: a click out of place shows it.
            [[maybe_unused]] const ssize_t written = ::write(fifo, samples, sizeof samples);
        }
    });
    auto stopMicrophone = qScopeGuard([&] {
        speaking = false;
        microphone.join();
    });

    const std::unique_ptr<ExtraSettings> extra = storedSettings();
    extra->setValue("recording/sound", true);
    extra->setValue("recording/soundSource", "lesson");
    QTemporaryDir folder;
    OptigrabSimConfig config;
    optigrabSimDefaultConfig(&config);
    QVERIFY(optigrabSimPlug(&config) >= 0);
    int64_t startedUs = 0;
    {
        VideoWidget view;
        QVERIFY(showNamingInto(view, QSize(960, 540), folder.path()));
        QTRY_VERIFY_WITH_TIMEOUT(viewdriver::showsPicture(view), 10000);
        view.updateToolSettings(0, Qt::red, 6);
        while (RecordingClock::nowUs() < firstUs + 200000)
            QTest::qWait(10);
        QTest::keyClick(&view, Qt::Key_R, Qt::ControlModifier);
        QVERIFY(view.findChild<LessonRecorder*>()->isRecording());
        startedUs = view.findChild<LessonRecorder*>()->startedAtUs();
        QElapsedTimer lesson;
        lesson.start();
        for (int turn = 0; lesson.elapsed() < kSeconds * 1000; ++turn) {
            const int y = 60 + turn * 37 % 420;
            viewdriver::stroke(view, {{100, y}, {300, y + 20}, {500, y - 10}, {700, y + 15}, {860, y}});
            viewdriver::wheel(view, QPoint(200 + turn * 53 % 560, 100 + turn * 29 % 340),
                              turn % 6 < 3 ? 1 : -1);
            QTest::qWait(40);
        }
        QTest::keyClick(&view, Qt::Key_R, Qt::ControlModifier);
        QVERIFY(!view.findChild<RecordingController*>()->isRecording());
    }
    optigrabSimUnplugAll();
    extra->remove("recording/soundSource");
    stopMicrophone.dismiss();
    speaking = false;
    microphone.join();

    const RecordedFile file = RecordedFile::read(folder.filePath("lesson_00001.mp4"), false);
    QVERIFY(file.opened);
    QVERIFY(file.hasSound);
    const double soundS = file.soundDurationS;
    QVector<double> heard;
    int quietRun = 48000;
    for (int s = 0; s < file.sound.size(); ++s) {
        if (std::abs(file.sound[s]) > 0.2f && quietRun > 4800)
            heard.append(file.soundStartS + double(s) / file.sampleRate);
        quietRun = std::abs(file.sound[s]) > 0.2f ? 0 : quietRun + 1;
    }
    double worstS = 0;
    int expected = 0;
    for (const int64_t clickUs : clicksUs) {
        const double placeS = double(clickUs - startedUs) / 1e6;
        if (placeS < 0.05 || placeS > soundS - 0.05)
            continue;
        ++expected;
        double nearestS = 1e9;
        for (const double t : heard)
            nearestS = std::abs(t - placeS) < std::abs(nearestS) ? t - placeS : nearestS;
        worstS = std::max(worstS, std::abs(nearestS));
        QVERIFY2(std::abs(nearestS) <= 0.045,
                 qPrintable(
                     QString("the click spoken at %1 s is %2 s away in the file").arg(placeS).arg(nearestS)));
    }
    qInfo("%d pictures over %.3f s, sound %.3f s; %d clicks, %d heard, the farthest %.1f ms from its place",
          int(file.pictureTimesS.size()), file.durationS, soundS, expected, int(heard.size()), worstS * 1000);
    QVERIFY(expected >= kSeconds - 1);
    QCOMPARE(heard.size(), expected);
    QVERIFY2(std::abs(soundS - file.durationS) <= 0.040,
             qPrintable(QString("sound %1 s, picture %2 s").arg(soundS).arg(file.durationS)));
}

void TestRecording::viewRecording_data() {
    QTest::addColumn<QString>("stop");     // how the recording ends
    QTest::addColumn<bool>("noticed");     // whether a notice says why
    QTest::addColumn<bool>("cameraOnly");  // the camera's own picture instead of the view
    QTest::newRow("Ctrl+R") << "keys" << false << false;
    QTest::newRow("Record button") << "button" << false << false;
    QTest::newRow("camera unplugged") << "unplug" << true << false;
    QTest::newRow("camera picture only") << "keys" << false << true;
    QTest::newRow("camera picture only, unplugged") << "unplug" << true << true;
}

// What the class saw, drawing included and without the bars or the recording indicator, numbered
// after the folder's captures; ended by the keys, the button or an unplug, always a playable file. The
// camera's own picture instead: its full resolution, without the drawing.
void TestRecording::viewRecording() {
    QFETCH(QString, stop);
    QFETCH(bool, noticed);
    QFETCH(bool, cameraOnly);
    storedSettings()->setValue("recording/cameraOnly", cameraOnly);
    const QString name = cameraOnly ? "lesson_00005.mkv" : "lesson_00005.mp4";
    SoundServer sound;  // an input that stays silent
    QVERIFY(sound.start());
    QTemporaryDir folder;
    QFile earlier(folder.filePath("lesson_00004.jpg"));
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.close();
    OptigrabSimConfig config;
    optigrabSimDefaultConfig(&config);
    const int camera = optigrabSimPlug(&config);
    QVERIFY(camera >= 0);
    QVector<QPoint> hidden;  // view positions of the checked Move button and of the indicator
    {
        VideoWidget view;
        QVERIFY(showNamingInto(view, QSize(960, 540), folder.path()));
        QTRY_VERIFY_WITH_TIMEOUT(viewdriver::showsPicture(view), 10000);
        viewdriver::penLine(view, {0, 270}, {959, 270}, 40, Qt::green);
        QTest::keyClick(&view, Qt::Key_R, Qt::ControlModifier);
        QVERIFY(view.findChild<QLabel*>("recordingIndicator")->isVisible());
        auto* move = view.findChild<ToolsWidget*>()->findChild<QWidget*>("toolButton_drag");
        hidden = {move->mapTo(&view, move->rect().center()),
                  view.findChild<QLabel*>("recordingIndicator")->geometry().center()};
        QTest::qWait(1500);
        if (stop == "keys")
            QTest::keyClick(&view, Qt::Key_R, Qt::ControlModifier);
        else if (stop == "button")
            view.findChild<ToolsWidget*>()->findChild<QAbstractButton*>("toolButton_record")->click();
        else
            optigrabSimUnplug(camera);
        QTRY_VERIFY_WITH_TIMEOUT(!view.findChild<RecordingController*>()->isRecording(), 10000);
        QVERIFY(!view.findChild<QLabel*>("recordingIndicator")->isVisible());
        // Its tile in the file panel shows the first picture.
        const QList<FileItemWidget*> tiles =
            view.findChild<FileListWidget*>()->findChildren<FileItemWidget*>();
        QCOMPARE(tiles.size(), 1);
        QCOMPARE(tiles[0]->m_path, folder.filePath(name));
        QVERIFY(tiles[0]->m_pixmapLabel->pixmap(Qt::ReturnByValue).width() > 50);
        const NoticeLabel* notice = view.findChild<NoticeLabel*>();
        QCOMPARE(notice->isVisible() && notice->text().contains("unplugged"), noticed);
    }
    optigrabSimUnplugAll();
    storedSettings()->remove("recording/cameraOnly");

    const RecordedFile file = RecordedFile::read(folder.filePath(name));
    QVERIFY(file.opened);
    QCOMPARE(file.size, cameraOnly ? QSize(3840, 2160) : QSize(960, 540));  // the camera's mode, or the view
    QVERIFY(!file.pictures.isEmpty());
    if (!cameraOnly) {
        // Sound and picture end together, also when the camera went away first.
        QVERIFY(file.hasSound);
        const double soundS = file.soundDurationS;
        QVERIFY2(std::abs(soundS - file.durationS) <= 0.040,
                 qPrintable(QString("sound %1 s, picture %2 s").arg(soundS).arg(file.durationS)));
    }
    const QImage last = file.pictures.last();
    const double scale = last.width() / 960.0;
    const QColor ink = last.pixelColor(int(480 * scale), int(270 * scale));
    QVERIFY2((ink.green() > 180 && ink.red() < 90) != cameraOnly, qPrintable(ink.name()));
    // Where the bottom bar's checked Move button and the indicator are on screen, the file shows
    // the page: light, not the button's blue nor the indicator's dark box.
    for (const QPoint& onScreen : hidden) {
        const QColor page = last.pixelColor(int(onScreen.x() * scale), int(onScreen.y() * scale));
        QVERIFY2(page.lightness() > 150 && std::abs(page.red() - page.blue()) < 60, qPrintable(page.name()));
    }
}

void TestRecording::cameraTimesKept_data() {
    QTest::addColumn<bool>("zoomed");          // frames of a part of the picture, for a zoomed view
    QTest::addColumn<QVector<int>>("lateMs");  // how long after its capture each frame is painted
    QTest::newRow("painted late by varying amounts") << false << QVector<int>{0, 70, 10, 90, 20, 60, 0, 80};
    QTest::newRow("zoomed view") << true << QVector<int>{40, 0, 85, 5, 50, 0, 90, 30};
}

// Frames taken every 100 ms but painted after varying delays land in the file at the times the
// camera took them, not when they were painted.
void TestRecording::cameraTimesKept() {
    QFETCH(bool, zoomed);
    QFETCH(QVector<int>, lateMs);
    optigrabSimUnplugAll();
    QTemporaryDir folder;
    const QString path = folder.filePath("lesson_00001.mp4");
    auto colour = [](int number) { return QColor::fromHsv(number * 45, 255, 230); };
    auto deliver = [](VideoWidget& view, const QColor& colour, int64_t capturedUs, bool part) {
        QImage frame(640, 360, QImage::Format_RGB888);
        frame.fill(colour);
        view.frameCaptured(0, capturedUs);
        if (part)
            view.drawQImagePart(0, &frame, QRectF(0.25, 0.25, 0.5, 0.5));
        else
            view.drawQImage(0, &frame, frame.width(), frame.height());
    };
    {
        VideoWidget view;
        QVERIFY(showNamingInto(view, QSize(640, 360), folder.path()));
        deliver(view, Qt::gray, RecordingClock::nowUs(), false);
        QTRY_VERIFY(viewdriver::showsPicture(view));
        if (zoomed)
            QMetaObject::invokeMethod(&view, "zoomIn");
        QTest::keyClick(&view, Qt::Key_R, Qt::ControlModifier);
        QVERIFY(view.findChild<LessonRecorder*>()->isRecording());
        const int64_t firstUs = RecordingClock::nowUs() + 50000;
        for (int number = 0; number < lateMs.size(); ++number) {
            const int64_t capturedUs = firstUs + number * 100000;
            const int64_t dueUs = capturedUs + lateMs[number] * 1000;
            while (RecordingClock::nowUs() < dueUs)
                QTest::qWait(1);
            deliver(view, colour(number), capturedUs, zoomed);
            QTest::qWait(5);
        }
        QTest::qWait(200);
        QTest::keyClick(&view, Qt::Key_R, Qt::ControlModifier);
        QVERIFY(!view.findChild<LessonRecorder*>()->isRecording());
    }
    const RecordedFile file = RecordedFile::read(path);
    QVERIFY(file.opened);
    // The first picture of each frame's colour is that frame.
    QVector<double> seenS(lateMs.size(), -1);
    for (int i = 0; i < file.pictures.size(); ++i) {
        const QColor got = file.pictures[i].pixelColor(file.pictures[i].rect().center());
        for (int number = 0; number < lateMs.size(); ++number) {
            const QColor want = colour(number);
            if (seenS[number] < 0 && std::abs(got.red() - want.red()) + std::abs(got.green() - want.green()) +
                                             std::abs(got.blue() - want.blue()) <
                                         60)
                seenS[number] = file.pictureTimesS[i];
        }
    }
    for (int number = 0; number < lateMs.size(); ++number) {
        QVERIFY2(seenS[number] >= 0, qPrintable(QString("frame %1 is not in the file").arg(number)));
        const double offsetS = seenS[number] - seenS[0] - number * 0.1;
        QVERIFY2(std::abs(offsetS) < 0.002,
                 qPrintable(
                     QString("frame %1 at %2 s after the first").arg(number).arg(seenS[number] - seenS[0])));
    }
}

void TestRecording::soundChoice_data() {
    QTest::addColumn<bool>("server");
    QTest::newRow("the server's input listed") << true;
    QTest::newRow("no server: none and the default") << false;
}

// The Record button's menu offers no sound, the default input and the server's inputs (monitors of
// outputs left out); a choice is remembered.
void TestRecording::soundChoice() {
    QFETCH(bool, server);
    SoundServer sound;
    if (server && !sound.start())
        QSKIP("pulseaudio could not be started");
    VideoWidget view;
    QMenu menu;
    view.findChild<RecordingController*>()->fillSoundMenu(&menu);
    QList<QAction*> choices;
    for (QAction* action : menu.actions())
        if (action->isCheckable())
            choices << action;
    QCOMPARE(choices.size(), server ? 3 : 2);
    QCOMPARE(choices[0]->text(), QString("No sound"));
    QVERIFY(choices[1]->isChecked());  // the default input, unless chosen otherwise
    const std::unique_ptr<ExtraSettings> extra = storedSettings();
    choices.last()->trigger();
    QCOMPARE(extra->value("recording/sound").toBool(), true);
    QCOMPARE(extra->value("recording/soundSource").toString(), server ? QString("lesson") : QString());
    choices[0]->trigger();
    QCOMPARE(extra->value("recording/sound").toBool(), false);
    choices[1]->trigger();
}

void TestRecording::cutOffRecordingsRecovered_data() {
    QTest::addColumn<int>("ageS");    // since the cut-off file last changed
    QTest::addColumn<bool>("taken");  // its own name is taken by another file
    QTest::addColumn<bool>("renamed");
    QTest::newRow("cut off in an earlier run") << 60 << false << true;
    QTest::newRow("being written now") << 0 << false << false;
    QTest::newRow("its name taken") << 60 << true << false;
}

// A recording cut off by a kill is put under its name at the next start, plays, shows in the file
// panel, and a notice says so; a file still being written, or one whose name is taken, stays.
void TestRecording::cutOffRecordingsRecovered() {
    QFETCH(int, ageS);
    QFETCH(bool, taken);
    QFETCH(bool, renamed);
    QTemporaryDir folder;
    const QString path = folder.filePath("lesson_00002.mp4");
    const QString cut = LessonRecorder::temporaryPath(path);
    {
        optigrab::RecordingWriter writer;  // dropped without finish(), as a kill leaves it
        QVERIFY(writer.open(cut.toStdString(), {optigrab::RecordingWriter::Container::Mp4,
                                                optigrab::kComposedRgb32, 320, 240, 10, false}));
        for (int number = 0; number < 20; ++number) {
            const QImage page = syntheticPage(QSize(320, 240), number, false);
            const optigrab::FrameView view{optigrab::kComposedRgb32,
                                           page.constBits(),
                                           size_t(page.sizeInBytes()),
                                           page.width(),
                                           page.height(),
                                           page.bytesPerLine()};
            QVERIFY(writer.writePicture(view, number * 100000));
        }
    }
    QFile file(cut);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-ageS), QFileDevice::FileModificationTime));
    file.close();
    if (taken) {
        QFile other(path);
        QVERIFY(other.open(QIODevice::WriteOnly));
    }
    ReadXML::instance()->savePath = folder.path().toStdString();
    QVERIFY(ReadXML::instance()->writeData(m_settingsPath.toUtf8().constData()));
    VideoWidget view;
    QCOMPARE(QFileInfo::exists(cut), !renamed);
    const NoticeLabel* notice = view.findChild<NoticeLabel*>();
    QCOMPARE(notice->text().contains("lesson_00002.mp4"), renamed);
    QCOMPARE(view.findChild<FileListWidget*>()->findChildren<FileItemWidget*>().size(), renamed ? 1 : 0);
    if (renamed) {
        const RecordedFile recovered = RecordedFile::read(path);
        QVERIFY(recovered.opened);
        QVERIFY2(recovered.durationS > 1.5, qPrintable(QString::number(recovered.durationS)));
    }
}

// The camera's own stream fills a disk in minutes: soon after its start a notice tells the rate and
// the time the disk lasts, and the recording ends with a notice while a margin is still free (here the
// margin is set to all but a few megabytes of the disk).
void TestRecording::cameraRecordingWatchesTheDisk_data() {
    QTest::addColumn<qint64>("leftBytes");  // free beyond the margin at the start; 0: the usual margin
    QTest::addColumn<QString>("notice");
    QTest::newRow("room for a while") << qint64(0)
                                      << "^Camera picture only writes about \\d+(\\.\\d)? [GM]B a minute: "
                                         "the disk has room for (\\d+ h )?\\d+ min more\\.$";
    QTest::newRow("disk nearly full")
        << qint64(8 * 1024 * 1024)
        << "^The recording stopped before the disk is full\\. What was recorded is saved\\.$";
}

void TestRecording::cameraRecordingWatchesTheDisk() {
    QFETCH(qint64, leftBytes);
    QFETCH(QString, notice);
    storedSettings()->setValue("recording/cameraOnly", true);
    QTemporaryDir folder;
    OptigrabSimConfig config;
    optigrabSimDefaultConfig(&config);
    QVERIFY(optigrabSimPlug(&config) >= 0);
    {
        VideoWidget view;
        ReadXML* settings = ReadXML::instance();
        settings->savePath = folder.path().toStdString();
        settings->bsaveType = true;
        settings->customPrefix = "lesson";
        view.resize(960, 540);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTRY_VERIFY_WITH_TIMEOUT(viewdriver::showsPicture(view), 10000);
        if (leftBytes > 0)
            view.findChild<DiskSpaceWatch*>()->m_minimumMargin =
                QStorageInfo(folder.path()).bytesAvailable() - leftBytes;
        QTest::keyClick(&view, Qt::Key_R, Qt::ControlModifier);
        QVERIFY(view.findChild<RecordingController*>()->isRecording());
        const NoticeLabel* label = view.findChild<NoticeLabel*>();
        QTRY_VERIFY_WITH_TIMEOUT(
            label->isVisible() && QRegularExpression(notice).match(label->text()).hasMatch(), 10000);
        QCOMPARE(view.findChild<RecordingController*>()->isRecording(), leftBytes == 0);
        if (view.findChild<RecordingController*>()->isRecording())
            QTest::keyClick(&view, Qt::Key_R, Qt::ControlModifier);
        QVERIFY(!view.findChild<RecordingController*>()->isRecording());
    }
    optigrabSimUnplugAll();
    storedSettings()->remove("recording/cameraOnly");
    const RecordedFile file = RecordedFile::read(folder.filePath("lesson_00001.mkv"));
    QVERIFY(file.opened);
    QVERIFY(!file.pictures.isEmpty());
}

void TestRecording::refusedRecordingLeavesNoFile_data() {
    QTest::addColumn<bool>("picture");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("notice");
    QTest::newRow("no camera picture") << false << "lesson"
                                       << "Nothing to record yet: there is no camera picture.";
    QTest::newRow("prefix with a slash")
        << true << "../lesson"
        << "The recording did not start: the file name prefix holds a \"/\".";
}

// A recording that cannot start says why, once, and leaves neither a file nor the indicator.
void TestRecording::refusedRecordingLeavesNoFile() {
    QFETCH(bool, picture);
    QFETCH(QString, prefix);
    QFETCH(QString, notice);
    QTemporaryDir folder;
    ReadXML* settings = ReadXML::instance();
    settings->savePath = folder.path().toStdString();
    settings->bsaveType = true;
    settings->customPrefix = prefix.toStdString();
    QWidget view;
    view.resize(320, 240);
    QImage shown(view.size(), QImage::Format_RGB32);
    shown.fill(Qt::gray);
    int lastNumber = 0;
    FileNumbering numbering(&lastNumber);
    ExtraSettings store;
    RecordingController recording(
        &view, [&] { return picture ? shown : QImage(); }, nullptr, &numbering, &store);
    QSignalSpy notices(&recording, &RecordingController::notice);
    QSignalSpy changes(&recording, &RecordingController::recordingChanged);
    recording.start(0);
    QCOMPARE(notices.size(), 1);
    QCOMPARE(notices[0][0].toString(), notice);
    QVERIFY(changes.isEmpty());
    QVERIFY(!recording.isRecording());
    QVERIFY(view.findChild<QLabel*>("recordingIndicator") == nullptr);
    QVERIFY(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

QTEST_MAIN(TestRecording)
#include "tst_recording.moc"
