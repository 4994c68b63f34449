// SPDX-License-Identifier: GPL-3.0-or-later
// A short line of text over the picture that tells the user what went wrong after an action of
// theirs; it fades from view by itself after a few seconds and never takes the keyboard or a click.
#pragma once

#include <QLabel>
#include <QTimer>

class NoticeLabel : public QLabel {
    Q_OBJECT

public:
    static constexpr int kShowMs = 3000;

    explicit NoticeLabel(QWidget* parent);

    // Shows text (already translated) centred near the top of the parent for kShowMs; a newer
    // notice replaces one still showing and starts the time again.
    void showNotice(const QString& text);

private:
    void place();

    QTimer m_hideTimer;
};
