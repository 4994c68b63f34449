// SPDX-License-Identifier: GPL-3.0-or-later
// Driving the main view as a user would: a picture as from the camera, mouse presses, moves and
// releases, strokes and wheel turns, sent as events; and what the view paints.
#pragma once

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QVector>
#include <QWheelEvent>
#include <QtTest>

namespace viewdriver {

// Shows the view at the picture's size with that picture, as after the camera's first frame.
inline void showPicture(QWidget& view, const QImage& picture) {
    view.resize(picture.size());
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QMetaObject::invokeMethod(&view, "onImageReady", Q_ARG(QImage, picture));
}

// What the view paints itself, without the bars, panels and notices that are its children: the picture
// and the ink over it, as a capture or a recording holds them.
inline QImage painted(QWidget& view) {
    QImage image(view.size(), QImage::Format_RGB32);
    view.render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return image;
}

// Whether the view shows a picture: anything but black at a grid of points over it.
inline bool showsPicture(QWidget& view) {
    const QImage shot = painted(view);
    const int stepX = qMax(1, shot.width() / 16), stepY = qMax(1, shot.height() / 16);
    for (int y = stepY / 2; y < shot.height(); y += stepY)
        for (int x = stepX / 2; x < shot.width(); x += stepX)
            if (shot.pixel(x, y) != qRgb(0, 0, 0))
                return true;
    return false;
}

inline void mouse(QWidget& view, QEvent::Type type, const QPoint& pos,
                  Qt::MouseButton button = Qt::LeftButton) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, pos, view.mapToGlobal(pos), type == QEvent::MouseMove ? Qt::NoButton : button,
                      held, Qt::NoModifier);
    QApplication::sendEvent(&view, &event);
}

// Press at the first point, move through the others, release at the last.
inline void stroke(QWidget& view, const QVector<QPoint>& path) {
    mouse(view, QEvent::MouseButtonPress, path.first());
    for (int i = 1; i < path.size(); ++i)
        mouse(view, QEvent::MouseMove, path[i]);
    mouse(view, QEvent::MouseButtonRelease, path.last());
}

// A straight line drawn with the Pen tool, width pixels wide, in colour.
inline void penLine(QWidget& view, const QPoint& from, const QPoint& to, int width, const QColor& colour) {
    QMetaObject::invokeMethod(&view, "updateToolSettings", Q_ARG(int, 0), Q_ARG(QColor, colour),
                              Q_ARG(int, width));
    QMetaObject::invokeMethod(&view, "switchToDrawingMode");
    stroke(view, {from, to});
}

// Turns the wheel by notches (positive away from the user) with the pointer at pos.
inline void wheel(QWidget& view, const QPoint& pos, int notches) {
    QWheelEvent event(QPointF(pos), QPointF(view.mapToGlobal(pos)), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&view, &event);
}

}  // namespace viewdriver
