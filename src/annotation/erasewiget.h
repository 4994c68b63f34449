// SPDX-License-Identifier: GPL-3.0-or-later
// The eraser popup above the tool bar's eraser button: eraser size, point eraser and Clear All.
#pragma once

#include <QWidget>

class QLineEdit;
class QSlider;

namespace Ui {
class EraseWiget;
}

// GUI thread only. Built anew at every opening from the tool bar's remembered size.
class EraseWiget : public QWidget {
    Q_OBJECT

public:
    EraseWiget(QWidget* parent, int eraserSize);
    ~EraseWiget() override;

signals:
    // eraseType 0: point eraser of this size; 2: clear the whole layer.
    void signalEraseChanged(int eraseType, int size);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class TestAnnotationPopups;

    void initUI();
    void applyRoundedMask();

    Ui::EraseWiget* ui;
    QLineEdit* editerase = nullptr;
    QSlider* slider_erase = nullptr;
    int m_nEraserSize = 5;  // 1 to 10; the canvas erases ten times as many pixels wide
};
