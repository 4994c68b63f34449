// SPDX-License-Identifier: GPL-3.0-or-later
// Line: a straight line from the press to the pointer.
#pragma once

#include "shapetool.h"

class LineTool : public ShapeTool {
public:
    using ShapeTool::ShapeTool;

protected:
    void draw(QPainter& painter, const QPoint& from, const QPoint& to) const override;
};
