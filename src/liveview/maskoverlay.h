// SPDX-License-Identifier: GPL-3.0-or-later
// Curtain and spotlight over the picture: what the class is not to see yet. Only the view's painting
// shows them; captures never hold them.
#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>

#include "overlays/overlay.h"
#include "toolbars/maskkind.h"

// GUI thread only. The geometry is kept in fractions of the picture, so a mask stays on its page
// point through zoom and pan; positions come in view coordinates with the picture's rectangle on the
// view.
class MaskOverlay : public Overlay {
public:
    // A curtain covers the whole picture each time; the spotlight, in the picture's middle at first,
    // comes back where it was left and at its size, whether turned off and on or its shape changed.
    void setKind(MaskKind kind);
    MaskKind kind() const { return m_kind; }
    bool active() const { return m_kind != MaskKind::None; }

    // A press the mask takes: on the curtain (its nearest edge follows the pointer, so the side
    // revealed is the one the drag starts from), or on the spotlight (its edge resizes it, inside
    // moves it unless the tool marks the picture, which then writes there). False when the press is
    // for the tool.
    bool press(const QPointF& viewPos, const Viewport& viewport, bool toolMarks) override;
    QRect drag(const QPointF& viewPos, const Viewport& viewport) override;
    void release() override { m_grab = Grab{}; }

    // Paints the mask over the part of the view the picture is shown in.
    void paint(QPainter& painter, const Viewport& viewport, const QRect& dirty) const override;

private:
    enum Edge { Left = 1, Top = 2, Right = 4, Bottom = 8 };
    struct Grab {
        int edges = 0;        // the edges that follow the pointer
        bool moving = false;  // the spotlight follows the pointer whole
        QPointF last;         // the pointer's last picture fraction
    };

    static QRectF onView(const QRectF& fractions, const QRectF& picture);
    static QPointF fraction(const QPointF& viewPos, const QRectF& picture);
    // The grabbed edges or the whole spotlight follow the pointer at this picture fraction.
    void follow(const QPointF& at);
    bool pressCurtain(const QPointF& viewPos, const QRectF& picture);
    bool pressSpotlight(const QPointF& viewPos, const QRectF& picture, bool insideMoves);
    // The shade and the spotlight's edge within box (view pixels) for a spotlight at spot on the view,
    // at ratio device pixels a view pixel: made again only when any of them changes.
    const QImage& spotlightBox(const QRectF& spot, const QRect& box, qreal ratio) const;

    MaskKind m_kind = MaskKind::None;
    QRectF m_curtain;                        // the part still covered
    QRectF m_spotlight{0.3, 0.3, 0.4, 0.4};  // the part left bright
    Grab m_grab;
    // The last spotlight box painted: its picture, and the shape and place of the spotlight in it.
    mutable QImage m_box;
    mutable MaskKind m_boxKind = MaskKind::None;
    mutable QRectF m_boxSpot;
};
