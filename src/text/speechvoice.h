// SPDX-License-Identifier: GPL-3.0-or-later
// The system's speech engine, driven on a thread of its own.
#pragma once

#include <QObject>
#include <QString>

class QTextToSpeech;

// Lives on a thread of its own: every call into the speech engine waits for the speech server's
// answer, and a server that hangs must not hang the window. Requests come in as queued calls of the
// slots; answers go out as signals.
class SpeechVoice : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

public slots:
    // Makes the engine (the first time) and chooses a voice for the language (an interface code);
    // opened tells whether there is one.
    void open(const QString& language);
    void say(const QString& text);
    void stop();

signals:
    void opened(bool hasVoice);
    // The engine's QTextToSpeech::State, as an int so that it crosses threads without registration.
    void stateChanged(int state);

private:
    QTextToSpeech* m_speech = nullptr;
};
