// SPDX-License-Identifier: GPL-3.0-or-later
// The page's text beside the view: recognised from the live picture or a capture off the GUI thread,
// put on the clipboard, shown in the text panel and read aloud.
#pragma once

#include <QFuture>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "settings/textchoices.h"
#include "text/textrecognizer.h"

class ExtraSettings;
class IPresenter;
class PageTextCache;
class SpeechReader;
class TextPanel;

// GUI thread only.
class TextController : public QObject {
    Q_OBJECT

public:
    // texts: the captures' recognised texts, shared with the PDFs; panel: where the text shows.
    TextController(IPresenter* presenter, ExtraSettings* settings, std::shared_ptr<PageTextCache> texts,
                   TextPanel* panel, QObject* parent = nullptr);

    // The current camera's picture (cut out and straightened when cropping is on), recognised.
    void copyLivePicture();
    // The capture at path, recognised unless it was before.
    void copyFile(const QString& path);
    // Reads the shown text aloud; recognises the live picture first when none is shown. While
    // reading, stops.
    void readAloud();
    // Stops reading; false when nothing was being read.
    bool stopReading();
    // Returns once a recognition under way has ended.
    void waitForDone();

signals:
    void notice(const QString& text);

private:
    enum class Then { Copy, CopyAndRead };
    void recogniseLivePicture(Then then);
    // Runs recognise on a worker; its result comes back to onRecognised.
    void start(std::function<TextRecognizer::Result()> recognise, Then then);
    void onRecognised(const TextRecognizer::Result& result, Then then);

    IPresenter* m_presenter;
    TextChoices m_choices;
    std::shared_ptr<PageTextCache> m_texts;
    TextPanel* m_panel;
    SpeechReader* m_speech;
    PageText m_shown;  // the text in the panel
    QFuture<void> m_running;
};
