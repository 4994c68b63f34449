// SPDX-License-Identifier: GPL-3.0-or-later
// The save folder's pictures, recordings and PDFs for the file panel: listed when the folder is
// followed, oldest first, then the files that others add or remove are reported as the folder
// changes (a burst of changes is gathered for a moment). Files being written (hidden temporary files,
// recordings under way) are left out. GUI thread only.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

class FolderFiles : public QObject {
    Q_OBJECT

public:
    explicit FolderFiles(QObject* parent = nullptr);

    // Lists folder (added) and follows it from then on; an empty folder stops following. Following the
    // same folder again only watches it once it exists.
    void follow(const QString& folder);

    // The folder's pictures, recordings and PDFs, oldest first.
    static QStringList list(const QString& folder);

signals:
    void added(const QStringList& paths);  // oldest first
    void removed(const QStringList& paths);

private:
    void rescan();

    QFileSystemWatcher m_watcher;
    QTimer m_settle;  // gathers a burst of changes into one look at the folder
    QString m_folder;
    QSet<QString> m_listed;  // the files reported so far
};
