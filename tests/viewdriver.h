// SPDX-License-Identifier: GPL-3.0-or-later
// Driving the main view as a user would: a picture as from the camera, mouse presses, moves and
// releases, strokes and wheel turns, sent as events.
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

// Turns the wheel by notches (positive away from the user) with the pointer at pos.
inline void wheel(QWidget& view, const QPoint& pos, int notches) {
    QWheelEvent event(QPointF(pos), QPointF(view.mapToGlobal(pos)), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&view, &event);
}

}  // namespace viewdriver
