// SPDX-License-Identifier: GPL-3.0-or-later
// What the viewer's suites share: a home folder and a settings file of their own, and a look at the
// process's resident memory.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>

#if defined(__SANITIZE_ADDRESS__)
#include <cstddef>
// The sanitizer runtime's count of live heap bytes (GCC ships no header for it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

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

// The memory the process holds in KiB: its resident set, 0 where /proc cannot tell. Under
// AddressSanitizer freed blocks wait in its quarantine and the resident set only grows, so there the
// heap's live bytes are counted instead.
inline long residentKiB() {
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<long>(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
#endif
}

}  // namespace testenvironment
