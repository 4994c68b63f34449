// SPDX-License-Identifier: GPL-3.0-or-later
// The right half of the split view: a captured picture beside the live one, zoomed and panned on its
// own.
#pragma once

#include <QImage>
#include <QPointF>
#include <QString>
#include <QWidget>

#include "pinchgesture.h"

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

private:
    // The picture's rectangle in the pane: fitted, zoomed about pos and panned.
    QRectF pictureRect() const;
    void zoomAbout(const QPointF& pos, double scale);
    void panBy(const QPointF& delta);

    QString m_path;
    QImage m_picture;
    double m_scale = 1.0;
    QPointF m_offset;  // pan of the picture's centre from the pane's centre
    QPointF m_dragFrom;
    bool m_dragging = false;
    int m_wheelRemainder = 0;
    PinchGesture m_pinch;
};
