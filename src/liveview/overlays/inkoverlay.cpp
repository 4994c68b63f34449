// SPDX-License-Identifier: GPL-3.0-or-later
#include "inkoverlay.h"

#include <QPainter>

#include "liveview/inktiles.h"
#include "liveview/viewport.h"

// Only the tiles that hold strokes are composited: a layer with a few strokes costs a few blends, not
// a pass over the whole picture for every frame.
void InkOverlay::paint(QPainter& painter, const Viewport& viewport, const QRect& dirty) const {
    if (m_layer.isNull() || m_tiles.isEmpty())
        return;
    painter.save();
    painter.translate(viewport.pictureOnView().topLeft());
    painter.scale(viewport.shownScale(), viewport.shownScale());
    const QRect layerDirty = painter.transform().inverted().mapRect(QRectF(dirty)).toAlignedRect();
    for (const QRect& inked : m_tiles.rects()) {
        const QRect part = inked.intersected(layerDirty);
        if (!part.isEmpty())
            painter.drawPixmap(part.topLeft(), m_layer, part);
    }
    painter.restore();
}
