// SPDX-License-Identifier: GPL-3.0-or-later
#include "insetstream.h"

#include <QMetaObject>

#include "cammodel.h"

namespace {

constexpr long kMjpg = 2;
// The open stream, for the library's callback; written on the GUI thread while no frame runs.
std::atomic<InsetStream*> s_open{nullptr};

}  // namespace

InsetStream::InsetStream(QObject* parent) : QObject(parent), m_model(std::make_unique<CamModel>()) {}

InsetStream::~InsetStream() {
    close();
}

QString InsetStream::identity(long devIndex) const {
    return cameraIdentity(*m_model, devIndex);
}

QString InsetStream::name(long devIndex) const {
    return m_model->getCameraName(devIndex);
}

long InsetStream::open(long devIndex, const QSize& size) {
    close();
    long mediaCount = 0;
    long mediaType = 0;
    m_model->getMediaCount(devIndex, mediaCount);
    for (long i = 0; i < mediaCount && mediaType != kMjpg; ++i) {
        long type = 0;
        if (m_model->getMediaType(devIndex, i, type) == 0 && (mediaType == 0 || type == kMjpg))
            mediaType = type;
    }
    long width = 0, height = 0;
    if (long result = m_model->getResolution(devIndex, mediaType, 0, width, height))
        return result;
    s_open = this;
    m_device = devIndex;
    setSize(size);
    long result = m_model->regPreviewCallback(devIndex, frameCallback);
    if (result == 0)
        result = m_model->openDev(devIndex, mediaType, width, height, 0);
    if (result != 0)
        close();
    return result;
}

void InsetStream::close() {
    if (m_device < 0)
        return;
    // When closeDev returns no frame of the camera runs or will start.
    m_model->closeDev(m_device);
    m_model->regPreviewCallback(m_device, nullptr);
    m_device = -1;
    s_open = nullptr;
}

void InsetStream::setSize(const QSize& size) {
    m_width = size.width();
    m_height = size.height();
    if (m_device >= 0)
        m_model->setPreviewSizeHint(m_device, size.width(), size.height());
}

void InsetStream::deliver(const QImage& frame) {
    if (m_waiting.exchange(true))
        return;
    const QSize size(m_width, m_height);
    QImage shown = size.isEmpty() ? frame.convertToFormat(QImage::Format_RGB32)
                                  : frame.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                                        .convertToFormat(QImage::Format_RGB32);
    QMetaObject::invokeMethod(
        this,
        [this, shown] {
            m_waiting = false;
            emit frameArrived(shown);
        },
        Qt::QueuedConnection);
}

bool InsetStream::frameCallback(unsigned char* frame, long width, long height, long size, void* param) {
    Q_UNUSED(param);
    InsetStream* stream = s_open.load();
    if (stream == nullptr || frame == nullptr || width <= 0 || height <= 0 || size < 3 * width * height)
        return true;
    stream->deliver(QImage(frame, static_cast<int>(width), static_cast<int>(height),
                           static_cast<int>(3 * width), QImage::Format_RGB888));
    return true;
}
