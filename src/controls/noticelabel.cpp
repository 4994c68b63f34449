// SPDX-License-Identifier: GPL-3.0-or-later
// A short line of text over the picture that tells the user what went wrong after an action of
// theirs; it fades from view by itself after a few seconds and never takes the keyboard or a click.
#include "noticelabel.h"

namespace {

const int kTopMargin = 60;  // below the corner icon
const int kSideMargin = 40;

}  // namespace

NoticeLabel::NoticeLabel(QWidget* parent) : QLabel(parent) {
    setObjectName("noticeLabel");
    // A child of the view, never a window of its own: it cannot be modal, and it reaches the screen
    // with the view.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setAlignment(Qt::AlignCenter);
    setStyleSheet(
        "QLabel#noticeLabel { background: rgba(0, 0, 0, 190); color: white; font-size: 18px;"
        " border-radius: 8px; padding: 12px 24px; }");
    hide();
    m_hideTimer.setSingleShot(true);
    m_hideTimer.setInterval(kShowMs);
    connect(&m_hideTimer, &QTimer::timeout, this, &QWidget::hide);
}

void NoticeLabel::showNotice(const QString& text) {
    setText(text);
    place();
    show();
    raise();
    m_hideTimer.start();
}

void NoticeLabel::place() {
    const QWidget* view = parentWidget();
    const int maxWidth = qMax(0, view->width() - 2 * kSideMargin);
    // One line when it fits; else as wide as the view allows, wrapped.
    setWordWrap(false);
    QSize size = sizeHint();
    if (size.width() > maxWidth) {
        setWordWrap(true);
        size = QSize(maxWidth, heightForWidth(maxWidth));
    }
    setGeometry((view->width() - size.width()) / 2, kTopMargin, size.width(), size.height());
}
