// SPDX-License-Identifier: GPL-3.0-or-later
// The text of picture files, recognised once: a file that has not changed since is not read again.
#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <mutex>

#include "textrecognizer.h"

// Any thread; recognition runs on the calling thread, outside the lock.
class PageTextCache {
public:
    // The text of the picture file at path in languages; recognised only when this file, as last
    // modified, was not recognised in these languages before. An unreadable file gives no words.
    TextRecognizer::Result textOfFile(const QString& path, const QStringList& languages);

private:
    struct Key {
        QString path;
        QDateTime modified;
        QString languages;
        bool operator==(const Key& other) const {
            return path == other.path && modified == other.modified && languages == other.languages;
        }
    };
    friend uint qHash(const Key& key, uint seed) { return qHash(key.path, seed) ^ qHash(key.modified, seed); }

    std::mutex m_mutex;  // guards m_texts
    QHash<Key, TextRecognizer::Result> m_texts;
};
