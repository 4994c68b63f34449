// SPDX-License-Identifier: GPL-3.0-or-later
// Records handed-over pictures and the sound input into an MP4 file on an encoding thread.
#include "lessonrecorder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>

#include "mp4writer.h"
#include "recordingclock.h"
#include "soundsource.h"

namespace {

// Pictures waiting for the encoder beyond this many are dropped: a few frames of slack absorb a
// slow frame without letting memory or latency grow. The newest picture is never the one dropped,
// so the file shows what was seen last and lasts until it.
constexpr size_t kMaxWaitingPictures = 6;
// At the end, the sound heard until the stop is waited for this long at most: the server hands it
// over a fragment late, or later on a busy machine; an input that went quiet costs this wait.
constexpr int kSoundTailWaitMs = 1000;

}  // namespace

LessonRecorder::LessonRecorder(QObject* parent) : QObject(parent) {}

LessonRecorder::~LessonRecorder() {
    if (isRecording())
        stop();
}

QSize LessonRecorder::recordedSize(const QSize& viewSize) {
    QSize size = viewSize;
    if (size.width() > 1920 || size.height() > 1080)
        size.scale(1920, 1080, Qt::KeepAspectRatio);
    return QSize(std::max(2, size.width() & ~1), std::max(2, size.height() & ~1));
}

QString LessonRecorder::temporaryPath(const QString& path) {
    const QFileInfo info(path);
    return info.dir().filePath(info.completeBaseName() + ".recording." + info.suffix());
}

bool LessonRecorder::start(const Settings& settings, QString* reason) {
    if (isRecording())
        return false;
    m_path = settings.path;
    m_writer = std::make_unique<Mp4Writer>();
    m_sound = std::make_unique<SoundSource>();
    m_soundProblem.clear();
    m_problem.clear();
    m_dropped = 0;
    m_stopping = false;
    m_endUs = -1;
    m_soundHeardUntilUs = 0;
    // The file's start: the sound thread counts from it as soon as it runs.
    m_startUs = RecordingClock::nowUs();
    m_pictures.clear();
    m_soundChunks.clear();

    const int fps = std::clamp(settings.fps, 1, kMaxFps);
    // Sound first: the track exists only when there is sound to put in it.
    bool withSound = false;
    if (settings.sound) {
        withSound = m_sound->start(
            settings.soundSource,
            [this](const float* samples, int count, int64_t captureUs) {
                {
                    std::lock_guard<std::mutex> lock(m_mutex);
                    const int64_t timeUs = captureUs - m_startUs;
                    m_soundHeardUntilUs = timeUs + int64_t(count) * 1000000 / Mp4Writer::kSampleRate;
                    if (m_endUs >= 0)  // heard after the stop
                        count = int(std::clamp<int64_t>((m_endUs - timeUs) * Mp4Writer::kSampleRate / 1000000,
                                                        0, count));
                    m_soundChunks.push_back({std::vector<float>(samples, samples + count), timeUs});
                }
                m_wake.notify_one();
                m_soundArrived.notify_one();
            },
            &m_soundProblem);
        if (!withSound)
            std::fprintf(stderr, "Recording without sound: %s\n", m_soundProblem.toUtf8().constData());
    }
    m_withSound = withSound;
    if (!m_writer->open(temporaryPath(m_path), recordedSize(settings.viewSize), fps, withSound)) {
        m_sound->stop();
        if (reason != nullptr)
            *reason = m_writer->lastError();
        QFile::remove(temporaryPath(m_path));
        m_writer.reset();
        return false;
    }
    m_writerThread = std::thread(&LessonRecorder::encodeLoop, this);
    return true;
}

void LessonRecorder::addPicture(const QImage& picture, int64_t captureUs) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_stopping || m_endUs >= 0 || !m_problem.isEmpty())
            return;
        if (m_pictures.size() >= kMaxWaitingPictures) {
            ++m_dropped;
            m_pictures.pop_back();
        }
        // Shares the picture's pixels: the caller paints the next one into a new image.
        m_pictures.push_back({picture, captureUs - m_startUs});
    }
    m_wake.notify_one();
}

void LessonRecorder::encodeLoop() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_pictures.empty() || !m_soundChunks.empty(); });
        if (m_pictures.empty() && m_soundChunks.empty())
            break;  // stopping, and everything handed over is written
        // Sound goes first and whole: it is never dropped.
        std::deque<SoundChunk> sound;
        sound.swap(m_soundChunks);
        Picture picture;
        const bool hasPicture = !m_pictures.empty();
        if (hasPicture) {
            picture = std::move(m_pictures.front());
            m_pictures.pop_front();
        }
        const bool failedBefore = !m_problem.isEmpty();
        lock.unlock();
        bool ok = true;
        for (const SoundChunk& chunk : sound)
            ok = ok && m_writer->writeSound(chunk.samples.data(), int(chunk.samples.size()), chunk.timeUs);
        if (ok && hasPicture)
            ok = m_writer->writePicture(picture.image, picture.timeUs);
        lock.lock();
        if (!ok && !failedBefore) {
            m_problem = m_writer->lastError();
            m_pictures.clear();
            lock.unlock();
            emit failed(m_problem);
            lock.lock();
        }
        if (!m_problem.isEmpty()) {
            // Nothing more is written after a failure; what the file holds stays playable.
            m_pictures.clear();
            m_soundChunks.clear();
            if (m_stopping)
                break;
        }
    }
}

LessonRecorder::Outcome LessonRecorder::stop() {
    Outcome outcome;
    if (!isRecording())
        return outcome;
    int64_t endUs = 0;
    {
        // The file ends now: the sound heard until now is waited for, the rest left out.
        std::unique_lock<std::mutex> lock(m_mutex);
        endUs = m_endUs = RecordingClock::nowUs() - m_startUs;
        m_soundArrived.wait_for(lock, std::chrono::milliseconds(kSoundTailWaitMs),
                                [this] { return m_soundHeardUntilUs >= m_endUs || !m_withSound; });
    }
    m_sound->stop();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_writerThread.join();
    const bool finished = m_writer->finish(endUs);
    outcome.pictures = m_writer->picturesWritten();
    outcome.dropped = m_dropped;
    outcome.problem = m_problem;
    if (!finished && outcome.problem.isEmpty())
        outcome.problem = m_writer->lastError();
    m_writer.reset();
    m_sound.reset();

    const QString written = temporaryPath(m_path);
    outcome.path = written;
    if (QFile::rename(written, m_path)) {
        outcome.path = m_path;
        outcome.complete = outcome.problem.isEmpty();
    } else if (outcome.problem.isEmpty()) {
        outcome.problem = QString("the file could not be renamed to %1").arg(m_path);
    }
    std::fprintf(stderr, "Recording %s: %lld pictures written, %lld dropped%s%s\n",
                 outcome.path.toUtf8().constData(), static_cast<long long>(outcome.pictures),
                 static_cast<long long>(outcome.dropped), outcome.problem.isEmpty() ? "" : ", ",
                 outcome.problem.toUtf8().constData());
    return outcome;
}
