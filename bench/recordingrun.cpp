// SPDX-License-Identifier: GPL-3.0-or-later
// The recording scenario in a process of its own: a simulated 4K MJPEG camera at 30 fps behind the real
// library and presenter, a real 1920x1080 VideoWidget on the offscreen platform, live for a while and
// then recording with sound, and the file read back with libavformat.
#include "recordingrun.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "../tests/recording/soundserver.h"
#include "benchcamera.h"
#include "countingview.h"
#include "liveview/videowidget.h"
#include "optigrab.h"
#include "recording/lessonrecorder.h"
#include "recording/recordingclock.h"
#include "samples.h"

namespace {

const int kLiveMs = 15000;   // live only, before the recording
const int kWarmupMs = 3000;  // before the live window
const int kPulseEveryMs = 5000;

// Speaks 100 ms tone pulses into the server's source every few seconds, in real time, and keeps the
// moments (RecordingClock) each pulse began.
class PulseSpeaker {
public:
    explicit PulseSpeaker(const QString& fifo) : m_fifo(fifo) {}
    void start() {
        m_thread = std::thread([this] { run(); });
    }
    void stop() {
        m_stopping = true;
        m_thread.join();
    }
    std::vector<double> pulsesS;  // read after stop()

private:
    void run() {
        // Never blocks: while no recording reads the source, blocks the full pipe cannot take are lost.
        const int fifo = ::open(m_fifo.toUtf8().constData(), O_WRONLY | O_NONBLOCK);
        if (fifo < 0)
            return;
        const int chunk = 480;  // 10 ms
        std::vector<float> samples(chunk);
        QElapsedTimer clock;
        clock.start();
        for (long i = 0; !m_stopping; ++i) {
            while (clock.nsecsElapsed() < qint64(i) * 10000000)
                std::this_thread::sleep_for(std::chrono::microseconds(500));
            const long inPulse = i % (kPulseEveryMs / 10);
            for (int s = 0; s < chunk; ++s)
                samples[size_t(s)] =
                    inPulse < 10 ? 0.8f * float(std::sin(2 * M_PI * 1000 * (s + inPulse * chunk) / 48000.0))
                                 : 0.f;
            if (inPulse == 0)
                pulsesS.push_back(double(RecordingClock::nowUs()) / 1e6);
            if (::write(fifo, samples.data(), chunk * sizeof(float)) < 0 && inPulse == 0)
                pulsesS.pop_back();  // not heard
        }
        ::close(fifo);
    }
    QString m_fifo;
    std::thread m_thread;
    std::atomic<bool> m_stopping{false};
};

// Pulse onsets in the file's sound track (seconds of the track) and its picture packets.
struct ReadBack {
    std::vector<double> pulsesS;
    long pictures = 0;
    bool opened = false;
};

ReadBack readBack(const QString& path) {
    ReadBack back;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.toUtf8().constData(), nullptr, nullptr) < 0)
        return back;
    avformat_find_stream_info(format, nullptr);
    const int sound = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    AVCodecContext* decoder = nullptr;
    if (sound >= 0) {
        const AVCodec* codec = avcodec_find_decoder(format->streams[sound]->codecpar->codec_id);
        decoder = avcodec_alloc_context3(codec);
        avcodec_parameters_to_context(decoder, format->streams[sound]->codecpar);
        avcodec_open2(decoder, codec, nullptr);
    }
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    long quiet = 0;  // a pulse under way when the track starts is not an onset
    while (av_read_frame(format, packet) >= 0) {
        if (format->streams[packet->stream_index]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO)
            ++back.pictures;
        if (packet->stream_index == sound && avcodec_send_packet(decoder, packet) >= 0) {
            while (avcodec_receive_frame(decoder, frame) >= 0) {
                const double start = frame->best_effort_timestamp * av_q2d(format->streams[sound]->time_base);
                const auto* samples = reinterpret_cast<const float*>(frame->extended_data[0]);
                for (int s = 0; s < frame->nb_samples; ++s) {
                    const bool loud = std::abs(samples[s]) > 0.2f;
                    if (loud && quiet > 4800)
                        back.pulsesS.push_back(start + double(s) / frame->sample_rate);
                    quiet = loud ? 0 : quiet + 1;
                }
            }
        }
        av_packet_unref(packet);
    }
    back.opened = true;
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&decoder);
    avformat_close_input(&format);
    return back;
}

}  // namespace

// The product's view, counting the paints that show a new camera frame.
class RecordingRun : public CountingView {
public:
    void toggle() { toggleRecording(); }
    LessonRecorder* recorder() const { return findChild<LessonRecorder*>(); }
};

int runRecording(int argc, char** argv, int seconds) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SoundServer server;
    if (!server.start()) {
        std::fprintf(stderr, "pulseaudio could not be started\n");
        return 2;
    }
    QTemporaryDir saveFolder;
    if (!saveFolder.isValid() || !plugBenchCamera(saveFolder.path())) {
        std::fprintf(stderr, "the simulated camera or the settings could not be set up\n");
        return 2;
    }
    auto* view = new RecordingRun;
    view->resize(1920, 1080);
    view->show();
    PulseSpeaker speaker(server.fifoPath());
    speaker.start();

    QElapsedTimer clock;
    double liveCpu = 0, liveS = 0, recordCpu = 0, recordS = 0;
    int livePainted = 0, recordPainted = 0;
    double recordingStartS = 0;
    double cpuMark = 0;
    qint64 wallMark = 0;
    int paintedMark = 0;
    auto mark = [&] {
        cpuMark = processCpuS();
        wallMark = clock.nsecsElapsed();
        paintedMark = view->painted;
    };
    QTimer::singleShot(kWarmupMs, view, [&] {
        clock.start();
        mark();
    });
    QTimer::singleShot(kWarmupMs + kLiveMs, view, [&] {
        liveCpu = processCpuS() - cpuMark;
        liveS = (clock.nsecsElapsed() - wallMark) / 1e9;
        livePainted = view->painted - paintedMark;
        recordingStartS = double(RecordingClock::nowUs()) / 1e6;
        view->toggle();
        mark();
    });
    LessonRecorder::Outcome outcome;
    QTimer::singleShot(kWarmupMs + kLiveMs + seconds * 1000, view, [&] {
        recordPainted = view->painted - paintedMark;
        view->toggle();
        recordCpu = processCpuS() - cpuMark;
        recordS = (clock.nsecsElapsed() - wallMark) / 1e9;
        app.quit();
    });
    app.exec();
    speaker.stop();
    delete view;
    camUnInitCameraLib();

    const QStringList files = QDir(saveFolder.path()).entryList({"*.mp4"}, QDir::Files);
    if (files.size() != 1) {
        std::fprintf(stderr, "%d recordings in the save folder, expected one\n", int(files.size()));
        return 3;
    }
    const QString path = QDir(saveFolder.path()).filePath(files[0]);
    const ReadBack back = readBack(path);
    // Pulses spoken during the recording, against those heard in the file: the drift is how far the
    // sound's timeline moved from the clock the pictures are stamped with, from the first pulse on.
    double drift = 0;
    int matched = 0;
    // The first pulse heard is the first spoken after the recording started.
    std::vector<double> spoken;
    for (double t : speaker.pulsesS)
        if (t >= recordingStartS)
            spoken.push_back(t);
    for (size_t k = 1; k < back.pulsesS.size() && k < spoken.size(); ++k) {
        const double d = (back.pulsesS[k] - back.pulsesS[0]) - (spoken[k] - spoken[0]);
        drift = std::max(drift, std::abs(d));
        ++matched;
    }
    const double minutes = recordS / 60.0;
    figure("live_fps", livePainted / std::max(1e-9, liveS));
    figure("record_fps", recordPainted / std::max(1e-9, recordS));
    figure("recorded_pictures", double(back.pictures));
    figure("painted_while_recording", recordPainted);
    figure("recorded_share", double(back.pictures) / std::max(1, recordPainted));
    figure("live_cores", liveCpu / std::max(1e-9, liveS));
    figure("record_cores", recordCpu / std::max(1e-9, recordS));
    figure("pulses_matched", matched);
    figure("av_drift_ms", drift * 1000);
    figure("mib_per_minute", double(QFileInfo(path).size()) / (1 << 20) / std::max(1e-9, minutes));
    figure("recorded_s", recordS);
    std::fflush(stdout);
    return back.opened ? 0 : 4;
}
