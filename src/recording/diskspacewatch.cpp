// SPDX-License-Identifier: GPL-3.0-or-later
// Watches the disk while the camera library writes the camera's own stream.
#include "diskspacewatch.h"

#include <QFileInfo>
#include <QLocale>
#include <QStorageInfo>
#include <algorithm>

namespace {

constexpr int kPollMs = 1000;
// The first two looks, about two seconds, give the rate: a stream settles after its first frames.
constexpr qint64 kMeasureMs = 1500;
// Ten seconds of writing are kept free on top of the minimum: the file grows between two looks.
constexpr double kMarginSeconds = 10;

}  // namespace

DiskSpaceWatch::DiskSpaceWatch(QObject* parent) : QObject(parent) {
    m_timer.setInterval(kPollMs);
    connect(&m_timer, &QTimer::timeout, this, &DiskSpaceWatch::poll);
}

void DiskSpaceWatch::start(const QString& path, const QString& temporaryPath) {
    m_path = path;
    m_temporaryPath = temporaryPath;
    m_rateTold = false;
    m_running.start();
    m_timer.start();
}

void DiskSpaceWatch::stop() {
    m_timer.stop();
}

qint64 DiskSpaceWatch::writtenBytes() const {
    const QFileInfo temporary(m_temporaryPath);
    return temporary.exists() ? temporary.size() : QFileInfo(m_path).size();
}

void DiskSpaceWatch::poll() {
    const QStorageInfo disk(QFileInfo(m_path).absolutePath());
    if (!disk.isValid())
        return;
    const double seconds = m_running.elapsed() / 1000.0;
    const double rate = seconds > 0 ? writtenBytes() / seconds : 0;  // bytes a second
    const qint64 margin = std::max(m_minimumMargin, qint64(rate * kMarginSeconds));
    const qint64 room = disk.bytesAvailable() - margin;
    if (room <= 0) {
        stop();
        emit diskNearlyFull();
        return;
    }
    if (!m_rateTold && m_running.elapsed() >= kMeasureMs && rate > 0) {
        m_rateTold = true;
        emit notice(tr("Camera picture only writes about %1 a minute: the disk has room for %2 more.")
                        .arg(sizeText(rate * 60), durationText(room / rate)));
    }
}

QString DiskSpaceWatch::sizeText(double bytes) {
    const double megabytes = bytes / (1024 * 1024);
    if (megabytes >= 1024)
        return tr("%1 GB").arg(QLocale().toString(megabytes / 1024, 'f', 1));
    return tr("%1 MB").arg(QLocale().toString(std::max(1.0, megabytes), 'f', 0));
}

QString DiskSpaceWatch::durationText(double seconds) {
    const qint64 minutes = qint64(seconds / 60);
    if (minutes < 1)
        return tr("less than a minute");
    if (minutes < 60)
        return tr("%1 min").arg(minutes);
    return tr("%1 h %2 min").arg(minutes / 60).arg(minutes % 60, 2, 10, QChar('0'));
}
