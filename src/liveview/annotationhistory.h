// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo of the annotation layer: each step keeps only the tiles of the layer it changed.
#pragma once

#include <QByteArray>
#include <QPixmap>
#include <QRect>
#include <QSet>
#include <vector>

// GUI thread only. A step records the layer's pixels as they were before a stroke, an erase stroke
// or a clear changed them, tile by tile and compressed; undoing a step swaps those pixels with the
// layer's, so the same step then redoes it.
class AnnotationHistory {
public:
    static constexpr int kTileSize = 64;

    // Steps beyond maxSteps, or beyond byteBudget of stored pixels, are forgotten oldest first;
    // the newest step is always kept.
    explicit AnnotationHistory(int maxSteps = 50, qint64 byteBudget = 48 * 1024 * 1024);

    // A change of the layer begins; the tiles it touches are saved by aboutToChange.
    void beginStep();
    // Saves the tiles of area (layer pixels) that this step has not saved yet, before they change.
    void aboutToChange(const QPixmap& layer, const QRect& area);
    // Ends the step; a step that saved nothing (a click, a stroke that drew nothing) is not kept.
    void endStep();
    bool stepOpen() const { return m_open; }

    // Each returns the area of the layer it changed, empty when there was nothing to undo or redo.
    QRect undo(QPixmap& layer);
    QRect redo(QPixmap& layer);

    // Forgets every step: the layer was replaced.
    void clear();

    int undoSteps() const { return static_cast<int>(m_undo.size()); }
    int redoSteps() const { return static_cast<int>(m_redo.size()); }
    qint64 bytes() const { return m_bytes; }  // stored pixel data of every step

private:
    struct Tile {
        QRect rect;
        QByteArray pixels;  // premultiplied ARGB32 rows, compressed
    };
    using Step = std::vector<Tile>;

    static QByteArray grab(const QPixmap& layer, const QRect& rect);
    QRect swapWithLayer(QPixmap& layer, Step& step);
    QRect moveStep(QPixmap& layer, std::vector<Step>& from, std::vector<Step>& to);
    static qint64 sizeOf(const Step& step);
    void trim();

    int m_maxSteps;
    qint64 m_byteBudget;
    std::vector<Step> m_undo;  // oldest first
    std::vector<Step> m_redo;
    Step m_pending;             // the open step
    QSet<quint32> m_savedKeys;  // tiles the open step has saved
    bool m_open = false;
    qint64 m_bytes = 0;
};
