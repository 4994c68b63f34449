// SPDX-License-Identifier: GPL-3.0-or-later
// The view's part in the picture tools: the Adjustment and Video Filters popups, the AF button, their
// keys (R, Shift+R, Ctrl+M, F, D), and the per-camera memory applied when a camera opens.
#include <QShortcut>
#include <QtConcurrent>

#include "camerapicturememory.h"
#include "liveviewlog.h"
#include "optigrab.h"
#include "toolbars/adjustwidget.h"
#include "toolbars/toolswidget.h"
#include "toolbars/videofilterwidget.h"
#include "videowidget.h"

namespace {
const int kLookCount = 4;  // colour, grey, document, black and white
}

void VideoWidget::initPictureTools() {
    m_pictureMemory = std::make_unique<CameraPictureMemory>(m_presenter);
    connect(m_centerToolWidget, &ToolsWidget::adjustPopupOpened, this, &VideoWidget::onAdjustPopupOpened);
    connect(m_centerToolWidget, &ToolsWidget::filterPopupOpened, this, &VideoWidget::onFilterPopupOpened);
    connect(m_centerToolWidget, &ToolsWidget::signalAutoFocus, this, &VideoWidget::focusOnce);
    connect(&m_focusWatcher, &QFutureWatcher<long>::finished, this, [this] {
        const long result = m_focusWatcher.result();
        if (result == CAM_OK)
            showNotice(tr("Focused"));
        else
            reportPictureResult(result, tr("Focus"));
    });

    // With or without "Show all tools"; a text field that has the focus takes these keys itself.
    const struct {
        QKeySequence keys;
        std::function<void()> action;
    } keys[] = {
        {QKeySequence(Qt::Key_R), [this] { rotatePicture(1); }},
        {QKeySequence(Qt::SHIFT | Qt::Key_R), [this] { rotatePicture(-1); }},
        {QKeySequence(Qt::CTRL | Qt::Key_M),
         [this] { reportPictureResult(m_pictureMemory->mirror(), tr("Mirror")); }},
        {QKeySequence(Qt::Key_F), [this] { focusOnce(); }},
        {QKeySequence(Qt::Key_D), [this] { cycleLook(); }},
    };
    for (const auto& key : keys) {
        auto* shortcut = new QShortcut(key.keys, this);
        connect(shortcut, &QShortcut::activated, this, key.action);
    }
}

void VideoWidget::applyCameraMemory() {
    m_pictureMemory->cameraOpened(m_currentDevIndex);
    m_centerToolWidget->setAutoFocusAvailable(m_pictureMemory->canAutoFocus());
    if (m_filterPopup)
        m_filterPopup->setLook(m_pictureMemory->look());
}

void VideoWidget::reportPictureResult(long result, const QString& what) {
    if (result == CAM_OK)
        return;
    qCDebug(lcLiveView, "%s: %s", qPrintable(what), camErrorText(result));
    if (result == CAM_ERR_INACTIVE)
        showNotice(tr("%1 cannot be changed while the camera sets it automatically").arg(what));
    else
        showNotice(tr("The camera did not take the change of %1").arg(what));
}

void VideoWidget::rotatePicture(int quarterTurns) {
    reportPictureResult(m_pictureMemory->rotate(quarterTurns), tr("Rotation"));
}

void VideoWidget::cycleLook() {
    reportPictureResult(m_pictureMemory->setLook((m_pictureMemory->look() + 1) % kLookCount),
                        tr("Video Filters"));
    if (m_filterPopup)
        m_filterPopup->setLook(m_pictureMemory->look());
}

// Runs on the thread pool: a camera without a focus-start control focuses for a second or two.
// A notice says it began and how it ended: the picture alone may show no change.
void VideoWidget::focusOnce() {
    // Without a picture there is no camera to focus, and the view says so already.
    if (m_focusWatcher.isRunning() || m_videoPixmap.isNull())
        return;
    if (!m_pictureMemory->canAutoFocus()) {
        showNotice(tr("This camera cannot focus by itself"));
        return;
    }
    showNotice(tr("Focusing the camera"));
    m_focusWatcher.setFuture(QtConcurrent::run(m_pictureMemory->autoFocusJob()));
}

void VideoWidget::onAdjustPopupOpened(AdjustWidget* popup) {
    popup->setControls(m_pictureMemory->controls());
    connect(popup, &AdjustWidget::rotateRight, this, [this] { rotatePicture(1); });
    connect(popup, &AdjustWidget::rotateLeft, this, [this] { rotatePicture(-1); });
    connect(popup, &AdjustWidget::mirror, this,
            [this] { reportPictureResult(m_pictureMemory->mirror(), tr("Mirror")); });
    connect(popup, &AdjustWidget::flip, this,
            [this] { reportPictureResult(m_pictureMemory->flip(), tr("Flip")); });
    connect(popup, &AdjustWidget::controlChanged, this, [this, popup](unsigned id, long value) {
        const long result = m_pictureMemory->setControl(id, value);
        reportPictureResult(result, popup->controlName(id));
        // A switch or menu may make other controls (in)active; a failed change shows the old value.
        if (popup->isSwitchOrMenu(id) || result != CAM_OK)
            popup->setControls(m_pictureMemory->controls());
    });
    connect(popup, &AdjustWidget::resetRequested, this, [this, popup] {
        reportPictureResult(m_pictureMemory->reset(), tr("Reset"));
        popup->setControls(m_pictureMemory->controls());
    });
}

void VideoWidget::onFilterPopupOpened(VideoFilterWidget* popup) {
    m_filterPopup = popup;
    popup->setLook(m_pictureMemory->look());
    connect(popup, &VideoFilterWidget::lookChosen, this, [this](int look) {
        reportPictureResult(m_pictureMemory->setLook(look), tr("Video Filters"));
        if (m_filterPopup)
            m_filterPopup->setLook(m_pictureMemory->look());
    });
}
