// SPDX-License-Identifier: GPL-3.0-or-later
// The time-lapse's work off the GUI thread: each still taken by the camera library as a capture is
// (the look and rotation chosen), written into the run's folder and handed to the video; at the end
// the video finished under its name.
#pragma once

#include <QObject>
#include <QString>

#include "capturewriter.h"
#include "recording/timelapsevideo.h"

class IPresenter;

// Lives on a thread of its own; its slots are invoked queued, one after another.
class TimeLapseWriter : public QObject {
    Q_OBJECT

public:
    explicit TimeLapseWriter(IPresenter* presenter);

public slots:
    // The camera's still into stillPath, then into the video written under videoPath's temporary
    // name; the still's file is removed again unless keep.
    void shoot(const QString& stillPath, const QString& videoPath, bool keep);
    // Finishes the video and renames it to videoPath.
    void finish(const QString& videoPath);

signals:
    // A still went into the video, or failure says why not.
    void shot(bool taken, CaptureWriter::Failure failure);
    // The video is whole at path (empty: there is none) with frames pictures; problem when writing
    // failed on the way (the file keeps what was written before).
    void finished(const QString& path, long long frames, const QString& problem);

private:
    IPresenter* m_presenter;
    TimeLapseVideo m_video;
};
