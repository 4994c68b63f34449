// SPDX-License-Identifier: GPL-3.0-or-later
// The save folder's pictures, recordings and PDFs for the file panel.
#include "folderfiles.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <utility>
#include <vector>

namespace {

// A capture lands in two steps and a PDF through a temporary file: a moment lets them settle.
constexpr int kSettleMs = 300;

}  // namespace

FolderFiles::FolderFiles(QObject* parent) : QObject(parent) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &FolderFiles::rescan);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { m_settle.start(); });
}

QStringList FolderFiles::list(const QString& folder) {
    const QFileInfoList entries = QDir(folder).entryInfoList({"*.jpg", "*.jpeg", "*.mp4", "*.mkv", "*.pdf"},
                                                             QDir::Files, QDir::Unsorted);
    // Each time is read once: sorting by QDir's own time order reads them at every comparison, which
    // takes a tenth of a second for a folder of 2,000 files.
    std::vector<std::pair<qint64, QString>> files;
    files.reserve(size_t(entries.size()));
    for (const QFileInfo& entry : entries)
        // A recording under way, or cut off and not given its name back yet.
        if (!entry.fileName().contains(".recording."))
            files.emplace_back(entry.lastModified().toMSecsSinceEpoch(), entry.absoluteFilePath());
    std::sort(files.begin(), files.end());
    QStringList paths;
    paths.reserve(int(files.size()));
    for (const auto& file : files)
        paths << file.second;
    return paths;
}

void FolderFiles::follow(const QString& folder) {
    if (folder == m_folder && (folder.isEmpty() || !m_watcher.directories().isEmpty()))
        return;
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_settle.stop();
    if (folder != m_folder)
        m_listed.clear();
    m_folder = folder;
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return;
    m_watcher.addPath(folder);
    rescan();
}

void FolderFiles::rescan() {
    const QStringList now = list(m_folder);
    const QSet<QString> nowSet(now.begin(), now.end());
    QStringList gone;
    for (const QString& path : qAsConst(m_listed))
        if (!nowSet.contains(path))
            gone << path;
    QStringList fresh;
    for (const QString& path : now)
        if (!m_listed.contains(path))
            fresh << path;
    m_listed = nowSet;
    if (!gone.isEmpty())
        emit removed(gone);
    if (!fresh.isEmpty())
        emit added(fresh);
}
