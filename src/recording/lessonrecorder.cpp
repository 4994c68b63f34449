// SPDX-License-Identifier: GPL-3.0-or-later
// Records handed-over pictures and the sound input into an MP4 file through the camera library.
#include "lessonrecorder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>

#include "optigrab.h"
#include "recordingclock.h"

LessonRecorder::LessonRecorder(QObject* parent) : QObject(parent), m_record(camNewPictureRecord()) {}

LessonRecorder::~LessonRecorder() {
    if (isRecording())
        stop();
    camFreePictureRecord(m_record);
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

void LessonRecorder::onFailed(const char* reason, void* self) {
    emit static_cast<LessonRecorder*>(self)->failed(QString::fromUtf8(reason));
}

bool LessonRecorder::start(const Settings& settings, QString* reason) {
    if (isRecording())
        return false;
    m_path = settings.path;
    m_soundProblem.clear();
    // The file's start: the sound input counts from it as soon as it runs.
    m_startUs = RecordingClock::nowUs();
    const QSize size = recordedSize(settings.viewSize);
    const QByteArray source = settings.soundSource.toUtf8();
    const long result = camStartPictureRecord(
        m_record, temporaryPath(m_path).toUtf8().constData(), size.width(), size.height(),
        std::clamp(settings.fps, 1, kMaxFps), settings.sound ? source.constData() : nullptr, m_startUs,
        &LessonRecorder::onFailed, this);
    if (result == CAM_ERR_NO_SOUND) {
        m_soundProblem = QString::fromUtf8(camPictureRecordText(m_record));
        std::fprintf(stderr, "Recording without sound: %s\n", m_soundProblem.toUtf8().constData());
    } else if (result != CAM_OK) {
        const QString why = QString::fromUtf8(camPictureRecordText(m_record));
        if (reason != nullptr)
            *reason = why.isEmpty() ? QString::fromUtf8(camErrorText(result)) : why;
        return false;
    }
    m_recording = true;
    return true;
}

void LessonRecorder::addPicture(const QImage& picture, int64_t captureUs) {
    if (!isRecording())
        return;
    // The library reads 32-bit pixels; a composed picture is opaque, so premultiplied ones do too.
    const QImage::Format format = picture.format();
    const bool readable = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
                          format == QImage::Format_ARGB32_Premultiplied;
    // Shares the picture's pixels until the encoder is done with them: the caller paints the next one
    // into a new image.
    auto* held = new QImage(readable ? picture : picture.convertToFormat(QImage::Format_RGB32));
    camRecordPicture(
        m_record, held->constBits(), held->width(), held->height(), held->bytesPerLine(), captureUs,
        [](void* image) { delete static_cast<QImage*>(image); }, held);
}

LessonRecorder::Outcome LessonRecorder::stop() {
    Outcome outcome;
    if (!isRecording())
        return outcome;
    long long pictures = 0, dropped = 0;
    const long result = camStopPictureRecord(m_record, &pictures, &dropped);
    m_recording = false;
    outcome.pictures = pictures;
    outcome.dropped = dropped;
    if (result != CAM_OK)
        outcome.problem = QString::fromUtf8(camPictureRecordText(m_record));

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
