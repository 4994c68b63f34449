// SPDX-License-Identifier: GPL-3.0-or-later
// The numbered file names of the save folder, one sequence shared by captures, PDFs and recordings.
#pragma once

#include <QSet>
#include <QString>

// GUI thread only.
class FileNumbering {
public:
    enum class Problem { None, SlashInPrefix, NoFolder };

    // lastNumber: where the number of the last file handed out is kept (the view's capture count).
    explicit FileNumbering(int* lastNumber);

    // The highest number already used with prefix among the folder's pictures, PDFs and recordings:
    // -1 when the folder does not exist, 0 when it holds none of them, 1 when none has the prefix.
    static int maxFileNumber(const QString& prefix, const QString& folderPath);

    // The next free numbered name with suffix in the save folder of the settings; empty, with the
    // problem, when there is none. A name is free when no file has it and none is being written.
    QString next(const QString& suffix, Problem* problem);

    // A file being written under path: its name is not handed out again until it is released.
    void reserve(const QString& path);
    void release(const QString& path);

private:
    int* m_lastNumber;
    QSet<QString> m_inFlight;
};
