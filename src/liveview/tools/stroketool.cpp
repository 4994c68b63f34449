// SPDX-License-Identifier: GPL-3.0-or-later
#include "stroketool.h"

#include <QMouseEvent>
#include <QWidget>

#include "liveview/annotationhistory.h"
#include "liveview/inktiles.h"
#include "liveview/viewport.h"
#include "toolhost.h"

namespace {

// Rectangles that together cover a segment drawn with a pen reaching `reach` pixels from its line:
// a long diagonal is cut into short pieces, so that undo keeps, and painting blends, the tiles the
// line crosses rather than every tile of its bounding box.
QVector<QRect> segmentCover(const QPoint& from, const QPoint& to, int reach) {
    constexpr int kPiece = 32;
    const QPoint delta = to - from;
    const int pieces = qMax(1, qMax(qAbs(delta.x()), qAbs(delta.y())) / kPiece + 1);
    QVector<QRect> cover;
    cover.reserve(pieces);
    QPoint start = from;
    for (int i = 1; i <= pieces; ++i) {
        const QPoint end = from + delta * i / pieces;
        cover.push_back(QRect(start, end).normalized().adjusted(-reach, -reach, reach, reach));
        start = end;
    }
    return cover;
}

bool inside(const QPixmap& layer, const QPoint& point) {
    return layer.rect().contains(point);
}

}  // namespace

void StrokeTool::press(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = m_host.viewport().toPicture(event->pos());
    if (!inside(m_host.layer(), point))
        return;
    const PointerState pointer = m_host.pointer();
    pointer.drawing = true;
    pointer.lastPoint = point;
    pointer.currentLine.append(point);
    m_host.history().beginStep();
}

void StrokeTool::move(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || !busy())
        return;
    // Positions outside the picture are skipped: coming back in draws straight from the last one.
    const QPoint point = m_host.viewport().toPicture(event->pos());
    if (inside(m_host.layer(), point))
        drawLineTo(point);
}

void StrokeTool::release(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !busy())
        return;
    drawLineTo(m_host.viewport().toPicture(event->pos()));
    endStroke();
    m_host.history().endStep();
    m_host.stepEnded();
}

bool StrokeTool::busy() const {
    return m_host.pointer().drawing;
}

void StrokeTool::cancel() {
    if (!busy())
        return;
    AnnotationHistory& history = m_host.history();
    const int steps = history.undoSteps();
    endStroke();
    history.endStep();
    if (history.undoSteps() > steps) {
        const QRect restored = history.undo(m_host.layer());
        m_host.inkTiles().mark(restored);
        m_host.inkTiles().prune(m_host.layer());
        m_host.layerChanged(restored);
    }
    m_host.stepEnded();
}

void StrokeTool::endStroke() {
    ended();
    const PointerState pointer = m_host.pointer();
    pointer.drawing = false;
    pointer.lastPoint = QPoint(0, 0);
    pointer.currentLine.clear();
}

QCursor StrokeTool::cursor() const {
    return Qt::CrossCursor;
}

QPen StrokeTool::roundPen(const QColor& colour, int width) const {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void StrokeTool::drawLineTo(const QPoint& endPoint) {
    QPoint& lastPoint = m_host.pointer().lastPoint;
    // (0, 0) stands for "no last point"; short moves add up until they reach MIN_DISTANCE.
    if (lastPoint == QPoint(0, 0) || (lastPoint - endPoint).manhattanLength() < MIN_DISTANCE)
        return;
    QPixmap& layer = m_host.layer();
    if (layer.isNull())
        return;
    // The segment's round ends and sides reach half a width beyond its line, antialiasing a pixel
    // more.
    const QVector<QRect> cover = segmentCover(lastPoint, endPoint, width() / 2 + 2);
    for (const QRect& piece : cover)
        m_host.history().aboutToChange(layer, piece);
    drawSegment(layer, lastPoint, endPoint, cover);
    for (const QRect& piece : cover) {
        if (inks())
            m_host.inkTiles().mark(piece);
        m_host.layerChanged(piece);
    }
    lastPoint = endPoint;
}
