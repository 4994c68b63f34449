// SPDX-License-Identifier: GPL-3.0-or-later
// The main view's annotation canvas: the chosen tool, which takes the pointer where no overlay does,
// the overlays over the picture, and clearing, undo and redo of the layer. GUI thread only.
#include <QMouseEvent>
#include <cstdio>

#include "camerapicturememory.h"
#include "maskoverlay.h"
#include "overlays/inkoverlay.h"
#include "overlays/pageoutlineoverlay.h"
#include "overlays/toolpreviewoverlay.h"
#include "pagescan.h"
#include "toolbars/toolswidget.h"
#include "videowidget.h"

// Bottom first: the ink, what the tool has under way, the page's outline, the mask.
void VideoWidget::initCanvas() {
    m_overlays.add(std::make_unique<InkOverlay>(m_drawingPixmap, m_inkTiles));
    m_overlays.add(std::make_unique<ToolPreviewOverlay>(m_tool));
    m_overlays.add(std::make_unique<PageOutlineOverlay>(*m_pageScan, *m_pictureMemory));
    m_mask = m_overlays.add(std::make_unique<MaskOverlay>());
}

// What the old tool has under way ends as it ends it, but for a stroke that goes on in the new ink as
// the same step (its state is the view's); the documented modes follow the new tool.
void VideoWidget::useTool(ToolKind kind) {
    const bool strokeGoesOn = m_drawing && drawsStrokes(m_toolKind) && drawsStrokes(kind);
    if (m_tool && !strokeGoesOn)
        m_tool->leave();
    m_tool = makeTool(kind, *this);
    m_toolKind = kind;
    m_movingMode = kind == ToolKind::Move;
    m_drawingMode = penToolKind(m_currentToolType) == kind && kind != ToolKind::None;
    m_eraserMode = kind == ToolKind::Eraser;
    if (m_tool)
        setCursor(m_tool->cursor());
}

void VideoWidget::switchToMovingMode() {
    printf("*****************VideoWidget::switchToMovingMode\n");
    useTool(ToolKind::Move);
}

void VideoWidget::switchToDrawingMode() {
    printf("*****************VideoWidget::switchToDrawingMode\n");
    useDrawingTool();
}

// The pen popup's type chooses among the drawing tools.
void VideoWidget::useDrawingTool() {
    useTool(penToolKind(m_currentToolType));
    // Also with a pen type that draws nothing.
    m_drawingMode = true;
    setCursor(Qt::CrossCursor);
}

void VideoWidget::handleEraseMode(int eraseType, int size) {
    m_eraserSize = size * 10;
    const QCursor before = cursor();
    useTool(ToolKind::Eraser);
    // Clear All leaves the cursor as it was.
    if (eraseType == 2) {
        setCursor(before);
        clearDrawing();
    }
}

void VideoWidget::switchToSelectMode() {
    useTool(ToolKind::Select);
}

void VideoWidget::switchToTextMode() {
    useTool(ToolKind::Text);
}

void VideoWidget::updateToolSettings(int type, QColor color, int size) {
    printf("Tool Type:%d Color:%s Size:%d\n", type, color.name().toUtf8().constData(), size);
    m_penColor = color;
    m_penSize = size;
    m_currentToolType = type;
    if (m_drawingMode && penToolKind(type) != m_toolKind)
        useDrawingTool();
}

void VideoWidget::showMask(MaskKind kind) {
    m_mask->setKind(kind);
    update();
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
    if (m_tool)
        m_tool->layerCleared();
    stepEnded();
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
    stepEnded();
    if (changed.isEmpty())
        return;
    m_inkTiles.mark(changed);
    m_inkTiles.prune(m_drawingPixmap);
    layerChanged(changed);
}

// The layer was replaced or dropped: strokes, marks and history of the old one are gone.
void VideoWidget::resetLayer() {
    m_history.clear();
    m_inkTiles.reset(m_drawingPixmap.size());
    if (m_tool)
        m_tool->layerCleared();
    m_drawing = false;
    m_lastPoint = QPoint(0, 0);
    m_currentLine.clear();
    stepEnded();
}

void VideoWidget::stepEnded() {
    m_centerToolWidget->setUndoEnabled(m_history.undoSteps() > 0);
}

void VideoWidget::layerChanged(const QRect& layerRect) {
    update(viewport().toView(layerRect));
}

PointerState VideoWidget::pointer() {
    return PointerState{m_drawing, m_lastPoint, m_currentLine, m_dragStartPos, m_mousePressed};
}

// A left press on the curtain or the spotlight is theirs, with its drag; any other is the tool's.
void VideoWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton ||
        !m_overlays.press(event->pos(), viewport(), m_tool && m_tool->marksPicture())) {
        if (m_tool)
            m_tool->press(event);
    }
    QWidget::mousePressEvent(event);
}

void VideoWidget::mouseMoveEvent(QMouseEvent* event) {
    if (m_overlays.grabbed())
        update(m_overlays.drag(event->pos(), viewport()));
    else if (m_tool)
        m_tool->move(event);
    QWidget::mouseMoveEvent(event);
}

void VideoWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (m_overlays.grabbed())
        m_overlays.release();
    else if (m_tool)
        m_tool->release(event);
    QWidget::mouseReleaseEvent(event);
}
