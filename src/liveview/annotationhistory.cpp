// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo of the annotation layer: each step keeps only the tiles of the layer it changed.
#include "annotationhistory.h"

#include <QImage>
#include <QPainter>

namespace {

// Level 1: an annotation layer is mostly transparent or one colour, which even the fastest level
// shrinks to a few percent, and a Clear All of a full layer must not stall the GUI thread.
constexpr int kCompressionLevel = 1;

// qCompress leaves its worst-case buffer allocated: without squeezing, a tile that compressed to a
// few bytes would keep holding the full tile's memory.
QByteArray compressed(const QByteArray& raw) {
    QByteArray packed = qCompress(raw, kCompressionLevel);
    packed.squeeze();
    return packed;
}

quint32 tileKey(int column, int row) {
    return (static_cast<quint32>(row) << 16) | static_cast<quint32>(column);
}

}  // namespace

AnnotationHistory::AnnotationHistory(int maxSteps, qint64 byteBudget)
    : m_maxSteps(maxSteps), m_byteBudget(byteBudget) {}

void AnnotationHistory::beginStep() {
    m_pending.clear();
    m_savedKeys.clear();
    m_open = true;
}

QByteArray AnnotationHistory::grab(const QPixmap& layer, const QRect& rect) {
    const QImage image = layer.copy(rect).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QByteArray rows;
    rows.reserve(rect.width() * rect.height() * 4);
    for (int y = 0; y < image.height(); ++y)
        rows.append(reinterpret_cast<const char*>(image.constScanLine(y)), image.width() * 4);
    return rows;
}

void AnnotationHistory::aboutToChange(const QPixmap& layer, const QRect& area) {
    const QRect bounds = area.intersected(layer.rect());
    if (!m_open || bounds.isEmpty())
        return;
    for (int row = bounds.top() / kTileSize; row <= bounds.bottom() / kTileSize; ++row) {
        for (int column = bounds.left() / kTileSize; column <= bounds.right() / kTileSize; ++column) {
            const quint32 key = tileKey(column, row);
            if (m_savedKeys.contains(key))
                continue;
            m_savedKeys.insert(key);
            const QRect tile =
                QRect(column * kTileSize, row * kTileSize, kTileSize, kTileSize).intersected(layer.rect());
            m_pending.push_back({tile, compressed(grab(layer, tile))});
        }
    }
}

void AnnotationHistory::endStep() {
    if (!m_open)
        return;
    m_open = false;
    m_savedKeys.clear();
    if (m_pending.empty())
        return;
    // A new change makes the undone steps unreachable.
    for (const Step& step : m_redo)
        m_bytes -= sizeOf(step);
    m_redo.clear();
    m_bytes += sizeOf(m_pending);
    m_undo.push_back(std::move(m_pending));
    m_pending.clear();
    trim();
}

qint64 AnnotationHistory::sizeOf(const Step& step) {
    qint64 total = 0;
    for (const Tile& tile : step)
        total += tile.pixels.size();
    return total;
}

void AnnotationHistory::trim() {
    while (m_undo.size() > 1 && (static_cast<int>(m_undo.size()) > m_maxSteps || m_bytes > m_byteBudget)) {
        m_bytes -= sizeOf(m_undo.front());
        m_undo.erase(m_undo.begin());
    }
}

// The layer's pixels under each tile go into the step, and the step's pixels onto the layer. All
// tiles are read before any is painted, so that no read sees the layer while a painter is open on it.
QRect AnnotationHistory::swapWithLayer(QPixmap& layer, Step& step) {
    std::vector<QByteArray> current;
    current.reserve(step.size());
    for (const Tile& tile : step)
        current.push_back(compressed(grab(layer, tile.rect)));
    QRect changed;
    m_bytes -= sizeOf(step);
    {
        QPainter painter(&layer);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        for (size_t i = 0; i < step.size(); ++i) {
            Tile& tile = step[i];
            const QByteArray stored = qUncompress(tile.pixels);
            if (stored.size() == tile.rect.width() * tile.rect.height() * 4) {
                const QImage image(reinterpret_cast<const uchar*>(stored.constData()), tile.rect.width(),
                                   tile.rect.height(), tile.rect.width() * 4,
                                   QImage::Format_ARGB32_Premultiplied);
                painter.drawImage(tile.rect.topLeft(), image);
                changed |= tile.rect;
            }
            tile.pixels = std::move(current[i]);
        }
    }
    m_bytes += sizeOf(step);
    return changed;
}

// Undoing and redoing are the same move: the newest step of one list is swapped with the layer and
// becomes the newest of the other.
QRect AnnotationHistory::moveStep(QPixmap& layer, std::vector<Step>& from, std::vector<Step>& to) {
    if (m_open || from.empty() || layer.isNull())
        return QRect();
    Step step = std::move(from.back());
    from.pop_back();
    const QRect changed = swapWithLayer(layer, step);
    to.push_back(std::move(step));
    return changed;
}

QRect AnnotationHistory::undo(QPixmap& layer) {
    return moveStep(layer, m_undo, m_redo);
}

QRect AnnotationHistory::redo(QPixmap& layer) {
    return moveStep(layer, m_redo, m_undo);
}

void AnnotationHistory::clear() {
    m_undo.clear();
    m_redo.clear();
    m_pending.clear();
    m_savedKeys.clear();
    m_open = false;
    m_bytes = 0;
}
