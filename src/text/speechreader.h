// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a page's text aloud with the system's voices, saying which word is being read.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QVector>

#include "pagetext.h"

class QThread;
class SpeechVoice;

// GUI thread; the speech engine itself runs on a thread of its own (SpeechVoice), since a speech
// server that hangs would otherwise hang the window. Qt 5's speech reports no word boundaries, so the
// text is spoken a sentence at a time: the sentence being read is known exactly, and the word within
// it is estimated from the time spent on it at the speed measured over the sentences before.
class SpeechReader : public QObject {
    Q_OBJECT

public:
    explicit SpeechReader(QObject* parent = nullptr);
    ~SpeechReader() override;

    // Starts reading text in its main language; false when it has no words. When the system has no
    // voice for the language (noVoice) or its speech does not answer (noAnswer), finished follows.
    bool read(const PageText& text);
    // Stops at once; finished follows.
    void stop();
    bool reading() const { return m_next >= 0; }

signals:
    // The word (an index into the text's words) being read now.
    void wordReached(int word);
    // Reading ended: the last word was read, or it was stopped.
    void finished();
    // The language (interface code) has no voice on this system.
    void noVoice(const QString& language);
    // The system's speech did not answer in time; the next reading tries it afresh.
    void noAnswer();

private:
    void startVoice();
    void endVoice();
    void onOpened(bool hasVoice);
    void onNoAnswer();
    void speakNextSentence();
    void onStateChanged(int state);
    void estimateWord();

    QThread* m_thread = nullptr;
    SpeechVoice* m_voice = nullptr;  // on m_thread
    int m_openings = 0;              // voices asked for and not yet answered
    QTimer m_answer;                 // how long the engine may take to answer
    PageText m_text;
    QVector<int> m_sentenceStarts;  // the first word of each sentence, and words.size() last
    int m_next = -1;                // the sentence to speak next; -1 when not reading
    int m_word = -1;                // the word last reported
    bool m_spoke = false;           // the engine has begun the current sentence
    QElapsedTimer m_sentenceClock;
    QTimer m_estimate;            // moves the mark within a sentence
    double m_charsPerSecond = 0;  // measured over the sentences read so far
};
