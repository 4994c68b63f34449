// SPDX-License-Identifier: GPL-3.0-or-later
// The speech engine's calls, each of which may wait on the speech server.
#include "speechvoice.h"

#include <QLocale>
#include <QTextToSpeech>

void SpeechVoice::open(const QString& language) {
    if (!m_speech) {
        m_speech = new QTextToSpeech(this);
        connect(m_speech, &QTextToSpeech::stateChanged, this,
                [this](QTextToSpeech::State state) { emit stateChanged(state); });
    }
    if (m_speech->state() == QTextToSpeech::BackendError) {
        emit opened(false);
        return;
    }
    const QLocale wanted(language);
    for (const QLocale& locale : m_speech->availableLocales()) {
        if (locale.language() == wanted.language()) {
            m_speech->setLocale(locale);
            emit opened(!m_speech->availableVoices().isEmpty());
            return;
        }
    }
    emit opened(false);
}

void SpeechVoice::say(const QString& text) {
    if (m_speech)
        m_speech->say(text);
}

void SpeechVoice::stop() {
    if (m_speech)
        m_speech->stop();
}
