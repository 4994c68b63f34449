// SPDX-License-Identifier: GPL-3.0-or-later
// Numbered file names: the folder's highest number with the prefix, then the first free one after it.
#include "filenumbering.h"

#include <QDate>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cstdio>

#include "liveviewlog.h"
#include "settings/readxml.h"
#include "settings/storagefolders.h"

namespace {

QString capturePrefix(const ReadXML& settings) {
    return settings.bsaveType ? QString::fromStdString(settings.customPrefix)
                              : QDate::currentDate().toString("yyyy-MM-dd");
}

// All four parts in one arg() call: a "%1" inside the folder or the prefix stays as it is.
QString numberedPath(const QString& folder, const QString& prefix, int number, const QString& suffix) {
    return QString("%1/%2_%3.%4").arg(folder, prefix, QString::asprintf("%05d", number), suffix);
}

}  // namespace

FileNumbering::FileNumbering(int* lastNumber) : m_lastNumber(lastNumber) {}

int FileNumbering::maxFileNumber(const QString& prefix, const QString& folderPath) {
    printf("************folderPath:%s\n", folderPath.toUtf8().constData());
    const QDir folder(folderPath);
    if (!folder.exists())
        return -1;
    // Pictures, recordings and PDFs share the numbers; a recording cut off before its rename keeps its
    // number too.
    const QStringList files =
        folder.entryList({"*.jpg", "*.mp4", "*.mkv", "*.pdf"}, QDir::Files, QDir::Unsorted);
    if (files.isEmpty())
        return 0;
    static const QRegularExpression pattern("^(.*)_(\\d+)(?:\\.recording)?\\.(?:jpg|mp4|mkv|pdf)$");
    bool prefixFound = false;
    int maxNumber = 0;
    for (const QString& name : files) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (!match.hasMatch() || match.captured(1) != prefix)
            continue;
        prefixFound = true;
        // A number too large for an int reads as 0.
        maxNumber = std::max(maxNumber, match.captured(2).toInt(nullptr, 10));
    }
    return prefixFound ? maxNumber : 1;
}

QString FileNumbering::next(const QString& suffix, Problem* problem) {
    *problem = Problem::None;
    int& lastNumber = *m_lastNumber;
    ++lastNumber;
    int number = lastNumber;
    ReadXML& settings = *ReadXML::instance();
    printf("*****************************************config->savePath:%s\n", settings.savePath.c_str());
    // One reading of the date serves the scan and the name, also across midnight.
    const QString prefix = capturePrefix(settings);
    // The settings panel allows letters, digits and "_" only, but the settings file may be edited by
    // hand: a prefix must not lead the file out of the save folder.
    if (prefix.contains('/')) {
        qCWarning(lcLiveView, "File refused: the file name prefix \"%s\" holds a \"/\"",
                  qUtf8Printable(prefix));
        *problem = Problem::SlashInPrefix;
        return {};
    }
    if (settings.savePath.empty()) {
        const QString folder = StorageFolders::defaultSaveFolder();
        if (folder.isEmpty()) {
            *problem = Problem::NoFolder;
            return {};
        }
        settings.savePath = folder.toStdString();
        if (!QFileInfo::exists(folder)) {
            if (QDir().mkpath(folder))
                qDebug() << "成功创建目录:" << folder;
            else
                qWarning() << "创建目录失败:" << folder;
        }
    } else {
        printf("&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&prefix:%s\n", prefix.toUtf8().constData());
        const int maxNumber = maxFileNumber(prefix, QString::fromStdString(settings.savePath));
        printf("****************maxNumber:%d\n", maxNumber);
        lastNumber = maxNumber + 1;
        printf("********************************nCaptureIndex:%d\n", lastNumber);
        number = lastNumber;
    }

    // A file never replaces another: the counter alone knows nothing of an earlier run's files, any
    // name may be taken by a folder, and the files of captures still being written are not in the
    // folder yet.
    const QString folder = QString::fromStdString(settings.savePath);
    QString path = numberedPath(folder, prefix, number, suffix);
    while (QFileInfo::exists(path) || m_inFlight.contains(path)) {
        qCDebug(lcLiveView, "File %s is taken, trying the next number", qUtf8Printable(path));
        path = numberedPath(folder, prefix, ++number, suffix);
    }
    lastNumber = number;
    return path;
}

void FileNumbering::reserve(const QString& path) {
    m_inFlight.insert(path);
}

void FileNumbering::release(const QString& path) {
    m_inFlight.remove(path);
}
