// SPDX-License-Identifier: GPL-3.0-or-later
// The inset camera: a second camera shown in a corner of the view (I, or the Setting button's right
// click), which camera and how large remembered; it follows plugs and unplugs and exchanges places with
// the view's camera on a double click.
#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>

class ExtraSettings;
class InsetOverlay;
class InsetStream;
class QImage;
class QMenu;
class QPoint;
class QWidget;

// GUI thread only. With "Show all tools" only.
class InsetCamera : public QObject {
    Q_OBJECT

public:
    // view: where the inset shows; cameraCount: the cameras the view's list holds (its last rescan);
    // mainCamera: the index of the camera the view shows.
    InsetCamera(QWidget* view, ExtraSettings* settings, std::function<int()> cameraCount,
                std::function<int()> mainCamera);
    ~InsetCamera() override;

    // The overlay that paints the inset, for the view's overlays; once.
    std::unique_ptr<InsetOverlay> takeOverlay();
    // A right click on button opens the inset's menu: the other cameras, the sizes, Hide.
    void offerMenuOn(QWidget* button);
    void fillMenu(QMenu* menu);
    bool isOn() const { return m_on; }

public slots:
    // I: shows the camera chosen (none chosen yet: the first other camera listed), or hides it.
    void toggle();
    // The view is about to open camera devIndex: the inset lets go of it.
    void mainCameraChanging(int devIndex);
    // Camera devIndex was unplugged; main: it was the view's own. Before the view acts on it.
    void cameraRemoved(int devIndex, bool main);
    // The list was read again or the view's camera changed: the inset shows the camera chosen for it
    // where it can, the first other one where it cannot.
    void refresh();
    void viewResized();

signals:
    void notice(const QString& text);
    // A double click on the inset: the view is to show camera devIndex; the inset then shows the
    // view's camera.
    void swapRequested(int devIndex);

private:
    void choose(int devIndex);
    void setShare(double share);
    void swap();
    // The camera the inset is to show: -1 when no other camera is listed.
    int wantedCamera() const;
    void open(int devIndex);
    void close();
    void showFrame(const QImage& frame);
    // In device pixels: frames need not be decoded larger.
    QSize insetSize() const;

    QWidget* m_view;
    ExtraSettings* m_settings;
    std::function<int()> m_cameraCount;
    std::function<int()> m_mainCamera;
    InsetStream* m_stream;
    std::unique_ptr<InsetOverlay> m_madeOverlay;  // until the view takes it
    InsetOverlay* m_overlay;                      // owned by the view's overlays
    bool m_on = false;
    bool m_lost = false;   // its camera was unplugged while shown
    QString m_openCamera;  // identity of the camera open now
};
