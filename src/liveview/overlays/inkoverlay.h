// SPDX-License-Identifier: GPL-3.0-or-later
// The annotation layer's strokes over the picture, on their page points through zoom and pan.
#pragma once

#include <QPixmap>

#include "overlay.h"

class InkTiles;

// GUI thread only.
class InkOverlay : public Overlay {
public:
    InkOverlay(const QPixmap& layer, const InkTiles& tiles) : m_layer(layer), m_tiles(tiles) {}
    void paint(QPainter& painter, const Viewport& viewport, const QRect& dirty) const override;

private:
    const QPixmap& m_layer;
    const InkTiles& m_tiles;
};
