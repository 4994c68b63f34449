// SPDX-License-Identifier: GPL-3.0-or-later
// Lesson recordings: the view's picture handed to the recorder with each new camera picture (and
// every so often while none comes), or the camera's own stream recorded by the camera library.
#include "recordingcontroller.h"

#include <QActionGroup>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "camera/ipresenter.h"
#include "filenumbering.h"
#include "liveviewlog.h"
#include "optigrab.h"
#include "recording/cutoffrecordings.h"
#include "recording/diskspacewatch.h"
#include "recording/lessonrecorder.h"
#include "recording/recordingclock.h"
#include "recording/soundsource.h"
#include "settings/extrasettings.h"

namespace {

// Pictures keep coming while the camera picture is frozen or stalls, so that drawing over a still
// picture is recorded too: once the camera has been silent for a while (longer than a slow camera's
// frame interval and a late frame's delay), every so often.
constexpr int64_t kCameraSilentUs = 300000;
constexpr int64_t kStillPictureUs = 100000;

const char kCameraOnlyKey[] = "recording/cameraOnly";
const char kSoundKey[] = "recording/sound";
const char kSoundSourceKey[] = "recording/soundSource";

}  // namespace

RecordingController::RecordingController(QWidget* view, std::function<QImage()> picture,
                                         IPresenter* presenter, FileNumbering* numbering,
                                         ExtraSettings* settings)
    : QObject(view),
      m_view(view),
      m_picture(std::move(picture)),
      m_presenter(presenter),
      m_numbering(numbering),
      m_settings(settings),
      m_recorder(new LessonRecorder(this)),
      m_diskSpaceWatch(new DiskSpaceWatch(this)),
      m_ticker(new QTimer(this)) {
    // Emitted on the encoding thread: queued to the GUI thread.
    connect(
        m_recorder, &LessonRecorder::failed, this,
        [this] {
            stop(tr("The recording stopped: the file could not be written (disk full or folder gone)."));
        },
        Qt::QueuedConnection);
    connect(m_diskSpaceWatch, &DiskSpaceWatch::notice, this, &RecordingController::notice);
    connect(m_diskSpaceWatch, &DiskSpaceWatch::diskNearlyFull, this, [this] {
        stop(tr("The recording stopped before the disk is full. What was recorded is saved."));
    });
    m_ticker->setInterval(int(kStillPictureUs / 1000));
    connect(m_ticker, &QTimer::timeout, this, &RecordingController::onTick);
}

void RecordingController::recoverCutOff(const QString& folder) {
    const QStringList recovered = CutOffRecordings::recover(folder);
    for (const QString& path : recovered)
        emit fileSaved(path);
    if (recovered.size() == 1)
        emit notice(
            tr("A recording cut off last time was saved as %1.").arg(QFileInfo(recovered[0]).fileName()));
    else if (recovered.size() > 1)
        emit notice(
            tr("%1 recordings cut off last time were saved in the save folder.").arg(recovered.size()));
}

void RecordingController::fillRecordingKindMenu(QMenu* menu) {
    const bool cameraOnly = m_settings->value(kCameraOnlyKey, false).toBool();
    auto* group = new QActionGroup(menu);
    menu->addSection(tr("What is recorded"));
    for (const bool camera : {false, true}) {
        QAction* action = menu->addAction(camera ? tr("Camera picture only (full resolution, no drawing)")
                                                 : tr("The view as the class sees it"));
        action->setCheckable(true);
        action->setChecked(camera == cameraOnly);
        group->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, camera] { m_settings->setValue(kCameraOnlyKey, camera); });
    }
}

void RecordingController::fillSoundMenu(QMenu* menu) {
    const bool sound = m_settings->value(kSoundKey, true).toBool();
    const QString chosen = m_settings->value(kSoundSourceKey).toString();
    auto* group = new QActionGroup(menu);
    auto add = [&](const QString& text, bool withSound, const QString& source) {
        QAction* action = menu->addAction(text);
        action->setCheckable(true);
        action->setChecked(sound == withSound && (!withSound || chosen == source));
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, withSound, source] {
            m_settings->setValue(kSoundKey, withSound);
            m_settings->setValue(kSoundSourceKey, source);
        });
    };
    menu->addSection(tr("Sound of the recording"));
    add(tr("No sound"), false, {});
    add(tr("Default sound input"), true, {});
    for (const SoundSource::Input& input : SoundSource::inputs())
        add(input.description, true, input.name);
}

bool RecordingController::isRecording() const {
    return m_recorder->isRecording() || m_cameraRecordingDev >= 0;
}

bool RecordingController::recordsCameraStream() const {
    return m_cameraRecordingDev >= 0;
}

void RecordingController::start(long devIndex) {
    if (m_picture().isNull()) {
        emit notice(tr("Nothing to record yet: there is no camera picture."));
        return;
    }
    const bool cameraOnly = m_settings->value(kCameraOnlyKey, false).toBool();
    FileNumbering::Problem problem;
    const QString path = m_numbering->next(cameraOnly ? "mkv" : "mp4", &problem);
    if (problem == FileNumbering::Problem::SlashInPrefix) {
        emit notice(tr("The recording did not start: the file name prefix holds a \"/\"."));
        return;
    }
    if (problem == FileNumbering::Problem::NoFolder) {
        emit notice(tr("The recording did not start: choose a save folder in the settings."));
        return;
    }
    // The camera library makes a missing save folder for captures; recordings do the same.
    QDir().mkpath(QFileInfo(path).absolutePath());
    const bool sound = m_settings->value(kSoundKey, true).toBool();
    bool soundMissing = false;
    if (cameraOnly) {
        if (!startCameraRecording(devIndex, path, sound, &soundMissing))
            return;
    } else {
        LessonRecorder::Settings settings;
        settings.path = path;
        settings.viewSize = m_view->size();
        settings.fps = LessonRecorder::kMaxFps;
        settings.sound = sound;
        settings.soundSource = m_settings->value(kSoundSourceKey).toString();
        QString reason;
        if (!m_recorder->start(settings, &reason)) {
            qCWarning(lcLiveView, "Recording refused: %s", qUtf8Printable(reason));
            emit notice(tr("The recording did not start: the save folder cannot be written."));
            return;
        }
        soundMissing = sound && !m_recorder->soundProblem().isEmpty();
    }
    qCDebug(lcLiveView, "Recording to %s", qUtf8Printable(path));
    m_startUs = RecordingClock::nowUs();
    if (soundMissing && !m_soundNoticeShown) {
        m_soundNoticeShown = true;
        emit notice(tr("Recording without sound: no sound input was found."));
    }
    emit recordingChanged(true);
    m_lastCameraUs = 0;
    m_lastCameraAtUs = RecordingClock::nowUs();
    recordPicture(m_lastCameraAtUs);
    // Made at the first recording: a view that never records has no such child.
    if (m_indicator == nullptr) {
        m_indicator = new QLabel(m_view);
        m_indicator->setObjectName("recordingIndicator");
        m_indicator->setStyleSheet(
            "QLabel { color: white; background: rgba(0, 0, 0, 150); border-radius: 6px; padding: 4px 10px; "
            "font-size: 16px; }");
    }
    updateIndicator();
    m_indicator->show();
    m_indicator->raise();
    m_ticker->start();
}

bool RecordingController::startCameraRecording(long devIndex, const QString& path, bool sound,
                                               bool* soundMissing) {
    QByteArray utf8 = path.toUtf8();
    const long result = m_presenter->startUVCRecord(devIndex, sound, utf8.data());
    if (result != CAM_OK && result != CAM_ERR_NO_SOUND) {
        qCWarning(lcLiveView, "Camera recording refused: %s", camErrorText(result));
        emit notice(result == CAM_ERR_FILE
                        ? tr("The recording did not start: the save folder cannot be written.")
                        : tr("The recording did not start: the camera is not streaming."));
        return false;
    }
    *soundMissing = result == CAM_ERR_NO_SOUND;
    m_cameraRecordingDev = devIndex;
    m_cameraRecordingPath = path;
    m_diskSpaceWatch->start(path, LessonRecorder::temporaryPath(path));
    return true;
}

void RecordingController::stopCameraRecording(const QString& notice) {
    m_diskSpaceWatch->stop();
    const long result = m_presenter->stopUVCRecord(m_cameraRecordingDev);
    m_cameraRecordingDev = -1;
    const QString kept = LessonRecorder::temporaryPath(m_cameraRecordingPath);
    const QString path = QFileInfo::exists(kept) ? kept : m_cameraRecordingPath;
    if (QFileInfo::exists(path))
        emit fileSaved(path);
    if (!notice.isEmpty())
        emit this->notice(notice);
    else if (path == kept)
        emit this->notice(
            tr("The recording could not be finished under its name; it was kept as %1.").arg(path));
    else if (result != CAM_OK)
        emit this->notice(
            tr("The recording stopped: the file could not be written (disk full or folder gone)."));
}

void RecordingController::stop(const QString& notice) {
    if (!isRecording())
        return;
    m_ticker->stop();
    m_indicator->hide();
    emit recordingChanged(false);
    if (m_cameraRecordingDev >= 0) {
        stopCameraRecording(notice);
        return;
    }
    // The file lasts until it was stopped, also when the picture stood still before.
    const int64_t sinceUs = RecordingClock::nowUs() - m_lastRecordedAtUs;
    if (sinceUs >= 1000000 / LessonRecorder::kMaxFps)
        recordPicture(m_lastRecordedUs + sinceUs);
    const LessonRecorder::Outcome outcome = m_recorder->stop();
    if (QFileInfo::exists(outcome.path))
        emit fileSaved(outcome.path);
    if (!notice.isEmpty())
        emit this->notice(notice);
    else if (!outcome.complete)
        emit this->notice(
            tr("The recording could not be finished under its name; it was kept as %1.").arg(outcome.path));
}

void RecordingController::cameraPictureArrived(int64_t capturedUs) {
    if (!m_recorder->isRecording())
        return;
    // Faster cameras are recorded at the recorder's highest rate; a little slack keeps a 30 fps
    // camera's jittery frames from being skipped.
    if (m_lastCameraUs != 0 && capturedUs - m_lastCameraUs < 1000000 / LessonRecorder::kMaxFps - 5000)
        return;
    m_lastCameraUs = capturedUs;
    m_lastCameraAtUs = RecordingClock::nowUs();
    // A frame so late that a still picture was recorded after it was taken follows that still.
    recordPicture(std::max(capturedUs, m_lastRecordedUs + 1000));
}

void RecordingController::recordPicture(int64_t timeUs) {
    if (!m_recorder->isRecording())
        return;
    const QImage picture = m_picture();
    if (picture.isNull())
        return;
    m_recorder->addPicture(picture, timeUs);
    m_lastRecordedUs = timeUs;
    m_lastRecordedAtUs = RecordingClock::nowUs();
}

void RecordingController::onTick() {
    updateIndicator();
    // A still picture keeps time from the last one recorded, whose camera time may lie well before now.
    const int64_t now = RecordingClock::nowUs();
    const int64_t sinceUs = now - m_lastRecordedAtUs;
    if (now - m_lastCameraAtUs >= kCameraSilentUs && sinceUs >= kStillPictureUs)
        recordPicture(m_lastRecordedUs + sinceUs);
}

void RecordingController::updateIndicator() {
    const int64_t seconds = (RecordingClock::nowUs() - m_startUs) / 1000000;
    m_indicator->setText(QString("<span style='color:#ff3030'>&#9679;</span> %1:%2:%3")
                             .arg(seconds / 3600, 2, 10, QChar('0'))
                             .arg(seconds / 60 % 60, 2, 10, QChar('0'))
                             .arg(seconds % 60, 2, 10, QChar('0')));
    m_indicator->adjustSize();
    m_indicator->move(m_view->width() - m_indicator->width() - 16, 12);
}
