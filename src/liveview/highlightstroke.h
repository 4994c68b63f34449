// SPDX-License-Identifier: GPL-3.0-or-later
// A highlighter stroke: its path drawn into a layer of its own, each segment replacing what the
// earlier ones left there, and that layer laid over the annotation layer as it was before the stroke.
// Where the stroke's segments overlap (at every joint, and wherever it turns back over itself) the ink
// stays one even translucent band.
#pragma once

#include <QImage>
#include <QPen>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QVector>

// GUI thread only.
class HighlightStroke {
public:
    // Starts a stroke over layer as it is now, in pen's colour at alpha (of 255).
    void begin(const QPixmap& layer, const QPen& pen, int alpha);
    bool active() const { return !m_ink.isNull(); }
    // Adds the segment from-to to the stroke and shows the stroke in the areas of layer, which must
    // cover the segment.
    void addSegment(QPixmap& layer, const QPoint& from, const QPoint& to, const QVector<QRect>& areas);
    // The layer was cleared under the stroke: what the stroke drew so far is gone with it.
    void restart(const QPixmap& layer);
    void end();

private:
    QImage m_before;  // the layer as it was before the stroke
    QImage m_ink;     // the stroke alone
    QPen m_pen;
};
