// SPDX-License-Identifier: GPL-3.0-or-later
// A shape dragged on the annotation layer between the press and the pointer, shown as a preview
// until the release puts it on the layer as one step of the history; a click draws nothing.
#pragma once

#include <QPen>
#include <QPoint>
#include <QRect>

#include "tool.h"

class ToolHost;

class ShapeTool : public Tool {
public:
    explicit ShapeTool(ToolHost& host) : m_host(host) {}
    void press(QMouseEvent* event) override;
    void move(QMouseEvent* event) override;
    void release(QMouseEvent* event) override;
    void paintPreview(QPainter& painter, const Viewport& viewport) const override;
    bool busy() const override { return m_active; }
    void cancel() override;
    QCursor cursor() const override;

protected:
    // Draws the shape from the press to the pointer with the painter's pen.
    virtual void draw(QPainter& painter, const QPoint& from, const QPoint& to) const = 0;
    // How far beyond the pen the shape reaches (an arrow's head).
    virtual double reach(const QPen& pen) const {
        Q_UNUSED(pen);
        return 0;
    }

private:
    // The layer area the shape covers, its pen and antialiasing included.
    QRect bounds() const;
    // Moves the free end, kept inside the layer.
    void moveTo(const QPoint& layerPos);
    void paint(QPainter& painter) const;
    void end();

    ToolHost& m_host;
    bool m_active = false;
    QPoint m_from;
    QPoint m_to;
    QPen m_pen;
};
