// SPDX-License-Identifier: GPL-3.0-or-later
// The pen popup above the tool bar's pen button: colour swatches, a custom colour and the thickness.
#pragma once

#include <QColor>
#include <QWidget>

class QAbstractButton;
class QButtonGroup;
class QHBoxLayout;
class QLabel;
class QToolButton;
class QLineEdit;
class QSlider;
class QVBoxLayout;
class VToolButton;

namespace Ui {
class PenWidget;
}

// GUI thread only. Built anew at every opening from the tool bar's remembered size and colour.
class PenWidget : public QWidget {
    Q_OBJECT

public:
    PenWidget(QWidget* parent, int penSize, QColor penColor);
    ~PenWidget() override;

    // Adds highlighter, line, arrow, rectangle and ellipse beside the pen, toolType (0 pen,
    // 1 highlighter, 2 line, 3 arrow, 4 rectangle, 5 ellipse) checked and reported from now on.
    void showShapeTools(int toolType);

signals:
    // type is the chosen tool: 0, the plain pen, unless shape tools are shown.
    void signalToolChanged(int type, QColor color, int size);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private slots:
    void onColorSelected(QAbstractButton* button);

private:
    friend class TestAnnotationPopups;

    void initUI();
    void initUI_brush();
    void initConnect();
    void reportSize(int value);
    void chooseCustomColor();
    void showCustomColor(const QColor& color);
    // The popup's title names the tool chosen.
    void showToolTitle();

    Ui::PenWidget* ui;
    QVBoxLayout* brushLayout = nullptr;
    QButtonGroup* colorGroup = nullptr;
    QSlider* slider_brush = nullptr;
    int currentToolType = 0;
    int currentSize = 5;
    QColor selectColor;   // the colour last accepted in the custom colour dialog
    QColor currentColor;  // the pen colour
    QLineEdit* edit_size = nullptr;
    VToolButton* toolButton_add = nullptr;  // the custom swatch
    QHBoxLayout* m_toolRow = nullptr;       // the row of the pen button
    QButtonGroup* m_toolGroup = nullptr;    // pen and shape tools, by tool type
    QToolButton* m_penButton = nullptr;
    QLabel* m_title = nullptr;
};
