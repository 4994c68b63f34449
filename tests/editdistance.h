// SPDX-License-Identifier: GPL-3.0-or-later
// How far apart two texts are, for the translation checks and the page text figures alike.
#pragma once

#include <QString>
#include <QVector>
#include <algorithm>

// The number of single-character insertions, deletions and substitutions that turn a into b.
inline int editDistance(const QString& a, const QString& b) {
    QVector<int> row(b.size() + 1);
    for (int j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (int i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = i;
        for (int j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}
