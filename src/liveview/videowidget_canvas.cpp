// SPDX-License-Identifier: GPL-3.0-or-later
// The main view's part in annotation: the documented modes and pen settings, and the pointer handed
// to the canvas (annotationcanvas.cpp). GUI thread only.
#include <QMouseEvent>
#include <cstdio>

#include "annotationcanvas.h"
#include "toolbars/toolswidget.h"
#include "videowidget.h"

// The documented modes follow the new tool.
void VideoWidget::useTool(ToolKind kind) {
    m_canvas->useTool(kind);
    m_movingMode = kind == ToolKind::Move;
    m_drawingMode = penToolKind(m_currentToolType) == kind && kind != ToolKind::None;
    m_eraserMode = kind == ToolKind::Eraser;
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
    if (m_drawingMode && penToolKind(type) != m_canvas->toolKind())
        useDrawingTool();
}

void VideoWidget::showMask(MaskKind kind) {
    m_canvas->setMask(kind);
}

void VideoWidget::clearDrawing() {
    m_canvas->clear();
}

void VideoWidget::undoDrawing() {
    m_canvas->undo();
}

void VideoWidget::redoDrawing() {
    m_canvas->redo();
}

AnnotationHistory& VideoWidget::history() {
    return m_canvas->history();
}

InkTiles& VideoWidget::inkTiles() {
    return m_canvas->inkTiles();
}

void VideoWidget::stepEnded() {
    m_centerToolWidget->setUndoEnabled(m_canvas->history().undoSteps() > 0);
}

void VideoWidget::layerChanged(const QRect& layerRect) {
    update(viewport().toView(layerRect));
}

PointerState VideoWidget::pointer() {
    return PointerState{m_drawing, m_lastPoint, m_currentLine, m_dragStartPos, m_mousePressed};
}

void VideoWidget::mousePressEvent(QMouseEvent* event) {
    m_canvas->press(event);
    QWidget::mousePressEvent(event);
}

void VideoWidget::mouseMoveEvent(QMouseEvent* event) {
    m_canvas->move(event);
    QWidget::mouseMoveEvent(event);
}

void VideoWidget::mouseReleaseEvent(QMouseEvent* event) {
    m_canvas->release(event);
    QWidget::mouseReleaseEvent(event);
}
