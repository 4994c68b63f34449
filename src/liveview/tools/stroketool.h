// SPDX-License-Identifier: GPL-3.0-or-later
// A freehand stroke on the annotation layer: the press inside the picture starts it, each move of at
// least MIN_DISTANCE draws a segment, the release draws the last one; the stroke is one step of the
// history.
#pragma once

#include <QPen>
#include <QPoint>
#include <QRect>
#include <QVector>

#include "tool.h"

class ToolHost;

class StrokeTool : public Tool {
public:
    static const int MIN_DISTANCE = 4;  // shortest drawn segment, Manhattan pixels

    explicit StrokeTool(ToolHost& host) : m_host(host) {}
    void press(QMouseEvent* event) override;
    void move(QMouseEvent* event) override;
    void release(QMouseEvent* event) override;
    bool busy() const override;
    // The stroke so far is taken back, as if it had not begun.
    void cancel() override;
    QCursor cursor() const override;

protected:
    // Draws the segment onto layer; cover holds the rectangles it touches.
    virtual void drawSegment(QPixmap& layer, const QPoint& from, const QPoint& to,
                             const QVector<QRect>& cover) = 0;
    virtual int width() const = 0;
    // Whether the stroke leaves ink (not the eraser).
    virtual bool inks() const { return true; }
    // The stroke ends; the layer holds it.
    virtual void ended() {}
    QPen roundPen(const QColor& colour, int width) const;

    ToolHost& m_host;

private:
    void drawLineTo(const QPoint& endPoint);
    void endStroke();
};
