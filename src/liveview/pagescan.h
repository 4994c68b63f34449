// Scanning pages with the camera: cropping and straightening of stills and automatic capture of
// each new page, switched by the view's keys and remembered in the extra settings; the found page's
// outline and the automatic capture's state drawn over the live picture. GUI thread only.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPolygonF>
#include <QString>

class IPresenter;
class QPainter;
class QRect;
class QTimer;
class QWidget;

class PageScan : public QObject {
    Q_OBJECT

public:
    PageScan(IPresenter* presenter, QWidget* view);

    // Hands the remembered choices to the camera library; after every opening of a camera.
    void apply(long devIndex);
    void toggleCropping();
    void toggleAutoCapture();
    // An automatic capture is being taken: the view flashes.
    void flash();

    // Draws the outline, the state and the flash over the picture drawn in target.
    void paint(QPainter& painter, const QRect& target) const;

signals:
    void notice(const QString& text);

private:
    void poll();
    QString stateText() const;

    IPresenter* m_presenter;
    QWidget* m_view;
    QTimer* m_poll;
    long m_devIndex = 0;  // the camera opened last
    bool m_cropping = false;
    bool m_autoCapture = false;
    QPolygonF m_outline;  // shares of the picture's width and height
    long m_state = 0;     // CamAutoCaptureState
    QElapsedTimer m_flash;
};
