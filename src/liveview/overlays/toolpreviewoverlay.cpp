// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolpreviewoverlay.h"

void ToolPreviewOverlay::paint(QPainter& painter, const Viewport& viewport, const QRect&) const {
    if (m_tool)
        m_tool->paintPreview(painter, viewport);
}
