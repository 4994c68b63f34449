// SPDX-License-Identifier: GPL-3.0-or-later
#include "insetoverlay.h"

#include <QApplication>
#include <QPainter>
#include <QPen>
#include <QtMath>

#include "../viewport.h"

namespace {

constexpr int kMargin = 16;  // from the live area's edges, at first
constexpr int kHandle = 24;  // a press this near a corner resizes
constexpr int kMinimumWidth = 96;
constexpr int kFrame = 2;  // the white frame around the picture

QRect grown(const QRect& rect) {
    return rect.adjusted(-kFrame, -kFrame, kFrame, kFrame);
}

}  // namespace

InsetOverlay::InsetOverlay(std::function<void()> swap, std::function<void()> moved)
    : m_swap(std::move(swap)), m_moved(std::move(moved)) {}

QRect InsetOverlay::show(const QImage& picture) {
    const QRect before = m_shownRect;
    m_picture = picture;
    if (!picture.isNull() && picture.height() > 0)
        m_aspect = double(picture.width()) / picture.height();
    // Before its first paint the view paints whole anyway.
    return m_area.isNull() ? QRect() : grown(before.united(rectIn(m_area)));
}

QRect InsetOverlay::hide() {
    m_picture = QImage();
    m_grab = Grab::None;
    return grown(m_shownRect);
}

void InsetOverlay::setShare(double share) {
    m_share = qBound(0.1, share, 1.0);
}

QRect InsetOverlay::rectIn(const QRect& area) const {
    const int width = qBound(qMin(kMinimumWidth, area.width()), qRound(m_share * area.width()), area.width());
    const int height = qMin(area.height(), qRound(width / m_aspect));
    QPoint topLeft = m_place.x() < 0 ? QPoint(area.right() + 1 - kMargin - width, area.top() + kMargin)
                                     : QPoint(area.left() + qRound(m_place.x() * area.width()),
                                              area.top() + qRound(m_place.y() * area.height()));
    topLeft.setX(qBound(area.left(), topLeft.x(), area.right() + 1 - width));
    topLeft.setY(qBound(area.top(), topLeft.y(), area.bottom() + 1 - height));
    return QRect(topLeft, QSize(width, height));
}

void InsetOverlay::paint(QPainter& painter, const Viewport& viewport, const QRect& dirty) const {
    if (m_picture.isNull())
        return;
    m_area = viewport.area();
    m_shownRect = rectIn(m_area);
    if (!grown(m_shownRect).intersects(dirty))
        return;
    painter.drawImage(m_shownRect, m_picture);
    painter.setPen(QPen(Qt::white, kFrame));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(m_shownRect).adjusted(-kFrame / 2.0, -kFrame / 2.0, kFrame / 2.0, kFrame / 2.0));
}

bool InsetOverlay::press(const QPointF& viewPos, const Viewport& viewport, bool toolMarks) {
    Q_UNUSED(toolMarks);
    const QRect rect = rectIn(viewport.area());
    if (m_picture.isNull() || !QRectF(rect).contains(viewPos))
        return false;
    // A second press soon after the first: the two presses of a double click.
    if (m_lastPress.isValid() && m_lastPress.elapsed() < QApplication::doubleClickInterval()) {
        m_lastPress.invalidate();
        m_grab = Grab::None;
        m_swap();
        return true;
    }
    m_lastPress.start();
    const QPointF corners[] = {rect.topLeft(), rect.topRight() + QPoint(1, 0),
                               rect.bottomRight() + QPoint(1, 1), rect.bottomLeft() + QPoint(0, 1)};
    for (int i = 0; i < 4; ++i) {
        if (qAbs(viewPos.x() - corners[i].x()) <= kHandle && qAbs(viewPos.y() - corners[i].y()) <= kHandle) {
            m_grab = Grab::Resize;
            m_anchor = corners[(i + 2) % 4];
            return true;
        }
    }
    m_grab = Grab::Move;
    m_grabOffset = viewPos - rect.topLeft();
    return true;
}

QRect InsetOverlay::drag(const QPointF& viewPos, const Viewport& viewport) {
    const QRect area = viewport.area();
    if (m_grab == Grab::None || area.isEmpty())
        return QRect();
    const QRect before = rectIn(area);
    QPointF topLeft = viewPos - m_grabOffset;
    if (m_grab == Grab::Resize) {
        // The corner held follows the pointer's wider reach, the shape kept.
        const double width =
            qMax(qAbs(viewPos.x() - m_anchor.x()), qAbs(viewPos.y() - m_anchor.y()) * m_aspect);
        setShare(width / area.width());
        const QSize size = rectIn(area).size();
        topLeft = QPointF(viewPos.x() < m_anchor.x() ? m_anchor.x() - size.width() : m_anchor.x(),
                          viewPos.y() < m_anchor.y() ? m_anchor.y() - size.height() : m_anchor.y());
    }
    m_place = QPointF((topLeft.x() - area.left()) / area.width(), (topLeft.y() - area.top()) / area.height());
    // Kept inside the area: the place is where rectIn put it.
    const QRect after = rectIn(area);
    m_place = QPointF(double(after.left() - area.left()) / area.width(),
                      double(after.top() - area.top()) / area.height());
    return grown(before.united(after));
}

void InsetOverlay::release() {
    if (m_grab == Grab::None)
        return;
    m_grab = Grab::None;
    m_moved();
}
