// SPDX-License-Identifier: GPL-3.0-or-later
// The Video Filters popup: the look of the live picture and of captures (colour, grey, document,
// black and white).
#pragma once

#include <QWidget>

class QButtonGroup;

// GUI thread only.
class VideoFilterWidget : public QWidget {
    Q_OBJECT

public:
    // look: the chosen one (CamLook values: 0 colour, 1 grey, 2 document, 3 black and white).
    explicit VideoFilterWidget(QWidget* parent, int look);
    void setLook(int look);  // shows it checked, without a signal

signals:
    void lookChosen(int look);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QButtonGroup* m_looks = nullptr;
};
