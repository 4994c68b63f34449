// What the viewer's suites share: a home folder and a settings file of their own, and a look at the
// process's resident memory.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>

namespace testenvironment {

// Makes home the user's home and returns the settings file beside the test program, whose folder
// exists (the program never creates it).
inline QString isolate(const QString& home) {
    qputenv("HOME", home.toUtf8());
    const QString configDir = QCoreApplication::applicationDirPath() + "/Configuration";
    QDir().mkpath(configDir);
    return configDir + "/lastsetting.xml";
}

// The whole file, or nothing when it cannot be read.
inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The process's resident set in KiB, 0 where /proc cannot tell.
inline long residentKiB() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

}  // namespace testenvironment
