// SPDX-License-Identifier: GPL-3.0-or-later
// A small panel over the view's top-right corner that shows the page's recognised text for a glance,
// selectable, with Read aloud and Close, and marks the word being read.
#pragma once

#include <QFrame>

#include "text/pagetext.h"

class QLabel;
class QPushButton;
class QTextEdit;

// GUI thread only.
class TextPanel : public QFrame {
    Q_OBJECT

public:
    explicit TextPanel(QWidget* parent);

    // Shows text and the panel, no word marked.
    void showText(const PageText& text);
    // Marks word (an index into the words shown) and scrolls to it; -1 marks none.
    void markWord(int word);
    // The read button says Stop while the text is read.
    void setReading(bool on);
    void retranslateUi();

signals:
    void readAloudClicked();
    void closeClicked();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void place();

    QLabel* m_title;
    QTextEdit* m_text;
    QPushButton* m_read;
    QPushButton* m_close;
    QVector<int> m_starts;  // where each word begins in the text shown
    QVector<int> m_lengths;
    bool m_reading = false;
};
