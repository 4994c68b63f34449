// SPDX-License-Identifier: GPL-3.0-or-later
// Ends the program through its event loop when the system asks it to stop (SIGTERM at shut-down or
// log-out, SIGHUP when its terminal goes, SIGINT from Ctrl+C), so that what closing the window does
// still happens: a recording under way is finished and gets its name, captures in flight are written.
#pragma once

#include <QObject>

class QSocketNotifier;

// Made once, on the GUI thread, after the application object.
class QuitOnSignal : public QObject {
    Q_OBJECT

public:
    explicit QuitOnSignal(QObject* parent = nullptr);
    ~QuitOnSignal() override;

private:
    static void handle(int signal);
    void quit();

    QSocketNotifier* m_notifier = nullptr;
};
