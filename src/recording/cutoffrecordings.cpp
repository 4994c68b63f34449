// SPDX-License-Identifier: GPL-3.0-or-later
// Puts recordings cut off in an earlier run under their own names.
#include "cutoffrecordings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace CutOffRecordings {

QStringList recover(const QString& folder, int quietMs) {
    QStringList recovered;
    const QDir dir(folder);
    const QDateTime quietSince = QDateTime::currentDateTime().addMSecs(-quietMs);
    for (const QFileInfo& cut :
         dir.entryInfoList({"*.recording.mp4", "*.recording.mkv"}, QDir::Files, QDir::Name)) {
        if (cut.lastModified() > quietSince)
            continue;
        QString name = cut.fileName();
        name.remove(name.lastIndexOf(".recording."), int(sizeof ".recording") - 1);
        const QString target = dir.filePath(name);
        if (QFileInfo::exists(target) || !QFile::rename(cut.filePath(), target))
            continue;
        std::printf("Recording cut off earlier saved as %s\n", target.toUtf8().constData());
        recovered << target;
    }
    return recovered;
}

}  // namespace CutOffRecordings
