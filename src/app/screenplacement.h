// SPDX-License-Identifier: GPL-3.0-or-later
// Which screen the full-screen view takes: the one it was last closed on (remembered in the extra
// settings file), else the primary one; the primary one again when its screen goes away; and full
// screen again when it comes back from Min.
#pragma once

#include <QObject>
#include <QPointer>

class ExtraSettings;
class QScreen;
class QWidget;

// GUI thread only; made after the view, which it outlives or forgets.
class ScreenPlacement : public QObject {
    Q_OBJECT

public:
    // The screen is remembered in store, which outlives this.
    ScreenPlacement(QWidget* view, ExtraSettings* store, QObject* parent = nullptr);

    // Shows the view full screen on the remembered screen when it is there, else on the primary one.
    void showFullScreen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void remember();
    void moveTo(QScreen* screen);
    void onScreenRemoved(QScreen* screen);

    QPointer<QWidget> m_view;
    ExtraSettings* m_store;
    QPointer<QScreen> m_screen;  // the screen the view was last put on
};
