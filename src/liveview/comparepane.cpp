// SPDX-License-Identifier: GPL-3.0-or-later
// The compared picture of the split view: fitted to the pane, zoomed by the wheel about the pointer,
// panned by dragging.
#include "comparepane.h"

#include <QFileInfo>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QTouchEvent>
#include <QWheelEvent>

namespace {

constexpr int kDivider = 2;  // the line between the live and the compared picture

}  // namespace

ComparePane::ComparePane(QWidget* parent) : QWidget(parent) {
    setObjectName("comparePane");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::OpenHandCursor);
    setAttribute(Qt::WA_AcceptTouchEvents);
}

bool ComparePane::showFile(const QString& path) {
    QImage picture;
    if (!path.isEmpty()) {
        QImageReader reader(path);
        reader.setAutoTransform(true);
        picture = reader.read();
        if (picture.isNull())
            return false;
    }
    m_path = path;
    m_picture = picture;
    m_viewport.setFrame(rect().adjusted(kDivider, 0, 0, 0), m_picture.size(), true);
    m_viewport.reset();
    update();
    return true;
}

void ComparePane::resizeEvent(QResizeEvent*) {
    m_viewport.setFrame(rect().adjusted(kDivider, 0, 0, 0), m_picture.size(), true);
}

void ComparePane::wheelEvent(QWheelEvent* event) {
    event->accept();
    if (m_picture.isNull())
        return;
    m_viewport.wheel(event->position(), event->angleDelta().y());
    update();
}

void ComparePane::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    m_dragFrom = event->pos();
    setCursor(Qt::ClosedHandCursor);
}

void ComparePane::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging)
        return;
    panBy(event->pos() - m_dragFrom);
    m_dragFrom = event->pos();
}

void ComparePane::panBy(const QPoint& delta) {
    if (!m_viewport.zoomed())
        return;
    m_viewport.panBy(delta);
    update();
}

bool ComparePane::event(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::TouchBegin && type != QEvent::TouchUpdate && type != QEvent::TouchEnd &&
        type != QEvent::TouchCancel)
        return QWidget::event(event);
    event->accept();
    const QList<QTouchEvent::TouchPoint>& points = static_cast<QTouchEvent*>(event)->touchPoints();
    if (type == QEvent::TouchBegin || type == QEvent::TouchEnd || type == QEvent::TouchCancel)
        m_viewport.endPinch();
    if (points.size() >= 2 && points[0].state() != Qt::TouchPointReleased &&
        points[1].state() != Qt::TouchPointReleased && !m_picture.isNull()) {
        if (!m_viewport.pinching())
            m_viewport.beginPinch(points[0].pos(), points[1].pos());
        m_viewport.followPinch(points[0].pos(), points[1].pos());
        update();
    } else if (points.size() == 1 && !m_viewport.pinching()) {
        panBy((points[0].pos() - points[0].lastPos()).toPoint());
    }
    return true;
}

void ComparePane::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    setCursor(Qt::OpenHandCursor);
}

void ComparePane::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.fillRect(QRect(0, 0, kDivider, height()), QColor(0x99, 0x99, 0x99));
    if (m_picture.isNull()) {
        painter.setPen(QColor(0xAA, 0xAA, 0xAA));
        painter.drawText(rect().adjusted(40, 0, -40, 0), Qt::AlignCenter | Qt::TextWordWrap,
                         tr("No captured picture yet: capture one, or click a file in the folder panel."));
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setClipRect(rect().adjusted(kDivider, 0, 0, 0));
    painter.drawImage(m_viewport.pictureOnView(), m_picture);
    painter.setClipping(false);
    // The file's name, small, at the top: which capture the class is looking at.
    const QString name = QFileInfo(m_path).fileName();
    QFont font = painter.font();
    font.setPixelSize(14);
    painter.setFont(font);
    const QRect label = painter.fontMetrics().boundingRect(name).adjusted(-8, -4, 8, 4);
    const QRect placed = label.translated(QPoint(kDivider + 12, 12) - label.topLeft());
    painter.fillRect(placed, QColor(0, 0, 0, 150));
    painter.setPen(Qt::white);
    painter.drawText(placed, Qt::AlignCenter, name);
}
