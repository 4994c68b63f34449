// SPDX-License-Identifier: GPL-3.0-or-later
// Scanning pages with the camera: cropping and straightening of stills, automatic capture of each new
// page, and the quality and resolution of captured files, handed to the camera library as they are
// chosen (view's keys, settings panel) and after every opening of a camera; the found page's
// outline and the automatic capture's state drawn over the live picture. GUI thread only.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPolygonF>
#include <QString>

#include "settings/capturechoices.h"

class ExtraSettings;
class IPresenter;
class QPainter;
class QRect;
class QTimer;
class QTransform;
class QWidget;

class PageScan : public QObject {
    Q_OBJECT

public:
    PageScan(IPresenter* presenter, ExtraSettings* settings, QWidget* view);

    // Hands the remembered choices to the camera library; after every opening of a camera.
    void apply(long devIndex);
    void toggleCropping();
    void toggleAutoCapture();
    // An automatic capture is being taken: the view flashes.
    void flash();

    // Draws the outline, the state and the flash over the picture drawn in target; shown maps shares
    // of the camera's picture to shares of the picture as it is shown (turned, mirrored).
    void paint(QPainter& painter, const QRect& target, const QTransform& shown) const;

signals:
    void notice(const QString& text);

private:
    void onChoiceChanged(const QString& key);
    void applyCropping();
    void applyAutoCapture();
    void applyFileSettings();
    // Polls the outline and state while either is on; clears them when both are off.
    void followLiveState();
    void poll();
    QString stateText() const;

    IPresenter* m_presenter;
    CaptureChoices m_choices;
    QWidget* m_view;
    QTimer* m_poll;
    long m_devIndex = 0;      // the camera opened last
    bool m_cropping = false;  // as handed to the camera library last
    bool m_autoCapture = false;
    QPolygonF m_outline;  // shares of the picture's width and height
    long m_state = 0;     // CamAutoCaptureState
    QElapsedTimer m_flash;
};
