// SPDX-License-Identifier: GPL-3.0-or-later
// Eraser: strokes that clear the layer where they pass, the eraser's width wide.
#pragma once

#include "stroketool.h"

class EraserTool : public StrokeTool {
public:
    using StrokeTool::StrokeTool;
    // The eraser's icon at its size, centred on the pointer.
    QCursor cursor() const override;

protected:
    void drawSegment(QPixmap& layer, const QPoint& from, const QPoint& to,
                     const QVector<QRect>& cover) override;
    int width() const override;
    bool inks() const override { return false; }
    void ended() override;
};
