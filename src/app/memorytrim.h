// SPDX-License-Identifier: GPL-3.0-or-later
// Gives the memory the program has freed back to the system: pictures at once, the rest every 15
// seconds, off the GUI thread.
#pragma once

#include <QObject>
#include <QTimer>

// Camera frames, recordings and captures allocate and free large blocks on several threads. The C
// library keeps what each thread frees in that thread's pool and returns little of it by itself, so
// over a school day the memory held grew by hundreds of MB while the memory in use did not.
// GUI thread only; made before the camera opens, so that its pictures are mapped on their own.
class MemoryTrim : public QObject {
    Q_OBJECT

public:
    explicit MemoryTrim(QObject* parent = nullptr);

    // Returns the free memory of every pool to the system now, on the calling thread; false where the
    // C library cannot.
    static bool trimNow();

private:
    QTimer m_timer;
};
