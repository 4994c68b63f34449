// SPDX-License-Identifier: GPL-3.0-or-later
// Stills through the camera library's capture, streamed one at a time into the time-lapse's video.
#include "timelapsewriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include "camera/ipresenter.h"
#include "liveviewlog.h"
#include "optigrab.h"
#include "recording/lessonrecorder.h"

TimeLapseWriter::TimeLapseWriter(IPresenter* presenter) : m_presenter(presenter) {
    qRegisterMetaType<CaptureWriter::Failure>();
}

// Runs on the writer's thread; the presenter's still capture may be called from any thread.
void TimeLapseWriter::shoot(const QString& stillPath, const QString& videoPath, bool keep) {
    QByteArray path = stillPath.toUtf8();
    if (path.size() >= CaptureWriter::kPathBufferBytes) {
        emit shot(false, CaptureWriter::Failure::FolderNotWritable);
        return;
    }
    // The file is whole, or absent, when the library's call returns. With cropping on and no page
    // found, the whole picture was written: a desk left empty for a while still counts.
    const long refused = m_presenter->captureImage(path.data());
    if (refused != 0 && refused != CAM_ERR_NO_PAGE) {
        qCDebug(lcLiveView, "Time-lapse still refused by the camera library, error %ld", refused);
        emit shot(false, CaptureWriter::failureOfLibraryCode(refused, stillPath));
        return;
    }
    const QImage still(stillPath);
    if (!keep)
        QFile::remove(stillPath);
    if (still.isNull()) {
        emit shot(false, CaptureWriter::Failure::CameraFailed);
        return;
    }
    QString reason;
    if (!m_video.isOpen() &&
        !m_video.start(LessonRecorder::temporaryPath(videoPath), still.size(), &reason)) {
        qCWarning(lcLiveView, "Time-lapse video refused: %s", qUtf8Printable(reason));
        emit shot(false, CaptureWriter::failureOfLibraryCode(CAM_ERR_FILE, videoPath));
        return;
    }
    if (!m_video.add(still)) {
        emit shot(false, CaptureWriter::failureOfLibraryCode(CAM_ERR_FILE, videoPath));
        return;
    }
    emit shot(true, CaptureWriter::Failure::None);
}

void TimeLapseWriter::finish(const QString& videoPath) {
    if (!m_video.isOpen()) {
        emit finished({}, 0, {});
        return;
    }
    long long frames = 0;
    QString problem;
    m_video.finish(&frames, &problem);
    const QString written = LessonRecorder::temporaryPath(videoPath);
    const bool renamed = QFile::rename(written, videoPath);
    emit finished(renamed ? videoPath : written, frames, problem);
}
