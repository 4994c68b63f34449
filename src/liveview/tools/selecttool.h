// SPDX-License-Identifier: GPL-3.0-or-later
// Select: a rectangle dragged over the picture, drawn as a dashed outline while it grows, is zoomed
// to fill the view; a click or a sliver is no selection.
#pragma once

#include <QPoint>
#include <QRect>

#include "tool.h"

class ToolHost;

class SelectTool : public Tool {
public:
    explicit SelectTool(ToolHost& host) : m_host(host) {}
    void press(QMouseEvent* event) override;
    void move(QMouseEvent* event) override;
    void release(QMouseEvent* event) override;
    void paintPreview(QPainter& painter, const Viewport& viewport) const override;
    bool busy() const override { return m_active; }
    void cancel() override;
    QCursor cursor() const override;

private:
    QRect rect() const { return QRect(m_anchor, m_corner).normalized(); }
    // The view area the outline covers.
    QRect outlineArea() const { return rect().adjusted(-2, -2, 2, 2); }

    ToolHost& m_host;
    bool m_active = false;
    QPoint m_anchor;  // view coordinates
    QPoint m_corner;
};
