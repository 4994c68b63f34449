// SPDX-License-Identifier: GPL-3.0-or-later
// Time-lapses beside the view: a still every so often while the view stays live, the marker that
// counts them, the wait while the camera is gone (noted beside the video), the stop at a full disk,
// and the video and the folder of stills that the run leaves, with their tiles.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QStringList>

#include "capturewriter.h"
#include "timelapseplan.h"

class FileNumbering;
class IPresenter;
class QLabel;
class QMenu;
class QThread;
class QTimer;
class QWidget;
class TimeLapseWriter;

// GUI thread only.
class TimeLapseController : public QObject {
    Q_OBJECT

public:
    // view: the marker shows over it.
    TimeLapseController(QWidget* view, IPresenter* presenter, FileNumbering* numbering);
    ~TimeLapseController() override;  // a running time-lapse keeps what it took

    bool isRunning() const { return m_running; }
    // Starts taking pictures into the next numbered video's name; a notice says why not.
    void start(const TimeLapsePlan& plan);
    // Ends the run: the video and the stills are finished in the background, then get their tiles.
    void stop();
    // "Time-lapse…" (the dialog, then the run) or, while one runs, its stop.
    void fillMenu(QMenu* menu);

signals:
    void notice(const QString& text);
    // A file or folder the run left is ready.
    void fileSaved(const QString& path);
    void finished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;  // the marker's language change

private:
    void onTick();
    void shoot();  // the next still, on the writer's thread
    void onShot(bool taken, CaptureWriter::Failure failure);
    void onFinished(const QString& path, long long frames, const QString& problem);
    void closeGap();
    // The gaps into a text file beside the video.
    void writeGapNote(const QString& videoPath);
    void updateMarker();

    QWidget* m_view;
    FileNumbering* m_numbering;
    QThread* m_thread;
    TimeLapseWriter* m_writer;  // on m_thread
    QTimer* m_timer;
    QLabel* m_marker = nullptr;
    TimeLapsePlan m_plan;
    bool m_running = false;
    bool m_shotPending = false;  // a still is on its way
    bool m_shotOwed = false;     // a tick came meanwhile: its still follows at once
    bool m_endDue = false;       // the planned duration is over: the run ends with the last still
    int m_ticks = 0;
    int m_pictures = 0;
    QString m_videoPath;
    QString m_stillsFolder;
    QString m_stopReason;  // told when the run ends, instead of the saved notice
    QDateTime m_gapStart;  // valid while the camera is gone
    int m_gapAfter = 0;    // pictures taken before the gap
    QStringList m_gaps;    // one line each
};
