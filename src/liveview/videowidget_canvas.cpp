// SPDX-License-Identifier: GPL-3.0-or-later
// The main view's annotation canvas: modes and cursors, strokes on the layer, erasing, clearing,
// panning, and undo and redo of the layer. GUI thread only.
#include <QCursor>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <cstdio>

#include "toolbars/toolswidget.h"
#include "videowidget.h"

namespace {

// Highlighter ink: the pen's colour at this alpha, this much wider than the pen.
constexpr int kHighlighterAlpha = 50;
constexpr int kHighlighterExtraWidth = 10;

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

}  // namespace

void VideoWidget::switchToMovingMode() {
    printf("*****************VideoWidget::switchToMovingMode\n");
    m_movingMode = true;
    m_drawingMode = false;
    m_eraserMode = false;
    m_selectMode = false;
    m_textMode = false;
    commitText();
    setCursor(Qt::OpenHandCursor);
}

void VideoWidget::switchToDrawingMode() {
    printf("*****************VideoWidget::switchToDrawingMode\n");
    m_drawingMode = true;
    m_movingMode = false;
    m_eraserMode = false;
    m_selectMode = false;
    m_textMode = false;
    commitText();
    setCursor(Qt::CrossCursor);
}

void VideoWidget::handleEraseMode(int eraseType, int size) {
    m_eraserSize = size * 10;
    m_eraserMode = true;
    m_movingMode = false;
    m_drawingMode = false;
    m_selectMode = false;
    m_textMode = false;
    commitText();
    if (eraseType == 2) {
        clearDrawing();
        return;
    }
    const int side = size * 10;
    const QPixmap icon = QIcon(":/image/svg/bar.svg").pixmap(QSize(side, side), QIcon::Normal, QIcon::On);
    // A size of 0 renders nothing; the previous cursor is better than an invisible one.
    if (!icon.isNull())
        setCursor(QCursor(icon, side / 2, side / 2));
}

void VideoWidget::updateToolSettings(int type, QColor color, int size) {
    printf("Tool Type:%d Color:%s Size:%d\n", type, color.name().toUtf8().constData(), size);
    m_penColor = color;
    m_penSize = size;
    m_currentToolType = type;
}

void VideoWidget::clearDrawing() {
    if (m_drawingPixmap.isNull())
        return;
    // Clear All is one step of the history; only the tiles that hold strokes need keeping.
    const QVector<QRect> inked = m_inkTiles.rects();
    m_history.endStep();
    m_history.beginStep();
    for (const QRect& tile : inked)
        m_history.aboutToChange(m_drawingPixmap, tile);
    m_history.endStep();
    m_drawingPixmap.fill(Qt::transparent);
    m_inkTiles.reset(m_drawingPixmap.size());
    // A stroke that goes on after the clear records from here.
    if (m_drawing)
        m_history.beginStep();
    if (m_highlight.active())
        m_highlight.restart(m_drawingPixmap);
    historyChanged();
    update();
}

// The stroke in progress has no step yet: undo and redo wait for its end.
void VideoWidget::undoDrawing() {
    if (!m_drawing)
        showRestored(m_history.undo(m_drawingPixmap));
}

void VideoWidget::redoDrawing() {
    if (!m_drawing)
        showRestored(m_history.redo(m_drawingPixmap));
}

// Undo or redo put other pixels into this part of the layer: ink may have come or gone there.
void VideoWidget::showRestored(const QRect& changed) {
    historyChanged();
    if (changed.isEmpty())
        return;
    m_inkTiles.mark(changed);
    m_inkTiles.prune(m_drawingPixmap);
    update(layerToView(changed));
}

// The layer was replaced or dropped: strokes, marks and history of the old one are gone.
void VideoWidget::resetLayer() {
    m_history.clear();
    m_inkTiles.reset(m_drawingPixmap.size());
    m_highlight.end();
    m_drawing = false;
    m_lastPoint = QPoint(0, 0);
    m_currentLine.clear();
    historyChanged();
}

void VideoWidget::historyChanged() {
    m_centerToolWidget->setUndoEnabled(m_history.undoSteps() > 0);
}

bool VideoWidget::insidePicture(const QPoint& layerPos) const {
    return layerPos.x() >= 0 && layerPos.x() < m_videoPixmap.width() && layerPos.y() >= 0 &&
           layerPos.y() < m_videoPixmap.height();
}

void VideoWidget::mousePressEvent(QMouseEvent* event) {
    if (maskMouseEvent(event)) {
        // The press is the mask's.
    } else if (m_textMode) {
        if (m_textEditor != nullptr)
            commitText();
        else if (event->button() == Qt::LeftButton)
            openTextEditor(event->pos());
    } else if (m_selectMode) {
        if (event->button() == Qt::LeftButton)
            m_selection.begin(event->pos());
    } else if (m_movingMode) {
        m_mousePressed = true;
        m_dragStartPos = event->pos();
        setCursor(Qt::ClosedHandCursor);
    } else if (m_drawingMode && ShapeStroke::isShape(m_currentToolType) &&
               event->button() == Qt::LeftButton) {
        beginShape(toLayer(event->pos()));
    } else if ((m_drawingMode || m_eraserMode) && event->button() == Qt::LeftButton) {
        const QPoint point = toLayer(event->pos());
        if (insidePicture(point)) {
            m_drawing = true;
            m_lastPoint = point;
            m_currentLine.append(point);
            m_history.beginStep();
            update();
        }
    }
    QWidget::mousePressEvent(event);
}

void VideoWidget::mouseMoveEvent(QMouseEvent* event) {
    if (maskMouseEvent(event)) {
        // The mask is being dragged.
    } else if (m_selectMode) {
        if (m_selection.active())
            update(m_selection.extend(event->pos()));
    } else if (m_movingMode && m_mousePressed) {
        m_imageOffset += event->pos() - m_dragStartPos;
        m_dragStartPos = event->pos();
        updatePreviewPart();
        update();
    } else if (m_shape.active()) {
        moveShape(toLayer(event->pos()));
    } else if ((m_drawingMode || m_eraserMode) && (event->buttons() & Qt::LeftButton) && m_drawing) {
        const QPoint point = toLayer(event->pos());
        if (insidePicture(point))
            drawLineTo(point);
    }
    QWidget::mouseMoveEvent(event);
}

void VideoWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (maskMouseEvent(event)) {
        // The mask's drag ends.
    } else if (m_selectMode) {
        if (m_selection.active() && event->button() == Qt::LeftButton)
            finishSelection();
    } else if (m_movingMode) {
        m_mousePressed = false;
        setCursor(Qt::OpenHandCursor);
    } else if (m_shape.active()) {
        if (event->button() == Qt::LeftButton)
            finishShape(toLayer(event->pos()));
    } else if ((m_drawingMode || m_eraserMode) && event->button() == Qt::LeftButton && m_drawing) {
        drawLineTo(toLayer(event->pos()));
        m_highlight.end();
        m_drawing = false;
        m_lastPoint = QPoint(0, 0);
        m_currentLine.clear();
        m_history.endStep();
        historyChanged();
        // Erasing may have emptied tiles, which then need no compositing.
        if (m_eraserMode)
            m_inkTiles.prune(m_drawingPixmap);
    }
    QWidget::mouseReleaseEvent(event);
}

void VideoWidget::drawLineTo(const QPoint& endPoint) {
    // (0, 0) stands for "no last point"; short moves add up until they reach MIN_DISTANCE.
    if (m_lastPoint == QPoint(0, 0) || (m_lastPoint - endPoint).manhattanLength() < MIN_DISTANCE)
        return;
    if (m_drawingPixmap.isNull())
        return;

    QPen pen;
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    bool draws = true;
    if (m_drawingMode) {
        if (m_currentToolType == 0) {
            pen.setColor(m_penColor);
            pen.setWidth(m_penSize);
        } else if (m_currentToolType == 1) {
            pen.setColor(m_penColor);  // at kHighlighterAlpha in the stroke's own layer
            pen.setWidth(m_penSize + kHighlighterExtraWidth);
        } else {
            draws = false;
        }
    } else if (m_eraserMode) {
        mode = QPainter::CompositionMode_Clear;
        pen.setWidth(m_eraserSize);
        printf("****进入擦除模式******************m_eraserSize=%d\n", m_eraserSize);
    } else {
        draws = false;
    }

    const bool highlighting = draws && m_drawingMode && m_currentToolType == 1;
    // Another tool's segment is not the highlighter's to lay its layer over: a later highlighter
    // segment begins a band of its own.
    if (!highlighting)
        m_highlight.end();
    if (draws) {
        // The segment's round ends and sides reach half a width beyond its line, antialiasing a
        // pixel more.
        const QVector<QRect> cover = segmentCover(m_lastPoint, endPoint, pen.width() / 2 + 2);
        for (const QRect& piece : cover)
            m_history.aboutToChange(m_drawingPixmap, piece);
        if (highlighting) {
            if (!m_highlight.active())
                m_highlight.begin(m_drawingPixmap, pen, kHighlighterAlpha);
            m_highlight.addSegment(m_drawingPixmap, m_lastPoint, endPoint, cover);
        } else {
            QPainter painter(&m_drawingPixmap);
            painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
            painter.setCompositionMode(mode);
            painter.setPen(pen);
            painter.drawLine(m_lastPoint, endPoint);
        }
        for (const QRect& piece : cover) {
            if (m_drawingMode)
                m_inkTiles.mark(piece);
            update(layerToView(piece));
        }
    }
    m_lastPoint = endPoint;
}
