// SPDX-License-Identifier: GPL-3.0-or-later
// Copy text and read aloud: recognition on a worker, the outcome told on the GUI thread.
#include "textcontroller.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QPointer>
#include <QTemporaryDir>
#include <QtConcurrent>

#include "camera/ipresenter.h"
#include "text/pagetextcache.h"
#include "text/speechreader.h"
#include "text/textlanguages.h"
#include "textpanel.h"

TextController::TextController(IPresenter* presenter, ExtraSettings* settings,
                               std::shared_ptr<PageTextCache> texts, TextPanel* panel, QObject* parent)
    : QObject(parent),
      m_presenter(presenter),
      m_choices(settings),
      m_texts(std::move(texts)),
      m_panel(panel),
      m_speech(new SpeechReader(this)) {
    connect(m_panel, &TextPanel::readAloudClicked, this, &TextController::readAloud);
    connect(m_panel, &TextPanel::closeClicked, this, [this] {
        stopReading();
        m_panel->hide();
    });
    connect(m_speech, &SpeechReader::wordReached, m_panel, &TextPanel::markWord);
    connect(m_speech, &SpeechReader::finished, m_panel, [this] { m_panel->setReading(false); });
    connect(m_speech, &SpeechReader::noVoice, this, [this](const QString& language) {
        emit notice(tr("No voice for %1 on this system: install speech-dispatcher and espeak-ng.")
                        .arg(TextLanguages::displayName(language)));
    });
    connect(m_speech, &SpeechReader::noAnswer, this,
            [this] { emit notice(tr("The system's speech does not answer: try again later.")); });
}

void TextController::copyLivePicture() {
    recogniseLivePicture(Then::Copy);
}

void TextController::recogniseLivePicture(Then then) {
    IPresenter* presenter = m_presenter;
    const QStringList languages = m_choices.languages();
    start(
        [presenter, languages] {
            // The camera library's still: full resolution, and the page cut out and straightened when
            // cropping is on, exactly as a capture would be (the whole picture when no page is found).
            QTemporaryDir folder;
            QByteArray path = QFile::encodeName(folder.filePath("page.jpg"));
            if (folder.isValid())
                presenter->captureImage(path.data());
            return TextRecognizer::recognize(QImage(QFile::decodeName(path)), languages);
        },
        then);
}

void TextController::copyFile(const QString& path) {
    const std::shared_ptr<PageTextCache> texts = m_texts;
    const QStringList languages = m_choices.languages();
    start([texts, path, languages] { return texts->textOfFile(path, languages); }, Then::Copy);
}

void TextController::readAloud() {
    if (stopReading())
        return;
    if (m_shown.words.isEmpty()) {
        recogniseLivePicture(Then::CopyAndRead);
        return;
    }
    if (m_speech->read(m_shown))
        m_panel->setReading(true);
}

bool TextController::stopReading() {
    if (!m_speech->reading())
        return false;
    m_speech->stop();
    return true;
}

void TextController::waitForDone() {
    m_running.waitForFinished();
}

void TextController::start(std::function<TextRecognizer::Result()> recognise, Then then) {
    if (m_running.isRunning()) {
        emit notice(tr("The page's text is being read already."));
        return;
    }
    if (m_choices.languages().isEmpty()) {
        emit notice(tr("Choose a language for the page's text in the settings (Capture, Text)."));
        return;
    }
    emit notice(tr("Reading the page's text…"));
    QPointer<TextController> self(this);
    m_running = QtConcurrent::run([self, recognise, then] {
        const TextRecognizer::Result result = recognise();
        QMetaObject::invokeMethod(
            qApp,
            [self, result, then] {
                if (self)
                    self->onRecognised(result, then);
            },
            Qt::QueuedConnection);
    });
}

void TextController::onRecognised(const TextRecognizer::Result& result, Then then) {
    // Said together with the outcome, on a line of its own: a second notice would replace the first at
    // once.
    const QString missing =
        result.missing.isEmpty() ? QString() : "\n" + TextLanguages::missingNotice(result.missing);
    if (result.text.words.isEmpty()) {
        emit notice((tr("No text found on the page.") + missing).trimmed());
        return;
    }
    m_shown = result.text;
    QApplication::clipboard()->setText(m_shown.plainText());
    m_panel->showText(m_shown);
    emit notice(tr("Text copied: %n words", nullptr, m_shown.words.size()) + missing);
    if (then == Then::CopyAndRead && m_speech->read(m_shown))
        m_panel->setReading(true);
}
