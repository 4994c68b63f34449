// SPDX-License-Identifier: GPL-3.0-or-later
// Lesson recordings beside the view: what the class sees (or the camera's own stream) into the next
// numbered file, the red dot with the elapsed time, the choices of sound and of what is recorded, and
// the faults that end a recording.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

class DiskSpaceWatch;
class ExtraSettings;
class FileNumbering;
class IPresenter;
class LessonRecorder;
class QImage;
class QLabel;
class QMenu;
class QTimer;
class QWidget;

// GUI thread only.
class RecordingController : public QObject {
    Q_OBJECT

public:
    // view: the indicator shows over it and its size is recorded; picture: what the class sees now,
    // a null image while there is no camera picture.
    RecordingController(QWidget* view, std::function<QImage()> picture, IPresenter* presenter,
                        FileNumbering* numbering, ExtraSettings* settings);

    bool isRecording() const;
    // True while the camera library records a camera's own stream, which ends with the camera.
    bool recordsCameraStream() const;
    // Starts recording into the next numbered file (devIndex: the open camera); a notice says why not.
    void start(long devIndex);
    // Finishes the file; notice (when not empty) tells the user why the recording ended.
    void stop(const QString& notice);
    // A new camera picture, which the camera took at capturedUs (RecordingClock).
    void cameraPictureArrived(int64_t capturedUs);
    // Recordings cut off last time in folder get their names, a tile and a notice.
    void recoverCutOff(const QString& folder);

    // The choice of what is recorded: the view as the class sees it, or the camera's own picture.
    void fillRecordingKindMenu(QMenu* menu);
    // The choice of sound: none, the default input or one of the server's inputs.
    void fillSoundMenu(QMenu* menu);

signals:
    void notice(const QString& text);
    // A recording's file is on the disk (also one kept under its temporary name).
    void fileSaved(const QString& path);
    void recordingChanged(bool on);

private:
    // The camera library records the camera's own stream at path: no drawing, full resolution. False
    // (with a notice) when it did not start.
    bool startCameraRecording(long devIndex, const QString& path, bool sound, bool* soundMissing);
    void stopCameraRecording(const QString& notice);
    // What the class sees at timeUs (RecordingClock) into the file.
    void recordPicture(int64_t timeUs);
    void onTick();
    void updateIndicator();

    QWidget* m_view;
    std::function<QImage()> m_picture;
    IPresenter* m_presenter;
    FileNumbering* m_numbering;
    ExtraSettings* m_settings;
    LessonRecorder* m_recorder;
    DiskSpaceWatch* m_diskSpaceWatch;  // the disk while the camera's own stream is recorded
    QTimer* m_ticker;                  // the indicator's time, and pictures while none arrive
    QLabel* m_indicator = nullptr;     // red dot and elapsed time, over the view, not recorded
    int64_t m_startUs = 0;             // RecordingClock
    int64_t m_lastRecordedUs = 0;      // time in the recording (RecordingClock) of the last picture
    int64_t m_lastRecordedAtUs = 0;    // when it was recorded
    int64_t m_lastCameraUs = 0;        // when the camera took the last camera picture recorded
    int64_t m_lastCameraAtUs = 0;      // when that picture came
    bool m_soundNoticeShown = false;   // "recording without sound" is said once a run
    long m_cameraRecordingDev = -1;    // the camera whose own stream the library records, if any
    QString m_cameraRecordingPath;
};
