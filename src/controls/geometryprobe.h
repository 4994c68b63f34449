// SPDX-License-Identifier: GPL-3.0-or-later
// A test-only query of what is on screen: the random-input driver (scripts/monkey) asks it where the
// windows, panels and their controls are, and how much heap, threads, descriptors, camera streams and
// buffers the program holds. Made only when the environment variable PAGELUX_DEBUG_GEOMETRY names a
// socket path; a normal start never listens.
#pragma once

#include <QObject>

class QLocalServer;

// GUI thread only: every answer is written from the event loop, so an answer is also a sign of life.
class GeometryProbe : public QObject {
    Q_OBJECT

public:
    // Listens at the path of PAGELUX_DEBUG_GEOMETRY when it is set; otherwise does nothing.
    static void startFromEnvironment(QObject* parent);

    // One line of JSON: live heap bytes (-1 without AddressSanitizer), threads, open descriptors, open
    // streams of simulated cameras, mappings of camera buffers, the visible windows and panels
    // (top-level widgets and our own widget classes), and the visible, enabled controls inside them.
    static QByteArray snapshot();

    // What the window manager does when the user brings a minimised window back (a virtual X server
    // for tests has none): asked for by the line "restore".
    static void restoreMinimized();

private:
    GeometryProbe(const QString& path, QObject* parent);
    void answer();

    QLocalServer* m_server;
};
