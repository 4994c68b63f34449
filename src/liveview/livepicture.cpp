// SPDX-License-Identifier: GPL-3.0-or-later
// The camera's picture on its way to the view: hand-over, capture times, the zoomed part.
#include "livepicture.h"

#include <QPainter>

#include "camera/ipresenter.h"
#include "recording/recordingclock.h"

namespace {

// When the camera took the frame that the capture thread is handing over (RecordingClock; 0 unknown).
thread_local int64_t t_captureUs = 0;

}  // namespace

void LivePicture::frameCaptured(long long captureTimeUs) {
    t_captureUs = captureTimeUs;
}

QImage LivePicture::handOver(const QImage& image) {
    return image.isNull() ? QImage() : post(m_frameHandOver.prepare(image));
}

QImage LivePicture::handOverPart(const QImage& image, const QRectF& part) {
    return image.isNull() ? QImage() : post(m_frameHandOver.preparePart(image, part));
}

// Capture thread: the frame keeps the camera's time through the hand-over, so that a recording places
// it where it was taken, however long decoding and painting took; the hand-over time for a camera
// whose clock is not the monotonic one.
QImage LivePicture::post(QImage frame) {
    if (frame.isNull())
        return {};
    FrameHandOver::stampCaptureTime(&frame, t_captureUs > 0 ? t_captureUs : RecordingClock::nowUs());
    t_captureUs = 0;
    // One frame waits for the GUI thread at most: a newer one replaces it and needs no event.
    return m_frameHandOver.post(frame) ? frame : QImage();
}

void LivePicture::clear() {
    m_frameHandOver.clear();
    m_partPixmap = QPixmap();
}

void LivePicture::showPart(const QImage& frame, const QSizeF& layerSize) {
    const QRectF part = FrameHandOver::partOf(frame);
    m_partPixmap = QPixmap::fromImage(frame);
    m_partRect = QRectF(part.x() * layerSize.width(), part.y() * layerSize.height(),
                        part.width() * layerSize.width(), part.height() * layerSize.height());
}

void LivePicture::requestPart(IPresenter* presenter, int devIndex, const QRectF& wanted) {
    constexpr double kMillion = 1000000.0;  // the camera library's unit of picture parts
    if (wanted == m_requestedPart || presenter == nullptr)
        return;
    m_requestedPart = wanted;
    if (wanted == QRectF(0, 0, 1, 1)) {
        presenter->setPreviewPart(devIndex, 0, 0, 0, 0);
        return;
    }
    presenter->setPreviewPart(devIndex, qRound(wanted.x() * kMillion), qRound(wanted.y() * kMillion),
                              qRound(wanted.width() * kMillion), qRound(wanted.height() * kMillion));
}

// Where the part covers the view the enlarged picture is left out, and a part that shows at its own
// size is copied without scaling.
void LivePicture::paint(QPainter& painter, const QPixmap& picture, const QRectF& visible, qreal ratio) const {
    const QRectF partOnView = painter.transform().mapRect(m_partRect);
    if (m_partPixmap.isNull() || !partOnView.adjusted(-1, -1, 1, 1).contains(visible))
        painter.drawPixmap(QPoint(0, 0), picture);
    if (m_partPixmap.isNull())
        return;
    if (qAbs(partOnView.width() * ratio - m_partPixmap.width()) < 1 &&
        qAbs(partOnView.height() * ratio - m_partPixmap.height()) < 1) {
        painter.save();
        painter.resetTransform();
        painter.drawPixmap(QRectF(partOnView.topLeft().toPoint(), partOnView.size()), m_partPixmap,
                           QRectF(m_partPixmap.rect()));
        painter.restore();
    } else {
        painter.drawPixmap(m_partRect, m_partPixmap, QRectF(m_partPixmap.rect()));
    }
}
