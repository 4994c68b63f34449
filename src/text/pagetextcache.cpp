// SPDX-License-Identifier: GPL-3.0-or-later
// Recognised texts kept by file and modification time.
#include "pagetextcache.h"

#include <QFileInfo>
#include <QImage>

TextRecognizer::Result PageTextCache::textOfFile(const QString& path, const QStringList& languages) {
    const QFileInfo file(path);
    const Key key{file.absoluteFilePath(), file.lastModified(), languages.join('+')};
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto known = m_texts.constFind(key);
        if (known != m_texts.constEnd())
            return *known;
    }
    const QImage picture(path);
    const TextRecognizer::Result result = TextRecognizer::recognize(picture, languages);
    if (!picture.isNull()) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_texts.insert(key, result);
    }
    return result;
}
