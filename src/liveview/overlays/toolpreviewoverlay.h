// SPDX-License-Identifier: GPL-3.0-or-later
// What the chosen tool has under way and not on the layer yet: a shape being dragged, a selection.
#pragma once

#include <memory>

#include "liveview/tools/tool.h"
#include "overlay.h"

// GUI thread only.
class ToolPreviewOverlay : public Overlay {
public:
    explicit ToolPreviewOverlay(const std::unique_ptr<Tool>& tool) : m_tool(tool) {}
    void paint(QPainter& painter, const Viewport& viewport, const QRect& dirty) const override;

private:
    const std::unique_ptr<Tool>& m_tool;  // the view's chosen tool, none at times
};
