// SPDX-License-Identifier: GPL-3.0-or-later
// Watches the disk while the camera library writes the camera's own stream, which grows by up to
// two gigabytes a minute: soon after the start it tells how fast the file grows and how long the disk
// lasts, and it asks for the recording to end while a margin of the disk is still free. GUI thread.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class DiskSpaceWatch : public QObject {
    Q_OBJECT

public:
    explicit DiskSpaceWatch(QObject* parent = nullptr);

    // Starts watching the file written at path, or at its temporary name while it is written.
    void start(const QString& path, const QString& temporaryPath);
    void stop();

signals:
    // The rate and the time left on the disk, once, when the rate is known.
    void notice(const QString& text);
    // Less than the margin is free: the recording must end now. The watch has stopped.
    void diskNearlyFull();

private:
    friend class TestRecording;

    void poll();
    qint64 writtenBytes() const;
    // "1.7 GB", "350 MB": a size as the notice gives it.
    static QString sizeText(double bytes);
    // "2 h 05 min", "25 min", "less than a minute": a duration as the notice gives it.
    static QString durationText(double seconds);

    QTimer m_timer;
    QElapsedTimer m_running;
    QString m_path;
    QString m_temporaryPath;
    bool m_rateTold = false;
    // Kept free at least: another program's files, the end of the file, what is written between
    // two looks at the disk.
    qint64 m_minimumMargin = qint64(256) * 1024 * 1024;
};
