// SPDX-License-Identifier: GPL-3.0-or-later
#include "pageoutlineoverlay.h"

#include "liveview/camerapicturememory.h"
#include "liveview/pagescan.h"
#include "liveview/viewport.h"

void PageOutlineOverlay::paint(QPainter& painter, const Viewport& viewport, const QRect&) const {
    m_scan.paint(painter, viewport.pictureOnView().toAlignedRect(), m_memory.shownFromCamera());
}
