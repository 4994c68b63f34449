// SPDX-License-Identifier: GPL-3.0-or-later
// A tool of the live view: what the pointer does on the picture while the tool is chosen.
#pragma once

#include <QCursor>

class QMouseEvent;
class QPainter;
class Viewport;

// GUI thread only. The view hands each mouse event (and one finger's touch as the mouse's left
// button) to the chosen tool.
class Tool {
public:
    virtual ~Tool() = default;
    virtual void press(QMouseEvent* event) = 0;
    virtual void move(QMouseEvent* event) = 0;
    virtual void release(QMouseEvent* event) = 0;
    // What is under way and not on the layer yet, over the picture, ink and masks; view coordinates.
    virtual void paintPreview(QPainter& painter, const Viewport& viewport) const {
        Q_UNUSED(painter);
        Q_UNUSED(viewport);
    }
    // Whether a press, drag or editor is under way, which cancel() drops.
    virtual bool busy() const = 0;
    virtual void cancel() = 0;
    // Another tool is chosen: what is under way ends as the tool ends it by itself.
    virtual void leave() { cancel(); }
    virtual QCursor cursor() const = 0;
    // The layer was cleared or replaced under what is under way.
    virtual void layerCleared() {}
    // Whether a press acts on the picture (so that a spotlight leaves its inside to the tool).
    virtual bool marksPicture() const { return true; }
};
