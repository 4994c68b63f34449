// SPDX-License-Identifier: GPL-3.0-or-later
// Time-lapses: ticks on the GUI thread, stills and the video on the writer's thread.
#include "timelapsecontroller.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QSaveFile>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "filenumbering.h"
#include "liveviewlog.h"
#include "timelapsedialog.h"
#include "timelapsewriter.h"

TimeLapseController::TimeLapseController(QWidget* view, IPresenter* presenter, FileNumbering* numbering)
    : QObject(view),
      m_view(view),
      m_numbering(numbering),
      m_thread(new QThread(this)),
      m_writer(new TimeLapseWriter(presenter)),
      m_timer(new QTimer(this)) {
    m_writer->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_writer, &QObject::deleteLater);
    connect(m_writer, &TimeLapseWriter::shot, this, &TimeLapseController::onShot);
    connect(m_writer, &TimeLapseWriter::finished, this, &TimeLapseController::onFinished);
    connect(m_timer, &QTimer::timeout, this, &TimeLapseController::onTick);
    m_thread->start();
}

TimeLapseController::~TimeLapseController() {
    if (m_running) {
        m_timer->stop();
        closeGap();
        QMetaObject::invokeMethod(m_writer, "finish", Qt::BlockingQueuedConnection,
                                  Q_ARG(QString, m_videoPath));
        writeGapNote(m_videoPath);
    }
    m_thread->quit();
    m_thread->wait();
}

void TimeLapseController::fillMenu(QMenu* menu) {
    menu->addSeparator();
    if (m_running) {
        connect(menu->addAction(tr("Stop the time-lapse")), &QAction::triggered, this,
                &TimeLapseController::stop);
        return;
    }
    connect(menu->addAction(tr("Time-lapse…")), &QAction::triggered, this, [this] {
        TimeLapseDialog dialog(m_plan, m_view);
        if (dialog.exec() == QDialog::Accepted)
            start(dialog.plan());
    });
}

void TimeLapseController::start(const TimeLapsePlan& plan) {
    if (m_running)
        return;
    FileNumbering::Problem problem;
    m_videoPath = m_numbering->next("mp4", &problem);
    if (problem != FileNumbering::Problem::None) {
        emit notice(tr("The time-lapse did not start: the save folder cannot be used."));
        return;
    }
    const QFileInfo video(m_videoPath);
    m_stillsFolder = video.dir().filePath(video.completeBaseName());
    if (!QDir().mkpath(m_stillsFolder)) {
        emit notice(tr("The time-lapse did not start: the save folder cannot be written."));
        return;
    }
    m_numbering->reserve(m_videoPath);
    m_plan = plan;
    m_running = true;
    m_ticks = m_pictures = 0;
    m_shotOwed = m_endDue = false;
    m_gaps.clear();
    m_gapStart = {};
    m_stopReason.clear();
    if (m_marker == nullptr) {
        m_marker = new QLabel(m_view);
        m_marker->setObjectName("timeLapseMarker");
        m_marker->setStyleSheet(
            "QLabel { color: white; background: rgba(0, 0, 0, 150); border-radius: 6px; padding: 4px 10px; "
            "font-size: 16px; }");
        m_marker->installEventFilter(this);
    }
    updateMarker();
    m_marker->show();
    m_marker->raise();
    m_timer->start(plan.intervalS * 1000);
    onTick();  // the first picture at once
}

void TimeLapseController::onTick() {
    if (m_plan.durationS > 0 && m_ticks >= std::max(1, m_plan.durationS / m_plan.intervalS)) {
        // The run ends once the last still owed is in.
        m_endDue = true;
        if (!m_shotPending && !m_shotOwed)
            stop();
        return;
    }
    ++m_ticks;
    // A still still on its way (a slow disk, a 4K camera on a busy machine): this one is taken as
    // soon as it is back, so that no picture is lost and the writer is never more than one behind.
    if (m_shotPending)
        m_shotOwed = true;
    else
        shoot();
}

void TimeLapseController::shoot() {
    m_shotPending = true;
    m_shotOwed = false;
    const QString still = QDir(m_stillsFolder)
                              .filePath(QString("%1_%2.jpg")
                                            .arg(QFileInfo(m_stillsFolder).fileName())
                                            .arg(m_pictures + 1, 5, 10, QChar('0')));
    QMetaObject::invokeMethod(m_writer, "shoot", Qt::QueuedConnection, Q_ARG(QString, still),
                              Q_ARG(QString, m_videoPath), Q_ARG(bool, m_plan.keepPictures));
}

void TimeLapseController::onShot(bool taken, CaptureWriter::Failure failure) {
    m_shotPending = false;
    if (taken)
        ++m_pictures;  // also the last one, taken while the run was being stopped
    if (!m_running)
        return;
    using Failure = CaptureWriter::Failure;
    if (taken) {
        closeGap();
    } else if (failure == Failure::DiskFull || failure == Failure::FolderNotWritable) {
        m_stopReason = failure == Failure::DiskFull
                           ? tr("The time-lapse stopped: the disk is full. The %1 pictures taken are kept.")
                           : tr("The time-lapse stopped: the save folder cannot be written. The %1 "
                                "pictures taken are kept.");
        stop();
        return;
    } else if (!m_gapStart.isValid()) {
        // The camera is gone (or not ready): the run waits and goes on when pictures come again.
        qCDebug(lcLiveView, "Time-lapse waits for the camera after %d pictures", m_pictures);
        m_gapStart = QDateTime::currentDateTime();
        m_gapAfter = m_pictures;
    }
    updateMarker();
    if (m_shotOwed)
        shoot();
    else if (m_endDue)
        stop();
}

void TimeLapseController::closeGap() {
    if (!m_gapStart.isValid())
        return;
    const QDateTime now = QDateTime::currentDateTime();
    const QString from = m_gapStart.toString("yyyy-MM-dd HH:mm:ss");
    m_gaps << (m_running && m_pictures > m_gapAfter
                   ? tr("No pictures from %1 to %2 (%3 s) between picture %4 and picture %5: the camera was "
                        "gone.")
                         .arg(from, now.toString("HH:mm:ss"))
                         .arg(m_gapStart.secsTo(now))
                         .arg(m_gapAfter)
                         .arg(m_gapAfter + 1)
                   : tr("No pictures from %1 to the end after picture %2: the camera was gone.")
                         .arg(from)
                         .arg(m_gapAfter));
    m_gapStart = {};
}

void TimeLapseController::stop() {
    if (!m_running)
        return;
    m_timer->stop();
    closeGap();
    m_running = false;
    m_marker->hide();
    QMetaObject::invokeMethod(m_writer, "finish", Qt::QueuedConnection, Q_ARG(QString, m_videoPath));
}

void TimeLapseController::onFinished(const QString& path, long long frames, const QString& problem) {
    m_numbering->release(m_videoPath);
    if (!problem.isEmpty())
        qCWarning(lcLiveView, "Time-lapse video: %s", qUtf8Printable(problem));
    if (!path.isEmpty()) {
        writeGapNote(path);
        emit fileSaved(path);
    }
    // Without kept stills the folder is empty, and goes.
    if (!QDir().rmdir(m_stillsFolder))
        emit fileSaved(m_stillsFolder);
    if (!m_stopReason.isEmpty())
        emit notice(m_stopReason.arg(m_pictures));
    else if (!path.isEmpty())
        emit notice(tr("Time-lapse saved: %1 (%2 pictures).").arg(QFileInfo(path).fileName()).arg(frames));
    else
        emit notice(tr("The time-lapse took no pictures: the camera gave none."));
    emit finished();
}

void TimeLapseController::writeGapNote(const QString& videoPath) {
    if (m_gaps.isEmpty())
        return;
    const QFileInfo video(videoPath);
    QSaveFile note(video.dir().filePath(video.completeBaseName() + ".txt"));
    const QByteArray text = (m_gaps.join('\n') + '\n').toUtf8();
    if (!note.open(QIODevice::WriteOnly) || note.write(text) != text.size() || !note.commit())
        qCWarning(lcLiveView, "The time-lapse's note of gaps could not be written beside %s",
                  qUtf8Printable(videoPath));
}

bool TimeLapseController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_marker && event->type() == QEvent::LanguageChange)
        updateMarker();
    return QObject::eventFilter(watched, event);
}

void TimeLapseController::updateMarker() {
    if (m_marker == nullptr)
        return;
    m_marker->setText(m_gapStart.isValid()
                          ? tr("Time-lapse: %1 pictures, waiting for the camera").arg(m_pictures)
                          : tr("Time-lapse: %1 pictures").arg(m_pictures));
    m_marker->adjustSize();
    // Under the recording's indicator, which takes the corner while a lesson is recorded.
    int top = 12;
    if (const auto* indicator = m_view->findChild<QWidget*>("recordingIndicator"))
        if (indicator->isVisible())
            top = indicator->geometry().bottom() + 8;
    m_marker->move(m_view->width() - m_marker->width() - 16, top);
}
