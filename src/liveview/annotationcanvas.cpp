// SPDX-License-Identifier: GPL-3.0-or-later
// The annotation canvas: the chosen tool, which takes the pointer where no overlay does, the overlays
// over the picture, and clearing, undo and redo of the layer. GUI thread only.
#include "annotationcanvas.h"

#include <QMouseEvent>
#include <QWidget>

#include "maskoverlay.h"
#include "overlays/inkoverlay.h"
#include "overlays/pageoutlineoverlay.h"
#include "overlays/toolpreviewoverlay.h"
#include "tools/toolhost.h"
#include "viewport.h"

AnnotationCanvas::AnnotationCanvas(ToolHost& host, const PageScan& pageScan,
                                   const CameraPictureMemory& memory)
    : m_host(host) {
    m_overlays.add(std::make_unique<InkOverlay>(m_host.layer(), m_inkTiles));
    m_overlays.add(std::make_unique<ToolPreviewOverlay>(m_tool));
    m_overlays.add(std::make_unique<PageOutlineOverlay>(pageScan, memory));
    m_mask = m_overlays.add(std::make_unique<MaskOverlay>());
}

AnnotationCanvas::~AnnotationCanvas() = default;

void AnnotationCanvas::useTool(ToolKind kind) {
    // A stroke's state is the host's, so it carries over to the new ink.
    const bool strokeGoesOn = m_host.pointer().drawing && drawsStrokes(m_toolKind) && drawsStrokes(kind);
    if (m_tool && !strokeGoesOn)
        m_tool->leave();
    m_tool = makeTool(kind, m_host);
    m_toolKind = kind;
    if (m_tool)
        m_host.widget()->setCursor(m_tool->cursor());
}

void AnnotationCanvas::setMask(MaskKind kind) {
    m_mask->setKind(kind);
    m_host.widget()->update();
}

void AnnotationCanvas::addOverlay(std::unique_ptr<Overlay> overlay) {
    m_overlays.add(std::move(overlay));
}

void AnnotationCanvas::press(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton &&
        m_overlays.press(event->pos(), m_host.viewport(), m_tool && m_tool->marksPicture()))
        return;
    if (m_tool)
        m_tool->press(event);
}

void AnnotationCanvas::move(QMouseEvent* event) {
    if (m_overlays.grabbed())
        m_host.widget()->update(m_overlays.drag(event->pos(), m_host.viewport()));
    else if (m_tool)
        m_tool->move(event);
}

void AnnotationCanvas::release(QMouseEvent* event) {
    if (m_overlays.grabbed())
        m_overlays.release();
    else if (m_tool)
        m_tool->release(event);
}

void AnnotationCanvas::paint(QPainter& painter, const Viewport& viewport, const QRect& dirty) const {
    m_overlays.paint(painter, viewport, dirty);
}

bool AnnotationCanvas::cancel() {
    if (!m_tool || !m_tool->busy())
        return false;
    m_tool->cancel();
    return true;
}

void AnnotationCanvas::dropPointerAction() {
    if (m_tool)
        m_tool->leave();
    m_overlays.release();
}

void AnnotationCanvas::clear() {
    QPixmap& layer = m_host.layer();
    if (layer.isNull())
        return;
    // Only the tiles that hold strokes need keeping.
    const QVector<QRect> inked = m_inkTiles.rects();
    m_history.endStep();
    m_history.beginStep();
    for (const QRect& tile : inked)
        m_history.aboutToChange(layer, tile);
    m_history.endStep();
    layer.fill(Qt::transparent);
    m_inkTiles.reset(layer.size());
    // A stroke that goes on after the clear records from here.
    if (m_host.pointer().drawing)
        m_history.beginStep();
    if (m_tool)
        m_tool->layerCleared();
    m_host.stepEnded();
    m_host.widget()->update();
}

void AnnotationCanvas::undo() {
    if (!m_host.pointer().drawing)
        showRestored(m_history.undo(m_host.layer()));
}

void AnnotationCanvas::redo() {
    if (!m_host.pointer().drawing)
        showRestored(m_history.redo(m_host.layer()));
}

void AnnotationCanvas::showRestored(const QRect& changed) {
    m_host.stepEnded();
    if (changed.isEmpty())
        return;
    m_inkTiles.mark(changed);
    m_inkTiles.prune(m_host.layer());
    m_host.layerChanged(changed);
}

void AnnotationCanvas::resetLayer() {
    m_history.clear();
    m_inkTiles.reset(m_host.layer().size());
    if (m_tool)
        m_tool->layerCleared();
    const PointerState pointer = m_host.pointer();
    pointer.drawing = false;
    pointer.lastPoint = QPoint(0, 0);
    pointer.currentLine.clear();
    m_host.stepEnded();
}
