// SPDX-License-Identifier: GPL-3.0-or-later
// The text recognised on one page: its words in reading order, each with its box and language.
#pragma once

#include <QMetaType>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

struct PageText {
    struct Word {
        QString text;
        QRect box;         // in the picture's pixels
        QString language;  // the interface code of the language it was read in ("zh_CN")
        int line = 0;      // words of one line share this number, counted down the page
    };

    QSize pictureSize;
    QVector<Word> words;

    // Whether a space belongs between two neighbouring words of a line: not between two Chinese
    // characters, whose script writes none.
    static bool spaceBetween(const QString& left, const QString& right);
    // The words as the page reads: lines on lines of their own, spaces where the script has them.
    // starts, when given, receives where each word begins in that text.
    QString plainText(QVector<int>* starts = nullptr) const;
    // The language most of the words were read in; empty without words.
    QString mainLanguage() const;
};

Q_DECLARE_METATYPE(PageText)
