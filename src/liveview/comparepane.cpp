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

#include "zoomsteps.h"

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
    m_scale = ZoomSteps::kMin;
    m_offset = QPointF();
    update();
    return true;
}

QRectF ComparePane::pictureRect() const {
    const QRectF area = QRectF(rect()).adjusted(kDivider, 0, 0, 0);
    const QSizeF shown = QSizeF(m_picture.size()).scaled(area.size(), Qt::KeepAspectRatio) * m_scale;
    QRectF placed(QPointF(), shown);
    placed.moveCenter(area.center() + m_offset);
    return placed;
}

// The picture point under pos stays under it; back at 1x the picture is whole and centred again.
void ComparePane::zoomAbout(const QPointF& pos, double scale) {
    scale = qBound(ZoomSteps::kMin, scale, ZoomSteps::kMax);
    const QRectF before = pictureRect();
    const QPointF relative = (pos - before.center()) / m_scale;
    m_offset += relative * m_scale - relative * scale;
    m_scale = scale;
    if (m_scale == ZoomSteps::kMin)
        m_offset = QPointF();
    update();
}

void ComparePane::wheelEvent(QWheelEvent* event) {
    event->accept();
    if (m_picture.isNull())
        return;
    const double scale = ZoomSteps::afterWheel(m_scale, event->angleDelta().y(), m_wheelRemainder);
    if (scale != m_scale)
        zoomAbout(event->position(), scale);
}

void ComparePane::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    m_dragFrom = event->localPos();
    setCursor(Qt::ClosedHandCursor);
}

void ComparePane::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging)
        return;
    panBy(event->localPos() - m_dragFrom);
    m_dragFrom = event->localPos();
}

// The whole picture stays centred; a zoomed one follows the pointer.
void ComparePane::panBy(const QPointF& delta) {
    if (m_scale == ZoomSteps::kMin)
        return;
    m_offset += delta;
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
        m_pinch.end();
    if (points.size() >= 2 && points[0].state() != Qt::TouchPointReleased &&
        points[1].state() != Qt::TouchPointReleased && !m_picture.isNull()) {
        if (!m_pinch.active())
            m_pinch.begin(points[0].pos(), points[1].pos(), m_scale);
        const PinchGesture::Step step = m_pinch.follow(points[0].pos(), points[1].pos());
        panBy(step.moved);
        zoomAbout(step.centre, step.scale);
    } else if (points.size() == 1 && !m_pinch.active()) {
        panBy(points[0].pos() - points[0].lastPos());
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
    painter.drawImage(pictureRect(), m_picture);
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
