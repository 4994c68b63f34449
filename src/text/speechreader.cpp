// SPDX-License-Identifier: GPL-3.0-or-later
// Sentence by sentence through QTextToSpeech; the word mark estimated from the measured speed.
#include "speechreader.h"

#include <QTextToSpeech>
#include <QThread>

#include "speechvoice.h"

namespace {

// The speed a sentence is assumed to go at before one has been measured: espeak-ng's default rate,
// about 15 letters a second, or 4 Chinese characters.
double firstGuess(const QString& language) {
    return language == "zh_CN" ? 4.0 : 15.0;
}

bool endsSentence(const QString& word) {
    static const QString marks = QStringLiteral(".!?。！？");
    return !word.isEmpty() && marks.contains(word.back());
}

const int kEstimateMs = 50;
// A first answer may wait for the speech server to start, which takes a few seconds on a busy machine.
const int kAnswerMs = 10000;
const int kEndMs = 1000;
const int kLongestSentence = 40;  // words; a text without stops is spoken in pieces of this size

}  // namespace

SpeechReader::SpeechReader(QObject* parent) : QObject(parent) {
    m_estimate.setInterval(kEstimateMs);
    connect(&m_estimate, &QTimer::timeout, this, &SpeechReader::estimateWord);
    m_answer.setSingleShot(true);
    m_answer.setInterval(kAnswerMs);
    connect(&m_answer, &QTimer::timeout, this, &SpeechReader::onNoAnswer);
}

SpeechReader::~SpeechReader() {
    if (m_voice)
        QMetaObject::invokeMethod(m_voice, &SpeechVoice::stop);
    endVoice();
}

void SpeechReader::startVoice() {
    // Without a parent: a thread caught in a call to a hanging server outlives the reader.
    m_thread = new QThread;
    m_thread->setObjectName("speech");
    m_voice = new SpeechVoice;
    m_voice->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_voice, &QObject::deleteLater);
    connect(m_voice, &SpeechVoice::opened, this, &SpeechReader::onOpened);
    connect(m_voice, &SpeechVoice::stateChanged, this, &SpeechReader::onStateChanged);
    m_thread->start();
    m_openings = 0;
}

void SpeechReader::endVoice() {
    if (!m_thread)
        return;
    disconnect(m_voice, nullptr, this, nullptr);
    m_thread->quit();
    if (m_thread->wait(kEndMs)) {
        delete m_thread;
    } else {
        // Still waiting on the server: it ends when the server answers or with the process. Kept
        // where it stays reachable (never freed), as it cannot be deleted while it runs.
        static auto* waiting = new QList<QThread*>;
        waiting->append(m_thread);
    }
    m_thread = nullptr;
    m_voice = nullptr;
}

bool SpeechReader::read(const PageText& text) {
    stop();
    if (text.words.isEmpty())
        return false;
    m_text = text;
    m_sentenceStarts = {0};
    for (int i = 0; i < text.words.size(); ++i)
        if (i + 1 < text.words.size() &&
            (endsSentence(text.words[i].text) || i + 1 - m_sentenceStarts.last() >= kLongestSentence))
            m_sentenceStarts << i + 1;
    m_sentenceStarts << text.words.size();
    m_charsPerSecond = firstGuess(text.mainLanguage());
    m_next = 0;
    m_word = -1;
    if (!m_thread)
        startVoice();
    ++m_openings;
    m_answer.start();
    const QString language = text.mainLanguage();
    QMetaObject::invokeMethod(m_voice, [voice = m_voice, language] { voice->open(language); });
    return true;
}

void SpeechReader::onOpened(bool hasVoice) {
    // Answers to readings stopped before them are passed over: they come in the order asked.
    if (--m_openings > 0 || m_next < 0)
        return;
    m_answer.stop();
    if (!hasVoice) {
        emit noVoice(m_text.mainLanguage());
        stop();
        return;
    }
    speakNextSentence();
}

void SpeechReader::onNoAnswer() {
    endVoice();
    emit noAnswer();
    stop();
}

void SpeechReader::stop() {
    if (m_next < 0)
        return;
    m_next = -1;
    m_answer.stop();
    m_estimate.stop();
    if (m_voice)
        QMetaObject::invokeMethod(m_voice, &SpeechVoice::stop);
    emit finished();
}

void SpeechReader::speakNextSentence() {
    if (m_next + 1 >= m_sentenceStarts.size()) {
        stop();
        return;
    }
    QString sentence;
    for (int i = m_sentenceStarts[m_next]; i < m_sentenceStarts[m_next + 1]; ++i) {
        if (i > m_sentenceStarts[m_next] &&
            PageText::spaceBetween(m_text.words[i - 1].text, m_text.words[i].text))
            sentence += ' ';
        sentence += m_text.words[i].text;
    }
    m_spoke = false;
    m_sentenceClock.start();
    m_word = m_sentenceStarts[m_next];
    emit wordReached(m_word);
    m_estimate.start();
    QMetaObject::invokeMethod(m_voice, [voice = m_voice, sentence] { voice->say(sentence); });
}

void SpeechReader::onStateChanged(int state) {
    if (m_next < 0 || m_openings > 0)
        return;
    if (state == QTextToSpeech::Speaking) {
        if (!m_spoke)
            m_sentenceClock.restart();  // the speed counts from the first sound
        m_spoke = true;
        return;
    }
    if (state == QTextToSpeech::BackendError) {
        stop();
        return;
    }
    if (state != QTextToSpeech::Ready || !m_spoke)
        return;
    // The sentence is over: its length in letters over its time gives the speed for the next one.
    int letters = 0;
    for (int i = m_sentenceStarts[m_next]; i < m_sentenceStarts[m_next + 1]; ++i)
        letters += m_text.words[i].text.size();
    const double seconds = m_sentenceClock.elapsed() / 1000.0;
    if (seconds > 0.2)
        m_charsPerSecond = letters / seconds;
    ++m_next;
    speakNextSentence();
}

void SpeechReader::estimateWord() {
    if (m_next < 0 || !m_spoke)
        return;
    const double lettersRead = m_charsPerSecond * m_sentenceClock.elapsed() / 1000.0;
    double letters = 0;
    int word = m_sentenceStarts[m_next];
    const int last = m_sentenceStarts[m_next + 1] - 1;
    while (word < last && letters + m_text.words[word].text.size() <= lettersRead)
        letters += m_text.words[word++].text.size();
    if (word != m_word) {
        m_word = word;
        emit wordReached(word);
    }
}
