// SPDX-License-Identifier: GPL-3.0-or-later
// Records the pictures it is handed and the sound input into an MP4 file through the camera
// library, which encodes on a thread of its own: handing a picture over never waits, and pictures are
// dropped (and counted) when the encoder falls behind, never sound. Sound and pictures start and end
// together.
#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <cstdint>

struct CamPictureRecord;

class LessonRecorder : public QObject {
    Q_OBJECT

public:
    struct Settings {
        QString path;  // the finished file; written as a temporary file beside it until then
        QSize viewSize;
        int fps = 30;
        bool sound = true;
        QString soundSource;  // empty: the desktop's default input
    };
    struct Outcome {
        QString path;           // where the file is (the temporary name when it could not be renamed)
        bool complete = false;  // written to the end and renamed
        int64_t pictures = 0;
        int64_t dropped = 0;
        QString problem;  // what went wrong, when something did
    };

    static constexpr int kMaxFps = 30;

    explicit LessonRecorder(QObject* parent = nullptr);
    ~LessonRecorder() override;

    // The size a view of viewSize is recorded at: at most 1920x1080, even sides, same shape.
    static QSize recordedSize(const QSize& viewSize);
    // The temporary name path is written under while recording.
    static QString temporaryPath(const QString& path);

    // GUI thread. Creates the file and starts encoding; false with a reason when the file cannot be
    // created. Without a sound server the recording goes on silent and soundProblem() says why.
    bool start(const Settings& settings, QString* reason);
    // GUI thread: a picture the class saw at captureUs (RecordingClock). Never waits.
    void addPicture(const QImage& picture, int64_t captureUs);
    // GUI thread: finishes the file and renames it into place; waits for the encoder to finish.
    Outcome stop();

    bool isRecording() const { return m_recording; }
    // The RecordingClock time that the file's start stands for.
    int64_t startedAtUs() const { return m_startUs; }
    QString soundProblem() const { return m_soundProblem; }

signals:
    // Emitted on the encoding thread when writing fails (disk full, folder gone): the caller stops
    // the recording, which keeps everything written before.
    void failed(const QString& reason);

private:
    // The library's encoding thread, at the first write error.
    static void onFailed(const char* reason, void* self);

    CamPictureRecord* m_record;
    bool m_recording = false;
    QString m_path;
    int64_t m_startUs = 0;
    QString m_soundProblem;
};
