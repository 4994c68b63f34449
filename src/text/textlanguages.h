// SPDX-License-Identifier: GPL-3.0-or-later
// The languages the page's text can be read in: the interface's codes, Tesseract's names for them,
// and whether their data is installed where Debian puts it.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// Any thread: it only reads the file system.
class TextLanguages {
    Q_DECLARE_TR_FUNCTIONS(TextLanguages)

public:
    // The interface's language codes that text can be recognised in, in the order they are offered.
    static QStringList all();
    // Tesseract's name of the data for an interface code ("ru" -> "rus"); empty for an unknown code.
    static QString dataName(const QString& code);
    // The language's name in the interface language.
    static QString displayName(const QString& code);
    // What the user is told when languages they chose have no data: which package to install.
    static QString missingNotice(const QStringList& codes);
    // The folder holding the language data: PAGELUX_TESSDATA when set (tests), else Debian's.
    static QString dataFolder();
    // The language's data file is in the data folder.
    static bool installed(const QString& code);
    // What the user chooses from when nothing was chosen yet: the interface language, and English.
    static QStringList defaultChoice(const QString& interfaceCode);
};
