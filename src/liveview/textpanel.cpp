// SPDX-License-Identifier: GPL-3.0-or-later
// The text panel: a read-only text field whose words can be selected and copied, and the reading mark.
#include "textpanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

const int kWidth = 440, kHeight = 300, kMargin = 20;
// Below the notices, which run across the top of the view in up to two lines: the notice of the text
// copied, and the languages without data, is no longer hidden behind the panel, nor the panel by it.
const int kTop = 150;
const char kButtonStyle[] =
    "QPushButton { background-color: #0099FF; color: #FFFFFF; border: none; padding: 4px 12px; }"
    "QPushButton:pressed { background-color: #007ACC; }";

}  // namespace

TextPanel::TextPanel(QWidget* parent) : QFrame(parent) {
    setObjectName("textPanel");
    setFixedSize(kWidth, kHeight);
    setStyleSheet("QFrame#textPanel { background: #FFFFFF; border: 1px solid #CCCCCC; border-radius: 6px; }");
    m_title = new QLabel(this);
    m_title->setStyleSheet("color: #333333; font-weight: bold;");
    m_text = new QTextEdit(this);
    m_text->setObjectName("textEdit_pageText");
    m_text->setReadOnly(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->setStyleSheet("QTextEdit { color: #222222; border: 1px solid #E0E0E0; }");
    m_read = new QPushButton(this);
    m_read->setObjectName("pushButton_readAloud");
    m_close = new QPushButton(this);
    m_close->setObjectName("pushButton_closeText");
    for (QPushButton* button : {m_read, m_close}) {
        button->setStyleSheet(kButtonStyle);
        button->setFocusPolicy(Qt::NoFocus);  // Space and Esc stay with the view
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_read);
    buttons->addStretch();
    buttons->addWidget(m_close);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 8, 10, 10);
    column->addWidget(m_title);
    column->addWidget(m_text, 1);
    column->addLayout(buttons);
    connect(m_read, &QPushButton::clicked, this, &TextPanel::readAloudClicked);
    connect(m_close, &QPushButton::clicked, this, &TextPanel::closeClicked);
    retranslateUi();
    hide();
}

void TextPanel::retranslateUi() {
    m_title->setText(tr("Text of the page"));
    m_read->setText(m_reading ? tr("Stop reading") : tr("Read aloud"));
    m_close->setText(tr("Close"));
}

void TextPanel::showText(const PageText& text) {
    const QString plain = text.plainText(&m_starts);
    m_lengths.clear();
    for (const PageText::Word& word : text.words)
        m_lengths << word.text.size();
    m_text->setPlainText(plain);
    markWord(-1);
    show();
    raise();
}

void TextPanel::markWord(int word) {
    QList<QTextEdit::ExtraSelection> marks;
    if (word >= 0 && word < m_starts.size()) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(m_text->document());
        mark.cursor.setPosition(m_starts[word]);
        mark.cursor.setPosition(m_starts[word] + m_lengths[word], QTextCursor::KeepAnchor);
        mark.format.setBackground(QColor(255, 220, 0));
        marks << mark;
        QTextCursor at(m_text->document());
        at.setPosition(m_starts[word]);
        m_text->setTextCursor(at);
        m_text->ensureCursorVisible();
    }
    m_text->setExtraSelections(marks);
}

void TextPanel::setReading(bool on) {
    m_reading = on;
    retranslateUi();
    if (!on)
        markWord(-1);
}

void TextPanel::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    place();
}

void TextPanel::place() {
    if (parentWidget())
        move(parentWidget()->width() - width() - kMargin, kTop);
}
