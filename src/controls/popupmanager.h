// SPDX-License-Identifier: GPL-3.0-or-later
// The application-wide registry of open popups; closes every popup on a mouse press outside it.
#pragma once

#include <QObject>
#include <QSet>

class QWidget;

// GUI thread only.
class PopupManager : public QObject {
    Q_OBJECT

public:
    // Made on first use as a child of the application object, which it watches from then on.
    static PopupManager* instance();
    ~PopupManager() override;

    // Makes the popup a frameless tool window deleted on close; null or known popups are ignored.
    void registerPopup(QWidget* popup);
    // The popup stays as it is; presses then no longer close it (while it opens a dialog, say).
    void unregisterPopup(QWidget* popup);

protected:
    // Never consumes an event: a press that closes a popup still reaches its target.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TestControls;

    explicit PopupManager(QObject* parent);

    static PopupManager* m_instance;
    QSet<QWidget*> m_popups;
};
