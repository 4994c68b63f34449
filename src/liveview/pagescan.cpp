// Page scanning in the view: library switches, polling of the outline and state, their drawing.
#include "pagescan.h"

#include <QPainter>
#include <QTimer>
#include <QWidget>

#include "camera/ipresenter.h"
#include "settings/extrasettings.h"

namespace {

const char kCroppingKey[] = "capture/cropPages";
const char kAutoCaptureKey[] = "capture/autoCapture";
const char kHoldKey[] = "capture/holdSeconds";
const int kPollMs = 100;
const int kFlashMs = 180;

}  // namespace

PageScan::PageScan(IPresenter* presenter, QWidget* view)
    : QObject(view), m_presenter(presenter), m_view(view), m_poll(new QTimer(this)) {
    ExtraSettings* settings = ExtraSettings::instance();
    m_cropping = settings->value(kCroppingKey, false).toBool();
    m_autoCapture = settings->value(kAutoCaptureKey, false).toBool();
    m_poll->setInterval(kPollMs);
    connect(m_poll, &QTimer::timeout, this, &PageScan::poll);
}

void PageScan::apply(long devIndex) {
    m_devIndex = devIndex;
    if (m_presenter == nullptr)
        return;
    m_presenter->setAutoCropType(devIndex, m_cropping ? 1 : 0);
    if (m_autoCapture) {
        const double hold = qBound(0.5, ExtraSettings::instance()->value(kHoldKey, 1.0).toDouble(), 5.0);
        m_presenter->startAutoCaptureForView(long(hold * 1000));
    } else {
        m_presenter->stopAutoCapture();
    }
    if (m_cropping || m_autoCapture) {
        m_poll->start();
    } else {
        m_poll->stop();
        m_outline.clear();
        m_state = 0;
        m_view->update();
    }
}

void PageScan::toggleCropping() {
    m_cropping = !m_cropping;
    ExtraSettings::instance()->setValue(kCroppingKey, m_cropping);
    apply(m_devIndex);
    emit notice(m_cropping ? tr("Crop and straighten pages: on") : tr("Crop and straighten pages: off"));
}

void PageScan::toggleAutoCapture() {
    m_autoCapture = !m_autoCapture;
    ExtraSettings::instance()->setValue(kAutoCaptureKey, m_autoCapture);
    apply(m_devIndex);
    emit notice(m_autoCapture ? tr("Automatic capture of each new page: on")
                              : tr("Automatic capture of each new page: off"));
}

void PageScan::flash() {
    m_flash.start();
    m_view->update();
    QTimer::singleShot(kFlashMs, m_view, qOverload<>(&QWidget::update));
}

void PageScan::poll() {
    QPolygonF outline;
    if (m_cropping)
        m_presenter->getPageOutline(outline);
    long state = 0;
    if (m_autoCapture)
        m_presenter->getAutoCaptureState(state);
    if (outline != m_outline || state != m_state) {
        m_outline = outline;
        m_state = state;
        m_view->update();
    }
}

QString PageScan::stateText() const {
    switch (m_state) {
        case IPresenter::AutoWaiting:
            return tr("Waiting for a new page");
        case IPresenter::AutoMoving:
            return tr("Page moving");
        case IPresenter::AutoHoldingStill:
            return tr("Hold still");
        case IPresenter::AutoCaptured:
            return tr("Captured");
        case IPresenter::AutoPaused:
            return tr("Automatic capture paused");
        default:
            return QString();
    }
}

void PageScan::paint(QPainter& painter, const QRect& target) const {
    painter.save();
    if (m_outline.size() == 4) {
        QPolygonF shown;
        for (const QPointF& corner : m_outline)
            shown << QPointF(target.x() + corner.x() * target.width(),
                             target.y() + corner.y() * target.height());
        painter.setPen(QPen(QColor(0, 200, 80), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolygon(shown);
    }
    const QString text = stateText();
    if (!text.isEmpty()) {
        // A small pill at the top right, away from the notice in the middle.
        QFont font = painter.font();
        font.setPixelSize(16);
        painter.setFont(font);
        const QRect box = painter.fontMetrics().boundingRect(text).adjusted(-12, -6, 12, 6);
        const QRect place(m_view->width() - box.width() - 24, 24, box.width(), box.height());
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_state == IPresenter::AutoCaptured ? QColor(0, 153, 255, 220)
                                                             : QColor(0, 0, 0, 170));
        painter.drawRoundedRect(place, place.height() / 2.0, place.height() / 2.0);
        painter.setPen(Qt::white);
        painter.drawText(place, Qt::AlignCenter, text);
    }
    if (m_flash.isValid() && m_flash.elapsed() < kFlashMs)
        painter.fillRect(m_view->rect(), QColor(255, 255, 255, 200));
    painter.restore();
}
