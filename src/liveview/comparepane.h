// SPDX-License-Identifier: GPL-3.0-or-later
// The right half of the split view: a captured picture beside the live one, zoomed and panned on its
// own.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include "viewport.h"

// GUI thread only.
class ComparePane : public QWidget {
    Q_OBJECT

public:
    explicit ComparePane(QWidget* parent = nullptr);

    // Shows the picture of the file at path, whole; false (and the previous picture kept) when it
    // cannot be read. An empty path shows the hint that no capture is there yet.
    bool showFile(const QString& path);
    QString file() const { return m_path; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Touch: one finger pans, two pinch to zoom and pan.
    bool event(QEvent* event) override;

    void resizeEvent(QResizeEvent* event) override;

private:
    // The whole picture stays centred; a zoomed one follows the pointer.
    void panBy(const QPoint& delta);

    QString m_path;
    QImage m_picture;
    Viewport m_viewport;
    QPoint m_dragFrom;
    bool m_dragging = false;
};
