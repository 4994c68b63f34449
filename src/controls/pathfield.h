// SPDX-License-Identifier: GPL-3.0-or-later
// A line edit for a file system path: without the keyboard focus it shows the path's start and end
// with the middle elided, so a long path still tells its root and its folder; the whole path is its
// tool tip. With the focus it is an ordinary line edit.
#pragma once

#include <QLineEdit>

class PathField : public QLineEdit {
    Q_OBJECT

public:
    explicit PathField(QWidget* parent = nullptr);

    // The text as painted without the focus: the whole path when it fits, else its middle elided.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect textArea() const;
};
