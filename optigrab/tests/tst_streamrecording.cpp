// SPDX-License-Identifier: GPL-3.0-or-later
// Recording a camera's own stream (camStartUVCRecord / camStopUVCRecord): the files read back with
// libavformat, and the result codes.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

#include "../../tests/recording/soundserver.h"
#include "testsupport.h"

namespace {

// What the file holds: the picture track's codec, size and packets with their times, and whether
// its pictures and sound decode.
struct StreamFile {
    bool opened = false;
    AVCodecID codec = AV_CODEC_ID_NONE;
    QSize size;
    QVector<QByteArray> packets;
    QVector<qint64> timesMs;
    int decoded = 0;  // pictures
    bool hasSound = false;
    double soundS = 0;  // decoded sound's length

    static StreamFile read(const QString& path) {
        StreamFile file;
        AVFormatContext* format = nullptr;
        if (avformat_open_input(&format, path.toUtf8().constData(), nullptr, nullptr) < 0)
            return file;
        avformat_find_stream_info(format, nullptr);
        AVCodecContext* decoders[4] = {};
        for (unsigned i = 0; i < format->nb_streams && i < 4; ++i) {
            const AVCodecParameters* parameters = format->streams[i]->codecpar;
            if (parameters->codec_type == AVMEDIA_TYPE_VIDEO) {
                file.codec = parameters->codec_id;
                file.size = QSize(parameters->width, parameters->height);
            }
            file.hasSound = file.hasSound || parameters->codec_type == AVMEDIA_TYPE_AUDIO;
            const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
            decoders[i] = avcodec_alloc_context3(codec);
            avcodec_parameters_to_context(decoders[i], parameters);
            avcodec_open2(decoders[i], codec, nullptr);
        }
        AVPacket* packet = av_packet_alloc();
        AVFrame* frame = av_frame_alloc();
        auto drain = [&](unsigned index) {
            while (avcodec_receive_frame(decoders[index], frame) >= 0) {
                if (decoders[index]->codec_type == AVMEDIA_TYPE_VIDEO)
                    ++file.decoded;
                else
                    file.soundS += double(frame->nb_samples) / frame->sample_rate;
            }
        };
        while (av_read_frame(format, packet) >= 0) {
            const unsigned index = unsigned(packet->stream_index);
            if (format->streams[index]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
                file.packets.append(QByteArray(reinterpret_cast<const char*>(packet->data), packet->size));
                file.timesMs.append(av_rescale_q(packet->pts, format->streams[index]->time_base, {1, 1000}));
            }
            if (index < 4 && avcodec_send_packet(decoders[index], packet) >= 0)
                drain(index);
            av_packet_unref(packet);
        }
        for (unsigned i = 0; i < format->nb_streams && i < 4; ++i) {
            avcodec_send_packet(decoders[i], nullptr);
            drain(i);
            avcodec_free_context(&decoders[i]);
        }
        file.opened = true;
        av_frame_free(&frame);
        av_packet_free(&packet);
        avformat_close_input(&format);
        return file;
    }
};

// Capture times of the frames the preview callback saw, in order.
std::mutex g_timesMutex;
std::vector<long long> g_captureTimesUs;

bool collectTimes(unsigned char*, long, long, long, void* param) {
    std::lock_guard<std::mutex> lock(g_timesMutex);
    g_captureTimesUs.push_back(static_cast<PreviewParam*>(param)->captureTimeUs);
    return true;
}

// Distinct JPEG pictures in folder, each a different number of bars.
QVector<QByteArray> writeFrames(const QString& folder, int count) {
    QVector<QByteArray> files;
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        QImage picture(320, 240, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        for (int bar = 0; bar <= i; ++bar)
            painter.fillRect(10 + bar * 30, 20, 20, 200, Qt::black);
        painter.end();
        const QString path = QDir(folder).filePath(QString("frame%1.jpg").arg(i));
        picture.save(path, "JPEG", 80);
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        files.append(file.readAll());
    }
    return files;
}

}  // namespace

class TestStreamRecording : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        qputenv("PULSE_SERVER", "unix:/nonexistent/optigrab-test");  // no sound server unless started
        QCOMPARE(camInitCameraLib(), long(CAM_OK));
    }
    void cleanupTestCase() { camUnInitCameraLib(); }
    void cleanup() {
        optigrabSimUnplugAll();
        QVERIFY(settled());
    }

    void recordedStream_data();
    void recordedStream();
    void codes_data();
    void codes();
};

void TestStreamRecording::recordedStream_data() {
    QTest::addColumn<QString>("camera");  // "frames": JPEG files played as MJPEG; "yuy2": a YUY2 camera
    QTest::addColumn<bool>("sound");      // from the test's own sound server
    QTest::addColumn<bool>("unplug");     // the camera is unplugged before the recording is stopped
    QTest::newRow("MJPEG frames as sent") << "frames" << false << false;
    QTest::newRow("MJPEG with sound") << "frames" << true << false;
    QTest::newRow("unplugged, then stopped") << "frames" << false << true;
    QTest::newRow("YUY2 encoded once") << "yuy2" << false << false;
}

// Every MJPEG frame byte for byte and in order, at the times the camera took them; uncompressed
// frames as H.264; the sound track; a whole file also when the camera went first.
void TestStreamRecording::recordedStream() {
    QFETCH(QString, camera);
    QFETCH(bool, sound);
    QFETCH(bool, unplug);
    SoundServer server;
    if (sound && !server.start())
        QSKIP("pulseaudio could not be started");
    QTemporaryDir folder;
    QVector<QByteArray> jpegs;
    int id = -1;
    if (camera == "frames") {
        jpegs = writeFrames(folder.filePath("frames"), 7);
        id = optigrabSimPlugFrames(folder.filePath("frames").toUtf8().constData(), 30);
    } else {
        OptigrabSimConfig config;
        optigrabSimDefaultConfig(&config);
        const OptigrabSimMode yuy2{1, 640, 480, {30, 0, 0, 0}};
        config.modes = &yuy2;
        config.modeCount = 1;
        id = optigrabSimPlug(&config);
    }
    QVERIFY(id >= 0);
    QVERIFY(settled());
    long count = 0;
    QCOMPARE(camGetDevCount(&count), long(CAM_OK));
    const long dev = count - 1;
    QCOMPARE(camRegCallBackPreviewImage(dev, collectTimes), long(CAM_OK));
    QCOMPARE(camOpenDev(dev, camera == "frames" ? 2 : 1, 0, 0, 0), long(CAM_OK));
    QVERIFY(waitFor([] {
        std::lock_guard<std::mutex> lock(g_timesMutex);
        return g_captureTimesUs.size() > 3;
    }));
    const QString path = folder.filePath("lesson/camera_00001.mkv");  // the folder is made
    {
        std::lock_guard<std::mutex> lock(g_timesMutex);
        g_captureTimesUs.clear();
    }
    QCOMPARE(camStartUVCRecord(int(dev), sound ? 0 : -1, 0, path.toUtf8().constData()), long(CAM_OK));
    QVERIFY(QFile::exists(folder.filePath("lesson/camera_00001.recording.mkv")));
    // 1.5 s of the camera; with sound, a tone spoken into the server meanwhile, in real time.
    QFile fifo(server.fifoPath());
    QVERIFY(!sound || fifo.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    QElapsedTimer clock;
    clock.start();
    std::vector<float> tone(960);
    for (std::size_t s = 0; s < tone.size(); ++s)
        tone[s] = 0.5f * float(std::sin(2 * M_PI * 1000 * double(s) / 48000));
    for (int block = 0; block < 75; ++block) {
        while (clock.elapsed() < block * 20)
            QThread::msleep(1);
        if (sound)
            fifo.write(reinterpret_cast<const char*>(tone.data()), qint64(tone.size() * sizeof(float)));
    }
    if (unplug) {
        optigrabSimUnplug(id);
        QVERIFY(settled());
    } else {
        QCOMPARE(camCloseDev(dev), long(CAM_OK));  // no frame arrives after the last one counted
    }
    QCOMPARE(camStopUVCRecord(int(dev)), long(CAM_OK));
    QVERIFY(!QFile::exists(folder.filePath("lesson/camera_00001.recording.mkv")));

    const StreamFile file = StreamFile::read(path);
    QVERIFY(file.opened);
    QVERIFY2(file.packets.size() >= 20, qPrintable(QString::number(file.packets.size())));
    QCOMPARE(file.decoded, file.packets.size());
    QCOMPARE(file.hasSound, sound);
    if (sound)
        QVERIFY2(file.soundS > 1.0, qPrintable(QString::number(file.soundS)));
    std::vector<long long> shown;
    {
        std::lock_guard<std::mutex> lock(g_timesMutex);
        shown = g_captureTimesUs;
    }
    if (camera == "yuy2") {
        QCOMPARE(file.codec, AV_CODEC_ID_H264);
        QCOMPARE(file.size, QSize(640, 480));
        return;
    }
    QCOMPARE(file.codec, AV_CODEC_ID_MJPEG);
    QCOMPARE(file.size, QSize(320, 240));
    // Packet k is the camera's frame k: the files follow each other, none left out.
    const int first = int(jpegs.indexOf(file.packets[0]));
    QVERIFY(first >= 0);
    for (int k = 0; k < file.packets.size(); ++k)
        QVERIFY2(file.packets[k] == jpegs[(first + k) % jpegs.size()],
                 qPrintable(QString("packet %1").arg(k)));
    // The frames the preview showed from the start on are the recorded ones, at their capture times.
    QVERIFY(shown.size() >= std::size_t(file.packets.size()));
    const std::size_t offset = shown.size() - std::size_t(file.packets.size());
    QVERIFY(offset <= 1);  // a frame taken just before the start is not recorded
    for (int k = 1; k < file.packets.size(); ++k) {
        const qint64 cameraMs = (shown[offset + std::size_t(k)] - shown[offset]) / 1000;
        QVERIFY2(std::abs(file.timesMs[k] - file.timesMs[0] - cameraMs) <= 1,
                 qPrintable(QString("packet %1 at %2 ms, taken at %3 ms")
                                .arg(k)
                                .arg(file.timesMs[k] - file.timesMs[0])
                                .arg(cameraMs)));
    }
}

void TestStreamRecording::codes_data() {
    QTest::addColumn<QString>("situation");
    QTest::addColumn<long>("start");
    QTest::addColumn<long>("stop");
    QTest::newRow("not open") << "closed" << long(CAM_ERR_NOT_OPEN) << long(CAM_ERR_NOT_OPEN);
    QTest::newRow("empty path") << "empty path" << long(CAM_ERR_BAD_ARGUMENT) << long(CAM_ERR_NOT_OPEN);
    QTest::newRow("folder not writable") << "unwritable" << long(CAM_ERR_FILE) << long(CAM_ERR_NOT_OPEN);
    QTest::newRow("another sound input")
        << "audio 2" << long(CAM_ERR_NOT_SUPPORTED) << long(CAM_ERR_NOT_OPEN);
    QTest::newRow("second node") << "sub-device" << long(CAM_ERR_NOT_SUPPORTED) << long(CAM_ERR_NOT_OPEN);
    QTest::newRow("no sound server") << "audio 0" << long(CAM_ERR_NO_SOUND) << long(CAM_OK);
    QTest::newRow("started twice") << "twice" << long(CAM_ERR_BUSY) << long(CAM_OK);
}

// What each call answers; a refused start leaves no file behind.
void TestStreamRecording::codes() {
    QFETCH(QString, situation);
    QFETCH(long, start);
    QFETCH(long, stop);
    QVERIFY(optigrabSimPlug(nullptr) >= 0);
    QVERIFY(settled());
    long count = 0;
    QCOMPARE(camGetDevCount(&count), long(CAM_OK));
    const int dev = int(count - 1);
    if (situation != "closed")
        QCOMPARE(camOpenDev(dev, 2, 640, 480, 0), long(CAM_OK));
    QTemporaryDir folder;
    QString path = folder.filePath("camera.mkv");
    if (situation == "empty path")
        path.clear();
    if (situation == "unwritable")
        path = "/proc/optigrab-test/camera.mkv";
    const int audio = situation == "audio 2" ? 2 : situation == "audio 0" ? 0 : -1;
    const int sub = situation == "sub-device" ? 1 : 0;
    if (situation == "twice")
        QCOMPARE(camStartUVCRecord(dev, -1, 0, folder.filePath("first.mkv").toUtf8().constData()),
                 long(CAM_OK));
    QCOMPARE(camStartUVCRecord(dev, audio, sub, path.toUtf8().constData()), start);
    if (start != CAM_OK && start != CAM_ERR_NO_SOUND && !path.isEmpty())
        QVERIFY(!QFileInfo::exists(path) &&
                QDir(folder.path()).entryList(QDir::Files).size() == int(situation == "twice"));
    QThread::msleep(300);
    QCOMPARE(camStopUVCRecord(dev), stop);
    camCloseDev(dev);
}

QTEST_MAIN(TestStreamRecording)
#include "tst_streamrecording.moc"
