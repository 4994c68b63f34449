// SPDX-License-Identifier: GPL-3.0-or-later
// Carries camera frames from the capture thread to the GUI thread: each frame is prepared at the
// view's size on the capture thread, and at most one prepared frame waits for the GUI thread.
#include "framehandover.h"

#include <libyuv/convert_argb.h>
#include <libyuv/scale_argb.h>

#include <QStringList>
#include <cmath>
#include <cstdlib>

namespace {

// The image texts that carry the part of the picture a prepared frame shows, and its capture time.
const char kPartKey[] = "pagelux-part";
const char kCaptureKey[] = "pagelux-capture-us";

}  // namespace

// Frame-sized buffers that outlive no image made over them: an image's cleanup hands its buffer
// back, and a buffer of another size is freed instead of kept.
class FrameHandOver::BufferPool : public std::enable_shared_from_this<BufferPool> {
public:
    QImage image(const QSize& size) {
        const size_t bytes = static_cast<size_t>(size.width()) * size.height() * 4;
        unsigned char* buffer = nullptr;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (bytes != m_bytes) {
                for (unsigned char* stale : m_free)
                    std::free(stale);
                m_free.clear();
                m_bytes = bytes;
            }
            if (!m_free.empty()) {
                buffer = m_free.back();
                m_free.pop_back();
            }
        }
        if (buffer == nullptr)
            buffer = static_cast<unsigned char*>(std::malloc(bytes));
        if (buffer == nullptr)
            return QImage();
        auto* lease = new Lease{shared_from_this(), buffer, bytes};
        return QImage(buffer, size.width(), size.height(), size.width() * 4, QImage::Format_RGB32,
                      &BufferPool::giveBack, lease);
    }

    ~BufferPool() {
        for (unsigned char* buffer : m_free)
            std::free(buffer);
    }

private:
    struct Lease {
        std::shared_ptr<BufferPool> pool;
        unsigned char* buffer;
        size_t bytes;
    };

    // Runs on whichever thread drops the last copy of the image.
    static void giveBack(void* info) {
        auto* lease = static_cast<Lease*>(info);
        {
            std::lock_guard<std::mutex> lock(lease->pool->m_mutex);
            if (lease->bytes == lease->pool->m_bytes) {
                lease->pool->m_free.push_back(lease->buffer);
                lease->buffer = nullptr;
            }
        }
        std::free(lease->buffer);
        delete lease;
    }

    std::mutex m_mutex;  // guards m_free and m_bytes
    std::vector<unsigned char*> m_free;
    size_t m_bytes = 0;
};

FrameHandOver::FrameHandOver() : m_pool(std::make_shared<BufferPool>()) {}

FrameHandOver::~FrameHandOver() = default;

void FrameHandOver::setTargetSize(const QSize& size) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_targetSize = size;
}

void FrameHandOver::setPictureShown(const QRectF& picture) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pictureShown = picture;
}

QRect FrameHandOver::pixelsOf(const QRectF& part, const QRectF& picture) {
    // A part that ends a hair short of a pixel's edge, by the rounding of its fractions, ends there.
    constexpr double kRounding = 1e-6;
    const double left = picture.x() + part.x() * picture.width();
    const double top = picture.y() + part.y() * picture.height();
    const QPoint first(int(std::floor(left + kRounding)), int(std::floor(top + kRounding)));
    const QPoint end(int(std::ceil(left + part.width() * picture.width() - kRounding)),
                     int(std::ceil(top + part.height() * picture.height() - kRounding)));
    return QRect(first, QSize(end.x() - first.x(), end.y() - first.y()));
}

QSize FrameHandOver::shownSize(const QSize& frame, const QSize& view) {
    if ((frame.width() < frame.height()) == (view.width() < view.height()))
        return view;
    return frame.scaled(view, Qt::KeepAspectRatio);
}

QImage FrameHandOver::prepare(const QImage& frame) {
    QSize target;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        target = m_targetSize.isEmpty() ? frame.size() : shownSize(frame.size(), m_targetSize);
    }
    return prepareAt(frame, target);
}

QImage FrameHandOver::preparePart(const QImage& frame, const QRectF& part) {
    QSize target = frame.size();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const QSize shown = m_pictureShown.isEmpty() ? QSize() : pixelsOf(part, m_pictureShown).size();
        if (!shown.isEmpty() && shown.width() <= target.width() && shown.height() <= target.height())
            target = shown;
    }
    QImage out = prepareAt(frame, target);
    if (!out.isNull())
        out.setText(kPartKey, QString("%1 %2 %3 %4")
                                  .arg(part.x(), 0, 'g', 10)
                                  .arg(part.y(), 0, 'g', 10)
                                  .arg(part.width(), 0, 'g', 10)
                                  .arg(part.height(), 0, 'g', 10));
    return out;
}

QRectF FrameHandOver::partOf(const QImage& prepared) {
    const QStringList values = prepared.text(kPartKey).split(' ');
    if (values.size() != 4)
        return QRectF(0, 0, 1, 1);
    return QRectF(values[0].toDouble(), values[1].toDouble(), values[2].toDouble(), values[3].toDouble());
}

void FrameHandOver::stampCaptureTime(QImage* prepared, int64_t captureUs) {
    prepared->setText(kCaptureKey, QString::number(captureUs));
}

int64_t FrameHandOver::captureTimeOf(const QImage& prepared) {
    return prepared.text(kCaptureKey).toLongLong();
}

QImage FrameHandOver::prepareAt(const QImage& frame, const QSize& target) {
    if (frame.format() != QImage::Format_RGB888)
        return prepareAt(frame.convertToFormat(QImage::Format_RGB888), target);
    QImage out = m_pool->image(target);
    if (out.isNull())
        return out;
    // libyuv's "RAW" is R, G, B in memory, as RGB888; its "ARGB" is RGB32 on little-endian machines.
    if (target == frame.size()) {
        libyuv::RAWToARGB(frame.constBits(), frame.bytesPerLine(), out.bits(), out.bytesPerLine(),
                          frame.width(), frame.height());
        return out;
    }
    std::lock_guard<std::mutex> lock(m_scratchMutex);
    const int scratchStride = frame.width() * 4;
    m_scratch.resize(static_cast<size_t>(scratchStride) * frame.height());
    libyuv::RAWToARGB(frame.constBits(), frame.bytesPerLine(), m_scratch.data(), scratchStride, frame.width(),
                      frame.height());
    libyuv::ARGBScale(m_scratch.data(), scratchStride, frame.width(), frame.height(), out.bits(),
                      out.bytesPerLine(), target.width(), target.height(), libyuv::kFilterBox);
    return out;
}

bool FrameHandOver::post(const QImage& frame) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pending = frame;
    const bool wasPending = m_framePending;
    m_framePending = true;
    if (!wasPending)
        m_deliveredKey = frame.cacheKey();
    return !wasPending;
}

QImage FrameHandOver::take(const QImage& fallback) {
    QImage newest;
    std::lock_guard<std::mutex> lock(m_mutex);
    newest.swap(m_pending);
    m_framePending = false;
    if (!newest.isNull())
        return newest;
    if (!fallback.isNull() && fallback.cacheKey() == m_staleKey)
        return QImage();
    return fallback;
}

void FrameHandOver::clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pending = QImage();
    m_framePending = false;
    m_staleKey = m_deliveredKey;
}
