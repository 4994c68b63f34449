// SPDX-License-Identifier: GPL-3.0-or-later
// Which tiles of the annotation layer hold strokes, so that painting composites only those.
#include "inktiles.h"

#include <QImage>

void InkTiles::reset(const QSize& layerSize) {
    m_size = layerSize;
    m_columns = (layerSize.width() + kTileSize - 1) / kTileSize;
    m_rows = (layerSize.height() + kTileSize - 1) / kTileSize;
    m_marked.assign(static_cast<size_t>(m_columns) * m_rows, 0);
    m_markedCount = 0;
}

QRect InkTiles::tileRect(int column, int row) const {
    return QRect(column * kTileSize, row * kTileSize, kTileSize, kTileSize)
        .intersected(QRect(QPoint(), m_size));
}

void InkTiles::mark(const QRect& area) {
    const QRect bounds = area.intersected(QRect(QPoint(), m_size));
    if (bounds.isEmpty())
        return;
    for (int row = bounds.top() / kTileSize; row <= bounds.bottom() / kTileSize; ++row)
        for (int column = bounds.left() / kTileSize; column <= bounds.right() / kTileSize; ++column) {
            unsigned char& flag = m_marked[static_cast<size_t>(row) * m_columns + column];
            if (!flag) {
                flag = 1;
                ++m_markedCount;
            }
        }
}

void InkTiles::prune(const QPixmap& layer) {
    if (m_markedCount == 0 || layer.size() != m_size)
        return;
    const QImage image = layer.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int row = 0; row < m_rows; ++row)
        for (int column = 0; column < m_columns; ++column) {
            unsigned char& flag = m_marked[static_cast<size_t>(row) * m_columns + column];
            if (!flag)
                continue;
            const QRect tile = tileRect(column, row);
            bool empty = true;
            for (int y = tile.top(); y <= tile.bottom() && empty; ++y) {
                const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
                for (int x = tile.left(); x <= tile.right(); ++x)
                    if (qAlpha(line[x]) != 0) {
                        empty = false;
                        break;
                    }
            }
            if (empty) {
                flag = 0;
                --m_markedCount;
            }
        }
}

QVector<QRect> InkTiles::rects() const {
    QVector<QRect> runs;
    for (int row = 0; row < m_rows; ++row) {
        int start = -1;
        for (int column = 0; column <= m_columns; ++column) {
            const bool marked =
                column < m_columns && m_marked[static_cast<size_t>(row) * m_columns + column] != 0;
            if (marked && start < 0)
                start = column;
            if (!marked && start >= 0) {
                runs.push_back(tileRect(start, row).united(tileRect(column - 1, row)));
                start = -1;
            }
        }
    }
    return runs;
}
