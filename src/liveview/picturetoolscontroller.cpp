// SPDX-License-Identifier: GPL-3.0-or-later
// The picture tools beside the view: popups, AF, their keys, and the per-camera memory.
#include "picturetoolscontroller.h"

#include <QShortcut>
#include <QtConcurrent>

#include "camerapicturememory.h"
#include "liveviewlog.h"
#include "optigrab.h"
#include "toolbars/adjustwidget.h"
#include "toolbars/toolswidget.h"
#include "toolbars/videofilterwidget.h"

namespace {
const int kLookCount = 4;  // colour, grey, document, black and white
}

PictureToolsController::PictureToolsController(IPresenter* presenter, ExtraSettings* store, ToolsWidget* bar,
                                               QWidget* keys, std::function<bool()> cameraShows)
    : QObject(keys),
      m_memory(std::make_unique<CameraPictureMemory>(presenter)),
      m_bar(bar),
      m_cameraShows(std::move(cameraShows)) {
    m_memory->setStore(store);
    connect(bar, &ToolsWidget::adjustPopupOpened, this, &PictureToolsController::serveAdjustPopup);
    connect(bar, &ToolsWidget::filterPopupOpened, this, &PictureToolsController::serveFilterPopup);
    connect(bar, &ToolsWidget::signalAutoFocus, this, &PictureToolsController::focusOnce);
    connect(&m_focusWatcher, &QFutureWatcher<long>::finished, this, [this] {
        const long result = m_focusWatcher.result();
        if (result == CAM_OK)
            emit notice(tr("Focused"));
        else
            report(result, tr("Focus"));
    });

    // With or without "Show all tools"; a text field that has the focus takes these keys itself.
    const struct {
        QKeySequence keys;
        std::function<void()> action;
    } shortcuts[] = {
        {QKeySequence(Qt::Key_R), [this] { rotate(1); }},
        {QKeySequence(Qt::SHIFT | Qt::Key_R), [this] { rotate(-1); }},
        {QKeySequence(Qt::CTRL | Qt::Key_M), [this] { report(m_memory->mirror(), tr("Mirror")); }},
        {QKeySequence(Qt::Key_F), [this] { focusOnce(); }},
        {QKeySequence(Qt::Key_D), [this] { cycleLook(); }},
    };
    for (const auto& shortcut : shortcuts)
        connect(new QShortcut(shortcut.keys, keys), &QShortcut::activated, this, shortcut.action);
}

PictureToolsController::~PictureToolsController() {
    m_focusWatcher.waitForFinished();
}

void PictureToolsController::cameraOpened(long devIndex) {
    m_memory->cameraOpened(devIndex);
    m_bar->setAutoFocusAvailable(m_memory->canAutoFocus());
    if (m_filterPopup)
        m_filterPopup->setLook(m_memory->look());
}

void PictureToolsController::report(long result, const QString& what) {
    if (result == CAM_OK)
        return;
    qCDebug(lcLiveView, "%s: %s", qPrintable(what), camErrorText(result));
    if (result == CAM_ERR_INACTIVE)
        emit notice(tr("%1 cannot be changed while the camera sets it automatically").arg(what));
    else
        emit notice(tr("The camera did not take the change of %1").arg(what));
}

void PictureToolsController::rotate(int quarterTurns) {
    report(m_memory->rotate(quarterTurns), tr("Rotation"));
}

void PictureToolsController::cycleLook() {
    report(m_memory->setLook((m_memory->look() + 1) % kLookCount), tr("Video Filters"));
    if (m_filterPopup)
        m_filterPopup->setLook(m_memory->look());
}

// Runs on the thread pool: a camera without a focus-start control focuses for a second or two.
void PictureToolsController::focusOnce() {
    // Without a picture there is no camera to focus, and the view says so already.
    if (m_focusWatcher.isRunning() || !m_cameraShows())
        return;
    if (!m_memory->canAutoFocus()) {
        emit notice(tr("This camera cannot focus by itself"));
        return;
    }
    emit notice(tr("Focusing the camera"));
    m_focusWatcher.setFuture(QtConcurrent::run(m_memory->autoFocusJob()));
}

void PictureToolsController::serveAdjustPopup(AdjustWidget* popup) {
    popup->setControls(m_memory->controls());
    connect(popup, &AdjustWidget::rotateRight, this, [this] { rotate(1); });
    connect(popup, &AdjustWidget::rotateLeft, this, [this] { rotate(-1); });
    connect(popup, &AdjustWidget::mirror, this, [this] { report(m_memory->mirror(), tr("Mirror")); });
    connect(popup, &AdjustWidget::flip, this, [this] { report(m_memory->flip(), tr("Flip")); });
    connect(popup, &AdjustWidget::controlChanged, this, [this, popup](unsigned id, long value) {
        const long result = m_memory->setControl(id, value);
        report(result, popup->controlName(id));
        // A switch or menu may make other controls (in)active; a failed change shows the old value.
        if (popup->isSwitchOrMenu(id) || result != CAM_OK)
            popup->setControls(m_memory->controls());
    });
    connect(popup, &AdjustWidget::resetRequested, this, [this, popup] {
        report(m_memory->reset(), tr("Reset"));
        popup->setControls(m_memory->controls());
    });
}

void PictureToolsController::serveFilterPopup(VideoFilterWidget* popup) {
    m_filterPopup = popup;
    popup->setLook(m_memory->look());
    connect(popup, &VideoFilterWidget::lookChosen, this, [this](int look) {
        report(m_memory->setLook(look), tr("Video Filters"));
        if (m_filterPopup)
            m_filterPopup->setLook(m_memory->look());
    });
}
