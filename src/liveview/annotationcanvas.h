// SPDX-License-Identifier: GPL-3.0-or-later
// The annotation canvas over the live picture: the tool the pointer acts with, the overlays painted
// over the picture, and the layer's history of steps.
#pragma once

#include <QRect>
#include <memory>

#include "annotationhistory.h"
#include "inktiles.h"
#include "overlays/overlaystack.h"
#include "toolbars/maskkind.h"
#include "tools/tool.h"
#include "tools/toolkind.h"

class CameraPictureMemory;
class MaskOverlay;
class PageScan;
class QMouseEvent;
class QPainter;
class ToolHost;
class Viewport;

// GUI thread only. The layer, the pen and the pointer state stay the host's (the view's documented
// members); the canvas works on them through ToolHost.
class AnnotationCanvas {
public:
    // Overlays, bottom first: the ink, what the tool has under way, the page's outline, the mask.
    AnnotationCanvas(ToolHost& host, const PageScan& pageScan, const CameraPictureMemory& memory);
    ~AnnotationCanvas();
    AnnotationCanvas(const AnnotationCanvas&) = delete;
    AnnotationCanvas& operator=(const AnnotationCanvas&) = delete;

    ToolKind toolKind() const { return m_toolKind; }
    // What the old tool has under way ends as it ends it, but for a stroke that goes on in the new ink
    // as the same step. The view takes the new tool's cursor.
    void useTool(ToolKind kind);
    void setMask(MaskKind kind);
    // Puts overlay on top of the others: it paints last and is offered the pointer first.
    void addOverlay(std::unique_ptr<Overlay> overlay);

    // A left press on the curtain or the spotlight is theirs, with its drag; any other is the tool's.
    void press(QMouseEvent* event);
    void move(QMouseEvent* event);
    void release(QMouseEvent* event);
    // Over the picture, with the painter on the view.
    void paint(QPainter& painter, const Viewport& viewport, const QRect& dirty) const;
    // Esc: what is under way stops; false when nothing was.
    bool cancel();
    // What the pointer began ends as on a change of tool (a stroke, a shape, a selection or a drag is
    // dropped, a text typed is kept): a second finger came down.
    void dropPointerAction();

    // Clear All, as one step of the history.
    void clear();
    // Undo and redo wait for the end of a stroke in progress, which has no step yet.
    void undo();
    void redo();
    // The layer was replaced or dropped: strokes, marks and history of the old one are gone.
    void resetLayer();

    AnnotationHistory& history() { return m_history; }
    InkTiles& inkTiles() { return m_inkTiles; }

private:
    // Undo or redo put other pixels into this part of the layer: ink may have come or gone there.
    void showRestored(const QRect& changed);

    ToolHost& m_host;
    std::unique_ptr<Tool> m_tool;  // made by useTool(); none before a tool is chosen
    ToolKind m_toolKind = ToolKind::None;
    OverlayStack m_overlays;
    MaskOverlay* m_mask = nullptr;  // in m_overlays
    AnnotationHistory m_history;    // of the host's layer
    InkTiles m_inkTiles;            // where the layer holds strokes
};
