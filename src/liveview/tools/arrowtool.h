// SPDX-License-Identifier: GPL-3.0-or-later
// Arrow: a line from the press with its head at the pointer.
#pragma once

#include "shapetool.h"

class ArrowTool : public ShapeTool {
public:
    using ShapeTool::ShapeTool;

protected:
    void draw(QPainter& painter, const QPoint& from, const QPoint& to) const override;
    double reach(const QPen& pen) const override;
};
