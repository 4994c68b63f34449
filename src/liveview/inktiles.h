// SPDX-License-Identifier: GPL-3.0-or-later
// Which tiles of the annotation layer hold strokes, so that painting composites only those.
#pragma once

#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QVector>
#include <vector>

// GUI thread only. Marks may be generous (a tile marked that turned transparent again costs a blend,
// not a wrong picture); prune() takes back the marks of tiles that hold nothing any more.
class InkTiles {
public:
    static constexpr int kTileSize = 64;

    // Forgets every mark; the layer now has this size and is transparent.
    void reset(const QSize& layerSize);
    void mark(const QRect& area);
    // Unmarks the tiles whose pixels are all transparent (after erasing, clearing or undoing).
    void prune(const QPixmap& layer);
    bool isEmpty() const { return m_markedCount == 0; }
    // The marked tiles, runs of neighbours in a row joined into one rectangle, in layer pixels.
    QVector<QRect> rects() const;

private:
    QRect tileRect(int column, int row) const;

    QSize m_size;
    int m_columns = 0;
    int m_rows = 0;
    std::vector<unsigned char> m_marked;  // 1 where a tile is marked, row by row
    int m_markedCount = 0;
};
