// SPDX-License-Identifier: GPL-3.0-or-later
// Highlighter: a translucent band in the pen's colour, wider than the pen, even where it overlaps
// itself.
#pragma once

#include "liveview/highlightstroke.h"
#include "stroketool.h"

class HighlighterTool : public StrokeTool {
public:
    using StrokeTool::StrokeTool;
    void layerCleared() override;

protected:
    void drawSegment(QPixmap& layer, const QPoint& from, const QPoint& to,
                     const QVector<QRect>& cover) override;
    int width() const override;
    void ended() override { m_band.end(); }

private:
    HighlightStroke m_band;
};
