// SPDX-License-Identifier: GPL-3.0-or-later
// What the user changed about each camera's picture (orientation, look, the camera's own controls),
// remembered in the extra settings under camera/<vid>_<pid>_<serial>/ and applied whenever that camera
// opens, also after it was unplugged and plugged in again.
#pragma once

#include <QString>
#include <QTimer>
#include <QTransform>
#include <QVariantMap>
#include <functional>
#include <vector>

#include "camera/camerarecords.h"

class ExtraSettings;
class IPresenter;

// GUI thread only. Every change is passed to the camera first and remembered only when it took. The
// controls are written once a slider rests (or another camera opens, or this memory ends): writing the
// settings file at every step of a drag would hold the GUI thread on the disk between the steps.
class CameraPictureMemory {
public:
    explicit CameraPictureMemory(IPresenter* presenter);
    ~CameraPictureMemory();

    // Where the choices are remembered; given before the first camera opens.
    void setStore(ExtraSettings* store);
    // The camera at devIndex was opened: it gets its remembered orientation, look and controls.
    void cameraOpened(long devIndex);
    bool hasCamera() const { return m_dev >= 0; }

    // Results are the camera library's codes (0 success).
    long rotate(int quarterTurns);  // clockwise; -1 turns left
    long mirror();                  // left and right exchanged, as seen on the screen
    long flip();                    // upside down, as seen on the screen
    long setLook(int look);         // CamLook
    int look() const { return m_look; }
    // Maps shares (0 to 1) of the camera's picture to shares of the picture as it is shown.
    QTransform shownFromCamera() const;
    long setControl(unsigned id, long value);
    // The camera's own defaults for every control, upright and unmirrored; forgets what was stored.
    long reset();

    std::vector<CameraControl> controls() const;  // read from the camera now
    bool canAutoFocus() const;
    // A one-shot focus of the camera open now, to run on another thread; it blocks while the camera
    // focuses (see IPresenter). It holds the camera's index, not this memory, which the GUI thread
    // changes when another camera opens meanwhile.
    std::function<long()> autoFocusJob() const;

private:
    long setOrientation(int quarterTurns, bool mirrored);
    QString key(const QString& name) const;
    void saveControls();  // a pending write of the controls, now

    IPresenter* m_presenter;
    ExtraSettings* m_store = nullptr;
    long m_dev = -1;
    QString m_camera;  // "camera/<vid>_<pid>_<serial>"
    int m_turns = 0;   // clockwise quarter turns, after the mirror
    bool m_mirrored = false;
    int m_look = 0;
    QVariantMap m_controls;  // control id (hex) -> value the user chose
    QTimer m_controlsWrite;  // writes m_controls once they rest
    bool m_controlsPending = false;
};
