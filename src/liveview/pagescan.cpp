// SPDX-License-Identifier: GPL-3.0-or-later
// Page scanning in the view: library switches, polling of the outline and state, their drawing.
#include "pagescan.h"

#include <QPainter>
#include <QTimer>
#include <QTransform>
#include <QWidget>

#include "camera/ipresenter.h"
#include "settings/extrasettings.h"

namespace {

const int kPollMs = 100;
const int kFlashMs = 180;

}  // namespace

PageScan::PageScan(IPresenter* presenter, ExtraSettings* settings, QWidget* view)
    : QObject(view), m_presenter(presenter), m_choices(settings), m_view(view), m_poll(new QTimer(this)) {
    m_poll->setInterval(kPollMs);
    connect(m_poll, &QTimer::timeout, this, &PageScan::poll);
    connect(settings, &ExtraSettings::valueChanged, this, &PageScan::onChoiceChanged);
}

void PageScan::apply(long devIndex) {
    m_devIndex = devIndex;
    if (m_presenter == nullptr)
        return;
    applyCropping();
    applyAutoCapture();
    applyFileSettings();
}

// A choice changed in the settings panel or by a key reaches the open camera at once; only the part
// that changed is handed over (restarting automatic capture would take the page lying there again).
void PageScan::onChoiceChanged(const QString& key) {
    if (m_presenter == nullptr)
        return;
    if (key == CaptureChoices::kCropKey)
        applyCropping();
    else if (key == CaptureChoices::kAutoCaptureKey || key == CaptureChoices::kHoldKey)
        applyAutoCapture();
    else if (key == CaptureChoices::kQualityKey || key == CaptureChoices::kDpiKey)
        applyFileSettings();
}

void PageScan::applyCropping() {
    m_cropping = m_choices.cropping();
    m_presenter->setAutoCropType(m_devIndex, m_cropping ? 1 : 0);
    // A cut-out page is also turned by the skew its lines still show, and the desk or shadow along
    // its edges painted white: what "straighten" means to whoever hands the page out.
    m_presenter->setImageOffsetCorrection(m_cropping ? 1 : 0);
    m_presenter->setImageFillBorder(m_cropping ? 1 : 0);
    followLiveState();
}

void PageScan::applyAutoCapture() {
    m_autoCapture = m_choices.autoCapture();
    if (m_autoCapture)
        m_presenter->startAutoCaptureForView(long(m_choices.holdSeconds() * 1000));
    else
        m_presenter->stopAutoCapture();
    followLiveState();
}

void PageScan::applyFileSettings() {
    m_presenter->setImageJPGQuanlity(m_choices.jpegQuality());
    m_presenter->setImageDPI(m_choices.dpi(), m_choices.dpi());
}

void PageScan::followLiveState() {
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
    m_choices.setCropping(!m_choices.cropping());
    emit notice(m_choices.cropping() ? tr("Crop and straighten pages: on")
                                     : tr("Crop and straighten pages: off"));
}

void PageScan::toggleAutoCapture() {
    m_choices.setAutoCapture(!m_choices.autoCapture());
    emit notice(m_choices.autoCapture() ? tr("Automatic capture of each new page: on")
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

void PageScan::paint(QPainter& painter, const QRect& target, const QTransform& shownFromCamera) const {
    painter.save();
    if (m_outline.size() == 4) {
        QPolygonF shown;
        for (const QPointF& cameraCorner : m_outline) {
            const QPointF corner = shownFromCamera.map(cameraCorner);
            shown << QPointF(target.x() + corner.x() * target.width(),
                             target.y() + corner.y() * target.height());
        }
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
