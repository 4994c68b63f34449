// SPDX-License-Identifier: GPL-3.0-or-later
// Ellipse: the ellipse inside the box between the press and the pointer.
#pragma once

#include "shapetool.h"

class EllipseTool : public ShapeTool {
public:
    using ShapeTool::ShapeTool;

protected:
    void draw(QPainter& painter, const QPoint& from, const QPoint& to) const override;
};
