// SPDX-License-Identifier: GPL-3.0-or-later
// Per-camera picture memory.
#include "camerapicturememory.h"

#include "camera/ipresenter.h"
#include "liveviewlog.h"
#include "optigrab.h"
#include "settings/extrasettings.h"

namespace {

// How long a control rests before what the user chose is written.
const int kControlsWriteDelayMs = 400;

}  // namespace

CameraPictureMemory::CameraPictureMemory(IPresenter* presenter) : m_presenter(presenter) {
    m_controlsWrite.setSingleShot(true);
    m_controlsWrite.setInterval(kControlsWriteDelayMs);
    QObject::connect(&m_controlsWrite, &QTimer::timeout, [this] { saveControls(); });
}

CameraPictureMemory::~CameraPictureMemory() {
    saveControls();
}

void CameraPictureMemory::setStore(ExtraSettings* store) {
    m_store = store;
}

void CameraPictureMemory::saveControls() {
    if (!m_controlsPending)
        return;
    m_controlsPending = false;
    m_controlsWrite.stop();
    m_store->setValue(key("controls"), m_controls);
}

QString CameraPictureMemory::key(const QString& name) const {
    return m_camera + "/" + name;
}

void CameraPictureMemory::cameraOpened(long devIndex) {
    saveControls();  // under the camera they belong to
    QString vid, pid;
    m_presenter->getDevVID(devIndex, vid);
    m_presenter->getDevPID(devIndex, pid);
    m_dev = devIndex;
    m_camera = QString("camera/%1_%2_%3").arg(vid, pid, m_presenter->getDevsn(devIndex));
    const int turns = m_store->value(key("rotation"), 0).toInt();
    const bool mirrored = m_store->value(key("mirrored"), false).toBool();
    m_look = m_store->value(key("look"), 0).toInt();
    m_controls = m_store->value(key("controls")).toMap();
    m_turns = 0;
    m_mirrored = false;
    setOrientation(turns, mirrored);
    if (m_look != 0 && m_presenter->setLook(m_dev, m_look) != CAM_OK)
        m_look = 0;
    if (m_controls.isEmpty())
        return;
    // Switches and menus first: an automatic mode turned off makes its manual value settable.
    const std::vector<CameraControl> offered = controls();
    for (bool switches : {true, false})
        for (const CameraControl& control : offered) {
            const QString id = QString::number(control.id, 16);
            if (m_controls.contains(id) && (control.type != CameraControl::Integer) == switches)
                if (long result =
                        m_presenter->setControl(m_dev, control.id, long(m_controls[id].toLongLong())))
                    qCWarning(lcLiveView, "remembered %s of this camera not applied: %s",
                              qPrintable(control.name), camErrorText(result));
        }
}

long CameraPictureMemory::setOrientation(int quarterTurns, bool mirrored) {
    quarterTurns = ((quarterTurns % 4) + 4) % 4;
    const long mode = quarterTurns * 90 | (mirrored ? CAM_ROTATE_MIRROR : 0);
    const long result = m_presenter->setRotateMode(m_dev, int(mode));
    if (result == CAM_OK) {
        m_turns = quarterTurns;
        m_mirrored = mirrored;
    }
    return result;
}

long CameraPictureMemory::rotate(int quarterTurns) {
    if (!hasCamera())
        return CAM_ERR_NOT_OPEN;
    const long result = setOrientation(m_turns + quarterTurns, m_mirrored);
    if (result == CAM_OK)
        m_store->setValue(key("rotation"), m_turns);
    return result;
}

// The picture is mirrored before it is turned: a mirror of what the screen shows is a mirror of the
// camera's picture turned the other way.
long CameraPictureMemory::mirror() {
    if (!hasCamera())
        return CAM_ERR_NOT_OPEN;
    const long result = setOrientation(-m_turns, !m_mirrored);
    if (result == CAM_OK) {
        m_store->setValue(key("rotation"), m_turns);
        m_store->setValue(key("mirrored"), m_mirrored);
    }
    return result;
}

// Upside down is a mirror and half a turn.
long CameraPictureMemory::flip() {
    if (!hasCamera())
        return CAM_ERR_NOT_OPEN;
    const long result = setOrientation(2 - m_turns, !m_mirrored);
    if (result == CAM_OK) {
        m_store->setValue(key("rotation"), m_turns);
        m_store->setValue(key("mirrored"), m_mirrored);
    }
    return result;
}

long CameraPictureMemory::setLook(int look) {
    if (!hasCamera())
        return CAM_ERR_NOT_OPEN;
    const long result = m_presenter->setLook(m_dev, look);
    if (result == CAM_OK) {
        m_look = look;
        m_store->setValue(key("look"), look);
    }
    return result;
}

long CameraPictureMemory::setControl(unsigned id, long value) {
    if (!hasCamera())
        return CAM_ERR_NOT_OPEN;
    const long result = m_presenter->setControl(m_dev, id, value);
    if (result == CAM_OK) {
        m_controls.insert(QString::number(id, 16), qlonglong(value));
        m_controlsPending = true;
        m_controlsWrite.start();
    }
    return result;
}

long CameraPictureMemory::reset() {
    if (!hasCamera())
        return CAM_ERR_NOT_OPEN;
    long result = setOrientation(0, false);
    // Switches last: an automatic mode switched back on makes its manual value inactive.
    const std::vector<CameraControl> offered = controls();
    for (bool switches : {false, true})
        for (const CameraControl& control : offered)
            if ((control.type != CameraControl::Integer) == switches &&
                control.value != control.defaultValue && !control.inactive)
                if (long failed = m_presenter->setControl(m_dev, control.id, control.defaultValue))
                    result = result ? result : failed;
    m_controls.clear();
    m_controlsPending = false;
    m_controlsWrite.stop();
    for (const char* name : {"rotation", "mirrored", "controls"})
        m_store->remove(key(name));
    return result;
}

std::vector<CameraControl> CameraPictureMemory::controls() const {
    std::vector<CameraControl> list;
    if (hasCamera())
        m_presenter->getControls(m_dev, list);
    return list;
}

bool CameraPictureMemory::canAutoFocus() const {
    long supported = 0;
    return hasCamera() && m_presenter->getAutoFocusSupport(m_dev, supported) == CAM_OK && supported != 0;
}

std::function<long()> CameraPictureMemory::autoFocusJob() const {
    IPresenter* presenter = m_presenter;
    const long dev = m_dev;
    return [presenter, dev] { return dev >= 0 ? presenter->autoFocusOnce(dev) : long(CAM_ERR_NOT_OPEN); };
}

QTransform CameraPictureMemory::shownFromCamera() const {
    // Mirror (x -> 1 - x) first, then each clockwise quarter turn ((x, y) -> (1 - y, x)).
    QTransform transform = m_mirrored ? QTransform(-1, 0, 0, 1, 1, 0) : QTransform();
    for (int i = 0; i < m_turns; ++i)
        transform *= QTransform(0, 1, -1, 0, 1, 0);
    return transform;
}
