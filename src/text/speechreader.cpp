// SPDX-License-Identifier: GPL-3.0-or-later
// Sentence by sentence through QTextToSpeech; the word mark estimated from the measured speed.
#include "speechreader.h"

#include <QLocale>
#include <QTextToSpeech>

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
const int kLongestSentence = 40;  // words; a text without stops is spoken in pieces of this size

}  // namespace

SpeechReader::SpeechReader(QObject* parent) : QObject(parent) {
    m_estimate.setInterval(kEstimateMs);
    connect(&m_estimate, &QTimer::timeout, this, &SpeechReader::estimateWord);
}

SpeechReader::~SpeechReader() {
    if (m_speech)
        m_speech->stop();
}

bool SpeechReader::read(const PageText& text) {
    stop();
    const QString language = text.mainLanguage();
    if (text.words.isEmpty())
        return false;
    if (!m_speech) {
        m_speech = new QTextToSpeech(this);
        connect(m_speech, &QTextToSpeech::stateChanged, this, &SpeechReader::onStateChanged);
    }
    const QLocale wanted(language);
    bool found = false;
    for (const QLocale& locale : m_speech->availableLocales()) {
        if (locale.language() == wanted.language()) {
            m_speech->setLocale(locale);
            found = true;
            break;
        }
    }
    if (!found || m_speech->state() == QTextToSpeech::BackendError || m_speech->availableVoices().isEmpty()) {
        emit noVoice(language);
        return false;
    }

    m_text = text;
    m_sentenceStarts = {0};
    for (int i = 0; i < text.words.size(); ++i)
        if (i + 1 < text.words.size() &&
            (endsSentence(text.words[i].text) || i + 1 - m_sentenceStarts.last() >= kLongestSentence))
            m_sentenceStarts << i + 1;
    m_sentenceStarts << text.words.size();
    m_charsPerSecond = firstGuess(language);
    m_next = 0;
    m_word = -1;
    speakNextSentence();
    return true;
}

void SpeechReader::stop() {
    if (m_next < 0)
        return;
    m_next = -1;
    m_estimate.stop();
    m_speech->stop();
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
    m_speech->say(sentence);
}

void SpeechReader::onStateChanged() {
    if (m_next < 0)
        return;
    const QTextToSpeech::State state = m_speech->state();
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
