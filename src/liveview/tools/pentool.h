// SPDX-License-Identifier: GPL-3.0-or-later
// Pen: opaque strokes in the pen's colour and thickness.
#pragma once

#include "stroketool.h"

class PenTool : public StrokeTool {
public:
    using StrokeTool::StrokeTool;

protected:
    void drawSegment(QPixmap& layer, const QPoint& from, const QPoint& to,
                     const QVector<QRect>& cover) override;
    int width() const override;
};
