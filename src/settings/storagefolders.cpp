// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program keeps what it writes for itself (settings) and where captures go by default.
#include "storagefolders.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace StorageFolders {

QString configurationFolder() {
    const QFileInfo besideProgram(QCoreApplication::applicationDirPath() + "/Configuration");
    if (besideProgram.isDir() && besideProgram.isWritable())
        return besideProgram.absoluteFilePath();
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    // A folder that cannot be made shows later as a settings file that cannot be saved, which is logged.
    QDir().mkpath(userFolder);
    return userFolder;
}

QString settingsFilePath() {
    return QDir(configurationFolder()).filePath("lastsetting.xml");
}

QString defaultSaveFolder() {
    QString parent = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (parent.isEmpty()) {
        qWarning() << "无法获取文档目录！";
        parent = QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
        if (parent.isEmpty())
            return {};
    }
    return QDir(parent).filePath("Pagelux");
}

}  // namespace StorageFolders
