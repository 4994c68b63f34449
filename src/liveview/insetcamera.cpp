// SPDX-License-Identifier: GPL-3.0-or-later
#include "insetcamera.h"

#include <QActionGroup>
#include <QMenu>
#include <QWidget>

#include "camera/insetstream.h"
#include "overlays/insetoverlay.h"
#include "settings/extrasettings.h"

namespace {

const QString kCameraKey = QStringLiteral("inset/camera");  // identity of the camera chosen
const QString kShareKey = QStringLiteral("inset/share");    // width as a share of the view's

}  // namespace

InsetCamera::InsetCamera(QWidget* view, ExtraSettings* settings, std::function<int()> cameraCount,
                         std::function<int()> mainCamera)
    : QObject(view),
      m_view(view),
      m_settings(settings),
      m_cameraCount(std::move(cameraCount)),
      m_mainCamera(std::move(mainCamera)),
      m_stream(new InsetStream(this)),
      m_madeOverlay(
          std::make_unique<InsetOverlay>([this] { swap(); }, [this] { setShare(m_overlay->share()); })),
      m_overlay(m_madeOverlay.get()) {
    m_overlay->setShare(m_settings->value(kShareKey, 0.25).toDouble());
    connect(m_stream, &InsetStream::frameArrived, this, &InsetCamera::showFrame);
    connect(m_settings, &ExtraSettings::showAllToolsChanged, this, [this](bool on) {
        if (!on && m_on)
            toggle();
    });
}

InsetCamera::~InsetCamera() = default;

std::unique_ptr<InsetOverlay> InsetCamera::takeOverlay() {
    return std::move(m_madeOverlay);
}

void InsetCamera::offerMenuOn(QWidget* button) {
    if (button == nullptr)
        return;
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(button, &QWidget::customContextMenuRequested, this, [this, button](const QPoint& pos) {
        if (!m_settings->showAllTools())
            return;
        QMenu menu(m_view);
        fillMenu(&menu);
        menu.exec(button->mapToGlobal(pos));
    });
}

void InsetCamera::fillMenu(QMenu* menu) {
    menu->addSection(tr("Inset camera"));
    auto* cameras = new QActionGroup(menu);
    for (int i = 0; i < m_cameraCount(); ++i) {
        if (i == m_mainCamera())
            continue;
        // A name's "&" (between vendor and product ids) is no shortcut marker.
        QString name = m_stream->name(i);
        QAction* camera = menu->addAction(name.replace('&', "&&"), this, [this, i] { choose(i); });
        camera->setCheckable(true);
        camera->setChecked(m_on && i == m_stream->device());
        cameras->addAction(camera);
    }
    if (cameras->actions().isEmpty())
        menu->addAction(tr("No other camera is plugged in"))->setEnabled(false);
    menu->addSeparator();
    const struct {
        const char* text;
        double share;
    } sizes[] = {{QT_TR_NOOP("A quarter of the view"), 1 / 4.0},
                 {QT_TR_NOOP("A third of the view"), 1 / 3.0},
                 {QT_TR_NOOP("Half of the view"), 1 / 2.0}};
    auto* shares = new QActionGroup(menu);
    for (const auto& size : sizes) {
        const double share = size.share;
        QAction* action = menu->addAction(tr(size.text), this, [this, share] { setShare(share); });
        action->setCheckable(true);
        action->setChecked(qAbs(m_overlay->share() - share) < 0.01);
        shares->addAction(action);
    }
    if (m_on) {
        menu->addSeparator();
        menu->addAction(tr("Hide the inset"), this, &InsetCamera::toggle);
    }
}

void InsetCamera::toggle() {
    if (m_on) {
        m_on = false;
        m_lost = false;
        close();
        return;
    }
    if (!m_settings->showAllTools())
        return;
    m_on = true;
    refresh();
    if (m_stream->device() < 0) {
        m_on = false;
        emit notice(tr("No other camera is plugged in to show as an inset."));
    }
}

void InsetCamera::choose(int devIndex) {
    m_settings->setValue(kCameraKey, m_stream->identity(devIndex));
    m_on = true;
    refresh();
}

void InsetCamera::setShare(double share) {
    m_overlay->setShare(share);
    m_settings->setValue(kShareKey, m_overlay->share());
    m_stream->setSize(insetSize());
    m_view->update();
}

void InsetCamera::swap() {
    const int inset = m_stream->device();
    if (inset < 0)
        return;
    m_settings->setValue(kCameraKey, m_stream->identity(m_mainCamera()));
    close();
    emit swapRequested(inset);
}

void InsetCamera::mainCameraChanging(int devIndex) {
    if (devIndex == m_stream->device())
        close();
}

void InsetCamera::cameraRemoved(int devIndex, bool main) {
    if (!m_on)
        return;
    if (main) {
        // The view opens another camera, maybe this one: let go of it first.
        close();
        m_lost = true;
        emit notice(tr("The main camera was unplugged. Another camera is shown in its place."));
    } else if (devIndex == m_stream->device()) {
        close();
        m_lost = true;
        emit notice(tr("The inset camera was unplugged. The main picture goes on."));
    }
}

void InsetCamera::refresh() {
    if (!m_on)
        return;
    const int wanted = wantedCamera();
    if (wanted >= 0 && m_stream->identity(wanted) == m_openCamera && wanted == m_stream->device())
        return;
    close();
    if (wanted < 0)
        return;
    open(wanted);
    if (m_lost && m_stream->device() >= 0) {
        m_lost = false;
        emit notice(tr("The inset camera is back."));
    }
}

int InsetCamera::wantedCamera() const {
    const QString chosen = m_settings->value(kCameraKey).toString();
    int first = -1;
    for (int i = 0; i < m_cameraCount(); ++i) {
        if (i == m_mainCamera())
            continue;
        if (!chosen.isEmpty() && m_stream->identity(i) == chosen)
            return i;
        if (first < 0)
            first = i;
    }
    return first;
}

void InsetCamera::open(int devIndex) {
    if (m_stream->open(devIndex, insetSize()) != 0) {
        emit notice(tr("The inset camera could not be opened: another program may be using it."));
        return;
    }
    m_openCamera = m_stream->identity(devIndex);
}

void InsetCamera::close() {
    m_stream->close();
    m_openCamera.clear();
    m_view->update(m_overlay->hide());
}

void InsetCamera::showFrame(const QImage& frame) {
    if (!m_on || m_stream->device() < 0)
        return;
    m_view->update(m_overlay->show(frame));
    // The camera's shape is known from its first frame: later ones fill the inset exactly.
    if (m_stream->size() != insetSize())
        m_stream->setSize(insetSize());
}

void InsetCamera::viewResized() {
    m_stream->setSize(insetSize());
}

QSize InsetCamera::insetSize() const {
    return m_overlay->rectIn(m_view->rect()).size() * m_view->devicePixelRatioF();
}
