// SPDX-License-Identifier: GPL-3.0-or-later
// The main view's lesson recording: the view's own painting handed to the recorder with each new
// picture, the red dot with the elapsed time, Ctrl+R, and the faults that end a recording.
#include <QAbstractButton>
#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>

#include "comparepane.h"
#include "filebrowser/filelistwidget.h"
#include "optigrab.h"
#include "recording/cutoffrecordings.h"
#include "recording/diskspacewatch.h"
#include "recording/lessonrecorder.h"
#include "recording/recordingclock.h"
#include "recording/soundsource.h"
#include "settings/extrasettings.h"
#include "settings/readxml.h"
#include "toolbars/toolswidget.h"
#include "videowidget.h"

namespace {

// Pictures keep coming while the camera picture is frozen or stalls, so that drawing over a still
// picture is recorded too: once the camera has been silent for a while (longer than a slow camera's
// frame interval and a late frame's delay), every so often.
constexpr int64_t kCameraSilentUs = 300000;
constexpr int64_t kStillPictureUs = 100000;

bool textFieldHasFocus() {
    const QWidget* focus = QApplication::focusWidget();
    return qobject_cast<const QLineEdit*>(focus) != nullptr ||
           qobject_cast<const QTextEdit*>(focus) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(focus) != nullptr;
}

}  // namespace

void VideoWidget::initRecording() {
    m_recorder = new LessonRecorder(this);
    // Emitted on the encoding thread: queued to the GUI thread.
    connect(
        m_recorder, &LessonRecorder::failed, this,
        [this] {
            stopRecording(
                tr("The recording stopped: the file could not be written (disk full or folder gone)."));
        },
        Qt::QueuedConnection);

    m_diskSpaceWatch = new DiskSpaceWatch(this);
    connect(m_diskSpaceWatch, &DiskSpaceWatch::notice, this, &VideoWidget::showNotice);
    connect(m_diskSpaceWatch, &DiskSpaceWatch::diskNearlyFull, this, [this] {
        stopRecording(tr("The recording stopped before the disk is full. What was recorded is saved."));
    });

    m_recordingTicker = new QTimer(this);
    m_recordingTicker->setInterval(int(kStillPictureUs / 1000));
    connect(m_recordingTicker, &QTimer::timeout, this, [this] {
        updateRecordingIndicator();
        // A still picture keeps time from the last one recorded, whose camera time may lie well
        // before now.
        const int64_t now = RecordingClock::nowUs();
        const int64_t sinceUs = now - m_lastRecordedAtUs;
        if (now - m_lastCameraAtUs >= kCameraSilentUs && sinceUs >= kStillPictureUs)
            recordPicture(m_lastRecordedUs + sinceUs);
    });

    auto* record = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), this);
    connect(record, &QShortcut::activated, this, [this] {
        if (!textFieldHasFocus())
            toggleRecording();
    });
    connect(m_centerToolWidget, &ToolsWidget::signalRecord, this, &VideoWidget::toggleRecording);
    // A right click on Record chooses the sound.
    if (auto* button = m_centerToolWidget->findChild<QWidget*>("toolButton_record")) {
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(button, &QWidget::customContextMenuRequested, this, [this, button](const QPoint& pos) {
            QMenu menu(this);
            fillRecordingKindMenu(&menu);
            fillSoundMenu(&menu);
            menu.exec(button->mapToGlobal(pos));
        });
    }
}

// Recordings cut off last time (a crash, a kill, a power loss) play up to the cut: they get their
// names, a tile and a notice.
void VideoWidget::recoverCutOffRecordings() {
    const QStringList recovered =
        CutOffRecordings::recover(QString::fromStdString(ReadXML::instance()->savePath));
    for (const QString& path : recovered)
        m_fileListWidget->addPath(path);
    if (recovered.size() == 1)
        showNotice(
            tr("A recording cut off last time was saved as %1.").arg(QFileInfo(recovered[0]).fileName()));
    else if (recovered.size() > 1)
        showNotice(
            tr("%1 recordings cut off last time were saved in the save folder.").arg(recovered.size()));
}

void VideoWidget::fillRecordingKindMenu(QMenu* menu) {
    const bool cameraOnly = ExtraSettings::instance()->value("recording/cameraOnly", false).toBool();
    auto* group = new QActionGroup(menu);
    menu->addSection(tr("What is recorded"));
    for (const bool camera : {false, true}) {
        QAction* action = menu->addAction(camera ? tr("Camera picture only (full resolution, no drawing)")
                                                 : tr("The view as the class sees it"));
        action->setCheckable(true);
        action->setChecked(camera == cameraOnly);
        group->addAction(action);
        connect(action, &QAction::triggered, this,
                [camera] { ExtraSettings::instance()->setValue("recording/cameraOnly", camera); });
    }
}

void VideoWidget::fillSoundMenu(QMenu* menu) {
    ExtraSettings* extra = ExtraSettings::instance();
    const bool sound = extra->value("recording/sound", true).toBool();
    const QString chosen = extra->value("recording/soundSource").toString();
    auto* group = new QActionGroup(menu);
    auto add = [&](const QString& text, bool withSound, const QString& source) {
        QAction* action = menu->addAction(text);
        action->setCheckable(true);
        action->setChecked(sound == withSound && (!withSound || chosen == source));
        group->addAction(action);
        connect(action, &QAction::triggered, this, [withSound, source] {
            ExtraSettings::instance()->setValue("recording/sound", withSound);
            ExtraSettings::instance()->setValue("recording/soundSource", source);
        });
    };
    menu->addSection(tr("Sound of the recording"));
    add(tr("No sound"), false, {});
    add(tr("Default sound input"), true, {});
    for (const SoundSource::Input& input : SoundSource::inputs())
        add(input.description, true, input.name);
}

bool VideoWidget::isRecording() const {
    return m_recorder->isRecording() || m_cameraRecordingDev >= 0;
}

void VideoWidget::toggleRecording() {
    if (isRecording())
        stopRecording({});
    else
        startRecording();
}

void VideoWidget::startRecording() {
    if (m_videoPixmap.isNull()) {
        showNotice(tr("Nothing to record yet: there is no camera picture."));
        return;
    }
    const ExtraSettings* extra = ExtraSettings::instance();
    const bool cameraOnly = extra->value("recording/cameraOnly", false).toBool();
    NamingProblem problem;
    const QString path = nextNumberedPath(cameraOnly ? "mkv" : "mp4", &problem);
    if (problem == NamingProblem::SlashInPrefix) {
        showNotice(tr("The recording did not start: the file name prefix holds a \"/\"."));
        return;
    }
    if (problem == NamingProblem::NoFolder) {
        showNotice(tr("The recording did not start: choose a save folder in the settings."));
        return;
    }
    // The camera library makes a missing save folder for captures; recordings do the same.
    QDir().mkpath(QFileInfo(path).absolutePath());
    const bool sound = extra->value("recording/sound", true).toBool();
    bool soundMissing = false;
    if (cameraOnly) {
        if (!startCameraRecording(path, sound, &soundMissing))
            return;
    } else {
        LessonRecorder::Settings settings;
        settings.path = path;
        settings.viewSize = size();
        settings.fps = LessonRecorder::kMaxFps;
        settings.sound = sound;
        settings.soundSource = extra->value("recording/soundSource").toString();
        QString reason;
        if (!m_recorder->start(settings, &reason)) {
            printf("Recording refused: %s\n", reason.toUtf8().constData());
            showNotice(tr("The recording did not start: the save folder cannot be written."));
            return;
        }
        soundMissing = sound && !m_recorder->soundProblem().isEmpty();
    }
    printf("Recording to %s\n", path.toUtf8().constData());
    m_recordingStartUs = RecordingClock::nowUs();
    if (soundMissing && !m_soundNoticeShown) {
        m_soundNoticeShown = true;
        showNotice(tr("Recording without sound: no sound input was found."));
    }
    m_centerToolWidget->setRecording(true);
    m_lastCameraUs = 0;
    m_lastCameraAtUs = RecordingClock::nowUs();
    recordPicture(m_lastCameraAtUs);
    // Made at the first recording: a view that never records has no such child.
    if (m_recordingIndicator == nullptr) {
        m_recordingIndicator = new QLabel(this);
        m_recordingIndicator->setStyleSheet(
            "QLabel { color: white; background: rgba(0, 0, 0, 150); border-radius: 6px; padding: 4px 10px; "
            "font-size: 16px; }");
    }
    updateRecordingIndicator();
    m_recordingIndicator->show();
    m_recordingIndicator->raise();
    m_recordingTicker->start();
}

// The camera library records the camera's own stream: no drawing, full resolution.
bool VideoWidget::startCameraRecording(const QString& path, bool sound, bool* soundMissing) {
    QByteArray utf8 = path.toUtf8();
    const long result = m_presenter->startUVCRecord(m_currentDevIndex, sound, utf8.data());
    if (result != CAM_OK && result != CAM_ERR_NO_SOUND) {
        printf("Camera recording refused: %s\n", camErrorText(result));
        showNotice(result == CAM_ERR_FILE
                       ? tr("The recording did not start: the save folder cannot be written.")
                       : tr("The recording did not start: the camera is not streaming."));
        return false;
    }
    *soundMissing = result == CAM_ERR_NO_SOUND;
    m_cameraRecordingDev = m_currentDevIndex;
    m_cameraRecordingPath = path;
    m_diskSpaceWatch->start(path, LessonRecorder::temporaryPath(path));
    return true;
}

void VideoWidget::stopCameraRecording(const QString& notice) {
    m_diskSpaceWatch->stop();
    const long result = m_presenter->stopUVCRecord(m_cameraRecordingDev);
    m_cameraRecordingDev = -1;
    const QString kept = LessonRecorder::temporaryPath(m_cameraRecordingPath);
    const QString path = QFileInfo::exists(kept) ? kept : m_cameraRecordingPath;
    if (QFileInfo::exists(path))
        m_fileListWidget->addPath(path);
    if (!notice.isEmpty())
        showNotice(notice);
    else if (path == kept)
        showNotice(tr("The recording could not be finished under its name; it was kept as %1.").arg(path));
    else if (result != CAM_OK)
        showNotice(tr("The recording stopped: the file could not be written (disk full or folder gone)."));
}

void VideoWidget::stopRecording(const QString& notice) {
    if (!isRecording())
        return;
    m_recordingTicker->stop();
    m_recordingIndicator->hide();
    m_centerToolWidget->setRecording(false);
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
        m_fileListWidget->addPath(outcome.path);
    if (!notice.isEmpty())
        showNotice(notice);
    else if (!outcome.complete)
        showNotice(
            tr("The recording could not be finished under its name; it was kept as %1.").arg(outcome.path));
}

void VideoWidget::recordCameraPicture(int64_t capturedUs) {
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

void VideoWidget::recordPicture(int64_t timeUs) {
    if (!m_recorder->isRecording() || m_videoPixmap.isNull())
        return;
    QImage picture(size(), QImage::Format_RGB32);
    // Without DrawChildren: the bars, popups, notices and the indicator are children of the view.
    render(&picture, QPoint(), QRegion(rect()), QWidget::DrawWindowBackground);
    // Split, the compared picture is part of what the class sees.
    if (liveArea() != rect())
        m_comparePane->render(&picture, m_comparePane->pos(), QRegion(), QWidget::DrawWindowBackground);
    m_recorder->addPicture(picture, timeUs);
    m_lastRecordedUs = timeUs;
    m_lastRecordedAtUs = RecordingClock::nowUs();
}

void VideoWidget::updateRecordingIndicator() {
    const int64_t seconds = (RecordingClock::nowUs() - m_recordingStartUs) / 1000000;
    m_recordingIndicator->setText(QString("<span style='color:#ff3030'>&#9679;</span> %1:%2:%3")
                                      .arg(seconds / 3600, 2, 10, QChar('0'))
                                      .arg(seconds / 60 % 60, 2, 10, QChar('0'))
                                      .arg(seconds % 60, 2, 10, QChar('0')));
    m_recordingIndicator->adjustSize();
    m_recordingIndicator->move(width() - m_recordingIndicator->width() - 16, 12);
}
