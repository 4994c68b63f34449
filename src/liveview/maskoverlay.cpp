// SPDX-License-Identifier: GPL-3.0-or-later
// Curtain and spotlight: their geometry, the drags that change it, and their painting.
#include "maskoverlay.h"

#include <QPainter>

#include <QPainterPath>
#include <QRegion>
#include <cmath>
#include "liveview/viewport.h"

namespace {

constexpr double kGrabMargin = 24;      // view pixels around an edge that still take it
constexpr double kSmallestSpot = 0.04;  // of the picture's width and height
// View pixels the spotlight's edge line and its antialiasing reach beyond its rectangle.
constexpr int kEdgeReach = 3;
const QColor kCurtainColour(64, 64, 64);
const QColor kShadeColour(0, 0, 0, 190);
const QColor kSpotEdgeColour(255, 255, 255, 150);

}  // namespace

void MaskOverlay::setKind(MaskKind kind) {
    m_kind = kind;
    m_grab = Grab{};
    m_curtain = QRectF(0, 0, 1, 1);
}

QRectF MaskOverlay::onView(const QRectF& fractions, const QRectF& picture) {
    return QRectF(picture.x() + fractions.x() * picture.width(),
                  picture.y() + fractions.y() * picture.height(), fractions.width() * picture.width(),
                  fractions.height() * picture.height());
}

QPointF MaskOverlay::fraction(const QPointF& viewPos, const QRectF& picture) {
    return QPointF((viewPos.x() - picture.x()) / picture.width(),
                   (viewPos.y() - picture.y()) / picture.height());
}

bool MaskOverlay::press(const QPointF& viewPos, const Viewport& viewport, bool toolMarks) {
    const QRectF picture = viewport.pictureOnView();
    const bool insideMoves = !toolMarks;
    m_grab = Grab{};
    if (picture.isEmpty())
        return false;
    m_grab.last = fraction(viewPos, picture);
    if (m_kind == MaskKind::Curtain)
        return pressCurtain(viewPos, picture);
    if (m_kind == MaskKind::EllipseSpotlight || m_kind == MaskKind::RectangleSpotlight)
        return pressSpotlight(viewPos, picture, insideMoves);
    return false;
}

bool MaskOverlay::pressCurtain(const QPointF& viewPos, const QRectF& picture) {
    const QRectF covered = onView(m_curtain, picture);
    if (!covered.adjusted(-kGrabMargin, -kGrabMargin, kGrabMargin, kGrabMargin).contains(viewPos))
        return false;
    const struct {
        Edge edge;
        double distance;
    } edges[] = {{Top, std::abs(viewPos.y() - covered.top())},
                 {Bottom, std::abs(viewPos.y() - covered.bottom())},
                 {Left, std::abs(viewPos.x() - covered.left())},
                 {Right, std::abs(viewPos.x() - covered.right())}};
    const auto* nearest = &edges[0];
    for (const auto& entry : edges)
        if (entry.distance < nearest->distance)
            nearest = &entry;
    m_grab.edges = nearest->edge;
    return true;
}

bool MaskOverlay::pressSpotlight(const QPointF& viewPos, const QRectF& picture, bool insideMoves) {
    const QRectF spot = onView(m_spotlight, picture);
    // Where the press lies against the spotlight's half axes: 1 is on its edge.
    const double dx = (viewPos.x() - spot.center().x()) / (spot.width() / 2);
    const double dy = (viewPos.y() - spot.center().y()) / (spot.height() / 2);
    double outside;  // view pixels beyond the edge, negative inside
    if (m_kind == MaskKind::EllipseSpotlight) {
        outside = (std::hypot(dx, dy) - 1) * qMin(spot.width(), spot.height()) / 2;
    } else {
        outside = qMax(std::abs(viewPos.x() - spot.center().x()) - spot.width() / 2,
                       std::abs(viewPos.y() - spot.center().y()) - spot.height() / 2);
    }
    if (outside > kGrabMargin / 2)
        return false;
    if (outside < -kGrabMargin / 2) {
        m_grab.moving = insideMoves;
        return insideMoves;
    }
    // On the edge: the sides the press lies towards follow the pointer (both near a corner).
    const double norm = qMax(std::abs(dx), std::abs(dy));
    if (std::abs(dx) > norm / 2)
        m_grab.edges |= dx < 0 ? Left : Right;
    if (std::abs(dy) > norm / 2)
        m_grab.edges |= dy < 0 ? Top : Bottom;
    return true;
}

// Only the part that changes is painted again: the band the curtain's edge crossed, or the
// spotlight's old and new place.
QRect MaskOverlay::drag(const QPointF& viewPos, const Viewport& viewport) {
    const QRectF picture = viewport.pictureOnView();
    if (picture.isEmpty())
        return QRect();
    const QRectF& shown = m_kind == MaskKind::Curtain ? m_curtain : m_spotlight;
    const QRect before = onView(shown, picture).toAlignedRect();
    follow(fraction(viewPos, picture));
    const QRect after = onView(shown, picture).toAlignedRect();
    const QRect changed = m_kind == MaskKind::Curtain ? QRegion(before).xored(QRegion(after)).boundingRect()
                                                      : before.united(after);
    return changed.adjusted(-kEdgeReach, -kEdgeReach, kEdgeReach, kEdgeReach).intersected(viewport.area());
}

void MaskOverlay::follow(const QPointF& at) {
    if (m_grab.moving) {
        QRectF moved = m_spotlight.translated(at - m_grab.last);
        moved.moveLeft(qBound(0.0, moved.left(), 1.0 - moved.width()));
        moved.moveTop(qBound(0.0, moved.top(), 1.0 - moved.height()));
        m_spotlight = moved;
        m_grab.last = at;
        return;
    }
    const bool curtain = m_kind == MaskKind::Curtain;
    QRectF& area = curtain ? m_curtain : m_spotlight;
    // The curtain may be pushed back to nothing; a spotlight keeps a size to grab it by.
    const double gap = curtain ? 0.0 : kSmallestSpot;
    const double x = qBound(0.0, at.x(), 1.0);
    const double y = qBound(0.0, at.y(), 1.0);
    if (m_grab.edges & Left)
        area.setLeft(qMin(x, area.right() - gap));
    if (m_grab.edges & Right)
        area.setRight(qMax(x, area.left() + gap));
    if (m_grab.edges & Top)
        area.setTop(qMin(y, area.bottom() - gap));
    if (m_grab.edges & Bottom)
        area.setBottom(qMax(y, area.top() + gap));
    m_grab.last = at;
}

// The shade is plain rectangles around the spotlight; only the spotlight's bounding box needs the
// antialiased shape, drawn once into a picture kept until the spotlight moves on the view.
void MaskOverlay::paint(QPainter& painter, const Viewport& viewport, const QRect&) const {
    if (!active())
        return;
    const QRectF picture = viewport.pictureOnView();
    const QRect area = viewport.area();
    painter.save();
    painter.setClipRect(area);
    if (m_kind == MaskKind::Curtain) {
        painter.fillRect(onView(m_curtain, picture), kCurtainColour);
    } else {
        const QRectF spot = onView(m_spotlight, picture);
        const QRect box =
            spot.toAlignedRect().adjusted(-kEdgeReach, -kEdgeReach, kEdgeReach, kEdgeReach).intersected(area);
        for (const QRect& band : QRegion(area).subtracted(box))
            painter.fillRect(band, kShadeColour);
        if (!box.isEmpty())
            painter.drawImage(box.topLeft(), spotlightBox(spot, box, painter.device()->devicePixelRatioF()));
    }
    painter.restore();
}

const QImage& MaskOverlay::spotlightBox(const QRectF& spot, const QRect& box, qreal ratio) const {
    const QRectF inBox = spot.translated(-box.topLeft());
    if (m_boxKind == m_kind && m_boxSpot == inBox && m_box.size() == box.size() * ratio &&
        qFuzzyCompare(m_box.devicePixelRatio(), ratio))
        return m_box;
    m_boxKind = m_kind;
    m_boxSpot = inBox;
    m_box = QImage(box.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    m_box.setDevicePixelRatio(ratio);
    m_box.fill(Qt::transparent);
    QPainter painter(&m_box);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QPainterPath shade;
    shade.setFillRule(Qt::OddEvenFill);
    shade.addRect(QRectF(QPointF(0, 0), QSizeF(box.size())));
    QPainterPath hole;
    if (m_kind == MaskKind::EllipseSpotlight)
        hole.addEllipse(inBox);
    else
        hole.addRect(inBox);
    shade.addPath(hole);
    painter.fillPath(shade, kShadeColour);
    painter.strokePath(hole, QPen(kSpotEdgeColour, 2));
    return m_box;
}
