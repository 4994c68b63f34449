// SPDX-License-Identifier: GPL-3.0-or-later
// What the tools of the live view work on: the annotation layer with its history, the pen, the
// picture's place on the view, and the pointer state the view keeps under its documented names.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QVector>

class AnnotationHistory;
class InkTiles;
class QWidget;
class Viewport;

// The stroke and pan drag under way, as the view's members hold them.
struct PointerState {
    bool& drawing;                 // a stroke or a shape is under way: undo and redo wait
    QPoint& lastPoint;             // layer position of the last drawn point; (0, 0) when there is none
    QVector<QPoint>& currentLine;  // the stroke's start point
    QPoint& dragStartPos;          // view position of the last pan drag step
    bool& mousePressed;            // a pan drag is under way
};

// GUI thread only.
class ToolHost {
public:
    virtual QWidget* widget() = 0;  // the view: parent of editors, owner of the cursor
    virtual QPixmap& layer() = 0;
    virtual AnnotationHistory& history() = 0;
    virtual InkTiles& inkTiles() = 0;
    virtual Viewport& viewport() = 0;
    virtual PointerState pointer() = 0;
    virtual QColor penColor() const = 0;
    virtual int penSize() const = 0;  // pixels
    virtual int eraserSize() const = 0;
    // The zoom or pan changed; a part of the layer changed on the view; a step of the history ended.
    virtual void viewportChanged() = 0;
    virtual void layerChanged(const QRect& layerRect) = 0;
    virtual void stepEnded() = 0;

protected:
    ~ToolHost() = default;
};
