// SPDX-License-Identifier: GPL-3.0-or-later
// The camera's picture on its way to the view: frames handed over from the capture thread with the
// time the camera took them, and while zoomed the camera's sharper picture of the part shown.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QRectF>
#include <cstdint>

#include "framehandover.h"

class IPresenter;
class QPainter;
class Viewport;

class LivePicture {
public:
    // Capture thread: the time the camera took the frame that arrives next (RecordingClock).
    static void frameCaptured(long long captureTimeUs);
    // Capture thread: the frame prepared at the view's size, or a frame of part of the picture kept at
    // its own size, stamped with the camera's time. Returns the frame when the GUI thread must be
    // told; null when one waits already (the newer replaced it) or it is unusable.
    QImage handOver(const QImage& image);
    QImage handOverPart(const QImage& image, const QRectF& part);

    // GUI thread: the size at which frames are prepared from now on, in device pixels.
    void setTargetSize(const QSize& size) { m_frameHandOver.setTargetSize(size); }
    // GUI thread: the newest waiting frame, or delivered when none waits; null for a frame that clear()
    // voided.
    QImage take(const QImage& delivered) { return m_frameHandOver.take(delivered); }
    // GUI thread: drops the waiting frame, the one on its way, and the part shown.
    void clear();

    // A frame of a part, shown over the picture.
    void showPart(const QImage& frame);
    void dropPart() { m_partPixmap = QPixmap(); }
    // Asks the camera for the part of the picture the view shows (all of it at 1x), once, and has its
    // frames prepared at the size they show at; ratio: the view's device pixel ratio.
    void requestPart(IPresenter* presenter, int devIndex, const Viewport& viewport, qreal ratio);

    // The whole picture enlarged, and over it the camera's sharper picture of the part shown while
    // zoomed; the painter carries the picture's transform. visible: what of the view shows the live
    // picture; ratio: the view's device pixel ratio.
    void paint(QPainter& painter, const QPixmap& picture, const QRectF& visible, qreal ratio) const;

private:
    QImage post(QImage frame);

    FrameHandOver m_frameHandOver;
    // While zoomed: the camera's picture of the part shown, and that part in fractions of the picture.
    QPixmap m_partPixmap;
    QRectF m_part;
    QRectF m_requestedPart{0, 0, 1, 1};  // fractions of the picture; (0, 0, 1, 1) all of it
};
